// Times the two reports from their tables to a PDF file: the list report of 100,000 and
// of 1,000,000 names and the card report of 1,000 contacts, with the peak memory of each.
// `bench_stampa N...` times the list report of N names only. Prints `name value unit` lines.
#include "printing/memorytable.h"
#include "printing/reportpainter.h"
#include "printing/ui/stampa.h"
#include "store/funzioni.h"
#include "widgets/dialogs.h"

#include <QApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <vector>

using namespace brenzola;

namespace {

struct Timing {
    double layoutMs = 0;
    double pdfMs = 0;
    double totalMs = 0;
    int pages = 0;
    qint64 bytes = 0;
    double peakMiB = 0;
};

// A figure of /proc/self/status, in MiB.
double statusMiB(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    const auto match = QRegularExpression(QStringLiteral("%1:\\s+(\\d+) kB").arg(QLatin1String(field)))
                           .match(QString::fromLatin1(status.readAll()));
    return match.hasMatch() ? match.captured(1).toDouble() / 1024.0 : -1;
}

// Makes the peak resident memory start again from what is resident now.
void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly)) clear.write("5");
}

double elapsedMs(const QElapsedTimer& timer) { return double(timer.nsecsElapsed()) / 1e6; }

// The progress a user watches, never stopped.
class Watched final : public Progress {
public:
    bool advance(qint64, qint64) override { return true; }
};

// Lays a report out and writes it as the preview does, both with their progress.
using Layout = std::function<std::optional<ReportDocument>(Progress*)>;

Timing measureOnce(const Layout& layout, const QString& path)
{
    Timing timing;
    resetPeak();
    Watched progress;
    QElapsedTimer timer;
    timer.start();
    const ReportDocument document = *layout(&progress);
    timing.layoutMs = elapsedMs(timer);
    writePdf(document, path, &progress);
    timing.totalMs = elapsedMs(timer);
    timing.pdfMs = timing.totalMs - timing.layoutMs;
    timing.pages = document.pageCount();
    timing.bytes = QFileInfo(path).size();
    timing.peakMiB = statusMiB("VmHWM");
    return timing;
}

void report(const char* name, int runs, const Layout& layout, const QString& path)
{
    // Resident before the report: its table and what the program held already.
    const double before = statusMiB("VmRSS");
    std::vector<Timing> timings;
    for (int i = 0; i < runs; ++i) timings.push_back(measureOnce(layout, path));
    const auto median = [&](double Timing::*field) {
        std::vector<double> values;
        for (const Timing& t : timings) values.push_back(t.*field);
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    std::printf("%s_layout %.1f ms\n", name, median(&Timing::layoutMs));
    std::printf("%s_pdf %.1f ms\n", name, median(&Timing::pdfMs));
    std::printf("%s_total %.1f ms\n", name, median(&Timing::totalMs));
    std::printf("%s_pages %d pages\n", name, timings.front().pages);
    std::printf("%s_size %.0f KiB\n", name, double(timings.front().bytes) / 1024);
    double peak = 0;
    for (const Timing& t : timings) peak = std::max(peak, t.peakMiB);
    std::printf("%s_resident_before %.1f MiB\n", name, before);
    std::printf("%s_peak %.1f MiB\n", name, peak);
    std::fflush(stdout);
}

QString pick(QRandomGenerator& random, std::initializer_list<const char*> words)
{
    return QString::fromUtf8(*(words.begin() + random.bounded(int(words.size()))));
}

const char* const kSurnames[] = {"Rossi",   "Bianchi", "D'Angelo", "Esposito", "Ferrari", "Galli", "Mazzà",   "Ricci",
                                 "Colombo", "Fontana", "Santoro",  "Marino",   "De Luca", "Conti", "Barbieri"};

// List entries as the main window gives them: "Surname<number> Name".
QStringList listNames(int count, QRandomGenerator& random)
{
    QStringList names;
    names.reserve(count);
    for (int i = 0; i < count; ++i)
        names << QStringLiteral("%1%2 %3")
                     .arg(QString::fromUtf8(kSurnames[random.bounded(15)]))
                     .arg(i)
                     .arg(pick(random, {"Anna", "Bruno", "Carla", "Niccolò", "Elena", "Giorgio", "Zoe"}));
    return names;
}

void listReport(int count, int runs, QRandomGenerator& random, const QString& path)
{
    const QStringList names = listNames(count, random);
    Funzioni::TotaleElenco() = names.size();
    const QByteArray name = "stampa_elenco_" + QByteArray::number(count);
    report(
        name.constData(), runs, [&](Progress* progress) { return layoutStElenco(names, PaperSize{}, progress); }, path);
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const int runs = 5;
    QRandomGenerator random(1);

    // `bench_stampa N...`: the list report of N names only, three runs each.
    if (argc > 1) {
        for (int i = 1; i < argc; ++i) {
            QRandomGenerator seeded(2);
            listReport(std::max(0, QByteArray(argv[i]).toInt()), 3, seeded, dir.filePath(QStringLiteral("elenco.pdf")));
        }
        return 0;
    }

    listReport(100000, runs, random, dir.filePath(QStringLiteral("elenco.pdf")));

    MemoryTable cards(cardShapeCommand());
    const QDate first(1950, 1, 1);
    for (int i = 0; i < 1000; ++i) {
        cards.AddNew();
        cards.SetField(QStringLiteral("cognome"), QString::fromUtf8(kSurnames[random.bounded(15)]));
        cards.SetField(QStringLiteral("nome"), pick(random, {"Anna", "Bruno", "Carla", "Niccolò", "Elena"}));
        cards.SetField(QStringLiteral("data"), first.addDays(random.bounded(25000)));
        cards.SetField(QStringLiteral("tipo_ref"), pick(random, {"Cliente", "Fornitore", "Amico"}));
        cards.SetField(QStringLiteral("citta"), pick(random, {"Forlì", "Bologna", "Cesena", "Rimini"}));
        cards.SetField(QStringLiteral("indirizzo"), QStringLiteral("Via Roma %1").arg(i));
        cards.SetField(QStringLiteral("cap"), QStringLiteral("0%1").arg(4000 + i));
        cards.SetField(QStringLiteral("email"), QStringLiteral("contatto%1@example.it").arg(i));
        cards.SetField(QStringLiteral("telefono"), QStringLiteral("0543 %1").arg(100000 + i));
        cards.SetField(QStringLiteral("cell"), QStringLiteral("333 %1").arg(1000000 + i));
        if (i % 3) cards.SetField(QStringLiteral("data_nasc"), first.addDays(random.bounded(20000)));
        cards.SetField(QStringLiteral("fonte"), pick(random, {"Fiera", "Telefono", "Sito"}));
        cards.SetField(QStringLiteral("data_ricontattare"), QDate(1900, 1, 1));
        QString comment;
        for (int words = int(random.bounded(400)); words > 0; --words)
            comment += pick(random, {"cliente ", "richiama ", "preventivo ", "ordine\n", "consegna ", "fattura "});
        cards.SetField(QStringLiteral("commenti"), comment);
        cards.Update();
    }
    report(
        "stampa_schede_1000", runs, [&](Progress* progress) { return layoutStDettaglio(cards, PaperSize{}, progress); },
        dir.filePath(QStringLiteral("schede.pdf")));

    QRandomGenerator more(2);
    listReport(1000000, 3, more, dir.filePath(QStringLiteral("elenco-grande.pdf")));
    return 0;
}
