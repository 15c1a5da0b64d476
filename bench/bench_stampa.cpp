// Times the two reports from their tables to a PDF file: the list report of 100,000 and
// of 1,000,000 names and the card report of 1,000 contacts, with the peak memory of each,
// their names from each data set. `bench_stampa [--dati demo|realistic|distinct|all] N...`
// times the list report of N names only. Prints `name value unit` lines.
#include "benchsupport.h"
#include "printing/memorytable.h"
#include "printing/reportpainter.h"
#include "printing/ui/stampa.h"
#include "store/connection.h"
#include "store/funzioni.h"
#include "widgets/dialogs.h"

#include <QApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlQuery>
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
    bench::resetPeak();
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
    timing.peakMiB = bench::statusMb("VmHWM");
    return timing;
}

void report(const char* figure, int runs, const Layout& layout, const QString& path)
{
    const QByteArray name = bench::prefissoDati(bench::datiCorrenti) + QByteArray(figure);
    // Resident before the report: its table and what the program held already.
    const double before = bench::statusMb("VmRSS");
    std::vector<Timing> timings;
    for (int i = 0; i < runs; ++i) timings.push_back(measureOnce(layout, path));
    const auto median = [&](double Timing::*field) {
        std::vector<double> values;
        for (const Timing& t : timings) values.push_back(t.*field);
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    std::printf("%s_layout %.1f ms\n", name.constData(), median(&Timing::layoutMs));
    std::printf("%s_pdf %.1f ms\n", name.constData(), median(&Timing::pdfMs));
    std::printf("%s_total %.1f ms\n", name.constData(), median(&Timing::totalMs));
    std::printf("%s_pages %d pages\n", name.constData(), timings.front().pages);
    std::printf("%s_size %.0f KiB\n", name.constData(), double(timings.front().bytes) / 1024);
    double peak = 0;
    for (const Timing& t : timings) peak = std::max(peak, t.peakMiB);
    std::printf("%s_resident_before %.1f MiB\n", name.constData(), before);
    std::printf("%s_peak %.1f MiB\n", name.constData(), peak);
    std::fflush(stdout);
}

QString pick(QRandomGenerator& random, std::initializer_list<const char*> words)
{
    return QString::fromUtf8(*(words.begin() + random.bounded(int(words.size()))));
}

// List entries as the main window gives them, "Surname Name", for `count` contacts of the
// data set being measured.
QStringList listNames(int count)
{
    const bench::ArchivioDemo store(count, bench::datiCorrenti);
    Connection connection;
    connection.Open(Funzioni::StringaConnessionePer(store.archivio()));
    QSqlQuery query(connection.database());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT Cognome, Nome FROM Anagrafica ORDER BY id"))) qFatal("the names cannot be read");
    QStringList names;
    names.reserve(count);
    while (query.next())
        names << (query.isNull(1) ? query.value(0).toString() : query.value(0).toString() + u' ' + query.value(1).toString());
    return names;
}

void listReport(const QStringList& names, int runs, const QString& path)
{
    Funzioni::TotaleElenco() = names.size();
    const QByteArray name = "stampa_elenco_" + QByteArray::number(names.size());
    report(
        name.constData(), runs, [&](Progress* progress) { return layoutStElenco(names, PaperSize{}, progress); }, path);
}

// A thousand cards, their names the data set's, the rest invented with long comments.
void cardReport(int runs, const QString& path)
{
    QRandomGenerator random(1);
    const QStringList names = listNames(1000);
    MemoryTable cards(cardShapeCommand());
    const QDate first(1950, 1, 1);
    for (int i = 0; i < names.size(); ++i) {
        cards.AddNew();
        const qsizetype spazio = names[i].lastIndexOf(u' ');
        cards.SetField(QStringLiteral("cognome"), spazio < 0 ? names[i] : names[i].left(spazio));
        cards.SetField(QStringLiteral("nome"), spazio < 0 ? QString() : names[i].mid(spazio + 1));
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
        "stampa_schede_1000", runs, [&](Progress* progress) { return layoutStDettaglio(cards, PaperSize{}, progress); }, path);
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const int runs = 5;
    const bench::Argomenti argomenti = bench::leggiArgomenti(app.arguments().mid(1), {});
    for (const bench::Dati dati : argomenti.dati) {
        bench::datiCorrenti = dati;
        // `bench_stampa N...`: the list report of N names only, three runs each.
        if (!argomenti.sizes.isEmpty()) {
            for (const QString& size : argomenti.sizes)
                listReport(listNames(std::max(0, size.toInt())), 3, dir.filePath(QStringLiteral("elenco.pdf")));
            continue;
        }
        listReport(listNames(100000), runs, dir.filePath(QStringLiteral("elenco.pdf")));
        cardReport(runs, dir.filePath(QStringLiteral("schede.pdf")));
        listReport(listNames(1000000), 3, dir.filePath(QStringLiteral("elenco-grande.pdf")));
    }
    return 0;
}
