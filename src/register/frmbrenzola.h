#pragma once

#include "register/indicenomi.h"
#include "store/funzioni.h"
#include "store/recordset.h"
#include "widgets/dialogs.h"

#include <QHash>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <vector>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QAction;
class QTextEdit;
class QTimer;
class QIcon;
class QMenu;

namespace brenzola {

class CalendarField;
class ComandiCronologia;
class ElencoNomi;
class FrmAgenda;
class FormTransparancy;
class KeyboardToolBar;
class StoreError;

// The main window: the contact list with its quick search on the left, the fifteen
// fields of one contact on the right, and the commands that save and delete it.
class FrmBrenzola : public QWidget {
    Q_OBJECT

public:
    explicit FrmBrenzola(Dialogs& dialogs = Dialogs::platform(), QWidget* parent = nullptr);
    ~FrmBrenzola() override;

    // Opens the store file `archivio` and lists every contact.
    // Returns false when the store cannot be used; the reason has been shown.
    bool Form_Load(const QString& archivio);
    void Form_Unload();
    // Shows the window modally, with no owner; returns when it has closed.
    void MostraModale();

    // Contact list and quick search. The list narrows and refills from the names index,
    // kept in step with the store; only the advanced search asks the store for its rows.
    void RiempiLista();
    void ElencaTutti();
    void CmdCerca_Click();
    void TxtRicerca_Change();
    void AzzeraRicerca();
    void CmdEsci_Click();
    // The one query behind every refill of the list.
    static QString QueryLista();
    // Refills the list after another desk changed contacts on a server: those it
    // announced, or (none announced) whatever the store now holds.
    void ElencoCambiatoAltrove();

    // Showing, creating, saving and deleting a contact.
    // The one guard before anything replaces what the form shows (a list choice, Avanti
    // and Indietro, Nuovo, Ricerca Avanzata, closing): counts an edit still in the focused
    // field, then asks whether to save. False when the user chose Annulla or the save failed.
    bool LasciaContatto();
    void List1_Click();
    void CaricaContatto();
    void Scorri(const QString& Direzione);
    void CmdNuovo_Click();
    // Returns true when the contact was written. Over a stored contact it writes only the
    // fields the user changed, and only if the row still holds what was loaded; otherwise
    // it asks whether to overwrite, reload or cancel.
    bool CmdSalva_Click();
    void CmdElimina_Click();

    // Printing: the list of names, the cards of the listed contacts, the card on screen.
    void StampaRS();
    void StampaRS_Scheda(const QString& Sql);
    void CmdStampaElenco_Click();
    void CmdStampaSchede_Click();
    void CmdStampa_Click();

    // Toolbar: recognises the command by the clicked button's caption.
    void Tb_ButtonClick(const QAction* Button);

    // Contacts in and out: a vCard or CSV file imported, the listed contacts or the one on
    // screen exported, the register's duplicates merged.
    void Importa();
    void EsportaElenco();
    void EsportaContatto();
    void Doppioni();

    // The follow-up agenda, beside this window.
    void ApriAgenda();
    // At start-up: opens the agenda when something is overdue or due today, unless the
    // user turned that off.
    void AgendaAllAvvio();
    // Shows that contact, as choosing it in the list would (asking first about unsaved
    // edits); the list shows every contact if it did not list it.
    void MostraContatto(qint64 id);

    // Edit-state tracking: each field remembers its content on entry and marks the
    // window as changed when it is left with another content.
    void TxtCognome_GotFocus();
    void TxtCognome_LostFocus();
    void TxtNome_GotFocus();
    void TxtNome_LostFocus();
    void DtInizio_GotFocus();
    void DtInizio_LostFocus();
    void TxtTipoRef_GotFocus();
    void TxtTipoRef_LostFocus();
    void TxtProv_GotFocus();
    void TxtProv_LostFocus();
    void TxtCitta_GotFocus();
    void TxtCitta_LostFocus();
    void TxtIndirizzo_GotFocus();
    void TxtIndirizzo_LostFocus();
    void TxtCap_GotFocus();
    void TxtCap_LostFocus();
    void TxtEmail_GotFocus();
    void TxtEmail_LostFocus();
    void TxtTelefono_GotFocus();
    void TxtTelefono_LostFocus();
    void TxtCell_GotFocus();
    void TxtCell_LostFocus();
    void DtNasc_GotFocus();
    void DtNasc_LostFocus();
    void Txtfonte_GotFocus();
    void Txtfonte_LostFocus();
    void DtDataRicontattare_GotFocus();
    void DtDataRicontattare_LostFocus();
    void TxtCommenti_GotFocus();
    void TxtCommenti_LostFocus();

    std::unique_ptr<Recordset> RsLista;
    qint64 IdCorrente = 0;       // key of the contact on screen; 0 = none
    QString CampoTemp;           // content of the last field entered, taken on entry
    int AggiornaAnagrafica = 0;  // -1: the fields hold changes not saved

Q_SIGNALS:
    // The window has been closed (and its store with it).
    void chiusa();
    // Contacts were saved, deleted, imported or merged, here or at another desk.
    void contattiCambiati();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using Handler = void (FrmBrenzola::*)();
    struct FocusHandlers {
        Handler gotFocus;
        Handler lostFocus;
    };
    // A column of the contact and the control that edits it, in the order a save writes them.
    struct Campo {
        const char* colonna;
        QWidget* controllo;
    };
    // What to do when the stored contact is no longer what was loaded: write the changes
    // anyway (over the other version, or as a new contact), show the stored one, or stop.
    enum class Conflitto { Nessuno, Scrivi, Ricarica, Annulla };

    void buildToolbar();
    // A toolbar button that opens `menu`; the tooltip shows its entries' shortcuts.
    void aggiungiMenu(const QIcon& icona, const QString& caption, QMenu* menu);
    void buildLeftPanel();
    void buildEditPanel();
    void buildCommands();
    void setTabOrder();
    QLineEdit* addTextBox(QWidget* panel, const char* name, int maxLength, int left, int top, int width, int height);
    CalendarField* addDateField(QWidget* panel, const char* name, const QString& etichetta, int left, int top);
    QLabel* addLabel(QWidget* panel, const char* name, const QString& caption, int left, int top, int width, int height = 375);
    void track(QWidget* field, Handler gotFocus, Handler lostFocus);
    void connectHandlers();

    // Runs an event handler; whatever it throws is shown and the window goes on.
    template <typename Work> void handle(Work&& work);
    void showError(const StoreError& error, const QString& context = {});
    MsgAnswer ask(const QString& question);
    void RicercaAvanzata();
    // After contacts may have changed in bulk: the contact on screen as stored now and, when
    // they did change, the whole list.
    void ricaricaDopoCambi(bool cambiati);

    // What the list shows: every contact, a quick search's, or the store's rows (RsLista).
    enum class Elenco { Tutti, Rapida, Avanzata };
    void mostraVoci(std::vector<IndiceNomi::Voce> voci);
    // The quick search of `testo` among the names index, narrowing what is listed when it can.
    std::vector<IndiceNomi::Voce> cercaRapida(const QString& testo);
    // After this program wrote: the index takes what the journal says changed.
    void seguiArchivio();

    // Shows the contact of the recordset's current row and remembers it as loaded.
    void mostraRiga(const Recordset& rs);
    // What the form shows is now `memorizzato` (the row as stored; empty: no stored contact).
    void ricordaContatto(const QVariantList& memorizzato, const QString& nome);
    void svuotaScheda();
    // Selects the entry of that contact, or none, without choosing it.
    void mostraInElenco(qint64 chiave);
    // A field's content as the user left it, to tell whether it changed since it was shown.
    static QVariant statoCampo(const QWidget* controllo);
    QVariant valoreDaScrivere(size_t campo) const;
    Conflitto chiediSeCambiato();
    Conflitto chiediSeEliminato();

    static QString contenuto(const QLineEdit* field);
    static QString contenuto(const CalendarField* field);
    static QString contenuto(const QTextEdit* field);
    void ricordaCampo(const QString& contenuto);
    void confrontaCampo(const QString& contenuto);
    const FocusHandlers* campoAttivo() const;
    // Runs the focus-lost check of the field that has the focus, without moving it.
    void contaCampoAttivo();
    void ricordaCampoAttivo();

    Dialogs& dialogs_;
    QString archivio_;  // the store, as the user knows it
    QTimer* aggiornaElenco_;
    std::vector<qint64> cambiatiAltrove_;  // announced by other desks, not yet listed; 0: unknown
    QHash<QObject*, FocusHandlers> trackedFields_;
    IndiceNomi indice_;
    Elenco elenco_ = Elenco::Tutti;
    QString testoRapido_;         // the text of the quick search listed, when elenco_ is Rapida
    quint64 versioneRapida_ = 0;  // the index's version when it was listed
    std::vector<Campo> campi_;
    QVariantList contattoCaricato_;  // the contact on screen as stored when loaded or saved
    QString nomeCaricato_;
    QVariantList mostrato_;     // each field's content when the contact was shown
    QString commentiCaricati_;  // the comment as stored, line breaks and all
    int rowBeforePress_ = -1;

    QWidget* page_;  // holds every control at its designed place
    KeyboardToolBar* Tb;
    QFrame* frameElenco_;
    QLabel* Label6;
    QPushButton* CmdCerca;
    QLineEdit* TxtRicerca;
    QLabel* Label17;
    QLabel* LblNum;
    ElencoNomi* List1;
    QPushButton* CmdStampaElenco;
    QPushButton* CmdStampaSchede;

    QFrame* frameScheda_;
    QLineEdit* TxtCognome;
    QLineEdit* TxtNome;
    CalendarField* DtInizio;
    QLineEdit* TxtTipoRef;
    QLineEdit* TxtCitta;
    QLineEdit* TxtProv;
    QLineEdit* TxtIndirizzo;
    QLineEdit* TxtCap;
    QLineEdit* TxtEmail;
    QLineEdit* TxtTelefono;
    QLineEdit* TxtCell;
    CalendarField* DtNasc;
    QLineEdit* Txtfonte;
    CalendarField* DtDataRicontattare;
    QTextEdit* TxtCommenti;

    QPushButton* CmdElimina;
    QPushButton* CmdStampa;
    QPushButton* CmdNuovo;
    QPushButton* CmdSalva;
    QPushButton* CmdEsci;
    QLabel* Label16;
    FormTransparancy* FormTransparancy1;
    QPointer<FrmAgenda> agenda_;
    ComandiCronologia* cronologia_;
};

}  // namespace brenzola
