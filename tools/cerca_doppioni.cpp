// Lists the contacts of a register that are the same person, and those that may be, and
// merges the first on request:
//   cerca_doppioni [--unisci] ARCHIVIO
#include "exchange/doppioni.h"
#include "exchange/scambio.h"
#include "store/connection.h"
#include "store/funzioni.h"
#include "store/rigadicomando.h"
#include "store/storeerror.h"

#include <QCoreApplication>
#include <QHash>
#include <QTextStream>

using namespace brenzola;

namespace {

// "Cognome Nome (id 12)", each contact read once.
class Nomi {
public:
    explicit Nomi(Connection& connection) : connection_(connection) {}
    Contatto contatto(qint64 id)
    {
        auto dove = letti_.find(id);
        if (dove == letti_.end()) dove = letti_.insert(id, LeggiContatto(connection_, id));
        return *dove;
    }
    QString nome(qint64 id)
    {
        return QCoreApplication::translate("cerca_doppioni", "%1 (id %2)")
            .arg(contatto(id).nomeCompleto().trimmed(), QString::number(id));
    }

private:
    Connection& connection_;
    QHash<qint64, Contatto> letti_;
};

QString motivi(const Confronto& confronto) { return confronto.motivi.join(QStringLiteral(", ")); }

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    RigaDiComando riga(QCoreApplication::translate("cerca_doppioni", "[--unisci] ARCHIVIO"),
                       QCoreApplication::translate(
                           "cerca_doppioni",
                           "Elenca i contatti dell'archivio ARCHIVIO (un file, o la connessione a un server) che sono la\n"
                           "stessa persona: cognome e nome uguali (maiuscole, accenti, apostrofi e spazi a parte) e un\n"
                           "indirizzo e-mail o un telefono in comune, senza date di nascita diverse. Poi elenca le coppie\n"
                           "che potrebbero esserlo, con un indirizzo o un telefono in comune ma nomi diversi (spesso\n"
                           "persone diverse: colleghi con l'e-mail dell'ufficio, familiari con lo stesso telefono).\n\n"
                           "  --unisci    unisce ogni gruppo della stessa persona nel suo primo contatto: i campi vuoti\n"
                           "              presi dagli altri, i commenti uniti, ogni valore diverso aggiunto ai commenti;\n"
                           "              gli altri vanno nel cestino. Le coppie incerte non si uniscono mai\n"
                           "  -h, --help  mostra questo aiuto\n"
                           "  --version   mostra la versione\n"),
                       {{QStringLiteral("unisci"), QString()}}, 1);
    if (const int fine = riga.leggi(application.arguments()); fine >= 0) return fine;

    QTextStream out(stdout);
    QTextStream err(stderr);
    try {
        Connection connection;
        connection.Open(Funzioni::StringaConnessionePer(riga.argomenti()[0]));
        const Doppioni doppioni = *CercaDoppioni(connection);
        Nomi nomi(connection);
        std::vector<Unione> unioni;
        int assorbiti = 0;
        for (size_t g = 0; g < doppioni.gruppi.size(); ++g) {
            const GruppoDoppioni& gruppo = doppioni.gruppi[g];
            Unione unione{nomi.contatto(gruppo.chiavi.front()), {}, {}};
            unione.risultato = unione.base;
            QStringList elenco{nomi.nome(gruppo.chiavi.front())};
            for (size_t i = 1; i < gruppo.chiavi.size(); ++i) {
                const Contatto altro = nomi.contatto(gruppo.chiavi[i]);
                elenco << nomi.nome(altro.id);
                unione.risultato = unisci(unione.risultato, altro);
                unione.assorbiti.push_back(altro);
                ++assorbiti;
            }
            out << QCoreApplication::translate("cerca_doppioni", "Gruppo %1: %2")
                       .arg(QString::number(g + 1), elenco.join(QStringLiteral(", ")))
                << '\n';
            for (const Legame& legame : gruppo.legami)
                out << QCoreApplication::translate("cerca_doppioni", "  %1 e %2: %3")
                           .arg(nomi.nome(legame.prima), nomi.nome(legame.seconda), motivi(legame.confronto))
                    << '\n';
            unioni.push_back(std::move(unione));
        }
        if (doppioni.gruppi.empty())
            out << QCoreApplication::translate("cerca_doppioni", "Nell'archivio non ci sono contatti doppi.") << '\n';
        if (!doppioni.possibili.empty())
            out << QCoreApplication::translate("cerca_doppioni",
                                               "Forse la stessa persona, forse no (da controllare una per una; --unisci "
                                               "non le unisce):")
                << '\n';
        for (size_t c = 0; c < doppioni.possibili.size(); ++c) {
            const Legame& coppia = doppioni.possibili[c];
            out << QCoreApplication::translate("cerca_doppioni", "Coppia %1: %2 e %3: %4")
                       .arg(QString::number(c + 1), nomi.nome(coppia.prima), nomi.nome(coppia.seconda), motivi(coppia.confronto))
                << '\n';
        }
        if (riga.parser().isSet(QStringLiteral("unisci")) && !unioni.empty()) {
            ApplicaUnioni(connection, unioni);
            out << (assorbiti == 1 ? QCoreApplication::translate("cerca_doppioni", "Uniti: l'archivio ha 1 contatto in meno.")
                                   : QCoreApplication::translate("cerca_doppioni", "Uniti: l'archivio ha %1 contatti in meno.")
                                         .arg(assorbiti))
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
