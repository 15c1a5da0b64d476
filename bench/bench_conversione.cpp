// Times the conversion of an Access file into a new store, and mdb-export reading the same
// table as the floor to compare it with. Prints one figure per line as `name value unit`.
//   bench_conversione [RUNS] [ACCESS_FILE]
// The file defaults to the Access fixture beside the source tree.
#include "accessconversion.h"
#include "benchsupport.h"
#include "storeerror.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace brenzola;
using bench::medianMs;

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList args = application.arguments().mid(1);
    const int runs = args.size() > 0 ? std::max(1, args[0].toInt()) : 30;
    const QString fixture = args.size() > 1
        ? args[1]
        : QDir(QFileInfo(QStringLiteral(__FILE__)).absolutePath()).filePath(QStringLiteral("../tests/data/access/Brenzola.mdb"));
    if (!QFileInfo::exists(fixture)) {
        std::fprintf(stderr, "File Access non trovato: %s\n", qPrintable(fixture));
        return 1;
    }

    QTemporaryDir dir;
    qint64 rows = 0;
    double conversionMs = 0;
    try {
        convertAccessFile(fixture, dir.filePath(QStringLiteral("riscaldamento.mdb")));  // warms the file cache
        conversionMs = medianMs(runs, [&](int run) {
            rows = convertAccessFile(fixture, dir.filePath(QStringLiteral("conversione-%1.mdb").arg(run))).rowsWritten;
        });
    } catch (const StoreError& error) {
        std::fprintf(stderr, "Errore %d: %s\n", error.number(), qPrintable(error.description()));
        return 1;
    }
    std::printf("conversion_rows %lld rows\n", static_cast<long long>(rows));
    std::printf("conversion_ms %.3f ms\n", conversionMs);
    std::printf("conversion_rows_per_second %.0f rows/s\n", double(rows) / (conversionMs / 1000.0));

    const QString mdbExport = QStandardPaths::findExecutable(QStringLiteral("mdb-export"));
    if (mdbExport.isEmpty()) {
        std::printf("mdb_export_ms skipped (mdb-export not installed)\n");
        return 0;
    }
    bool exported = true;
    const double exportMs = medianMs(runs, [&](int) {
        QProcess process;
        process.start(mdbExport, {fixture, QStringLiteral("Anagrafica")});
        exported = process.waitForFinished(60000) && process.exitCode() == 0 && !process.readAllStandardOutput().isEmpty()
            && exported;
    });
    if (!exported) {
        std::fprintf(stderr, "mdb-export non è riuscito a leggere %s\n", qPrintable(fixture));
        return 1;
    }
    std::printf("mdb_export_ms %.3f ms\n", exportMs);
    std::printf("conversion_to_mdb_export_ratio %.2f (at most 2.00 wanted)\n", conversionMs / exportMs);
    return 0;
}
