#pragma once

class QFrame;
class QIcon;
class QString;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTextEdit;
class QWidget;

namespace brenzola {

class CalendarField;
class ElencoNomi;
class IndiceNomi;
class KeyboardToolBar;

// The main window's controls at their designed places, with their captions, fonts and tab
// order; the window that builds them on itself handles what they do.
class ModuloBrenzola {
protected:
    // Builds every control on `finestra`; the list shows the names of `indice`.
    void costruisci(QWidget* finestra, IndiceNomi& indice);
    // A toolbar button at the right end that opens `menu`; the tooltip shows its entries'
    // shortcuts, which work with the menu closed. `caption` is untranslated: it names the button.
    void aggiungiMenu(const QIcon& icona, const char* caption, QMenu* menu);

    QWidget* page_ = nullptr;  // holds every control at its designed place
    KeyboardToolBar* Tb = nullptr;
    QFrame* frameElenco_ = nullptr;
    QLabel* Label6 = nullptr;
    QPushButton* CmdCerca = nullptr;
    QLineEdit* TxtRicerca = nullptr;
    QLabel* Label17 = nullptr;
    QLabel* LblNum = nullptr;
    ElencoNomi* List1 = nullptr;
    QPushButton* CmdStampaElenco = nullptr;
    QPushButton* CmdStampaSchede = nullptr;

    QFrame* frameScheda_ = nullptr;
    QLineEdit* TxtCognome = nullptr;
    QLineEdit* TxtNome = nullptr;
    CalendarField* DtInizio = nullptr;
    QLineEdit* TxtTipoRef = nullptr;
    QLineEdit* TxtCitta = nullptr;
    QLineEdit* TxtProv = nullptr;
    QLineEdit* TxtIndirizzo = nullptr;
    QLineEdit* TxtCap = nullptr;
    QLineEdit* TxtEmail = nullptr;
    QLineEdit* TxtTelefono = nullptr;
    QLineEdit* TxtCell = nullptr;
    CalendarField* DtNasc = nullptr;
    QLineEdit* Txtfonte = nullptr;
    CalendarField* DtDataRicontattare = nullptr;
    QTextEdit* TxtCommenti = nullptr;

    QPushButton* CmdElimina = nullptr;
    QPushButton* CmdStampa = nullptr;
    QPushButton* CmdNuovo = nullptr;
    QPushButton* CmdSalva = nullptr;
    QPushButton* CmdEsci = nullptr;
    QLabel* Label16 = nullptr;

private:
    void buildToolbar();
    void buildLeftPanel(IndiceNomi& indice);
    void buildEditPanel();
    void buildCommands();
    void setTabOrder();
    void describeControls();
    QLineEdit* addTextBox(QWidget* panel, const char* name, int maxLength, int left, int top, int width, int height);
    CalendarField* addDateField(QWidget* panel, const char* name, const QString& etichetta, int left, int top);
    QLabel* addLabel(QWidget* panel, const char* name, const QString& caption, int left, int top, int width, int height = 375);

    QWidget* finestra_ = nullptr;
};

}  // namespace brenzola
