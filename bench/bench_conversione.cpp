// Times the conversion of Access files of 40 (the test fixture), 10,000 and 100,000
// contacts into new stores, beside mdb-export reading the same table as the floor, and
// the conversion's peak memory. Prints one figure per line as `name value unit`.
//   bench_conversione [RUNS] [CONTACTS...]      (CONTACTS: multiples of the fixture's 40)
#include "access/accessconversion.h"
#include "accessgrande.h"
#include "benchsupport.h"
#include "store/storeerror.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>

using namespace brenzola;
using bench::medianMs;

namespace {

const QString kFixture =
    QDir(QFileInfo(QStringLiteral(__FILE__)).absolutePath()).filePath(QStringLiteral("../tests/data/access/Brenzola.mdb"));
constexpr int kFixtureContacts = 40;

bool measure(int contacts, int runs, const QString& mdbExport)
{
    QTemporaryDir dir;
    QString access = kFixture;
    if (contacts != kFixtureContacts) {
        access = dir.filePath(QStringLiteral("grande.mdb"));
        if (bench::creaAccessGrande(kFixture, access, contacts / kFixtureContacts) != contacts) return false;
    }
    qint64 rows = 0;
    double peak = 0;
    double conversionMs = 0;
    try {
        convertAccessFile(access, dir.filePath(QStringLiteral("riscaldamento.mdb")));  // warms the file cache
        conversionMs = medianMs(runs, [&](int run) {
            bench::resetPeak();
            rows = convertAccessFile(access, dir.filePath(QStringLiteral("conversione-%1.mdb").arg(run))).rowsWritten;
            peak = std::max(peak, bench::statusMb("VmHWM"));
        });
    } catch (const StoreError& error) {
        std::fprintf(stderr, "Errore %d: %s\n", error.number(), qPrintable(error.description()));
        return false;
    }
    bench::print("conversion_rows", contacts, double(rows), "rows");
    bench::print("conversion_ms", contacts, conversionMs, "ms");
    bench::print("conversion_peak_memory", contacts, peak, "MiB");
    if (mdbExport.isEmpty()) return true;

    bool exported = true;
    const double exportMs = medianMs(runs, [&](int) {
        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        process.start(mdbExport, {access, QStringLiteral("Anagrafica")});
        exported = process.waitForFinished(600000) && process.exitCode() == 0 && exported;
    });
    if (!exported) return false;
    bench::print("mdb_export_ms", contacts, exportMs, "ms");
    bench::print("conversion_to_mdb_export_ratio", contacts, conversionMs / exportMs, "(at most 2 wanted)");
    return true;
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList args = application.arguments().mid(1);
    const int runs = args.size() > 0 ? std::max(1, args[0].toInt()) : 5;
    QList<int> sizes;
    for (const QString& size : args.mid(1)) sizes << size.toInt();
    if (sizes.isEmpty()) sizes = {kFixtureContacts, 10000, 100000};
    const QString mdbExport = QStandardPaths::findExecutable(QStringLiteral("mdb-export"));
    if (mdbExport.isEmpty()) std::printf("mdb_export_ms skipped (mdb-export not installed)\n");
    for (int contacts : sizes) {
        if (contacts % kFixtureContacts != 0 || !measure(contacts, runs, mdbExport)) {
            std::fprintf(stderr, "Misura non riuscita per %d contatti\n", contacts);
            return 1;
        }
    }
    return 0;
}
