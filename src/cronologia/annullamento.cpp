#include "cronologia/annullamento.h"

#include "cronologia/testicronologia.h"
#include "store/cronologia.h"
#include "store/storeerror.h"
#include "widgets/dialogs.h"

#include <QCoreApplication>

namespace brenzola {
namespace {

void informa(Dialogs& dialogs, QWidget* parent, const QString& testo)
{
    dialogs.MsgBox(parent, {testo, MsgButtons::Ok, MsgIcon::Information});
}

QStringList nomi(const std::vector<ContattoCambiato>& cambiati)
{
    QStringList n;
    for (const ContattoCambiato& c : cambiati) n << c.nome;
    return n;
}

// "operazione 12 («Salvataggio»)", as far as the journal still tells it.
QString descrizione(const VoceOperazione* voce, qint64 numero)
{
    return voce ? QCoreApplication::translate("brenzola::Annullamento", "operazione %1 («%2»)").arg(numero).arg(voce->etichetta)
                : QCoreApplication::translate("brenzola::Annullamento", "operazione %1").arg(numero);
}

bool annullaIlResto(Dialogs& dialogs, QWidget* parent, const QString& operazione, const std::vector<ContattoCambiato>& cambiati)
{
    QStringList righe;
    for (const ContattoCambiato& c : cambiati) {
        if (righe.size() == 10) {
            righe << QCoreApplication::translate("brenzola::Annullamento", "e altri %1").arg(cambiati.size() - 10);
            break;
        }
        righe << QCoreApplication::translate("brenzola::Annullamento", "«%1», il %2 da %3")
                     .arg(c.nome.trimmed(), QuandoLocale(c.quando), c.chi);
    }
    Message domanda{
        QCoreApplication::translate("brenzola::Annullamento",
                                    "Dopo l'%1 sono stati modificati di nuovo:\n\n%2\n\n«Annulla il resto» riporta com'erano gli "
                                    "altri contatti dell'operazione e lascia questi come sono ora; «Niente» non cambia nulla.")
            .arg(operazione, righe.join(u'\n')),
        MsgButtons::YesNo, MsgIcon::Question};
    domanda.yesCaption = QCoreApplication::translate("brenzola::Annullamento", "Annulla il resto");
    domanda.noCaption = QCoreApplication::translate("brenzola::Annullamento", "Niente");
    domanda.defaultAnswer = MsgAnswer::No;
    return dialogs.MsgBox(parent, domanda) == MsgAnswer::Yes;
}

}  // namespace

bool AnnullaOperazione(Dialogs& dialogs, QWidget* parent, Connection& connessione, qint64 numero)
{
    try {
        const std::vector<VoceOperazione> trovata = OperazioniRecenti(connessione, 1, numero + 1);
        const VoceOperazione* voce = !trovata.empty() && trovata.front().numero == numero ? &trovata.front() : nullptr;
        const QString operazione = descrizione(voce, numero);
        EsitoAnnullamento esito;
        try {
            esito = Annulla(connessione, numero, false);
        } catch (const StoreError& errore) {
            if (errore.number() != StoreErrorNumber::RowChanged) throw;
            const std::vector<ContattoCambiato> cambiati = CambiatiDopo(connessione, numero);
            if (voce && qint64(cambiati.size()) >= voce->contatti) {
                informa(dialogs, parent,
                        QCoreApplication::translate("brenzola::Annullamento",
                                                    "Non è stato annullato nulla: tutti i contatti dell'%1 sono stati modificati "
                                                    "di nuovo dopo: %2.")
                            .arg(operazione, NomiTraVirgolette(nomi(cambiati))));
                return false;
            }
            if (!annullaIlResto(dialogs, parent, operazione, cambiati)) return false;
            esito = Annulla(connessione, numero, true);
        }
        if (esito.contatti == 0) {
            informa(dialogs, parent,
                    QCoreApplication::translate("brenzola::Annullamento",
                                                "Non è stato annullato nulla: nessun contatto dell'%1 si poteva riportare "
                                                "com'era.")
                        .arg(operazione));
            return false;
        }
        QString testo = QCoreApplication::translate("brenzola::Annullamento", "Annullata l'%1. Contatti riportati com'erano: %2.")
                            .arg(operazione, QString::number(esito.contatti));
        if (!esito.lasciati.empty())
            testo += QCoreApplication::translate("brenzola::Annullamento",
                                                 "\n\nLasciati come sono, perché modificati di nuovo dopo: %1.")
                         .arg(NomiTraVirgolette(nomi(esito.lasciati)));
        informa(dialogs, parent, testo);
        return true;
    } catch (...) {
        MostraErrore(dialogs, parent,
                     QCoreApplication::translate("brenzola::Annullamento", "Impossibile annullare l'operazione %1.").arg(numero));
        return false;
    }
}

}  // namespace brenzola
