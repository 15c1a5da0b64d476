#include "register/frmbrenzola.h"

#include "exchange/contatto.h"
#include "presentation/formtransparancy.h"
#include "printing/ui/stampa.h"
#include "register/comandiagenda.h"
#include "register/comandicronologia.h"
#include "register/comandisincronizzazione.h"
#include "register/elencocontatti.h"
#include "register/elenconomi.h"
#include "register/scambiocontatti.h"
#include "register/tastieraelenco.h"
#include "search/frmricerca.h"
#include "store/archivio.h"
#include "store/funzioni.h"
#include "store/giornale.h"
#include "store/storeerror.h"
#include "widgets/calendarfield.h"
#include "widgets/immagini.h"
#include "widgets/keyboardtoolbar.h"
#include "widgets/moduli.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>

namespace brenzola {

using namespace Funzioni;

namespace {

const QString kDataMancante = QStringLiteral("01/01/1900");

// Shows a stored text whole, even when it is longer than the box lets the user type.
void mostraTesto(QLineEdit* box, const QVariant& value)
{
    const QString text = value.toString();
    box->setMaxLength(std::max(box->property("limite").toInt(), int(text.size())));
    box->setText(text);
}

// A field's content as text, as the user sees it: what its focus handling compares.
QString contenuto(const QWidget* campo)
{
    if (auto* box = qobject_cast<const QLineEdit*>(campo)) return box->text();
    if (auto* date = qobject_cast<const CalendarField*>(campo)) return ComeTesto(ValoreNonNullo(date->value(), QString()));
    return static_cast<const QTextEdit*>(campo)->toPlainText();
}

}  // namespace

FrmBrenzola::FrmBrenzola(Dialogs& dialogs, QWidget* parent, Registro& registro)
    : QWidget(parent),
      dialogs_(dialogs),
      registro_(registro)
{
    setObjectName(QStringLiteral("FrmBrenzola"));
    costruisci(this, registro_.indice);
    campi_ = {{brenzola::Campo::Cognome, "cognome", TxtCognome},
              {brenzola::Campo::Nome, "nome", TxtNome},
              {brenzola::Campo::DataIn, "DataIn", DtInizio},
              {brenzola::Campo::TipoRef, "TipoRef", TxtTipoRef},
              {brenzola::Campo::Citta, "citta", TxtCitta},
              {brenzola::Campo::Indirizzo, "indirizzo", TxtIndirizzo},
              {brenzola::Campo::Cap, "Cap", TxtCap},
              {brenzola::Campo::Email, "Email", TxtEmail},
              {brenzola::Campo::Telefono, "Telefono", TxtTelefono},
              {brenzola::Campo::Cell, "Cell", TxtCell},
              {brenzola::Campo::DataNasc, "DataNasc", DtNasc},
              {brenzola::Campo::Fonte, "Fonte", Txtfonte},
              {brenzola::Campo::DataRicont, "DataRicont", DtDataRicontattare},
              {brenzola::Campo::Commenti, "commenti", TxtCommenti},
              {brenzola::Campo::Prov, "prov", TxtProv}};
    elenco_ = new ElencoContatti(registro_, List1, LblNum, this);
    connect(elenco_, &ElencoContatti::cambiatoAltrove, this, &FrmBrenzola::ElencoCambiatoAltrove);
    agenda_ = new ComandiAgenda(dialogs_, this, registro_);
    connect(agenda_, &ComandiAgenda::apriContatto, this, &FrmBrenzola::MostraContatto);
    connect(agenda_, &ComandiAgenda::contattoCambiato, this, [this](qint64 id) {
        // The contact on screen shows the new date, unless the user is changing it.
        elenco_->segui();
        contaCampoAttivo();
        if (id == IdCorrente && !AggiornaAnagrafica) ricaricaDopoCambi(false);
    });
    connect(this, &FrmBrenzola::contattiCambiati, agenda_, &ComandiAgenda::segui);
    const auto lascia = [this] { return LasciaContatto(); };
    scambio_ = new ScambioContatti(dialogs_, this, registro_, lascia, [this] {
        return ScambioContatti::Mostrato{IdCorrente, nomeCaricato_};
    });
    aggiungiMenu(Immagini::esporta(), QT_TRANSLATE_NOOP("brenzola::FrmBrenzola", "Esporta"), scambio_->menuEsporta());
    connect(scambio_, &ScambioContatti::finito, this, &FrmBrenzola::ricaricaDopoCambi);
    // Undo, the bin, each contact's versions: the list and the form follow what they change.
    cronologia_ = new ComandiCronologia(dialogs_, this, lascia, [this] { return IdCorrente; });
    aggiungiMenu(Immagini::cronologia(), QT_TRANSLATE_NOOP("brenzola::FrmBrenzola", "Cronologia"), cronologia_->menu());
    connect(cronologia_, &ComandiCronologia::archivioCambiato, this, &FrmBrenzola::archivioCambiatoDa);
    sincronizzazione_ = new ComandiSincronizzazione(dialogs_, this, registro_, lascia);
    aggiungiMenu(Immagini::sincronizza(), QT_TRANSLATE_NOOP("brenzola::FrmBrenzola", "Sincronizza"), sincronizzazione_->menu());
    connect(sincronizzazione_, &ComandiSincronizzazione::archivioCambiato, this, &FrmBrenzola::archivioCambiatoDa);
    connectHandlers();
    FormTransparancy1 = new FormTransparancy(this);
    FormTransparancy1->ReadProperties({{QStringLiteral("TransparencyLevel"), 2}, {QStringLiteral("TransparencyDirection"), 4}});
}

FrmBrenzola::~FrmBrenzola()
{
    // A window destroyed without being closed (the session ending) still releases the
    // store while Qt's database registry exists.
    Form_Unload();
}

void FrmBrenzola::keyPressEvent(QKeyEvent* event)
{
    // Keys that no control used: Enter presses the default button, Esc the cancel button.
    // A focused button and the list are controls that use Enter, though Qt leaves it to
    // the window: the button is pressed, the list chooses its current entry.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto* button = qobject_cast<QAbstractButton*>(focusWidget())) {
            button->click();
        } else if (focusWidget() == List1) {
            if (List1->currentRow() >= 0) List1->setCurrentRow(List1->currentRow());
        } else {
            CmdSalva->click();
        }
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        CmdEsci->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void FrmBrenzola::seguiFuoco(QWidget* campo)
{
    // Each field remembers its content on entry and marks the form as changed when it is left with another.
    if (auto* date = qobject_cast<CalendarField*>(campo)) {
        connect(date, &CalendarField::gotFocus, this, [this, campo] { CampoTemp = contenuto(campo); });
        connect(date, &CalendarField::lostFocus, this, [this, campo] { confrontaCampo(campo); });
    } else {
        campo->installEventFilter(this);
    }
}

void FrmBrenzola::confrontaCampo(const QWidget* campo)
{
    if (contenuto(campo) != CampoTemp) AggiornaAnagrafica = -1;
}

void FrmBrenzola::connectHandlers()
{
    connect(TxtRicerca, &QLineEdit::textChanged, this, [this] { handle([this] { TxtRicerca_Change(); }); });
    connect(CmdCerca, &QPushButton::clicked, this, [this] { handle([this] { CmdCerca_Click(); }); });
    connect(CmdEsci, &QPushButton::clicked, this, [this] { CmdEsci_Click(); });
    connect(CmdNuovo, &QPushButton::clicked, this, [this] { CmdNuovo_Click(); });
    connect(CmdSalva, &QPushButton::clicked, this, [this] { handle([this] { CmdSalva_Click(); }); });
    connect(CmdElimina, &QPushButton::clicked, this, [this] { handle([this] { CmdElimina_Click(); }); });
    connect(CmdStampa, &QPushButton::clicked, this, [this] { handle([this] { CmdStampa_Click(); }); });
    connect(CmdStampaElenco, &QPushButton::clicked, this, [this] { handle([this] { CmdStampaElenco_Click(); }); });
    connect(CmdStampaSchede, &QPushButton::clicked, this, [this] { handle([this] { CmdStampaSchede_Click(); }); });
    connect(Tb, &QToolBar::actionTriggered, this, [this](QAction* button) { handle([&] { Tb_ButtonClick(button); }); });

    // An entry becomes the chosen one when the selection moves to it, or when it is
    // clicked while already selected.
    connect(List1, &ElencoNomi::sceltaCambiata, this, [this] {
        if (List1->selectedRow() >= 0) handle([this] { List1_Click(); });
    });
    connect(List1, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (index.row() == rowBeforePress_) handle([this] { List1_Click(); });
    });
    List1->viewport()->installEventFilter(this);
    new TastieraElenco(this, TxtRicerca, List1, [this] { return LasciaContatto(); });

    for (const Campo& campo : campi_) seguiFuoco(campo.controllo);
}

bool FrmBrenzola::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == List1->viewport() && event->type() == QEvent::MouseButtonPress) {
        rowBeforePress_ = List1->selectedRow();
    } else if ((event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
               && static_cast<QFocusEvent*>(event)->reason() != Qt::ActiveWindowFocusReason
               && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        // Focus moves inside the window count; a message box or a menu opening does not.
        const auto campo =
            std::find_if(campi_.begin(), campi_.end(), [watched](const Campo& c) { return c.controllo == watched; });
        if (campo != campi_.end()) {
            if (event->type() == QEvent::FocusIn)
                CampoTemp = contenuto(campo->controllo);
            else
                confrontaCampo(campo->controllo);
        }
    }
    return QWidget::eventFilter(watched, event);
}

template <typename Work> void FrmBrenzola::handle(Work&& work)
{
    try {
        work();
    } catch (...) {
        showError(ErroreCorrente());
    }
}

void FrmBrenzola::showError(const StoreError& error, const QString& context)
{
    // Every failure here concerns the store: say which one.
    MostraErrore(dialogs_, this, error, context.isEmpty() ? tr("Archivio «%1».").arg(archivio_) : context);
}

MsgAnswer FrmBrenzola::ask(const QString& question)
{
    return dialogs_.MsgBox(this, {question, MsgButtons::YesNo, MsgIcon::Question});
}

// ---- Start-up and contact list ----

bool FrmBrenzola::Form_Load(const QString& archivio, std::optional<StoreError>* problema)
{
    const auto nonUsabile = [&](const StoreError& error) {
        if (problema)
            *problema = error;
        else
            showError(error, tr("Impossibile usare l'archivio dei contatti «%1».").arg(archivio_));
        registro_.chiudi();
        return false;
    };
    archivio_ = NomeArchivio(archivio);
    QString password;
    for (;;) {
        try {
            registro_.apri(archivio, password);
            break;
        } catch (const StoreError& error) {
            // A server that wants a password the user has not given (or got wrong) asks for
            // it; it is kept for this connection only.
            if (error.number() == StoreErrorNumber::ServerPassword) {
                password = dialogs_.AskPassword(this, tr("Password per l'archivio «%1»:").arg(archivio_));
                if (!password.isEmpty()) continue;
            }
            return nonUsabile(error);
        }
    }
    try {
        AggiungiIndici(*registro_.connessione);
        svuotaScheda();
        IdCorrente = 0;
        ElencaTutti();
        AggiornaAnagrafica = 0;
        if (registro_.connessione->isReadOnly())
            dialogs_.MsgBox(this, {tr("L'archivio «%1» è di sola lettura: si può consultare, ma le modifiche "
                                      "non si potranno salvare.\n\nPer salvare serve il permesso di scrittura "
                                      "sul file e sulla cartella che lo contiene.")
                                       .arg(archivio_),
                                   MsgButtons::Ok, MsgIcon::Information});
        cronologia_->CestinoAllAvvio();
        // Other desks' changes show in the list as they happen.
        elenco_->seguiAltri();
        sincronizzazione_->allAvvio();
        return true;
    } catch (...) {
        return nonUsabile(ErroreCorrente());
    }
}

void FrmBrenzola::ElencoCambiatoAltrove()
{
    // The form and the search box are not touched.
    handle([this] { elenco_->rileggi(); });
    Q_EMIT contattiCambiati();
}

void FrmBrenzola::archivioCambiatoDa()
{
    ElencoCambiatoAltrove();
    ricaricaDopoCambi(false);
}

void FrmBrenzola::Form_Unload()
{
    agenda_->chiudi();  // it reads the store, which closes here
    sincronizzazione_->chiudi();
    registro_.chiudi();
}

void FrmBrenzola::MostraModale()
{
    QEventLoop loop;
    connect(this, &FrmBrenzola::chiusa, &loop, &QEventLoop::quit);
    setWindowModality(Qt::ApplicationModal);
    show();
    loop.exec();
}

void FrmBrenzola::closeEvent(QCloseEvent* event)
{
    // Closing must not lose an edit: ask as a change of contact would.
    if (!LasciaContatto()) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
    Q_EMIT chiusa();
}

QString FrmBrenzola::QueryLista(const QString& Filtro) { return ElencoContatti::query(Filtro); }

void FrmBrenzola::RiempiLista() { elenco_->avanzata(*RsLista); }

void FrmBrenzola::ElencaTutti()
{
    RsLista = std::make_unique<Recordset>();
    elenco_->tutti();
}

void FrmBrenzola::CmdCerca_Click()
{
    RsLista = std::make_unique<Recordset>();
    elenco_->rapida(TxtRicerca->text());
}

void FrmBrenzola::TxtRicerca_Change() { CmdCerca_Click(); }

void FrmBrenzola::AzzeraRicerca()
{
    // Mostra Tutti shows the store as it is, even what a program that announces nothing wrote.
    elenco_->segui();
    TxtRicerca->setText(QString());
    CmdCerca_Click();
}

void FrmBrenzola::CmdEsci_Click() { close(); }

// ---- Showing and creating a contact ----

bool FrmBrenzola::LasciaContatto()
{
    contaCampoAttivo();
    if (!AggiornaAnagrafica) return true;
    const Message domanda{tr("I dati sono stati modificati, si desidera salvare?"), MsgButtons::YesNoCancel, MsgIcon::Question};
    switch (dialogs_.MsgBox(this, domanda)) {
    case MsgAnswer::Yes: {
        bool saved = false;
        handle([&] { saved = CmdSalva_Click(); });
        return saved;
    }
    case MsgAnswer::No:
        AggiornaAnagrafica = 0;
        return true;
    default:
        return false;
    }
}

void FrmBrenzola::List1_Click()
{
    const qint64 scelto = List1->chiave(List1->selectedRow());
    if (!LasciaContatto()) {
        elenco_->mostra(IdCorrente);  // the list keeps pointing at the contact on screen
        return;
    }
    if (scelto) elenco_->mostra(scelto);  // a save has refilled the list meanwhile
    CaricaContatto();
}

void FrmBrenzola::CaricaContatto()
{
    const int selected = List1->selectedRow();
    QString sql =
        QStringLiteral("Select * from Anagrafica where Cognome & ' ' & Nome ='") + RaddoppiaApici(List1->text(selected)) + u'\'';
    if (selected >= 0) sql += QStringLiteral(" and id =%1").arg(List1->chiave(selected));

    Recordset rs;
    rs.Open(sql, registro_.connessione.get());
    if (rs.Eof()) {
        elenco_->mostra(IdCorrente);
        return;
    }
    mostraRiga(rs);
}

void FrmBrenzola::mostraRiga(const Recordset& rs)
{
    IdCorrente = rs.Fields(QStringLiteral("id")).toLongLong();
    const auto testoDi = [&rs](const char* column) { return ValoreNonNullo(rs.Fields(QLatin1String(column)), QString()); };
    const auto dataDi = [&rs](const char* column) { return ValoreNonNullo(rs.Fields(QLatin1String(column)), kDataMancante); };
    mostraTesto(TxtCognome, testoDi("cognome"));
    mostraTesto(TxtNome, testoDi("nome"));
    DtInizio->setValue(dataDi("DataIn"));
    mostraTesto(TxtTipoRef, testoDi("TipoRef"));
    mostraTesto(TxtProv, testoDi("prov"));
    mostraTesto(TxtCitta, testoDi("citta"));
    mostraTesto(TxtIndirizzo, testoDi("indirizzo"));
    mostraTesto(TxtCap, testoDi("Cap"));
    mostraTesto(TxtEmail, testoDi("Email"));
    mostraTesto(TxtTelefono, testoDi("Telefono"));
    mostraTesto(TxtCell, testoDi("Cell"));
    DtNasc->setValue(dataDi("DataNasc"));
    mostraTesto(Txtfonte, testoDi("Fonte"));
    DtDataRicontattare->setValue(dataDi("DataRicont"));
    commentiCaricati_ = testoDi("commenti").toString();
    TxtCommenti->setPlainText(commentiCaricati_);
    ricordaContatto(rs.StoredValues(), testoDi("cognome").toString() + u' ' + testoDi("nome").toString());
}

void FrmBrenzola::ricordaContatto(const QVariantList& memorizzato, const QString& nome)
{
    contattoCaricato_ = memorizzato;
    nomeCaricato_ = nome;
    mostrato_.clear();
    for (const Campo& campo : campi_) mostrato_.push_back(statoCampo(campo.controllo));
    ricordaCampoAttivo();
}

void FrmBrenzola::svuotaScheda()
{
    PulisciCampi(this);
    for (QLineEdit* box : findChildren<QLineEdit*>())
        if (box->property("limite").isValid()) box->setMaxLength(box->property("limite").toInt());
    commentiCaricati_.clear();
    ricordaContatto({}, {});
}

void FrmBrenzola::Scorri(const QString& Direzione)
{
    const int p = List1->selectedRow();
    if (p < 0 || List1->count() == 0) return;
    const int last = List1->count() - 1;
    const int next = Direzione == u"I" ? (p == 0 ? last : p - 1) : (p == last ? 0 : p + 1);
    {
        const QSignalBlocker quiet(List1);  // the move is chosen once, below
        List1->setCurrentRow(next);
    }
    List1->scrollToRow(next);
    List1_Click();
}

void FrmBrenzola::CmdNuovo_Click()
{
    if (!LasciaContatto()) return;
    svuotaScheda();
    IdCorrente = 0;
}

// ---- Saving and deleting ----

QVariant FrmBrenzola::statoCampo(const QWidget* controllo)
{
    if (auto* box = qobject_cast<const QLineEdit*>(controllo)) return box->text();
    if (auto* date = qobject_cast<const CalendarField*>(controllo)) return date->value();
    return static_cast<const QTextEdit*>(controllo)->document()->toRawText();
}

QVariant FrmBrenzola::valoreDaScrivere(size_t campo) const
{
    const QWidget* controllo = campi_[campo].controllo;
    if (controllo != TxtCommenti) return statoCampo(controllo);
    // The box turns every kind of line break into its own: an unchanged comment goes back
    // as it was loaded, a changed one with the line breaks it used.
    if (statoCampo(controllo) == mostrato_[campo]) return commentiCaricati_;
    const QString fineRiga = commentiCaricati_.contains(QLatin1String("\r\n")) ? QStringLiteral("\r\n")
                             : commentiCaricati_.contains(u'\r')               ? QStringLiteral("\r")
                                                                               : QStringLiteral("\n");
    return TxtCommenti->document()->toRawText().replace(QChar::ParagraphSeparator, fineRiga);
}

bool FrmBrenzola::CmdSalva_Click()
{
    if (TxtCognome->text().isEmpty()) {
        dialogs_.MsgBox(this, {tr("Scrivere il cognome!"), MsgButtons::Ok, MsgIcon::Information});
        TxtCognome->setFocus();
        return false;
    }
    if (!datesAreValid(this, dialogs_)) return false;
    if (!senzaCaratteriDiControllo()) return false;
    bool mostraComeSalvato = false;
    for (;;) {
        Recordset rs;
        rs.Open(QStringLiteral("Select * from Anagrafica where id =%1").arg(IdCorrente), registro_.connessione.get());
        const bool nuovo = rs.Eof();
        if (!contattoCaricato_.isEmpty()) {
            const Conflitto scelta = nuovo                         ? chiediSeEliminato()
                                     : rs.Holds(contattoCaricato_) ? Conflitto::Nessuno
                                                                   : chiediSeCambiato();
            if (scelta == Conflitto::Annulla) return false;
            if (scelta == Conflitto::Ricarica) {
                mostraRiga(rs);
                AggiornaAnagrafica = 0;
                elenco_->mostra(IdCorrente);
                return false;
            }
            mostraComeSalvato = mostraComeSalvato || scelta == Conflitto::Scrivi;
        }
        if (nuovo) rs.AddNew();
        // Only what the user changed is written over a stored contact: every other column keeps its bytes.
        for (size_t i = 0; i < campi_.size(); ++i)
            if (nuovo || statoCampo(campi_[i].controllo) != mostrato_[i])
                rs.SetField(QLatin1String(campi_[i].colonna), valoreDaScrivere(i));
        try {
            InOperazione(*registro_.connessione, nuovo ? QStringLiteral("Nuovo contatto") : QStringLiteral("Salvataggio"),
                         [&rs] { rs.Update(); });
        } catch (const StoreError& error) {
            // Changed or deleted between the check and the write: check again.
            if (error.number() == StoreErrorNumber::RowChanged || error.number() == StoreErrorNumber::RowNotFound) continue;
            throw;
        }
        IdCorrente = rs.Fields(QStringLiteral("id")).toLongLong();
        break;
    }
    Recordset salvato;
    salvato.Open(QStringLiteral("Select * from Anagrafica where id =%1").arg(IdCorrente), registro_.connessione.get());
    if (!salvato.Eof()) {
        // After writing over another's version the form shows the row as it now is.
        if (mostraComeSalvato)
            mostraRiga(salvato);
        else
            ricordaContatto(salvato.StoredValues(), TxtCognome->text() + u' ' + TxtNome->text());
    }
    // Once the form knows what it wrote: a failure to list it leaves the save complete.
    elenco_->segui();
    dialogs_.MsgBox(this, {tr("Salvato"), MsgButtons::Ok, MsgIcon::Information});
    ElencaTutti();
    AggiornaAnagrafica = 0;
    Q_EMIT contattiCambiati();
    sincronizzazione_->dopoUnSalvataggio();
    return true;
}

bool FrmBrenzola::senzaCaratteriDiControllo()
{
    Contatto scheda;
    for (size_t i = 0; i < campi_.size(); ++i) scheda[campi_[i].campo] = valoreDaScrivere(i);
    const std::optional<CarattereDiControllo> trovato = carattereDiControllo(scheda);
    if (!trovato) return true;
    const QString motivo = trovato->motivo.left(1).toUpper() + trovato->motivo.mid(1);
    showError(StoreError(StoreErrorNumber::TypeMismatch, tr("%1: toglierlo e salvare di nuovo.").arg(motivo)),
              tr("Il contatto non è stato salvato."));
    const auto campo = std::find_if(campi_.begin(), campi_.end(), [&](const Campo& c) { return c.campo == trovato->campo; });
    mostraCarattereDiControllo(campo->controllo);
    return false;
}

void FrmBrenzola::mostraCarattereDiControllo(QWidget* controllo)
{
    controllo->setFocus();
    // Selected, so that one key takes it away: on screen it may not show at all.
    if (auto* box = qobject_cast<QLineEdit*>(controllo)) {
        if (const qsizetype dove = primoCarattereDiControllo(box->text()); dove >= 0) box->setSelection(int(dove), 1);
    } else if (auto* testo = qobject_cast<QTextEdit*>(controllo)) {
        if (const qsizetype dove = primoCarattereDiControllo(testo->document()->toRawText()); dove >= 0) {
            QTextCursor cursore(testo->document());
            cursore.setPosition(int(dove));
            cursore.setPosition(int(dove) + 1, QTextCursor::KeepAnchor);
            testo->setTextCursor(cursore);
        }
    }
}

FrmBrenzola::Conflitto FrmBrenzola::chiediSeCambiato()
{
    Message domanda{tr("Un altro utente ha modificato questo contatto dopo che è stato aperto.\n\n"
                       "«Sovrascrivi» salva i campi cambiati qui sopra la sua versione; "
                       "«Ricarica» mostra la sua versione e abbandona le modifiche fatte qui."),
                    MsgButtons::YesNoCancel, MsgIcon::Question};
    domanda.yesCaption = tr("Sovrascrivi");
    domanda.noCaption = tr("Ricarica");
    domanda.defaultAnswer = MsgAnswer::Cancel;
    switch (dialogs_.MsgBox(this, domanda)) {
    case MsgAnswer::Yes:
        return Conflitto::Scrivi;
    case MsgAnswer::No:
        return Conflitto::Ricarica;
    default:
        return Conflitto::Annulla;
    }
}

FrmBrenzola::Conflitto FrmBrenzola::chiediSeEliminato()
{
    const Message domanda{tr("Un altro utente ha eliminato questo contatto dopo che è stato aperto.\n\n"
                             "Salvarlo come nuovo contatto?"),
                          MsgButtons::YesNo, MsgIcon::Question};
    return dialogs_.MsgBox(this, domanda) == MsgAnswer::Yes ? Conflitto::Scrivi : Conflitto::Annulla;
}

void FrmBrenzola::CmdElimina_Click()
{
    // Asked about the contact on screen, which is the one deleted.
    QString testo = tr("Cancellare il contatto selezionato?");
    if (IdCorrente != 0 && !nomeCaricato_.trimmed().isEmpty()) testo += QStringLiteral("\n\n") + nomeCaricato_;
    const Message domanda{testo, MsgButtons::YesNo, MsgIcon::Question, tr("Info"), MsgAnswer::Yes};
    if (dialogs_.MsgBox(this, domanda) != MsgAnswer::Yes) return;
    InOperazione(openConnection(registro_.connessione.get()), QStringLiteral("Eliminazione"), [this] {
        registro_.connessione->Execute(QStringLiteral("Delete from anagrafica where id=%1").arg(IdCorrente));
    });
    // The data stay on screen; saving them again makes a new contact, without asking.
    contattoCaricato_.clear();
    elenco_->segui();
    ElencaTutti();
    Q_EMIT contattiCambiati();
    sincronizzazione_->dopoUnSalvataggio();
}

// ---- Printing ----

void FrmBrenzola::StampaRS()
{
    QStringList voci;
    voci.reserve(List1->count());
    for (int i = 0; i < List1->count(); ++i) voci << List1->text(i);
    brenzola::StampaRS(voci, dialogs_, this);
}

void FrmBrenzola::StampaRS_Scheda(const QString& Sql) { brenzola::StampaRS_Scheda(Sql, dialogs_, this); }

void FrmBrenzola::CmdStampaElenco_Click()
{
    registro_.totaleElenco = List1->count();
    StampaRS();
}

void FrmBrenzola::CmdStampaSchede_Click() { StampaRS_Scheda(QStringLiteral("Select * from Anagrafica ") + registro_.filtro); }

void FrmBrenzola::CmdStampa_Click()
{
    // The stored contact: edits not yet saved do not reach the card.
    StampaRS_Scheda(QStringLiteral("select * from anagrafica where id=%1").arg(IdCorrente));
}

// ---- Toolbar ----

void FrmBrenzola::Tb_ButtonClick(const QAction* Button)
{
    // The objectName is the untranslated caption.
    const QString comando = Button->objectName().toUpper();
    if (comando == u"MOSTRA TUTTI")
        AzzeraRicerca();
    else if (comando == u"RICERCA AVANZATA")
        RicercaAvanzata();
    else if (comando == u"INDIETRO")
        Scorri(QStringLiteral("I"));
    else if (comando == u"AVANTI")
        Scorri(QStringLiteral("A"));
    else if (comando == u"ESCI")
        close();
    else if (comando == u"AGENDA")
        ApriAgenda();
    else if (comando == u"IMPORTA")
        Importa();
    else if (comando == u"DOPPIONI")
        Doppioni();
}

// ---- Contacts in and out ----

void FrmBrenzola::Importa() { scambio_->importa(); }

void FrmBrenzola::EsportaElenco() { scambio_->esportaElenco(); }

void FrmBrenzola::EsportaContatto() { scambio_->esportaContatto(); }

void FrmBrenzola::Doppioni() { scambio_->doppioni(); }

void FrmBrenzola::ApriAgenda()
{
    handle([this] { agenda_->apri(); });
}

void FrmBrenzola::AgendaAllAvvio()
{
    handle([this] { agenda_->allAvvio(); });
}

void FrmBrenzola::MostraContatto(qint64 id)
{
    if (!LasciaContatto()) return;
    handle([&] {
        Recordset rs;
        rs.Open(QStringLiteral("Select * from Anagrafica where id =%1").arg(id), registro_.connessione.get());
        if (rs.Eof()) {
            dialogs_.MsgBox(this, {tr("Il contatto non c'è più: è stato eliminato."), MsgButtons::Ok, MsgIcon::Information});
            return;
        }
        // Listed, so that it can be seen among the others and browsed from.
        if (List1->rigaDi(id) < 0) AzzeraRicerca();
        mostraRiga(rs);
        AggiornaAnagrafica = 0;
        elenco_->mostra(id);
    });
    raise();
    activateWindow();
}

void FrmBrenzola::ricaricaDopoCambi(bool cambiati)
{
    // Edits the user chose not to save go either way.
    if (cambiati) Q_EMIT contattiCambiati();
    handle([this, cambiati] {
        if (cambiati) AzzeraRicerca();
        Recordset rs;
        rs.Open(QStringLiteral("Select * from Anagrafica where id =%1").arg(IdCorrente), registro_.connessione.get());
        if (IdCorrente != 0 && !rs.Eof()) {
            mostraRiga(rs);
            elenco_->mostra(IdCorrente);
        } else {
            svuotaScheda();
            IdCorrente = 0;
        }
        AggiornaAnagrafica = 0;
    });
}

void FrmBrenzola::RicercaAvanzata()
{
    if (!LasciaContatto()) return;  // the search clears the form
    {
        FrmRicerca ricerca(dialogs_, this, registro_);  // a new window each time, with empty criteria
        dialogs_.ShowModal(ricerca);
    }
    RsLista = std::make_unique<Recordset>();
    const QString condizione = registro_.filtro.trimmed();
    if (!condizione.isEmpty() && condizione.left(5).toUpper() != u"WHERE")
        registro_.filtro = QStringLiteral(" Where ") + registro_.filtro;
    RsLista->Open(QueryLista(registro_.filtro), registro_.connessione.get());
    RiempiLista();
    {
        // Clearing the quick-search box must not run the quick search over the result.
        const QSignalBlocker quiet(TxtRicerca);
        svuotaScheda();
    }
    IdCorrente = 0;
}

// ---- Edit-state tracking ----

QWidget* FrmBrenzola::campoAttivo() const
{
    for (QWidget* widget = QApplication::focusWidget(); widget; widget = widget->parentWidget())
        for (const Campo& campo : campi_)
            if (campo.controllo == widget) return widget;
    return nullptr;
}

void FrmBrenzola::contaCampoAttivo()
{
    if (const QWidget* campo = campoAttivo()) confrontaCampo(campo);
}

void FrmBrenzola::ricordaCampoAttivo()
{
    // A field that keeps the focus while the form is replaced compares with what it shows now.
    if (const QWidget* campo = campoAttivo()) CampoTemp = contenuto(campo);
}

}  // namespace brenzola
