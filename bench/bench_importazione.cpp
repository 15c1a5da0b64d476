// Import at scale, as a user runs it: importa_contatti on a CSV and a vCard file of a
// register with realistic names, into an empty file store, beside `sqlite3 .import`
// of the same CSV; then the same file again into the filled store (every contact already
// there, --doppioni salta). Time and peak memory of each child process. Prints
// `name value unit` lines; the argument is the number of contacts (100,000 if none).
#include "benchsupport.h"
#include "exchange/scambio.h"
#include "store/connection.h"
#include "store/funzioni.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cstdio>
#include <vector>

extern char** environ;

using namespace brenzola;

namespace {

struct Esito {
    double secondi = 0;
    double megabyte = 0;
    int stato = -1;
};

// Runs a program to its end, its output thrown away: wall time and peak resident memory.
Esito esegui(const QStringList& argomenti, const QString& ingresso = {})
{
    std::vector<QByteArray> byte;
    for (const QString& a : argomenti) byte.push_back(a.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& b : byte) argv.push_back(b.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t azioni;
    posix_spawn_file_actions_init(&azioni);
    posix_spawn_file_actions_addopen(&azioni, 1, "/dev/null", O_WRONLY, 0);
    const QByteArray daLeggere = ingresso.toLocal8Bit();
    if (!ingresso.isEmpty()) posix_spawn_file_actions_addopen(&azioni, 0, daLeggere.constData(), O_RDONLY, 0);
    QElapsedTimer tempo;
    tempo.start();
    pid_t pid = 0;
    Esito esito;
    if (posix_spawnp(&pid, argv[0], &azioni, nullptr, argv.data(), environ) == 0) {
        int stato = 0;
        rusage uso{};
        wait4(pid, &stato, 0, &uso);
        esito = {double(tempo.nsecsElapsed()) / 1e9, double(uso.ru_maxrss) / 1024.0, WIFEXITED(stato) ? WEXITSTATUS(stato) : -1};
    }
    posix_spawn_file_actions_destroy(&azioni);
    return esito;
}

void stampa(const char* nome, int contatti, const Esito& esito)
{
    if (esito.stato != 0) std::fprintf(stderr, "%s: exit status %d\n", nome, esito.stato);
    bench::print((QByteArray(nome) + "_time").constData(), contatti, esito.secondi * 1000, "ms");
    bench::print((QByteArray(nome) + "_peak").constData(), contatti, esito.megabyte, "MB");
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const int contatti = argc > 1 ? QByteArray(argv[1]).toInt() : 100000;
    bench::datiCorrenti = bench::Dati::Realistici;
    const QString importa = QStringLiteral(IMPORTA_CONTATTI);
    QTemporaryDir cartella;
    const QString csv = cartella.filePath(QStringLiteral("contatti.csv"));
    const QString vcf = cartella.filePath(QStringLiteral("contatti.vcf"));
    {
        const bench::ArchivioDemo origine(contatti, bench::Dati::Realistici);
        Connection connection;
        connection.Open(Funzioni::StringaConnessionePer(origine.archivio()));
        QElapsedTimer tempo;
        tempo.start();
        Esporta(connection, QStringLiteral(" "), FormatoScambio::CsvRfc, csv);
        bench::print("export_csv_time", contatti, double(tempo.nsecsElapsed()) / 1e6, "ms");
        tempo.restart();
        Esporta(connection, QStringLiteral(" "), FormatoScambio::VCard4, vcf);
        bench::print("export_vcard_time", contatti, double(tempo.nsecsElapsed()) / 1e6, "ms");
    }

    // sqlite3 reading the same CSV into a table of its own making.
    const QString comandi = cartella.filePath(QStringLiteral("import.sql"));
    QFile script(comandi);
    script.open(QIODevice::WriteOnly);
    script.write(QStringLiteral(".mode csv\n.import '%1' contatti\n").arg(csv).toUtf8());
    script.close();
    stampa("sqlite3_import_csv", contatti,
           esegui({QStringLiteral("sqlite3"), cartella.filePath(QStringLiteral("sqlite3.db"))}, comandi));

    for (const auto& [nome, file] : {std::pair("import_csv", csv), std::pair("import_vcard", vcf)}) {
        const QString archivio = cartella.filePath(QStringLiteral("%1.mdb").arg(QLatin1String(nome)));
        CreaArchivio(archivio);
        stampa(nome, contatti, esegui({importa, QStringLiteral("--doppioni"), QStringLiteral("aggiungi"), file, archivio}));
        if (QByteArray(nome) == "import_csv")
            stampa("reimport_csv_all_present", contatti,
                   esegui({importa, QStringLiteral("--doppioni"), QStringLiteral("salta"), file, archivio}));
    }
    return 0;
}
