// Long reports: laid out page by page from where each page begins, measured and drawn
// from the fonts' simple glyphs, with progress and Annulla.
#include "pdfreader.h"
#include "printing/memorytable.h"
#include "printing/reportfont.h"
#include "printing/reportlayout.h"
#include "printing/reportpainter.h"
#include "printing/ui/reportpreview.h"
#include "printing/ui/stampa.h"
#include "printing/ui/stampante.h"
#include "store/funzioni.h"
#include "testsupport.h"
#include "widgets/dialogs.h"
#include "widgets/moduli.h"

#include <QDir>
#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

using namespace brenzola;

namespace {

const PaperSize kA4{11906, 16838};
const QDateTime kNow(QDate(2024, 3, 5), QTime(9, 7, 41));
const ReportFont kNameFont{QStringLiteral("Times New Roman"), 8.25, false, false};
constexpr int kNameWidth = 7935;  // of the list's text box
const QString kPreparing = QStringLiteral("Preparazione della stampa…");
const QString kExporting = QStringLiteral("Esportazione in PDF…");

// Answers as ScriptedDialogs does and keeps every step of every progress shown; the user
// presses Annulla at step `stopAt` (from 1) of the progress whose text is `stopIn`.
class ProgressDialogs final : public Dialogs {
public:
    struct Shown {
        QString text;
        QList<std::pair<qint64, qint64>> steps;  // (done, total)
    };
    test::ScriptedDialogs script;
    QList<Shown> progress;
    QString stopIn;
    int stopAt = 0;

    MsgAnswer MsgBox(QWidget* parent, const Message& message) override { return script.MsgBox(parent, message); }
    void ShowModal(QDialog& window) override { script.ShowModal(window); }
    QString ChooseFile(QWidget* parent, const QString& title, const QString& folder, const QString& filter) override
    {
        return script.ChooseFile(parent, title, folder, filter);
    }
    QString ChooseSaveFile(QWidget* parent, const QString& title, const QString& suggested, const QStringList& filters,
                           int* filter) override
    {
        return script.ChooseSaveFile(parent, title, suggested, filters, filter);
    }
    QString AskPassword(QWidget* parent, const QString& text) override { return script.AskPassword(parent, text); }
    std::unique_ptr<Progress> ShowProgress(QWidget*, const QString& text) override
    {
        progress.append({text, {}});
        class Recorder final : public Progress {
        public:
            Recorder(ProgressDialogs& dialogs, qsizetype index) : dialogs_(dialogs), index_(index) {}
            bool advance(qint64 done, qint64 total) override
            {
                Shown& shown = dialogs_.progress[index_];
                shown.steps.append({done, total});
                return shown.text != dialogs_.stopIn || shown.steps.size() < dialogs_.stopAt;
            }

        private:
            ProgressDialogs& dialogs_;
            qsizetype index_;
        };
        return std::make_unique<Recorder>(*this, progress.size() - 1);
    }
};

// What a register holds: accents, apostrophes, empty and null entries, names wider than
// their line, names just inside and just past its width, and characters only shaping
// places (a combining accent, a tab, a soft hyphen, ideographs, an emoji, a line break).
QStringList variedNames(int plain)
{
    FontCache fonts;
    const FontCache::Entry& font = fonts.get(kNameFont);
    QStringList names;
    QString edge = QStringLiteral("Rossi");
    while (font.metrics.horizontalAdvance(edge) <= kNameWidth) edge += edge.size() % 7 ? u'a' : u' ';
    for (int i = 0; i < plain; ++i) {
        names << QStringLiteral("Cognome%1 Nome").arg(i);
        switch (i % 25) {
        case 3:
            names << QString::fromUtf8("D'Angelo Niccolò") << QString::fromUtf8("Mazzà-Ferrari Zoë, ÉÇÑ ßœ");
            break;
        case 7:
            names << QString() << QStringLiteral("");
            break;
        case 11:
            names << edge.chopped(1) << edge << edge + QStringLiteral("bb");
            break;
        case 13:
            names << QStringLiteral("Bianchi %1").arg(i).repeated(40) << QStringLiteral("Verdi").repeated(70);
            break;
        case 17:
            names << QString::fromUtf8("Nicolo\u0300 Rossi") << QStringLiteral("Rossi\tAnna")
                  << QString::fromUtf8("Ros\u00adsi Anna") << QString::fromUtf8("李小龍 Anna")
                  << QString::fromUtf8("Anna 😀 Rossi") << QStringLiteral("Riga uno\nRiga due");
            break;
        }
    }
    return names;
}

// Every field of a placed item, so that pages compare as lists of texts.
QStringList described(const ReportPage& page)
{
    QStringList items;
    for (const PlacedItem& item : page.items)
        items << QStringLiteral("%1 %2/%3 row %4 [%5,%6 %7x%8] %9 %10 %11%12 a%13 «%14»")
                     .arg(int(item.kind))
                     .arg(item.band, item.control)
                     .arg(item.row)
                     .arg(item.rect.left())
                     .arg(item.rect.top())
                     .arg(item.rect.width())
                     .arg(item.rect.height())
                     .arg(item.font.family)
                     .arg(item.font.pointSize)
                     .arg(QLatin1String(item.font.bold ? "b" : ""), QLatin1String(item.font.italic ? "i" : ""))
                     .arg(int(item.alignment))
                     .arg(item.text);
    return items;
}

ReportDefinition initialized(ReportDefinition report, const PaperSize& paper)
{
    if (report.name == QLatin1String("StElenco"))
        StElenco_DataReport_Initialize(report);
    else
        StDettaglio_DataReport_Initialize(report, paper);
    return report;
}

MemoryTable cardsWithLongComments()
{
    MemoryTable cards(cardShapeCommand());
    for (int i = 0; i < 4; ++i) {
        cards.AddNew();
        cards.SetField(QStringLiteral("cognome"), QStringLiteral("Rossi%1").arg(i));
        cards.SetField(QStringLiteral("citta"), QString::fromUtf8("Forlì"));
        cards.SetField(QStringLiteral("commenti"),
                       (QStringLiteral("nota%1 ").arg(i).repeated(300 * i) + QStringLiteral("\nfine")).trimmed());
        cards.Update();
    }
    return cards;
}

// Paints a page as before glyphs were kept: every text shaped by drawText.
void paintShaped(QPainter& painter, const ReportPage& page, FontCache& fonts)
{
    QPen linePen(Qt::black, 15);
    linePen.setCapStyle(Qt::FlatCap);
    for (const PlacedItem& item : page.items) {
        const QRect& r = item.rect;
        if (item.kind == PlacedItem::Kind::Line) {
            painter.setPen(linePen);
            painter.drawLine(QPointF(r.left(), r.top()), QPointF(r.left() + r.width(), r.top()));
            continue;
        }
        if (item.text.isEmpty()) continue;
        const FontCache::Entry& font = fonts.get(item.font);
        painter.setFont(font.font);
        painter.setPen(QPen(Qt::black));
        double baseline = r.top() + font.metrics.ascent();
        for (const QString& line : item.text.split(u'\n')) {
            double x = r.left();
            if (item.alignment != TextAlignment::Left) {
                const double spare = r.width() - font.metrics.horizontalAdvance(line);
                x += item.alignment == TextAlignment::Right ? spare : spare / 2;
            }
            painter.drawText(QPointF(x, baseline), line);
            baseline += font.metrics.lineSpacing();
        }
    }
}

QStringList filesIn(const QTemporaryDir& dir)
{
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class TestStampaGrande : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Funzioni::RegistraCaratteri(); }
    void simpleGlyphsMeasureAsShaping();
    void documentPagesAreTheOnesLaidOutAtOnce();
    void pdfFromSimpleGlyphsEqualsShapedText();
    void layoutProgressReachesTheTotalAndAnnullaShowsNoPreview();
    void cancelledPdfLeavesNoFileAndKeepsTheOldOne();
    void cancelledPrintToFileLeavesNoFile();
};

void TestStampaGrande::simpleGlyphsMeasureAsShaping()
{
    const QStringList shapedOnly = {QString::fromUtf8("Nicolo\u0300"), QStringLiteral("Rossi\tAnna"),
                                    QString::fromUtf8("Ros\u00adsi"),  QString::fromUtf8("李小龍"),
                                    QString::fromUtf8("Anna 😀"),       QStringLiteral("Riga\nDue")};
    FontCache fonts;
    for (const ReportFont& key :
         {kNameFont, ReportFont{QStringLiteral("Arial"), 8.25, false, false},
          ReportFont{QStringLiteral("Arial"), 14.25, true, true}, ReportFont{QStringLiteral("Arial"), 9.75, true, true}}) {
        const FontCache::Entry& font = fonts.get(key);
        int simple = 0;
        const QStringList texts = variedNames(30) + QStringList{QStringLiteral("(Totale: 1000000)"), QStringLiteral("09:07")};
        for (const QString& text : texts) {
            QCOMPARE(wrapTextQuickly(text, font, kNameWidth), wrapText(text, font, kNameWidth));
            const std::optional<double> advance = font.simple->advance(text);
            if (!advance) continue;
            ++simple;
            QCOMPARE(*advance, font.metrics.horizontalAdvance(text));
        }
        // Ordinary names take the quick way, or nothing above proves anything.
        QVERIFY2(simple > 40, qPrintable(key.family));
        for (const char* plain : {"Rossi Anna", "Cognome12 Nome", "D'Angelo Niccolò"})
            QVERIFY2(font.simple->advance(QString::fromUtf8(plain)), plain);
        for (const QString& text : shapedOnly) QVERIFY2(!font.simple->advance(text), qPrintable(text));
    }
}

void TestStampaGrande::documentPagesAreTheOnesLaidOutAtOnce()
{
    // The list, read from its entries and measured quickly, against the table laid out at
    // once with every text shaped; the cards, whose comments run over several pages of a
    // short sheet, so that pages begin inside a card; and a report footer taller than a
    // page, which begins a page of its own and stays there.
    const QStringList names = variedNames(300);
    Funzioni::TotaleElenco() = names.size();
    const PaperSize shortSheet{11906, 5000};
    ReportDefinition tallFooter = initialized(StElenco(), kA4);
    ReportBand& footer = tallFooter.Sections(QStringLiteral("Section5"));
    footer.height = 20000;
    footer.controls.push_back(tallFooter.Sections(QStringLiteral("Section4")).control(QStringLiteral("LblTot")));
    struct Case {
        ReportPages atOnce;
        std::optional<ReportDocument> document;
    };
    Case cases[] = {
        {layoutReport(initialized(StElenco(), kA4), listTable(names), kA4, kNow), layoutStElenco(names, kA4, nullptr, kNow)},
        {layoutReport(initialized(StDettaglio(), shortSheet), cardsWithLongComments(), shortSheet, kNow),
         layoutStDettaglio(cardsWithLongComments(), shortSheet, nullptr, kNow)},
        {layoutReport(tallFooter, listTable(names), kA4, kNow),
         layoutDocument(tallFooter, ReportRows::of(names, QStringLiteral("Nome")), kA4, kNow, nullptr)}};
    for (const auto& [atOnce, document] : cases) {
        QVERIFY(document);
        QVERIFY(atOnce.pageCount() > 5);
        QCOMPARE(document->pageCount(), atOnce.pageCount());
        QCOMPARE(document->caption(), atOnce.caption);
        // Any page on its own, in any order.
        for (int i = atOnce.pageCount() - 1; i >= 0; --i)
            QCOMPARE(described(document->page(i)), described(atOnce.pages[size_t(i)]));
        QList<int> visited;
        document->forEachPage(2, 4, [&](int index, const ReportPage& page) {
            visited << index;
            return described(page) == described(atOnce.pages[size_t(index)]);
        });
        QCOMPARE(visited, QList<int>({2, 3, 4}));
    }
}

void TestStampaGrande::pdfFromSimpleGlyphsEqualsShapedText()
{
    QTemporaryDir dir;
    Funzioni::TotaleElenco() = 1000000;
    const ReportPages pages = layoutStElenco(variedNames(60), kA4, kNow);
    const QString quick = dir.filePath(QStringLiteral("glifi.pdf"));
    const QString shaped = dir.filePath(QStringLiteral("testo.pdf"));
    writePdf(pages, quick);
    {
        QPdfWriter writer(shaped);
        writer.setResolution(1440);
        writer.setPageSize(
            QPageSize(QSizeF(kA4.width / 1440, kA4.height / 1440), QPageSize::Inch, QString(), QPageSize::FuzzyMatch));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&writer);
        FontCache fonts;
        for (size_t i = 0; i < pages.pages.size(); ++i) {
            if (i > 0) writer.newPage();
            paintShaped(painter, pages.pages[i], fonts);
        }
    }
    // The printer scales the page to its resolution.
    const QString printed = dir.filePath(QStringLiteral("stampa-glifi.pdf"));
    const QString printedShaped = dir.filePath(QStringLiteral("stampa-testo.pdf"));
    for (const QString& path : {printed, printedShaped}) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        if (path == printed) {
            printReport(pages, printer, 1, pages.pageCount());
            continue;
        }
        printer.setFullPage(true);
        QPainter painter(&printer);
        mapTwips(painter, pages.paper, printer.resolution(), printer.paperRect(QPrinter::DevicePixel).size());
        FontCache fonts;
        for (size_t i = 0; i < pages.pages.size(); ++i) {
            if (i > 0) printer.newPage();
            paintShaped(painter, pages.pages[i], fonts);
        }
    }
    for (const auto& [a, b] : {std::pair{quick, shaped}, std::pair{printed, printedShaped}}) {
        const test::PdfContent glyphs = test::readPdf(a);
        const test::PdfContent text = test::readPdf(b);
        QVERIFY2(glyphs.valid && text.valid, qPrintable(glyphs.error + text.error));
        QCOMPARE(glyphs.contents.size(), pages.pageCount());
        QCOMPARE(glyphs.contents, text.contents);  // the same operators, glyphs and places
        QCOMPARE(glyphs.pages, text.pages);
    }
    QVERIFY(test::readPdf(quick).pageContains(0, QString::fromUtf8("D'Angelo Niccolò")));
}

void TestStampaGrande::layoutProgressReachesTheTotalAndAnnullaShowsNoPreview()
{
    QStringList names;
    for (int i = 0; i < 1000; ++i) names << QStringLiteral("Cognome%1 Nome").arg(i);
    Funzioni::TotaleElenco() = names.size();
    ProgressDialogs dialogs;
    int shownPages = 0;
    dialogs.script.onModal = [&](QDialog& window) {
        if (auto* preview = qobject_cast<ReportPreview*>(&window)) shownPages = preview->pageCount();
    };
    StampaRS(names, dialogs, nullptr);
    QCOMPARE(dialogs.script.modalTitles, QStringList{"Stampa Elenco"});
    QCOMPARE(dialogs.progress.size(), 1);
    const auto& steps = dialogs.progress[0].steps;
    QCOMPARE(dialogs.progress[0].text, kPreparing);
    QCOMPARE(steps.back(), (std::pair<qint64, qint64>(1000, 1000)));
    for (qsizetype i = 1; i < steps.size(); ++i) {
        QVERIFY(steps[i].first >= steps[i - 1].first);
        QCOMPARE(steps[i].second, 1000);
    }
    // A step a page, not a step a name.
    QVERIFY(shownPages > 10);
    QVERIFY(steps.size() >= 2 && steps.size() <= shownPages);

    // Annulla during the layout: no preview, nothing to say, and the work stops at once.
    ProgressDialogs cancelling;
    cancelling.stopIn = kPreparing;
    cancelling.stopAt = 3;
    StampaRS(names, cancelling, nullptr);
    QVERIFY(cancelling.script.modalTitles.isEmpty());
    QVERIFY(cancelling.script.shown.isEmpty());
    QCOMPARE(cancelling.progress[0].steps.size(), 3);
    QVERIFY(cancelling.progress[0].steps.back().first < 1000);

    // The cards stop the same way.
    ProgressDialogs cards;
    cards.stopIn = kPreparing;
    cards.stopAt = 1;
    QVERIFY(!layoutStDettaglio(cardsWithLongComments(), kA4, cards.ShowProgress(nullptr, kPreparing).get(), kNow));
}

void TestStampaGrande::cancelledPdfLeavesNoFileAndKeepsTheOldOne()
{
    QTemporaryDir dir;
    QStringList names;
    for (int i = 0; i < 500; ++i) names << QStringLiteral("Cognome%1 Nome").arg(i);
    Funzioni::TotaleElenco() = names.size();
    ProgressDialogs dialogs;
    ReportPreview window(*layoutStElenco(names, kA4, nullptr, kNow), dialogs);
    QString chosen;
    window.setFileChooser([&](QWidget*, const QString&) { return chosen; });
    const int pages = window.pageCount();
    QVERIFY(pages > 3);

    // Done whole: the progress reaches the last page, and the notice says where the file is.
    chosen = dir.filePath(QStringLiteral("elenco.pdf"));
    window.exportPdf();
    QCOMPARE(dialogs.progress.size(), 1);
    QCOMPARE(dialogs.progress[0].text, kExporting);
    QCOMPARE(dialogs.progress[0].steps.back(), (std::pair<qint64, qint64>(pages, pages)));
    const test::PdfContent pdf = test::readPdf(chosen);
    QVERIFY2(pdf.valid, qPrintable(pdf.error));
    QCOMPARE(pdf.pages.size(), pages);
    QVERIFY(pdf.pageContains(pages - 1, QStringLiteral("Cognome499 Nome")));
    QVERIFY(dialogs.script.lastText().contains(QStringLiteral("elenco.pdf")));

    // Annulla on a new file: no file, not even a part of one beside it, and no success.
    dialogs.stopIn = kExporting;
    dialogs.stopAt = 2;
    chosen = dir.filePath(QStringLiteral("nuovo.pdf"));
    window.exportPdf();
    QCOMPARE(filesIn(dir), QStringList{"elenco.pdf"});
    QCOMPARE(dialogs.progress.back().steps.size(), 2);
    QCOMPARE(dialogs.script.shown.back().icon, MsgIcon::Information);
    QCOMPARE(dialogs.script.lastText(), QStringLiteral("Esportazione annullata: nessun file è stato scritto."));

    // Annulla while replacing a file: the old one stays as it was.
    chosen = dir.filePath(QStringLiteral("elenco.pdf"));
    const QByteArray before = contents(chosen);
    dialogs.script.answers = {MsgAnswer::Yes};
    window.exportPdf();
    QCOMPARE(contents(chosen), before);
    QCOMPARE(filesIn(dir), QStringList{"elenco.pdf"});
    QVERIFY(dialogs.script.lastText().startsWith(QStringLiteral("Esportazione annullata: il file")));
}

void TestStampaGrande::cancelledPrintToFileLeavesNoFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("stampa.pdf"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("vecchio");
    }
    QStringList names;
    for (int i = 0; i < 300; ++i) names << QStringLiteral("Cognome%1 Nome").arg(i);
    Funzioni::TotaleElenco() = names.size();
    const std::optional<ReportDocument> document = layoutStElenco(names, kA4, nullptr, kNow);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);

    ProgressDialogs dialogs;
    dialogs.stopIn = QStringLiteral("Stampa");
    dialogs.stopAt = 2;
    QVERIFY(!printReport(*document, printer, 2, 6, dialogs.ShowProgress(nullptr, QStringLiteral("Stampa")).get()));
    QCOMPARE(contents(path), QByteArray("vecchio"));
    QCOMPARE(filesIn(dir), QStringList{"stampa.pdf"});
    QCOMPARE(printer.outputFileName(), path);

    // Printed whole, it replaces the file; the progress counts the pages asked for.
    QVERIFY(printReport(*document, printer, 2, 6, dialogs.ShowProgress(nullptr, QStringLiteral("Di nuovo")).get()));
    QCOMPARE(dialogs.progress.back().steps.back(), (std::pair<qint64, qint64>(5, 5)));
    const test::PdfContent pdf = test::readPdf(path);
    QVERIFY2(pdf.valid, qPrintable(pdf.error));
    QCOMPARE(pdf.pages.size(), 5);
    QVERIFY(pdf.pageContains(0, QStringLiteral("Cognome44 Nome")));  // the first name of page 2
    QCOMPARE(filesIn(dir), QStringList{"stampa.pdf"});
}

QTEST_MAIN(TestStampaGrande)
#include "tst_stampagrande.moc"
