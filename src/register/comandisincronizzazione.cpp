#include "register/comandisincronizzazione.h"

#include "store/connection.h"
#include "store/registro.h"
#include "store/storeerror.h"
#include "sync/lavoro.h"
#include "sync/password.h"
#include "sync/ui/frmconflitto.h"
#include "sync/ui/frmsincronizzazione.h"
#include "widgets/dialogs.h"

#include <QMenu>
#include <QTime>
#include <QTimer>

#include <algorithm>

namespace brenzola {
namespace {

constexpr int kDopoSalvataggioMs = 10'000;
constexpr int kMinuto = 60'000;

}  // namespace

ComandiSincronizzazione::ComandiSincronizzazione(Dialogs& dialogs, QWidget* finestra, Registro& registro,
                                                 std::function<bool()> lascia)
    : QObject(finestra),
      dialogs_(dialogs),
      finestra_(finestra),
      registro_(registro),
      lascia_(std::move(lascia)),
      menu_(new QMenu(finestra)),
      periodica_(new QTimer(this)),
      dopoSalvataggio_(new QTimer(this))
{
    menu_->setObjectName(QStringLiteral("MnuSincronizza"));
    stato_ = menu_->addAction(tr("Sincronizzazione non impostata"));
    stato_->setObjectName(QStringLiteral("StatoSincronizzazione"));
    stato_->setEnabled(false);
    menu_->addSeparator();
    menu_->addAction(tr("Sincronizza ora"), Qt::Key_F9, this, &ComandiSincronizzazione::SincronizzaOra)
        ->setObjectName(QStringLiteral("SincronizzaOra"));
    decidi_ = menu_->addAction(tr("Contatti da decidere..."), this, &ComandiSincronizzazione::DaDecidere);
    decidi_->setObjectName(QStringLiteral("DaDecidere"));
    decidi_->setEnabled(false);
    menu_->addAction(tr("Impostazioni..."), this, &ComandiSincronizzazione::Impostazioni)
        ->setObjectName(QStringLiteral("ImpostazioniSincronizzazione"));
    dopoSalvataggio_->setSingleShot(true);
    periodica_->setSingleShot(true);
    connect(dopoSalvataggio_, &QTimer::timeout, this, [this] { avvia(false); });
    connect(periodica_, &QTimer::timeout, this, [this] { avvia(false); });
}

ComandiSincronizzazione::~ComandiSincronizzazione() { chiudi(); }

void ComandiSincronizzazione::mostraStato(const QString& testo)
{
    stato_->setText(testo);
    decidi_->setEnabled(!conflitti_.empty());
    decidi_->setText(conflitti_.empty() ? tr("Contatti da decidere...")
                                        : tr("Contatti da decidere (%1)...").arg(conflitti_.size()));
}

bool ComandiSincronizzazione::attiva() const
{
    return registro_.connessione && impostazioni_.attiva(registro_.connessione->engine() == Engine::PostgreSQL);
}

void ComandiSincronizzazione::allAvvio()
{
    impostazioni_ = ImpostazioniSincronizzazione::leggi(registro_.stringaConnessione);
    conflitti_.clear();
    fallite_ = 0;
    if (!attiva()) {
        mostraStato(impostazioni_.rubrica.isEmpty() ? tr("Sincronizzazione non impostata")
                                                    : tr("Questo archivio lo sincronizza un'altra scrivania"));
        return;
    }
    mostraStato(tr("Sincronizzazione con «%1»").arg(impostazioni_.nomeRubrica));
    // Without a keyring the password is asked once at each start.
    if (!procuraPassword(true)) return;
    if (impostazioni_.allAvvio)
        avvia(false);
    else
        programma();
}

void ComandiSincronizzazione::dopoUnSalvataggio()
{
    if (attiva() && impostazioni_.dopoSalvataggio && !password_.isEmpty()) dopoSalvataggio_->start(kDopoSalvataggioMs);
}

void ComandiSincronizzazione::chiudi()
{
    periodica_->stop();
    dopoSalvataggio_->stop();
    if (lavoro_) {
        lavoro_->ferma();
        lavoro_->wait();
        delete lavoro_;
    }
}

bool ComandiSincronizzazione::procuraPassword(bool chiedi)
{
    if (!password_.isEmpty()) return true;
    try {
        password_ = PasswordDalPortachiavi(impostazioni_.server, impostazioni_.utente);
    } catch (const StoreError&) {
        if (chiedi)
            password_ = dialogs_.AskPassword(finestra_, tr("Password dell'utente «%1» sul server %2, per la sincronizzazione:")
                                                            .arg(impostazioni_.utente, impostazioni_.server.host()));
    }
    return !password_.isEmpty();
}

CardDavClient::Settings ComandiSincronizzazione::server() const
{
    CardDavClient::Settings s;
    s.server = impostazioni_.server;
    s.user = impostazioni_.utente;
    s.password = password_;
    return s;
}

void ComandiSincronizzazione::SincronizzaOra()
{
    if (impostazioni_.rubrica.isEmpty()) {
        Impostazioni();
        return;
    }
    if (!attiva()) {
        dialogs_.MsgBox(finestra_, {tr("Questo archivio è sul server e lo sincronizza un'altra scrivania (o il comando "
                                       "sincronizza sul server). Per farlo da qui, sceglierlo nelle impostazioni."),
                                    MsgButtons::Ok, MsgIcon::Information});
        return;
    }
    if (procuraPassword(true)) avvia(true);
}

void ComandiSincronizzazione::avvia(bool chiesta)
{
    if (!attiva() || password_.isEmpty() || decidendo_) return;
    if (!lavoro_) {
        periodica_->stop();
        dopoSalvataggio_->stop();
        lavoro_ = new LavoroSincronizzazione([&registro = registro_](Connection& c) { registro.apriAltra(c); }, server(),
                                             {impostazioni_.rubrica, impostazioni_.nomeRubrica, {}}, this);
        // Told here, unless the user is watching it: then the wait below tells it.
        connect(lavoro_, &QThread::finished, this, [this] {
            if (!chiesta_) concludi();
        });
        chiesta_ = false;
        mostraStato(tr("Sincronizzazione in corso..."));
        lavoro_->start();
    }
    if (!chiesta) return;
    // Asked for (perhaps while one of its own was under way): its progress, with Annulla, until it ends.
    chiesta_ = true;
    const std::unique_ptr<Progress> avanzamento =
        dialogs_.ShowProgress(finestra_, tr("Sincronizzazione con «%1»...").arg(impostazioni_.nomeRubrica));
    const QPointer<LavoroSincronizzazione> lavoro = lavoro_;
    while (lavoro && !lavoro->wait(30))
        if (!avanzamento->advance(lavoro->fatte(), lavoro->totale())) lavoro->ferma();
    concludi();
}

void ComandiSincronizzazione::concludi()
{
    if (!lavoro_ || !lavoro_->isFinished()) return;  // already told
    const std::unique_ptr<LavoroSincronizzazione> lavoro(lavoro_.data());
    lavoro_ = nullptr;
    const bool chiesta = chiesta_;
    chiesta_ = false;
    const QString ora = QTime::currentTime().toString(QStringLiteral("HH:mm"));
    if (const auto& errore = lavoro->errore()) {
        if (errore->number() == StoreErrorNumber::ServerPassword) password_.clear();  // asked again next time
        ++fallite_;
        programma();
        mostraStato(tr("Non riuscita alle %1 (errore %2): si riprova più tardi").arg(ora).arg(errore->number()));
        if (chiesta && errore->number() != StoreErrorNumber::UserInterrupt)
            MostraErrore(dialogs_, finestra_, *errore,
                         tr("La sincronizzazione con «%1» non è riuscita.").arg(impostazioni_.nomeRubrica));
        return;
    }
    fallite_ = 0;
    const EsitoSincronizzazione& esito = *lavoro->esito();
    conflitti_ = esito.conflitti;
    mostraStato(tr("Sincronizzata alle %1: %2 mandati, %3 ricevuti, %4 da decidere")
                    .arg(ora)
                    .arg(esito.inviati + esito.cambiatiSulServer + esito.eliminatiSulServer)
                    .arg(esito.ricevuti + esito.cambiatiQui + esito.eliminatiQui)
                    .arg(esito.conflitti.size()));
    programma();
    if (esito.ricevuti + esito.cambiatiQui + esito.eliminatiQui > 0) Q_EMIT archivioCambiato();
    if (!chiesta) return;
    QStringList detto;
    for (const SchedaIllegibile& s : esito.illeggibili)
        detto << tr("Lasciata com'è sul server, non è un contatto: %1 (%2)").arg(s.scheda.fileName(), s.motivo);
    if (!detto.isEmpty()) dialogs_.MsgBox(finestra_, {detto.join(u'\n'), MsgButtons::Ok, MsgIcon::Information});
    if (!conflitti_.empty()) DaDecidere();
}

void ComandiSincronizzazione::programma()
{
    // After failures the tries thin out (1, 2, 4... minutes), never more often than asked.
    const int minuti = impostazioni_.ogniMinuti;
    if (fallite_ > 0) {
        const int attesa = std::min(1 << std::min(fallite_ - 1, 10), minuti > 0 ? minuti : 60);
        periodica_->start(attesa * kMinuto);
    } else if (minuti > 0) {
        periodica_->start(minuti * kMinuto);
    }
}

void ComandiSincronizzazione::DaDecidere()
{
    // A synchronisation under way may change what there is to decide: it ends first, and
    // shows the contacts to decide as it has found them.
    if (lavoro_) {
        avvia(true);
        return;
    }
    // No synchronisation starts while the user decides: it would remember the cards as
    // they were before the choices.
    decidendo_ = true;
    periodica_->stop();
    dopoSalvataggio_->stop();
    const int totale = int(conflitti_.size());
    std::vector<Conflitto> restano;
    bool cambiato = false;
    for (int i = 0; i < totale; ++i) {
        Conflitto& conflitto = conflitti_[size_t(i)];
        // The choice may replace the contact on screen; closing the window leaves the rest for later.
        if (!lascia_()) {
            std::move(conflitti_.begin() + i, conflitti_.end(), std::back_inserter(restano));
            break;
        }
        FrmConflitto finestra(conflitto, i + 1, totale, finestra_);
        dialogs_.ShowModal(finestra);
        if (finestra.basta()) {
            std::move(conflitti_.begin() + i, conflitti_.end(), std::back_inserter(restano));
            break;
        }
        if (!finestra.scelta()) {
            restano.push_back(std::move(conflitto));
            continue;
        }
        try {
            CardDavClient client(server());
            const CardDavClient::AddressBook rubrica{impostazioni_.rubrica, impostazioni_.nomeRubrica, {}};
            if (Risolvi(*registro_.connessione, client, rubrica, conflitto, *finestra.scelta())) {
                cambiato = true;
            } else {
                dialogs_.MsgBox(finestra_, {tr("«%1» è cambiato di nuovo mentre si decideva: la prossima sincronizzazione "
                                               "lo mostra com'è ora.")
                                                .arg((conflitto.qui ? *conflitto.qui : *conflitto.sulServer).nomeCompleto()),
                                            MsgButtons::Ok, MsgIcon::Information});
            }
        } catch (...) {
            MostraErrore(dialogs_, finestra_, tr("La scelta non si è potuta fare: il contatto resta da decidere."));
            restano.push_back(std::move(conflitto));
        }
    }
    conflitti_ = std::move(restano);
    decidendo_ = false;
    programma();
    mostraStato(stato_->text());
    if (cambiato) Q_EMIT archivioCambiato();
}

void ComandiSincronizzazione::Impostazioni()
{
    if (!registro_.connessione) return;
    const bool suServer = registro_.connessione->engine() == Engine::PostgreSQL;
    FrmSincronizzazione finestra(dialogs_, impostazioni_, password_, suServer, finestra_);
    dialogs_.ShowModal(finestra);
    if (finestra.result() != QDialog::Accepted) return;
    const ImpostazioniSincronizzazione prima = impostazioni_;
    impostazioni_ = finestra.impostazioni();
    impostazioni_.salva(registro_.stringaConnessione);
    password_ = finestra.password();
    if (!password_.isEmpty()) {
        try {
            SalvaNelPortachiavi(impostazioni_.server, impostazioni_.utente, password_);
        } catch (const StoreError& e) {
            dialogs_.MsgBox(finestra_, {e.description(), MsgButtons::Ok, MsgIcon::Information});
        }
    }
    if (impostazioni_.rubrica != prima.rubrica) conflitti_.clear();
    fallite_ = 0;
    if (attiva()) {
        mostraStato(tr("Sincronizzazione con «%1»").arg(impostazioni_.nomeRubrica));
        avvia(true);
    } else {
        periodica_->stop();
        allAvvio();
    }
}

}  // namespace brenzola
