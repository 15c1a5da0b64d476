// Times the two reports from their tables to a PDF file: the list report of 100,000
// names and the card report of 1,000 contacts. Prints `name value unit` lines.
#include "funzioni.h"
#include "memorytable.h"
#include "reportpainter.h"
#include "stampa.h"

#include <QApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace brenzola;

namespace {

struct Timing {
    double layoutMs = 0;
    double pdfMs = 0;
    double totalMs = 0;
    int pages = 0;
    qint64 bytes = 0;
};

double elapsedMs(const QElapsedTimer& timer) { return double(timer.nsecsElapsed()) / 1e6; }

Timing measureOnce(const std::function<ReportPages()>& layout, const QString& path)
{
    Timing timing;
    QElapsedTimer timer;
    timer.start();
    const ReportPages pages = layout();
    timing.layoutMs = elapsedMs(timer);
    writePdf(pages, path);
    timing.totalMs = elapsedMs(timer);
    timing.pdfMs = timing.totalMs - timing.layoutMs;
    timing.pages = pages.pageCount();
    timing.bytes = QFileInfo(path).size();
    return timing;
}

void report(const char* name, int runs, const std::function<ReportPages()>& layout, const QString& path)
{
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
    std::fflush(stdout);
}

QString pick(QRandomGenerator& random, std::initializer_list<const char*> words)
{
    return QString::fromUtf8(*(words.begin() + random.bounded(int(words.size()))));
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const int runs = 5;
    QRandomGenerator random(1);

    const char* surnames[] = {"Rossi", "Bianchi", "D'Angelo", "Esposito", "Ferrari", "Galli", "Mazzà", "Ricci",
                              "Colombo", "Fontana", "Santoro", "Marino", "De Luca", "Conti", "Barbieri"};
    QStringList names;
    names.reserve(100000);
    for (int i = 0; i < 100000; ++i)
        names << QStringLiteral("%1%2 %3")
                     .arg(QString::fromUtf8(surnames[random.bounded(15)]))
                     .arg(i)
                     .arg(pick(random, {"Anna", "Bruno", "Carla", "Niccolò", "Elena", "Giorgio", "Zoe"}));
    Funzioni::TotaleElenco = names.size();
    report("stampa_elenco_100000", runs, [&] { return layoutStElenco(names, PaperSize{}); },
           dir.filePath(QStringLiteral("elenco.pdf")));

    MemoryTable cards(cardShapeCommand());
    const QDate first(1950, 1, 1);
    for (int i = 0; i < 1000; ++i) {
        cards.AddNew();
        cards.SetField(QStringLiteral("cognome"), QString::fromUtf8(surnames[random.bounded(15)]));
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
    report("stampa_schede_1000", runs, [&] { return layoutStDettaglio(cards, PaperSize{}); },
           dir.filePath(QStringLiteral("schede.pdf")));
    return 0;
}
