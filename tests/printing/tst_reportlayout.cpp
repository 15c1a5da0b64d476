#include "printing/memorytable.h"
#include "printing/reportfont.h"
#include "printing/stampe.h"
#include "store/funzioni.h"
#include "store/storeerror.h"
#include "widgets/moduli.h"

#include <QApplication>
#include <QLocale>
#include <QRegularExpression>
#include <QTest>

using namespace brenzola;

namespace {

// Paper and margins the reports are laid out on here: A4 and the reports' own margins.
constexpr int kMargin = 567;
const PaperSize kA4{11906, 16838};
const QDateTime kNow(QDate(2024, 3, 5), QTime(9, 7, 41));

std::vector<const PlacedItem*> itemsOf(const ReportPage& page, const QString& band, const QString& control)
{
    std::vector<const PlacedItem*> found;
    for (const PlacedItem& item : page.items)
        if (item.band == band && item.control == control) found.push_back(&item);
    return found;
}

const PlacedItem* single(const ReportPage& page, const QString& band, const QString& control)
{
    const auto found = itemsOf(page, band, control);
    return found.size() == 1 ? found.front() : nullptr;
}

// Every text a control printed for one row, over all pages, its lines joined by blanks.
QString textOf(const ReportPages& pages, const QString& control, qsizetype row)
{
    QStringList parts;
    for (const ReportPage& page : pages.pages)
        for (const PlacedItem& item : page.items)
            if (item.band == QLatin1String("Section1") && item.control == control && item.row == row) parts << item.text;
    return parts.join(u'\n').replace(u'\n', u' ');
}

QString words(const QString& text) { return text.simplified(); }

MemoryTable cards(const QList<QVariantMap>& rows)
{
    MemoryTable table(cardShapeCommand());
    for (const QVariantMap& row : rows) {
        table.AddNew();
        for (auto it = row.cbegin(); it != row.cend(); ++it) table.SetField(it.key(), it.value());
        table.Update();
    }
    return table;
}

QVariantMap fullCard(const QString& cognome)
{
    return {{"cognome", cognome},
            {"nome", "Anna"},
            {"data", QDate(1900, 1, 1)},
            {"tipo_ref", "Cliente"},
            {"citta", "Forlì"},
            {"indirizzo", "Via Roma 1"},
            {"cap", "04100"},
            {"email", "anna@example.it"},
            {"telefono", "0543 123456"},
            {"cell", "333 1234567"},
            {"data_nasc", QDate(1970, 5, 6)},
            {"fonte", "Fiera"},
            {"data_ricontattare", QDate(2024, 1, 2)},
            {"commenti", "Da richiamare."}};
}

QString longText(int wordCount, const QString& seed)
{
    QStringList list;
    for (int i = 0; i < wordCount; ++i) list << seed + QString::number(i);
    return list.join(u' ');
}

}  // namespace

class TestReportLayout : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Funzioni::RegistraCaratteri(); }
    void reportsHaveTheirBandsInPrintOrder();
    void listFirstPageCarriesTitleTotalDateAndNames();
    void listPagesRepeatOnlyTheColumnHeading();
    void emptyListStillHasItsPageAndTotalZero();
    void totalIsAWholeCountWithoutSeparators();
    void emptyReportFooterNeverAddsAPage();
    void longNameIsKeptWholeAndPushesTheNextLine();
    void cardBandIsAsTallAsTheUsablePage();
    void oneCardPerPageInTableOrder();
    void noCardsStillShowsTheHeaders();
    void longCommentContinuesOnTheNextPage();
    void grownFieldPushesDownTheLinesBelow();
    void shortPaperSplitsTheCardWithoutLosingAnything();
    void textBoxWithoutItsColumnIsAnError();
};

void TestReportLayout::reportsHaveTheirBandsInPrintOrder()
{
    struct Expected {
        ReportDefinition report;
        QString caption;
        std::vector<int> heights;
    };
    for (const auto& [report, caption, heights] :
         {Expected{StElenco(), QStringLiteral("Stampa Elenco"), {1237, 368, 315, 198, 1095}},
          Expected{StDettaglio(), QStringLiteral("Stampa Dettaglio"), {660, 780, 6210, 0, 0}}}) {
        QCOMPARE(report.caption, caption);
        QCOMPARE(report.font, (ReportFont{QStringLiteral("Arial"), 8.25, false, false}));
        const QStringList names = {"Section4", "Section2", "Section1", "Section3", "Section5"};
        const BandKind kinds[] = {BandKind::ReportHeader, BandKind::PageHeader, BandKind::Detail, BandKind::PageFooter,
                                  BandKind::ReportFooter};
        QCOMPARE(report.bands.size(), size_t(5));
        for (size_t i = 0; i < 5; ++i) {
            QCOMPARE(report.bands[i].name, names[int(i)]);
            QCOMPARE(report.bands[i].kind, kinds[i]);
            QCOMPARE(report.bands[i].height, heights[i]);
        }
        ReportDefinition copy = report;
        QCOMPARE(copy.Sections(3).name, QStringLiteral("Section1"));
        QVERIFY(copy.Sections(QStringLiteral("section4")).findControl(QStringLiteral("Label13")));
    }
    QCOMPARE(StDettaglio().Sections(QStringLiteral("Section1")).controls.size(), size_t(28));
}

void TestReportLayout::listFirstPageCarriesTitleTotalDateAndNames()
{
    QStringList names;
    for (int i = 0; i < 25; ++i) names << QStringLiteral("Cognome%1 Nome").arg(25 - i);  // any order: list order
    Funzioni::TotaleElenco() = 25;
    const ReportPages pages = layoutStElenco(names, kA4, kNow);
    QCOMPARE(pages.caption, QStringLiteral("Stampa Elenco"));
    QCOMPARE(pages.pageCount(), 1);
    const ReportPage& page = pages.pages[0];

    // Bands in order: report header, page header, then the detail lines.
    QStringList bands;
    for (const PlacedItem& item : page.items)
        if (bands.isEmpty() || bands.back() != item.band) bands << item.band;
    QCOMPARE(bands, QStringList({"Section4", "Section2", "Section1"}));

    const QString header = QStringLiteral("Section4");
    const std::pair<const char*, const char*> texts[] = {
        {"Label1", "Elenco Anagrafiche"}, {"LblTot", "(Totale: 25)"}, {"Label13", "Data"},
        {"Label15", "05/03/2024"},        {"Label14", "Ora:"},        {"Label16", "09:07"}};
    for (const auto& [control, text] : texts) {
        const PlacedItem* item = single(page, header, QLatin1String(control));
        QVERIFY2(item, control);
        QCOMPARE(item->text, QString::fromUtf8(text));
    }
    QCOMPARE(single(page, header, QStringLiteral("LblTot"))->rect.topLeft(), QPoint(kMargin + 7937, kMargin + 667));
    QCOMPARE(single(page, header, QStringLiteral("Label1"))->font, (ReportFont{QStringLiteral("Arial"), 14.25, true, true}));
    QCOMPARE(single(page, header, QStringLiteral("Label13"))->font, (ReportFont{QStringLiteral("Arial"), 8.25, false, false}));

    const PlacedItem* heading = single(page, QStringLiteral("Section2"), QStringLiteral("Label3"));
    QVERIFY(heading);
    QCOMPARE(heading->text, QStringLiteral("COGNOME E NOME"));
    QCOMPARE(heading->rect.top(), kMargin + 1237);
    const PlacedItem* rule = single(page, QStringLiteral("Section2"), QStringLiteral("Line1"));
    QVERIFY(rule);
    QCOMPARE(rule->kind, PlacedItem::Kind::Line);
    QCOMPARE(rule->rect.top(), kMargin + 1237 + 367);
    QCOMPARE(rule->rect.width(), 10772);

    const auto lines = itemsOf(page, QStringLiteral("Section1"), QStringLiteral("TextBox3"));
    QCOMPARE(lines.size(), size_t(25));
    for (int i = 0; i < 25; ++i) {
        QCOMPARE(lines[size_t(i)]->text, names[i]);
        QCOMPARE(lines[size_t(i)]->row, i);
        QCOMPARE(lines[size_t(i)]->rect, QRect(kMargin + 1701, kMargin + 1237 + 368 + 315 * i + 80, 7935, 230));
        QCOMPARE(lines[size_t(i)]->font, (ReportFont{QStringLiteral("Times New Roman"), 8.25, false, false}));
    }
}

void TestReportLayout::listPagesRepeatOnlyTheColumnHeading()
{
    // A4 less the margins and the page footer leaves 16838 - 567 - 567 - 198 for the bands:
    // 44 name lines under the report and page headers on the first page, 48 on the others.
    const int bodyBottom = 16838 - kMargin - 198;
    const int firstPageLines = (bodyBottom - kMargin - 1237 - 368) / 315;
    const int otherPageLines = (bodyBottom - kMargin - 368) / 315;
    QCOMPARE(firstPageLines, 44);
    QCOMPARE(otherPageLines, 48);

    QStringList names;
    for (int i = 0; i < 200; ++i) names << QStringLiteral("Nome %1").arg(i, 3, 10, QLatin1Char('0'));
    Funzioni::TotaleElenco() = 200;
    const ReportPages pages = layoutStElenco(names, kA4, kNow);
    QCOMPARE(pages.pageCount(), 5);

    QStringList printed;
    for (int p = 0; p < pages.pageCount(); ++p) {
        const ReportPage& page = pages.pages[size_t(p)];
        QVERIFY(single(page, QStringLiteral("Section2"), QStringLiteral("Label3")));
        QVERIFY(single(page, QStringLiteral("Section2"), QStringLiteral("Line1")));
        for (const char* control : {"Label1", "LblTot", "Label13", "Label14", "Label15", "Label16"})
            QCOMPARE(itemsOf(page, QStringLiteral("Section4"), QLatin1String(control)).size(), size_t(p == 0 ? 1 : 0));
        const auto lines = itemsOf(page, QStringLiteral("Section1"), QStringLiteral("TextBox3"));
        QCOMPARE(int(lines.size()), p == 0 ? firstPageLines : p < 4 ? otherPageLines : 200 - 44 - 3 * 48);
        for (const PlacedItem* line : lines) {
            QVERIFY(line->rect.bottom() < bodyBottom);
            printed << line->text;
        }
    }
    QCOMPARE(printed, names);
}

void TestReportLayout::emptyListStillHasItsPageAndTotalZero()
{
    Funzioni::TotaleElenco() = 0;
    const ReportPages pages = layoutStElenco({}, kA4, kNow);
    QCOMPARE(pages.pageCount(), 1);
    QCOMPARE(single(pages.pages[0], QStringLiteral("Section4"), QStringLiteral("LblTot"))->text, QStringLiteral("(Totale: 0)"));
    QVERIFY(single(pages.pages[0], QStringLiteral("Section2"), QStringLiteral("Label3")));
    QVERIFY(itemsOf(pages.pages[0], QStringLiteral("Section1"), QStringLiteral("TextBox3")).empty());
}

void TestReportLayout::totalIsAWholeCountWithoutSeparators()
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    // The total is the list's count at the command, whatever the table holds.
    Funzioni::TotaleElenco() = 25;
    ReportPages pages = layoutStElenco({QStringLiteral("a"), QStringLiteral("b")}, kA4, kNow);
    QCOMPARE(single(pages.pages[0], QStringLiteral("Section4"), QStringLiteral("LblTot"))->text, QStringLiteral("(Totale: 25)"));
    Funzioni::TotaleElenco() = 100000;
    pages = layoutStElenco({}, kA4, kNow);
    QCOMPARE(single(pages.pages[0], QStringLiteral("Section4"), QStringLiteral("LblTot"))->text,
             QStringLiteral("(Totale: 100000)"));
    QLocale::setDefault(saved);
}

void TestReportLayout::emptyReportFooterNeverAddsAPage()
{
    // 44 lines fill the first page to 41 twips of its end: the empty 1095-twip report
    // footer cannot fit, and must not push out a page of headers alone.
    QStringList names;
    for (int i = 0; i < 44; ++i) names << QStringLiteral("N%1").arg(i);
    Funzioni::TotaleElenco() = names.size();
    QCOMPARE(layoutStElenco(names, kA4, kNow).pageCount(), 1);
    names << QStringLiteral("N44");
    QCOMPARE(layoutStElenco(names, kA4, kNow).pageCount(), 2);
}

void TestReportLayout::longNameIsKeptWholeAndPushesTheNextLine()
{
    const QString name = longText(90, QStringLiteral("Cognome"));
    QVERIFY(name.size() > 250);
    Funzioni::TotaleElenco() = 2;
    const ReportPages pages = layoutStElenco({name, QStringLiteral("Rossi Anna")}, kA4, kNow);
    const auto lines = itemsOf(pages.pages[0], QStringLiteral("Section1"), QStringLiteral("TextBox3"));
    QCOMPARE(lines.size(), size_t(2));
    QCOMPARE(words(lines[0]->text), name);
    QVERIFY(lines[0]->text.count(u'\n') >= 2);
    QVERIFY(lines[0]->rect.height() > 230);
    QCOMPARE(lines[0]->rect.width(), 7935);
    QVERIFY(lines[1]->rect.top() >= lines[0]->rect.top() + lines[0]->rect.height());

    FontCache fonts;
    const FontCache::Entry& font = fonts.get(lines[0]->font);
    for (const QString& line : lines[0]->text.split(u'\n')) QVERIFY(font.metrics.horizontalAdvance(line) <= 7935);
    QVERIFY(textHeight(font, lines[0]->text.count(u'\n') + 1) <= lines[0]->rect.height());
}

void TestReportLayout::cardBandIsAsTallAsTheUsablePage()
{
    const struct {
        PaperSize paper;
        int height;
    } cases[] = {{kA4, 16838 - 2 * kMargin}, {PaperSize{12240, 15840}, 15840 - 2 * kMargin}, {PaperSize{11906, 16838.6}, 15705}};
    for (const auto& [paper, height] : cases) {
        ReportDefinition report = StDettaglio();
        StDettaglio_DataReport_Initialize(report, paper);
        QCOMPARE(report.Sections(QStringLiteral("Section1")).height, height);
    }
    ReportDefinition report = StElenco();
    Funzioni::TotaleElenco() = 7;
    StElenco_DataReport_Initialize(report);
    QCOMPARE(report.Sections(QStringLiteral("Section4")).control(QStringLiteral("LblTot")).caption,
             QStringLiteral("(Totale: 7)"));
}

void TestReportLayout::oneCardPerPageInTableOrder()
{
    QVariantMap empty{{"cognome", "Bianchi"}};  // every other field Null
    const MemoryTable table = cards({fullCard(QStringLiteral("Verdi")), empty, fullCard(QStringLiteral("Azzurri"))});
    const ReportPages pages = layoutStDettaglio(table, kA4, kNow);
    QCOMPARE(pages.caption, QStringLiteral("Stampa Dettaglio"));
    QCOMPARE(pages.pageCount(), 3);

    const QStringList surnames = {"Verdi", "Bianchi", "Azzurri"};
    for (int p = 0; p < 3; ++p) {
        const ReportPage& page = pages.pages[size_t(p)];
        const PlacedItem* title = single(page, QStringLiteral("Section2"), QStringLiteral("Label1"));
        QVERIFY(title);
        QCOMPARE(title->text, QStringLiteral("Dettaglio Anagrafiche"));
        QVERIFY(single(page, QStringLiteral("Section2"), QStringLiteral("Line1")));
        for (const char* control : {"Label13", "Label14", "Label15", "Label16"})
            QCOMPARE(itemsOf(page, QStringLiteral("Section4"), QLatin1String(control)).size(), size_t(p == 0 ? 1 : 0));

        // The whole card, and only this card, on its page, below the headers.
        int detailItems = 0;
        for (const PlacedItem& item : page.items) {
            if (item.band != QLatin1String("Section1")) continue;
            ++detailItems;
            QCOMPARE(item.row, p);
        }
        QCOMPARE(detailItems, 28);
        const PlacedItem* surname = single(page, QStringLiteral("Section1"), QStringLiteral("TextBox3"));
        QCOMPARE(surname->text, surnames[p]);
        QCOMPARE(surname->rect.top(), kMargin + (p == 0 ? 660 : 0) + 780);
    }

    const ReportPage& first = pages.pages[0];
    const std::pair<const char*, const char*> values[] = {{"Label3", "COGNOME"},
                                                          {"TextBox3", "Verdi"},
                                                          {"Label2", "NOME"},
                                                          {"TextBox1", "Anna"},
                                                          {"Label7", "DATA"},
                                                          {"TextBox6", "01/01/1900"},
                                                          {"Label6", "TIPO REF."},
                                                          {"TextBox5", "Cliente"},
                                                          {"Label5", "CITTA'"},
                                                          {"TextBox4", "Forlì"},
                                                          {"Label4", "INDIRIZZO"},
                                                          {"TextBox2", "Via Roma 1"},
                                                          {"Label8", "CAP"},
                                                          {"TextBox7", "04100"},
                                                          {"Label10", "E-MAIL"},
                                                          {"TextBox9", "anna@example.it"},
                                                          {"Label11", "TELEFONO"},
                                                          {"TextBox10", "0543 123456"},
                                                          {"Label12", "CELL"},
                                                          {"TextBox11", "333 1234567"},
                                                          {"Label9", "DATA NASCITA"},
                                                          {"TextBox8", "06/05/1970"},
                                                          {"Label17", "FONTE"},
                                                          {"TextBox12", "Fiera"},
                                                          {"Label18", "DATA RICONTATTARE"},
                                                          {"TextBox13", "02/01/2024"},
                                                          {"Label19", "COMMENTI"},
                                                          {"TextBox14", "Da richiamare."}};
    for (const auto& [control, text] : values) {
        const PlacedItem* item = single(first, QStringLiteral("Section1"), QLatin1String(control));
        QVERIFY2(item, control);
        QCOMPARE(item->text, QString::fromUtf8(text));
    }
    // Null prints as a blank box.
    for (const char* control : {"TextBox1", "TextBox6", "TextBox8", "TextBox13", "TextBox14"}) {
        const PlacedItem* item = single(pages.pages[1], QStringLiteral("Section1"), QLatin1String(control));
        QVERIFY2(item, control);
        QCOMPARE(item->text, QString());
    }
}

void TestReportLayout::noCardsStillShowsTheHeaders()
{
    const ReportPages pages = layoutStDettaglio(cards({}), kA4, kNow);
    QCOMPARE(pages.pageCount(), 1);
    const ReportPage& page = pages.pages[0];
    QVERIFY(single(page, QStringLiteral("Section2"), QStringLiteral("Label1")));
    QCOMPARE(single(page, QStringLiteral("Section4"), QStringLiteral("Label15"))->text, QStringLiteral("05/03/2024"));
    for (const PlacedItem& item : page.items) QVERIFY(item.band != QLatin1String("Section1"));
}

void TestReportLayout::longCommentContinuesOnTheNextPage()
{
    QVariantMap card = fullCard(QStringLiteral("Rossi"));
    const QString comment = longText(2500, QStringLiteral("parola")) + QStringLiteral("\r\nultima riga\n\nfine");
    card.insert(QStringLiteral("commenti"), comment);
    const ReportPages pages = layoutStDettaglio(cards({card, fullCard(QStringLiteral("Bianchi"))}), kA4, kNow);

    const int bodyBottom = 16838 - kMargin;
    std::vector<int> pagesWithComment;
    FontCache fonts;
    for (int p = 0; p < pages.pageCount(); ++p) {
        for (const PlacedItem* piece : itemsOf(pages.pages[size_t(p)], QStringLiteral("Section1"), QStringLiteral("TextBox14"))) {
            if (piece->row != 0) continue;
            pagesWithComment.push_back(p);
            QVERIFY(piece->rect.top() + piece->rect.height() <= bodyBottom);
            QCOMPARE(piece->rect.left(), kMargin + 1701);
            QCOMPARE(piece->rect.width(), 7923);
            const FontCache::Entry& font = fonts.get(piece->font);
            for (const QString& line : piece->text.split(u'\n')) QVERIFY(font.metrics.horizontalAdvance(line) <= 7923);
            if (p > 0) QCOMPARE(piece->rect.top(), kMargin + 780);  // right below the page header
        }
    }
    QVERIFY(pagesWithComment.size() >= 2);
    for (size_t i = 0; i < pagesWithComment.size(); ++i) QCOMPARE(pagesWithComment[i], int(i));
    QCOMPARE(words(textOf(pages, QStringLiteral("TextBox14"), 0)), words(comment));
    // The hard line breaks are kept as line breaks.
    QVERIFY(textOf(pages, QStringLiteral("TextBox14"), 0).endsWith(QStringLiteral("ultima riga  fine")));

    // The next card starts a page of its own after the continuation.
    const int next = pagesWithComment.back() + 1;
    QCOMPARE(pages.pageCount(), next + 1);
    QCOMPARE(single(pages.pages[size_t(next)], QStringLiteral("Section1"), QStringLiteral("TextBox3"))->text,
             QStringLiteral("Bianchi"));
}

void TestReportLayout::grownFieldPushesDownTheLinesBelow()
{
    QVariantMap card = fullCard(longText(60, QStringLiteral("Cognome")));
    card.insert(QStringLiteral("indirizzo"), longText(40, QStringLiteral("Via")));
    const MemoryTable table = cards({fullCard(QStringLiteral("Rossi")), card});
    const ReportPages pages = layoutStDettaglio(table, kA4, kNow);
    QCOMPARE(pages.pageCount(), 2);

    const ReportPage& plain = pages.pages[0];
    const ReportPage& grown = pages.pages[1];
    const PlacedItem* surname = single(grown, QStringLiteral("Section1"), QStringLiteral("TextBox3"));
    QCOMPARE(words(surname->text), words(card.value(QStringLiteral("cognome")).toString()));
    QVERIFY(surname->rect.height() > 240);

    std::vector<const PlacedItem*> texts;
    for (const PlacedItem& item : grown.items)
        if (item.band == QLatin1String("Section1")) texts.push_back(&item);
    QCOMPARE(texts.size(), size_t(28));
    for (size_t i = 0; i < texts.size(); ++i)
        for (size_t j = i + 1; j < texts.size(); ++j)
            QVERIFY2(!texts[i]->rect.intersects(texts[j]->rect),
                     qPrintable(texts[i]->control + QStringLiteral(" / ") + texts[j]->control));

    // Same order as an ordinary card, everything lower by at least the surname's growth.
    const int plainTop = single(plain, QStringLiteral("Section1"), QStringLiteral("TextBox3"))->rect.top();
    const int cardTop = surname->rect.top();
    const int growth = surname->rect.height() - 240;
    for (const char* control : {"Label2", "TextBox1", "Label19", "TextBox14"}) {
        const int before = single(plain, QStringLiteral("Section1"), QLatin1String(control))->rect.top() - plainTop;
        const int after = single(grown, QStringLiteral("Section1"), QLatin1String(control))->rect.top() - cardTop;
        QVERIFY2(after >= before + growth, control);
    }
}

void TestReportLayout::shortPaperSplitsTheCardWithoutLosingAnything()
{
    // A sheet so short that the card band (5000 - 1134 twips) is cut by the headers.
    const PaperSize paper{11906, 5000};
    QVariantMap card = fullCard(QStringLiteral("Rossi"));
    card.insert(QStringLiteral("commenti"), longText(400, QStringLiteral("nota")));
    const MemoryTable table = cards({card, fullCard(QStringLiteral("Bianchi"))});
    const ReportPages pages = layoutStDettaglio(table, paper, kNow);
    QVERIFY(pages.pageCount() >= 4);

    const int bodyBottom = 5000 - kMargin;
    QHash<QString, int> pageOf;
    for (int p = 0; p < pages.pageCount(); ++p)
        for (const PlacedItem& item : pages.pages[size_t(p)].items) {
            QVERIFY2(item.rect.top() + item.rect.height() <= bodyBottom, qPrintable(item.control));
            if (item.band == QLatin1String("Section1") && item.row == 0 && !pageOf.contains(item.control))
                pageOf.insert(item.control, p);
        }
    for (int row = 0; row < 2; ++row) {
        const QVariantMap source = row == 0 ? card : fullCard(QStringLiteral("Bianchi"));
        const std::pair<const char*, const char*> columns[] = {
            {"TextBox3", "cognome"}, {"TextBox12", "fonte"}, {"TextBox13", "data_ricontattare"}, {"TextBox14", "commenti"}};
        for (const auto& [control, column] : columns)
            QCOMPARE(words(textOf(pages, QLatin1String(control), row)),
                     words(MemoryTable::asText(source.value(QLatin1String(column))).toString()));
        QCOMPARE(words(textOf(pages, QStringLiteral("Label18"), row)), QStringLiteral("DATA RICONTATTARE"));
    }
    // A line of the card is never torn apart: its caption and value go to the same page.
    QCOMPARE(pageOf.value(QStringLiteral("Label17")), pageOf.value(QStringLiteral("TextBox12")));
    QCOMPARE(pageOf.value(QStringLiteral("Label18")), pageOf.value(QStringLiteral("TextBox13")));
    QVERIFY(pageOf.value(QStringLiteral("Label17")) > 0);
}

void TestReportLayout::textBoxWithoutItsColumnIsAnError()
{
    // The card report over the list's table: its text boxes name columns that are not there.
    try {
        layoutReport(StDettaglio(), listTable({QStringLiteral("Rossi Anna")}), kA4, kNow);
        QFAIL("laid out");
    } catch (const StoreError& error) {
        QCOMPARE(error.number(), StoreErrorNumber::ItemNotFound);
        QVERIFY(error.description().contains(QStringLiteral("cognome")));
    }
}

QTEST_MAIN(TestReportLayout)
#include "tst_reportlayout.moc"
