// Reads a large CSV and vCard file as the import does, entry by entry: the time, and the
// peak memory while reading. Prints `name value unit` lines.
#include "benchsupport.h"
#include "exchange/csv.h"
#include "exchange/lettore.h"
#include "exchange/vcard.h"
#include "nomiinventati.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace brenzola;
using bench::print;

namespace {

// Invented contacts with the surnames of the realistic data, some with a note over two
// lines, written a thousand at a time.
void scrivi(const QString& nome, int contatti, bool vcard)
{
    QFile file(nome);
    if (!file.open(QIODevice::WriteOnly)) qFatal("%s: %s", qPrintable(nome), qPrintable(file.errorString()));
    QByteArray blocco = vcard ? QByteArray() : intestazioneCsv(StileCsv::Italiano);
    demo::Sequenza seq(7);
    demo::CognomiRealistici cognomi;
    for (int i = 0; i < contatti; ++i) {
        Contatto c;
        c[Campo::Cognome] = cognomi.estrai(seq).testo;
        c[Campo::Nome] = QStringLiteral("Nome %1").arg(i % 997);
        c[Campo::Email] = QStringLiteral("persona%1@example.it").arg(i);
        c[Campo::Cell] = QStringLiteral("+39 3%1").arg(100000000 + i);
        c[Campo::Citta] = QStringLiteral("Città %1").arg(i % 8000);
        c[Campo::DataNasc] = QDate(1940, 1, 1).addDays(i % 25000);
        if (i % 3 == 0) c[Campo::Commenti] = QStringLiteral("Cliente dal %1;\nrichiamare «presto»").arg(1990 + i % 30);
        blocco += vcard ? schedaVCard(c, VersioneVCard::V4) : rigaCsv(c, StileCsv::Italiano);
        if (i % 1000 == 999 || i + 1 == contatti) {
            file.write(blocco);
            blocco.clear();
        }
    }
}

void misura(int contatti)
{
    QTemporaryDir cartella;
    for (const bool vcard : {false, true}) {
        const char* formato = vcard ? "vcard" : "csv";
        const QString nome = cartella.filePath(vcard ? QStringLiteral("contatti.vcf") : QStringLiteral("contatti.csv"));
        scrivi(nome, contatti, vcard);
        print((QByteArray("stream_size_") + formato).constData(), contatti, double(QFileInfo(nome).size()) / 1024 / 1024, "MiB");
        bench::resetPeak();
        const double prima = bench::statusMb("VmHWM");
        QElapsedTimer timer;
        timer.start();
        const std::unique_ptr<LettoreVoci> lettore = apriLettore(nome);
        int lette = 0, illeggibili = 0;
        while (const std::optional<Voce> voce = lettore->prossima()) {
            ++lette;
            if (!voce->errore.isEmpty()) ++illeggibili;
        }
        print((QByteArray("stream_read_") + formato).constData(), contatti, double(timer.nsecsElapsed()) / 1e6, "ms");
        print((QByteArray("stream_peak_") + formato).constData(), contatti, bench::statusMb("VmHWM"), "MiB");
        print((QByteArray("stream_peak_before_") + formato).constData(), contatti, prima, "MiB");
        if (lette != contatti || illeggibili != 0)
            std::fprintf(stderr, "stream_read_%s: %d entries (%d unreadable) of %d\n", formato, lette, illeggibili, contatti);
        QFile::remove(nome);
    }
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList sizes = application.arguments().mid(1);
    for (const QString& size : sizes.isEmpty() ? QStringList{QStringLiteral("1000000")} : sizes) misura(size.toInt());
    return 0;
}
