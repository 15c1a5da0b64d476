// Lists the contacts of a register that are the same person, and merges them on request:
//   cerca_doppioni [--unisci] ARCHIVIO
#include "exchange/doppioni.h"
#include "exchange/scambio.h"
#include "store/connection.h"
#include "store/funzioni.h"
#include "store/rigadicomando.h"
#include "store/storeerror.h"

#include <QCoreApplication>
#include <QTextStream>

using namespace brenzola;

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    RigaDiComando riga(QCoreApplication::translate("cerca_doppioni", "[--unisci] ARCHIVIO"),
                       QCoreApplication::translate(
                           "cerca_doppioni",
                           "Elenca i contatti dell'archivio ARCHIVIO (un file, o la connessione a un server) che sono la\n"
                           "stessa persona: lo stesso indirizzo e-mail, oppure cognome e nome uguali (maiuscole e accenti a\n"
                           "parte) e un telefono in comune.\n\n"
                           "  --unisci    unisce ogni gruppo nel suo primo contatto: i campi vuoti presi dagli altri, i\n"
                           "              commenti uniti, ogni valore diverso aggiunto ai commenti; gli altri si eliminano\n"
                           "  -h, --help  mostra questo aiuto\n"
                           "  --version   mostra la versione\n"),
                       {{QStringLiteral("unisci"), QString()}}, 1);
    if (const int fine = riga.leggi(application.arguments()); fine >= 0) return fine;

    QTextStream out(stdout);
    QTextStream err(stderr);
    try {
        Connection connection;
        connection.Open(Funzioni::StringaConnessionePer(riga.argomenti()[0]));
        const std::vector<std::vector<qint64>> gruppi = *CercaDoppioni(connection);
        std::vector<Unione> unioni;
        int assorbiti = 0;
        for (size_t g = 0; g < gruppi.size(); ++g) {
            Unione unione{LeggiContatto(connection, gruppi[g].front()), {}, {}};
            unione.risultato = unione.base;
            QStringList nomi{QCoreApplication::translate("cerca_doppioni", "%1 (id %2)")
                                 .arg(unione.base.nomeCompleto().trimmed(), QString::number(unione.base.id))};
            for (size_t i = 1; i < gruppi[g].size(); ++i) {
                const Contatto altro = LeggiContatto(connection, gruppi[g][i]);
                nomi << QCoreApplication::translate("cerca_doppioni", "%1 (id %2)")
                            .arg(altro.nomeCompleto().trimmed(), QString::number(altro.id));
                unione.risultato = unisci(unione.risultato, altro);
                unione.assorbiti.push_back(altro);
                ++assorbiti;
            }
            out << QCoreApplication::translate("cerca_doppioni", "Gruppo %1: %2")
                       .arg(QString::number(g + 1), nomi.join(QStringLiteral(", ")))
                << '\n';
            unioni.push_back(std::move(unione));
        }
        if (gruppi.empty())
            out << QCoreApplication::translate("cerca_doppioni", "Nell'archivio non ci sono contatti doppi.") << '\n';
        if (riga.parser().isSet(QStringLiteral("unisci")) && !unioni.empty()) {
            ApplicaUnioni(connection, unioni);
            out << QCoreApplication::translate("cerca_doppioni", "Uniti: l'archivio ha %1 contatti in meno.").arg(assorbiti)
                << '\n';
        }
    } catch (...) {
        const StoreError error = ErroreCorrente();
        err << QCoreApplication::translate("cerca_doppioni", "Errore %1: %2")
                   .arg(QString::number(error.number()), error.description())
            << '\n';
        return 1;
    }
    return 0;
}
