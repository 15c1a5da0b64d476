#pragma once

#include "store/registro.h"
#include "widgets/dialogs.h"

#include <QDialog>

#include <vector>

class QLineEdit;
class QPushButton;
class QTextEdit;

namespace brenzola {

class CalendarField;

// The advanced search: eighteen criteria that become the condition text in the register's filter.
// It never touches the store; the main window runs the condition.
class FrmRicerca : public QDialog {
    Q_OBJECT

public:
    explicit FrmRicerca(Dialogs& dialogs = Dialogs::platform(), QWidget* parent = nullptr,
                        Registro& registro = Registro::corrente());
    ~FrmRicerca() override;

    // "Ricerca": builds the register's filter from the criteria given and closes.
    void CmdCerca_Click();
    // "Esci": closes, leaving the register's filter as it was.
    void CmdSalva_Click();

private:
    // One criterion: a condition "<opening><value><closing>" when its control holds something.
    struct Criterio {
        QWidget* control;
        const char* apertura;
        const char* chiusura;
    };

    QLineEdit* addTextBox(const char* name, int left, int top, int width, int maxLength);
    CalendarField* addDateField(const char* name, const char* etichetta, int left, int top);
    void addLabels();
    static QString valore(const Criterio& criterio, bool& partecipa);

    Dialogs& dialogs_;
    Registro& registro_;
    QWidget* page_;  // holds every control at its designed place
    std::vector<Criterio> criteri_;
    QLineEdit* TxtCognome;
    QLineEdit* TxtNome;
    CalendarField* DtInizioDa;
    CalendarField* DtInizioA;
    QLineEdit* TxtTipoRef;
    QLineEdit* TxtCitta;
    QLineEdit* TxtProv;
    QLineEdit* TxtIndirizzo;
    QLineEdit* TxtCap;
    QLineEdit* TxtEmail;
    QLineEdit* TxtTelefono;
    QLineEdit* TxtCell;
    CalendarField* DtNascDa;
    CalendarField* DtNascA;
    CalendarField* DtDataRicontattareDa;
    CalendarField* DtDataRicontattareA;
    QLineEdit* Txtfonte;
    QTextEdit* TxtCommenti;
    QPushButton* CmdCerca;
    QPushButton* CmdSalva;
};

}  // namespace brenzola
