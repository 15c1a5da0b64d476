#pragma once

#include "exchange/contatto.h"
#include "register/modulobrenzola.h"
#include "store/recordset.h"
#include "store/registro.h"
#include "store/storeerror.h"
#include "widgets/dialogs.h"

#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

class QAction;

namespace brenzola {

class ComandiCronologia;
class ComandiAgenda;
class ComandiSincronizzazione;
class ElencoContatti;
class ScambioContatti;
class FormTransparancy;

// The main window: the contact list with its quick search on the left, the fifteen
// fields of one contact on the right, and the commands that save and delete it.
class FrmBrenzola : public QWidget, private ModuloBrenzola {
    Q_OBJECT

public:
    // Works on `registro`: its store, its list filter and its names index.
    explicit FrmBrenzola(Dialogs& dialogs = Dialogs::platform(), QWidget* parent = nullptr,
                         Registro& registro = Registro::corrente());
    ~FrmBrenzola() override;

    // Opens the store file `archivio` and lists every contact.
    // Returns false when the store cannot be used; the reason has been shown, or, when
    // `problema` is given, put there for the caller to show.
    bool Form_Load(const QString& archivio, std::optional<StoreError>* problema = nullptr);
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
    static QString QueryLista(const QString& Filtro);
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

    // Toolbar: recognises the command by the clicked button's untranslated caption, its objectName.
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

    // The contact on screen: its key (0 = none), and whether the form holds changes not saved.
    qint64 idCorrente() const { return IdCorrente; }
    bool modificato() const { return AggiornaAnagrafica != 0; }

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
    // A column of the contact and the control that edits it, in the order a save writes them.
    struct Campo {
        brenzola::Campo campo;
        const char* colonna;
        QWidget* controllo;
    };
    // What to do when the stored contact is no longer what was loaded: write the changes
    // anyway (over the other version, or as a new contact), show the stored one, or stop.
    enum class Conflitto { Nessuno, Scrivi, Ricarica, Annulla };

    void connectHandlers();
    // Runs an event handler; whatever it throws is shown and the window goes on.
    template <typename Work> void handle(Work&& work);
    void showError(const StoreError& error, const QString& context = {});
    MsgAnswer ask(const QString& question);
    void RicercaAvanzata();
    // After contacts may have changed in bulk: the contact on screen as stored now and, when
    // they did change, the whole list.
    void ricaricaDopoCambi(bool cambiati);
    // A feature (history, synchronisation) changed contacts: the list and the form follow.
    void archivioCambiatoDa();

    // Shows the contact of the recordset's current row and remembers it as loaded.
    void mostraRiga(const Recordset& rs);
    // What the form shows is now `memorizzato` (the row as stored; empty: no stored contact).
    void ricordaContatto(const QVariantList& memorizzato, const QString& nome);
    void svuotaScheda();
    // A field's content as the user left it, to tell whether it changed since it was shown.
    static QVariant statoCampo(const QWidget* controllo);
    QVariant valoreDaScrivere(size_t campo) const;
    // Refuses a field holding a control character: says which and why, and selects it.
    bool senzaCaratteriDiControllo();
    static void mostraCarattereDiControllo(QWidget* controllo);
    Conflitto chiediSeCambiato();
    Conflitto chiediSeEliminato();

    // Edit-state tracking, for every field of the table: each remembers its content on entry
    // (CampoTemp) and marks the form as changed when it is left with another.
    void seguiFuoco(QWidget* campo);
    void confrontaCampo(const QWidget* campo);
    QWidget* campoAttivo() const;
    // Runs the focus-lost check of the field that has the focus, without moving it.
    void contaCampoAttivo();
    void ricordaCampoAttivo();

    std::unique_ptr<Recordset> RsLista;
    qint64 IdCorrente = 0;       // key of the contact on screen; 0 = none
    QString CampoTemp;           // content of the last field entered, taken on entry
    int AggiornaAnagrafica = 0;  // -1: the fields hold changes not saved

    Dialogs& dialogs_;
    Registro& registro_;
    QString archivio_;  // the store, as the user knows it
    std::vector<Campo> campi_;
    QVariantList contattoCaricato_;  // the contact on screen as stored when loaded or saved
    QString nomeCaricato_;
    QVariantList mostrato_;     // each field's content when the contact was shown
    QString commentiCaricati_;  // the comment as stored, line breaks and all
    int rowBeforePress_ = -1;

    FormTransparancy* FormTransparancy1;
    ElencoContatti* elenco_;
    ComandiAgenda* agenda_;
    ScambioContatti* scambio_;
    ComandiCronologia* cronologia_;
    ComandiSincronizzazione* sincronizzazione_;
};

}  // namespace brenzola
