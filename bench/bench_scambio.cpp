// Times contacts in and out at a given register size: export and import in each format,
// the search for duplicates over the register and, where the store keeps a journal,
// undoing an import. Prints `name value unit` lines.
#include "benchsupport.h"
#include "exchange/csv.h"
#include "exchange/lettore.h"
#include "exchange/mappacsv.h"
#include "store/funzioni.h"
#if __has_include("store/cronologia.h")
#include "store/cronologia.h"
#endif
#include "exchange/scambio.h"
#include "exchange/vcard.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>

using namespace brenzola;
using bench::print;

namespace {

struct Formato {
    const char* nome;
    FormatoScambio formato;
    const char* estensione;
};
constexpr Formato kFormati[] = {{"vcard4", FormatoScambio::VCard4, "vcf"},
                                {"vcard3", FormatoScambio::VCard3, "vcf"},
                                {"csv", FormatoScambio::CsvItaliano, "csv"},
                                {"csv_rfc", FormatoScambio::CsvRfc, "csv"}};

double ms(const QElapsedTimer& timer) { return double(timer.nsecsElapsed()) / 1e6; }

Lettura leggi(const QByteArray& dati) { return apriLettore(dati)->tutte(); }

void measure(int contacts)
{
    const bench::ArchivioDemo origine(contacts, bench::datiCorrenti);
    QTemporaryDir cartella;
    Connection sorgente;
    sorgente.Open(Funzioni::StringaConnessionePer(origine.archivio()));

    QElapsedTimer timer;
    timer.start();
    const auto gruppi = CercaDoppioni(sorgente);
    print("duplicate_search", contacts, ms(timer), "ms");
    print("duplicate_groups", contacts, double(gruppi ? gruppi->gruppi.size() : 0), "groups");
    print("duplicate_possible_pairs", contacts, double(gruppi ? gruppi->possibili.size() : 0), "pairs");

    for (const Formato& f : kFormati) {
        const QString file = cartella.filePath(QStringLiteral("contatti.%1").arg(QLatin1String(f.estensione)));
        timer.restart();
        Esporta(sorgente, QStringLiteral(" "), f.formato, file);
        print((QByteArray("export_") + f.nome).constData(), contacts, ms(timer), "ms");
        print((QByteArray("export_size_") + f.nome).constData(), contacts, double(QFileInfo(file).size()) / 1024 / 1024, "MiB");

        const bench::ArchivioDemo destinazione(0);
        Connection vuoto;
        vuoto.Open(Funzioni::StringaConnessionePer(destinazione.archivio()));
        timer.restart();
        const Riepilogo r = Importa(vuoto, leggi(LeggiFile(file)), [](const Contatto&, const Voce&, const Confronto&) {
            return std::optional<Scelta>(Scelta::Aggiungi);
        });
        print((QByteArray("import_") + f.nome).constData(), contacts, ms(timer), "ms");
        if (r.aggiunti != contacts) std::fprintf(stderr, "import_%s: %d added of %d\n", f.nome, r.aggiunti, contacts);
#if __has_include("store/cronologia.h")
        // The import undone as the user undoes it: its operation, in one transaction.
        if (&f == &kFormati[0] && !vuoto.ownOperations().empty()) {
            timer.restart();
            const EsitoAnnullamento esito = Annulla(vuoto, vuoto.ownOperations().back(), false);
            print("undo_import", contacts, ms(timer), "ms");
            QSqlQuery rimasti(vuoto.database());
            rimasti.exec(QStringLiteral("SELECT count(*) FROM Anagrafica"));
            if (esito.contatti != contacts || !rimasti.next() || rimasti.value(0).toLongLong() != 0)
                std::fprintf(stderr, "undo_import: %lld undone of %d, %lld left\n", esito.contatti, contacts,
                             rimasti.isValid() ? rimasti.value(0).toLongLong() : -1);
        }
#endif
    }
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const bench::Argomenti argomenti = bench::leggiArgomenti(application.arguments().mid(1), {QStringLiteral("100000")});
    for (const QString& size : argomenti.sizes)
        for (const bench::Dati dati : argomenti.dati) {
            bench::datiCorrenti = dati;
            measure(size.toInt());
        }
    return 0;
}
