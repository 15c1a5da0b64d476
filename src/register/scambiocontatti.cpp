#include "register/scambiocontatti.h"

#include "exchange/ui/comandiscambio.h"
#include "store/registro.h"
#include "widgets/dialogs.h"

#include <QMenu>

namespace brenzola {

ScambioContatti::ScambioContatti(Dialogs& dialogs, QWidget* finestra, Registro& registro, std::function<bool()> lascia,
                                 std::function<Mostrato()> mostrato)
    : QObject(finestra),
      dialogs_(dialogs),
      finestra_(finestra),
      registro_(registro),
      lascia_(std::move(lascia)),
      mostrato_(std::move(mostrato)),
      menu_(new QMenu(finestra))
{
    menu_->setObjectName(QStringLiteral("MnuEsporta"));
    menu_->addAction(tr("Esporta l'elenco..."), QKeySequence(Qt::CTRL | Qt::Key_E), this, [this] { esportaElenco(); })
        ->setObjectName(QStringLiteral("EsportaElenco"));
    menu_
        ->addAction(tr("Esporta il contatto..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E), this,
                    [this] { esportaContatto(); })
        ->setObjectName(QStringLiteral("EsportaContatto"));
}

template <typename Lavoro> void ScambioContatti::esegui(Lavoro&& lavoro)
{
    try {
        lavoro(openConnection(registro_.connessione.get()));
    } catch (...) {
        MostraErrore(dialogs_, finestra_);
    }
}

void ScambioContatti::importa()
{
    if (!lascia_()) return;  // merging may change the contact on screen
    esegui([this](Connection& connessione) { Q_EMIT finito(ImportaDaFile(dialogs_, finestra_, connessione)); });
}

void ScambioContatti::esportaElenco()
{
    esegui(
        [this](Connection& connessione) { EsportaInFile(dialogs_, finestra_, connessione, registro_.filtro, tr("Contatti")); });
}

void ScambioContatti::esportaContatto()
{
    // The stored contact, as printing takes it: edits not yet saved do not go out.
    const Mostrato contatto = mostrato_();
    if (contatto.id == 0) {
        dialogs_.MsgBox(finestra_,
                        {tr("Nessun contatto da esportare: sceglierne uno dall'elenco."), MsgButtons::Ok, MsgIcon::Information});
        return;
    }
    QString nome = contatto.nome.trimmed().isEmpty() ? tr("Contatto") : contatto.nome.trimmed();
    nome.replace(u'/', u'-');  // a file name, not a path
    esegui([&](Connection& connessione) {
        EsportaInFile(dialogs_, finestra_, connessione, QStringLiteral(" where id=%1").arg(contatto.id), nome);
    });
}

void ScambioContatti::doppioni()
{
    if (!lascia_()) return;  // the contact on screen may be merged into another
    esegui([this](Connection& connessione) { Q_EMIT finito(UnisciDoppioni(dialogs_, finestra_, connessione)); });
}

}  // namespace brenzola
