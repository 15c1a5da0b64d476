// Times contacts in and out at a given register size: export and import in each format,
// the search for duplicates over the register and, where the store keeps a journal,
// undoing an import. Prints `name value unit` lines.
#include "benchsupport.h"
#include "exchange/csv.h"
#include "exchange/lettore.h"
#include "exchange/mappacsv.h"
#include "exchange/scambio.h"
#include "exchange/valori.h"
#include "exchange/vcard.h"
#include "store/accessdialect.h"
#include "store/cronologia.h"
#include "store/funzioni.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <fcntl.h>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>

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

// User and system time, in milliseconds.
double cpuMs(const rusage& uso)
{
    return double(uso.ru_utime.tv_sec + uso.ru_stime.tv_sec) * 1e3 + double(uso.ru_utime.tv_usec + uso.ru_stime.tv_usec) / 1e3;
}
double cpuMs()
{
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    return cpuMs(uso);
}

struct Tempi {
    double cpu = 0;
    double wall = 0;
};

// The yardstick of an export: the sqlite3 shell writing the rows `sql` selects from the
// store to `file` as CSV. Nothing when the shell is not there or fails.
std::optional<Tempi> sqlite3Csv(const QString& store, const QString& sql, const QString& file)
{
    constexpr char kShell[] = "/usr/bin/sqlite3";
    const QByteArray archivio = store.toLocal8Bit(), query = sql.toUtf8(), uscita = file.toLocal8Bit();
    if (access(kShell, X_OK) != 0) return std::nullopt;
    QElapsedTimer timer;
    timer.start();
    const pid_t figlio = fork();
    if (figlio < 0) return std::nullopt;
    if (figlio == 0) {
        const int fd = open(uscita.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd < 0 || dup2(fd, STDOUT_FILENO) < 0) _exit(127);
        execl(kShell, "sqlite3", "-csv", "-header", archivio.constData(), query.constData(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int stato = 0;
    rusage uso{};
    if (wait4(figlio, &stato, 0, &uso) != figlio || !WIFEXITED(stato) || WEXITSTATUS(stato) != 0) return std::nullopt;
    return Tempi{cpuMs(uso), ms(timer)};
}

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

    // The shell cannot sort in the list's Italian order (the connection's own collation):
    // its rows come in the code points' order, sorted all the same.
    std::optional<Tempi> shell;
    if (!bench::suServer()) {
        const QString ordine = QStringLiteral("Select ") + RigheContatti(sorgente, true).colonne()
                               + QStringLiteral(" from Anagrafica ORDER BY Cognome & ' ' & Nome");
        const QString sql =
            translateAccessSql(ordine).remove(QStringLiteral(" COLLATE ") + QLatin1String(kItalianOrderCollation));
        shell = sqlite3Csv(origine.archivio(), sql, cartella.filePath(QStringLiteral("sqlite3.csv")));
        if (shell) {
            print("sqlite3_cpu", contacts, shell->cpu, "ms");
            print("sqlite3_wall", contacts, shell->wall, "ms");
        } else {
            std::fprintf(stderr, "sqlite3: the shell did not run\n");
        }
    }
    for (const Formato& f : kFormati) {
        const QString file = cartella.filePath(QStringLiteral("contatti.%1").arg(QLatin1String(f.estensione)));
        const auto nome = [&f](const char* figura) { return QByteArray(figura) + f.nome; };
        malloc_trim(0);  // what earlier work freed is not counted as the export's
        const bool picco = bench::resetPeak();
        const double residente = bench::statusMb("VmRSS");
        const double cpu = cpuMs();
        timer.restart();
        Esporta(sorgente, QStringLiteral(" "), f.formato, file);
        const double wall = ms(timer);
        const double cpuEsportazione = cpuMs() - cpu;
        print(nome("export_").constData(), contacts, wall, "ms");
        print(nome("export_cpu_").constData(), contacts, cpuEsportazione, "ms");
        if (shell) print(nome("export_cpu_ratio_").constData(), contacts, cpuEsportazione / shell->cpu, "x");
        // What the export needed beyond what was resident before it.
        if (picco) print(nome("export_peak_growth_").constData(), contacts, bench::statusMb("VmHWM") - residente, "MB");
        print(nome("export_size_").constData(), contacts, double(QFileInfo(file).size()) / 1024 / 1024, "MiB");

        const bench::ArchivioDemo destinazione(0);
        Connection vuoto;
        vuoto.Open(Funzioni::StringaConnessionePer(destinazione.archivio()));
        timer.restart();
        const Riepilogo r = Importa(vuoto, leggi(LeggiFile(file)), [](const Contatto&, const Voce&, const Confronto&) {
            return std::optional<Scelta>(Scelta::Aggiungi);
        });
        print((QByteArray("import_") + f.nome).constData(), contacts, ms(timer), "ms");
        if (r.aggiunti != contacts) std::fprintf(stderr, "import_%s: %d added of %d\n", f.nome, r.aggiunti, contacts);
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
