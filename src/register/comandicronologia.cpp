#include "register/comandicronologia.h"

#include "cronologia/annullamento.h"
#include "cronologia/frmcestino.h"
#include "cronologia/frmcronologia.h"
#include "cronologia/frmoperazioni.h"
#include "store/cronologia.h"
#include "store/funzioni.h"
#include "store/storeerror.h"
#include "widgets/dialogs.h"

#include <QMenu>

namespace brenzola {

ComandiCronologia::ComandiCronologia(Dialogs& dialogs, QWidget* finestra, std::function<bool()> lascia,
                                     std::function<qint64()> corrente)
    : QObject(finestra),
      dialogs_(dialogs),
      finestra_(finestra),
      lascia_(std::move(lascia)),
      corrente_(std::move(corrente)),
      menu_(new QMenu(finestra))
{
    menu_->setObjectName(QStringLiteral("MnuCronologia"));
    const auto voce = [this](const char* nome, const QString& testo, const QKeySequence& scorciatoia,
                             void (ComandiCronologia::*comando)()) {
        menu_->addAction(testo, scorciatoia, this, comando)->setObjectName(QLatin1String(nome));
    };
    voce("AnnullaUltima", tr("Annulla l'ultima operazione"), Qt::CTRL | Qt::Key_Z, &ComandiCronologia::AnnullaUltima);
    voce("OperazioniRecenti", tr("Operazioni recenti..."), Qt::CTRL | Qt::SHIFT | Qt::Key_H, &ComandiCronologia::ApriOperazioni);
    voce("Cestino", tr("Cestino..."), Qt::CTRL | Qt::SHIFT | Qt::Key_Delete, &ComandiCronologia::ApriCestino);
    voce("CronologiaContatto", tr("Cronologia del contatto..."), Qt::CTRL | Qt::Key_H, &ComandiCronologia::ApriCronologia);
}

template <typename Lavoro> void ComandiCronologia::esegui(Lavoro&& lavoro)
{
    try {
        lavoro(openConnection(Funzioni::Connessione()));
    } catch (...) {
        MostraErrore(dialogs_, finestra_);
    }
}

template <typename Finestra> void ComandiCronologia::mostra(Finestra& finestra)
{
    connect(&finestra, &Finestra::cambiato, this, &ComandiCronologia::archivioCambiato);
    if (finestra.Leggi()) dialogs_.ShowModal(finestra);
}

void ComandiCronologia::AnnullaUltima()
{
    esegui([this](Connection& connessione) {
        // Chosen before the guard: a save it makes is not what the user meant to undo.
        const qint64 numero = UltimaOperazionePropria(connessione);
        if (numero == 0) {
            dialogs_.MsgBox(finestra_, {tr("Non c'è nessuna operazione da annullare: da quando l'archivio è stato "
                                           "aperto qui non è stato cambiato nulla, o è già stato annullato tutto.\n\n"
                                           "Le operazioni fatte altrove si annullano da «Operazioni recenti»."),
                                        MsgButtons::Ok, MsgIcon::Information});
            return;
        }
        if (lascia_() && AnnullaOperazione(dialogs_, finestra_, connessione, numero)) Q_EMIT archivioCambiato();
    });
}

// The windows are modal: once the guard has let the contact go, nothing else changes it
// while they are open.
void ComandiCronologia::ApriOperazioni()
{
    if (!lascia_()) return;
    esegui([this](Connection& connessione) {
        FrmOperazioni finestra(dialogs_, connessione, finestra_);
        mostra(finestra);
    });
}

void ComandiCronologia::ApriCestino()
{
    if (!lascia_()) return;
    esegui([this](Connection& connessione) {
        FrmCestino finestra(dialogs_, connessione, finestra_);
        mostra(finestra);
    });
}

void ComandiCronologia::ApriCronologia()
{
    if (!lascia_()) return;
    const qint64 id = corrente_();
    if (id == 0) {
        dialogs_.MsgBox(finestra_, {tr("Nessun contatto di cui mostrare la cronologia: sceglierne uno dall'elenco."),
                                    MsgButtons::Ok, MsgIcon::Information});
        return;
    }
    esegui([this, id](Connection& connessione) {
        FrmCronologia finestra(dialogs_, connessione, id, finestra_);
        mostra(finestra);
    });
}

void ComandiCronologia::CestinoAllAvvio()
{
    Connection* connessione = Funzioni::Connessione();
    if (!connessione || !connessione->hasJournal() || connessione->isReadOnly()) return;
    try {
        EliminaScaduti(*connessione);
    } catch (...) {
        MostraErrore(dialogs_, finestra_,
                     tr("I contatti che il cestino conserva da più tempo del previsto non sono stati eliminati "
                        "definitivamente: restano nel cestino fino al prossimo avvio, e si possono eliminare a mano "
                        "dal Cestino."));
    }
}

}  // namespace brenzola
