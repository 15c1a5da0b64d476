#include "pdfreader.h"
#include "printing/reportfont.h"
#include "printing/reportpainter.h"
#include "printing/ui/reportpreview.h"
#include "printing/ui/stampa.h"
#include "printing/ui/stampante.h"
#include "store/funzioni.h"
#include "store/recordset.h"
#include "store/storeerror.h"
#include "testsupport.h"
#include "widgets/moduli.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using namespace brenzola;
using namespace brenzola::Funzioni;

namespace {

std::vector<const PlacedItem*> itemsOf(const ReportPage& page, const char* control)
{
    std::vector<const PlacedItem*> found;
    for (const PlacedItem& item : page.items)
        if (item.control == QLatin1String(control)) found.push_back(&item);
    return found;
}

QString textOf(const ReportPage& page, const char* control)
{
    const auto found = itemsOf(page, control);
    return found.size() == 1 ? found.front()->text : QStringLiteral("<%1 items>").arg(found.size());
}

QStringList detailTexts(const ReportPages& pages, const char* control)
{
    QStringList texts;
    for (const ReportPage& page : pages.pages)
        for (const PlacedItem* item : itemsOf(page, control))
            if (item->band == QLatin1String("Section1")) texts << item->text;
    return texts;
}

bool anyTextContains(const ReportPages& pages, const QString& needle)
{
    for (const ReportPage& page : pages.pages)
        for (const PlacedItem& item : page.items)
            if (item.text.contains(needle)) return true;
    return false;
}

template <typename T> T* child(QWidget& window, const char* name)
{
    T* found = window.findChild<T*>(QLatin1String(name));
    if (!found) qFatal("no child %s", name);
    return found;
}

}  // namespace

class TestStampa : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void cardTableCopiesEveryFieldByName();
    void cardsOfEveryContactComeInStoreOrder();
    void filteredCardsAndListShowTheSameContacts();
    void noContactOnScreenShowsAnEmptyCardReport();
    void failingQueryThrowsBeforeAnyWindow();
    void listPreviewShowsNamesAndTotal();
    void emptyListStillPreviews();
    void previewPagesThroughTheReport();
    void exportPdfThroughTheSaveWindow();
    void exportPdfAsksBeforeReplacingAFile();
    void exportPdfFailureShowsNumberAndDescription();
    void printingWithoutAPrinterExplainsWhy();
    void pdfHasEveryPageAndItsText();

private:
    // Runs `print` and keeps the preview's pages; `play` acts as the user inside it.
    std::optional<ReportPages> preview(const std::function<void()>& print, const std::function<void(ReportPreview&)>& play = {});
    void insertContacts();

    std::unique_ptr<test::TempStore> store_;
    test::ScriptedDialogs dialogs_;
    QList<qint64> ids_;
};

void TestStampa::initTestCase()
{
    ApplicaImpostazioniItaliane(*qApp);
    Funzioni::RegistraCaratteri();
}

void TestStampa::init()
{
    store_ = std::make_unique<test::TempStore>();
    insertContacts();
    ApriDatabase(store_->path());
    dialogs_ = test::ScriptedDialogs();
    Filtro() = QStringLiteral(" ");
}

void TestStampa::cleanup()
{
    ChiudiDatabase();
    store_.reset();
}

void TestStampa::insertContacts()
{
    // Stored neither in alphabetical order nor with every field filled.
    ids_ = {store_->insert({{"Cognome", "Verdi"},
                            {"Nome", "Carla"},
                            {"DataIn", "2020-02-03"},
                            {"TipoRef", "Cliente"},
                            {"Prov", "ZZPROV"},
                            {"Citta", "Forlì"},
                            {"Indirizzo", "Via Emilia 1"},
                            {"Cap", "04100"},
                            {"Email", "carla@example.it"},
                            {"Telefono", "0543 1"},
                            {"Cell", "333 2"},
                            {"DataNasc", "1980-12-31"},
                            {"Fonte", "Fiera"},
                            {"DataRicont", "1900-01-01"},
                            {"Commenti", "Riga uno\nRiga due"}}),
            store_->insert({{"Cognome", "Rossini"}, {"Nome", "Dario"}, {"Prov", "ZZPROV"}}),
            store_->insert({{"Cognome", "Bianchi"}, {"Nome", "Anna"}}),
            store_->insert({{"Cognome", "Rossi"}, {"Nome", "Bruno"}, {"DataIn", "1900-01-01"}, {"Prov", "ZZPROV"}})};
}

std::optional<ReportPages> TestStampa::preview(const std::function<void()>& print,
                                               const std::function<void(ReportPreview&)>& play)
{
    std::optional<ReportPages> seen;
    dialogs_.onModal = [&](QDialog& window) {
        auto* preview = qobject_cast<ReportPreview*>(&window);
        if (!preview) return;
        seen = preview->pages();
        if (play) play(*preview);
    };
    print();
    dialogs_.onModal = nullptr;
    return seen;
}

void TestStampa::cardTableCopiesEveryFieldByName()
{
    Recordset source;
    source.Open(QStringLiteral("Select * from Anagrafica ") + Filtro(), Connessione());
    const MemoryTable cards = cardTable(source);
    QVERIFY(source.Eof());
    QCOMPARE(cards.RecordCount(), 4);

    const QStringList expected = {
        "Verdi",  "Carla", "03/02/2020", "Cliente", "Forlì",      "Via Emilia 1",      "04100", "carla@example.it",
        "0543 1", "333 2", "31/12/1980", "Fiera",   "01/01/1900", "Riga uno\nRiga due"};
    for (int column = 0; column < 14; ++column) QCOMPARE(cards.value(0, column).toString(), expected[column]);

    QCOMPARE(cards.value(1, cards.columnIndex(QStringLiteral("cognome"))).toString(), QStringLiteral("Rossini"));
    for (const char* column : {"data", "tipo_ref", "citta", "cap", "data_nasc", "data_ricontattare", "commenti"})
        QVERIFY2(cards.value(1, cards.columnIndex(QLatin1String(column))).isNull(), column);
    QCOMPARE(cards.value(3, cards.columnIndex(QStringLiteral("data"))).toString(), QStringLiteral("01/01/1900"));

    for (qsizetype row = 0; row < cards.RecordCount(); ++row)
        for (int column = 0; column < 14; ++column) QVERIFY(cards.value(row, column).toString() != QLatin1String("ZZPROV"));
    QCOMPARE(store_->rows(QStringLiteral("select count(*) from Anagrafica")).value(0).value(0).toInt(), 4);
}

void TestStampa::cardsOfEveryContactComeInStoreOrder()
{
    const auto pages =
        preview([&] { StampaRS_Scheda(QStringLiteral("Select * from Anagrafica ") + Filtro(), dialogs_, nullptr); });
    QVERIFY(pages);
    QCOMPARE(dialogs_.modalTitles, QStringList{"Stampa Dettaglio"});
    QCOMPARE(pages->pageCount(), 4);
    QCOMPARE(detailTexts(*pages, "TextBox3"), QStringList({"Verdi", "Rossini", "Bianchi", "Rossi"}));
    QCOMPARE(textOf(pages->pages[0], "TextBox13"), QStringLiteral("01/01/1900"));  // stored, so printed
    QCOMPARE(textOf(pages->pages[1], "TextBox6"), QString());                      // Null: blank
    QCOMPARE(textOf(pages->pages[3], "TextBox6"), QStringLiteral("01/01/1900"));
    QCOMPARE(textOf(pages->pages[0], "TextBox14"), QStringLiteral("Riga uno\nRiga due"));
    QVERIFY(!anyTextContains(*pages, QStringLiteral("ZZPROV")));
}

void TestStampa::filteredCardsAndListShowTheSameContacts()
{
    Filtro() = QStringLiteral(" Where Cognome like '%ross%'");
    const auto cards =
        preview([&] { StampaRS_Scheda(QStringLiteral("Select * from Anagrafica ") + Filtro(), dialogs_, nullptr); });
    QVERIFY(cards);
    QCOMPARE(detailTexts(*cards, "TextBox3"), QStringList({"Rossini", "Rossi"}));

    // The list, as the window shows it, comes sorted and keeps its order in the report.
    const QStringList listed = {"Rossi Bruno", "Rossini Dario"};
    TotaleElenco() = listed.size();
    const auto list = preview([&] { StampaRS(listed, dialogs_, nullptr); });
    QVERIFY(list);
    QCOMPARE(detailTexts(*list, "TextBox3"), listed);
    QCOMPARE(textOf(list->pages[0], "LblTot"), QStringLiteral("(Totale: 2)"));
}

void TestStampa::noContactOnScreenShowsAnEmptyCardReport()
{
    const auto none = preview([&] { StampaRS_Scheda(QStringLiteral("select * from anagrafica where id=0"), dialogs_, nullptr); });
    QVERIFY(none);
    QCOMPARE(none->pageCount(), 1);
    QVERIFY(detailTexts(*none, "TextBox3").isEmpty());
    QCOMPARE(textOf(none->pages[0], "Label1"), QStringLiteral("Dettaglio Anagrafiche"));

    const auto one =
        preview([&] { StampaRS_Scheda(QStringLiteral("select * from anagrafica where id=%1").arg(ids_[2]), dialogs_, nullptr); });
    QVERIFY(one);
    QCOMPARE(detailTexts(*one, "TextBox3"), QStringList{"Bianchi"});
}

void TestStampa::failingQueryThrowsBeforeAnyWindow()
{
    const auto failure = [&](const QString& sql) -> std::optional<StoreError> {
        try {
            StampaRS_Scheda(sql, dialogs_, nullptr);
        } catch (const StoreError& error) {
            return error;
        }
        return std::nullopt;
    };
    const auto missingTable = failure(QStringLiteral("select * from Inesistente"));
    QVERIFY(missingTable);
    QVERIFY(missingTable->number() != 0);
    QVERIFY(!missingTable->description().isEmpty());

    // A statement without the contact fields the card needs.
    const auto missingField = failure(QStringLiteral("select id from Anagrafica"));
    QVERIFY(missingField);
    QCOMPARE(missingField->number(), StoreErrorNumber::ItemNotFound);

    ChiudiDatabase();
    QVERIFY(failure(QStringLiteral("select * from Anagrafica ")));
    QVERIFY(dialogs_.modalTitles.isEmpty());
}

void TestStampa::listPreviewShowsNamesAndTotal()
{
    QStringList names;
    for (int i = 0; i < 25; ++i) names << QStringLiteral("Cognome%1 Nome").arg(i);
    TotaleElenco() = 25;
    const auto pages = preview([&] { StampaRS(names, dialogs_, nullptr); },
                               [](ReportPreview& window) {
                                   QCOMPARE(window.windowTitle(), QStringLiteral("Stampa Elenco"));
                                   QVERIFY(window.isModal());
                                   QCOMPARE(child<QLabel>(window, "pageCountLabel")->text(), QStringLiteral("di 1"));
                                   QTest::mouseClick(child<QPushButton>(window, "closeButton"), Qt::LeftButton);
                                   QVERIFY(!window.isVisible());
                               });
    QVERIFY(pages);
    QCOMPARE(textOf(pages->pages[0], "LblTot"), QStringLiteral("(Totale: 25)"));
    QCOMPARE(detailTexts(*pages, "TextBox3"), names);

    // A second print builds its report anew.
    TotaleElenco() = 1;
    const auto second = preview([&] { StampaRS({QStringLiteral("Solo Uno")}, dialogs_, nullptr); });
    QVERIFY(second);
    QCOMPARE(detailTexts(*second, "TextBox3"), QStringList{"Solo Uno"});
    QCOMPARE(textOf(second->pages[0], "LblTot"), QStringLiteral("(Totale: 1)"));
    QCOMPARE(dialogs_.modalTitles, QStringList({"Stampa Elenco", "Stampa Elenco"}));
}

void TestStampa::emptyListStillPreviews()
{
    TotaleElenco() = 0;
    const auto pages = preview([&] { StampaRS({}, dialogs_, nullptr); });
    QVERIFY(pages);
    QCOMPARE(pages->pageCount(), 1);
    QCOMPARE(textOf(pages->pages[0], "LblTot"), QStringLiteral("(Totale: 0)"));
    QVERIFY(detailTexts(*pages, "TextBox3").isEmpty());
}

void TestStampa::previewPagesThroughTheReport()
{
    QStringList names;
    for (int i = 0; i < 200; ++i) names << QStringLiteral("Nome %1").arg(i);
    TotaleElenco() = names.size();
    ReportPreview window(layoutStElenco(names, PaperSize{}), dialogs_);
    window.show();
    QCOMPARE(window.pageCount(), 5);
    QCOMPARE(child<QLabel>(window, "pageCountLabel")->text(), QStringLiteral("di 5"));
    auto* spin = child<QSpinBox>(window, "pageSpin");
    QCOMPARE(spin->maximum(), 5);
    QCOMPARE(window.currentPage(), 1);
    QVERIFY(!child<QPushButton>(window, "previousPageButton")->isEnabled());

    QTest::mouseClick(child<QPushButton>(window, "nextPageButton"), Qt::LeftButton);
    QCOMPARE(window.currentPage(), 2);
    QCOMPARE(spin->value(), 2);
    QTest::mouseClick(child<QPushButton>(window, "lastPageButton"), Qt::LeftButton);
    QCOMPARE(window.currentPage(), 5);
    QVERIFY(!child<QPushButton>(window, "nextPageButton")->isEnabled());
    spin->setValue(3);
    QCOMPARE(window.currentPage(), 3);
    QTest::mouseClick(child<QPushButton>(window, "firstPageButton"), Qt::LeftButton);
    QCOMPARE(window.currentPage(), 1);

    auto* zoom = child<QComboBox>(window, "zoomBox");
    zoom->setCurrentText(QStringLiteral("200%"));
    QCOMPARE(window.zoom(), 2.0);
    zoom->setCurrentText(QStringLiteral("Pagina intera"));
    QVERIFY(window.zoom() < 2.0);

    // The page is really drawn: the sheet holds dark text pixels.
    QWidget* sheet = child<QScrollArea>(window, "pageScroll")->widget();
    const QImage image = sheet->grab().toImage();
    int dark = 0;
    for (int y = 20; y < image.height() - 20; ++y)
        for (int x = 20; x < image.width() - 20; ++x) dark += qGray(image.pixel(x, y)) < 100;
    QVERIFY2(dark > 200, qPrintable(QString::number(dark)));
}

void TestStampa::exportPdfThroughTheSaveWindow()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("elenco.pdf"));
    TotaleElenco() = 3;
    int pageCount = 0;
    dialogs_.onModal = [&](QDialog& window) {
        if (auto* preview = qobject_cast<ReportPreview*>(&window)) {
            pageCount = preview->pageCount();
            QTest::mouseClick(child<QPushButton>(window, "exportPdfButton"), Qt::LeftButton);
        } else if (auto* files = qobject_cast<QFileDialog*>(&window)) {
            QCOMPARE(files->acceptMode(), QFileDialog::AcceptSave);
            files->selectFile(path);
            window.accept();  // QFileDialog::accept through the public QDialog one
        }
    };
    StampaRS({QStringLiteral("Rossi Anna"), QStringLiteral("Bianchi Carla"), QStringLiteral("Verdi Ugo")}, dialogs_, nullptr);
    QCOMPARE(dialogs_.modalTitles, QStringList({"Stampa Elenco", "Esporta PDF"}));

    const test::PdfContent pdf = test::readPdf(path);
    QVERIFY2(pdf.valid, qPrintable(pdf.error));
    QCOMPARE(pdf.pages.size(), pageCount);
    QVERIFY(pdf.pageContains(0, QStringLiteral("Bianchi Carla")));
    QCOMPARE(dialogs_.shown.size(), 1);  // the notice that says where the file went
    QVERIFY(dialogs_.lastText().contains(QStringLiteral("elenco.pdf")));
}

void TestStampa::exportPdfAsksBeforeReplacingAFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("vecchio.pdf"));
    const auto writeOld = [&] {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("vecchio");
    };
    const auto contents = [&] {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    writeOld();
    TotaleElenco() = 1;
    ReportPreview window(layoutStElenco({QStringLiteral("Rossi Anna")}, PaperSize{}), dialogs_);
    QString chosen = path;
    QString suggested;
    window.setFileChooser([&](QWidget*, const QString& proposal) {
        suggested = proposal;
        return chosen;
    });

    dialogs_.answers = {MsgAnswer::No};
    window.exportPdf();
    QCOMPARE(dialogs_.shown.size(), 1);
    QCOMPARE(dialogs_.shown[0].buttons, MsgButtons::YesNo);
    QCOMPARE(dialogs_.shown[0].defaultAnswer, MsgAnswer::No);
    QVERIFY(dialogs_.shown[0].text.contains(QStringLiteral("vecchio.pdf")));
    QCOMPARE(contents(), QByteArray("vecchio"));
    QVERIFY2(suggested.endsWith(QLatin1String("/Stampa Elenco.pdf")), qPrintable(suggested));

    dialogs_.answers = {MsgAnswer::Yes};
    window.exportPdf();
    QVERIFY(contents().startsWith("%PDF-"));
    QVERIFY(test::readPdf(path).pageContains(0, QStringLiteral("Rossi Anna")));

    // Giving up in the save window does nothing at all.
    chosen.clear();
    dialogs_.shown.clear();
    window.exportPdf();
    QVERIFY(dialogs_.shown.isEmpty());
}

void TestStampa::exportPdfFailureShowsNumberAndDescription()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("non/esiste/report.pdf"));
    ReportPreview window(layoutStElenco({QStringLiteral("Rossi Anna")}, PaperSize{}), dialogs_);
    window.setFileChooser([&](QWidget*, const QString&) { return path; });
    window.show();
    window.exportPdf();
    QCOMPARE(dialogs_.shown.size(), 1);
    QCOMPARE(dialogs_.shown[0].icon, MsgIcon::Critical);
    QVERIFY2(dialogs_.lastText().contains(QStringLiteral("Errore 75:")), qPrintable(dialogs_.lastText()));
    QVERIFY(dialogs_.lastText().contains(path));
    QVERIFY(window.isVisible());  // the preview stays open
    QVERIFY(!QFile::exists(path));
}

void TestStampa::printingWithoutAPrinterExplainsWhy()
{
    ReportPreview window(layoutStElenco({QStringLiteral("Rossi Anna")}, PaperSize{}), dialogs_);
    window.show();
    QTest::mouseClick(child<QPushButton>(window, "printButton"), Qt::LeftButton);
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        QCOMPARE(dialogs_.shown.size(), 1);
        QVERIFY(dialogs_.lastText().contains(QStringLiteral("Nessuna stampante")));
        QVERIFY(dialogs_.modalTitles.isEmpty());
    } else {
        // The print window goes through the program's modal seam (here it is cancelled).
        QCOMPARE(dialogs_.modalTitles, QStringList{"Stampa"});
        QVERIFY(dialogs_.shown.isEmpty());
    }
}

void TestStampa::pdfHasEveryPageAndItsText()
{
    QTemporaryDir dir;
    QStringList names;
    for (int i = 0; i < 99; ++i) names << QStringLiteral("Cognome%1 Nome").arg(i, 2, 10, QLatin1Char('0'));
    names.insert(0, QStringLiteral("D'Angelo Niccolò"));
    TotaleElenco() = names.size();
    const ReportPages list = layoutStElenco(names, PaperSize{});
    QCOMPARE(list.pageCount(), 3);  // 44 + 48 + 8 lines

    const QString listPath = dir.filePath(QStringLiteral("elenco.pdf"));
    writePdf(list, listPath);
    const test::PdfContent pdf = test::readPdf(listPath);
    QVERIFY2(pdf.valid, qPrintable(pdf.error));
    QCOMPARE(pdf.pages.size(), 3);
    QVERIFY(pdf.pageContains(0, QStringLiteral("D'Angelo Niccolò")));
    QVERIFY(pdf.pageContains(0, QStringLiteral("(Totale: 100)")));
    QVERIFY(pdf.pageContains(0, QStringLiteral("Elenco Anagrafiche")));
    QVERIFY(!pdf.pageContains(1, QStringLiteral("Elenco Anagrafiche")));
    for (int page = 0; page < 3; ++page) QVERIFY(pdf.pageContains(page, QStringLiteral("COGNOME E NOME")));
    QVERIFY(pdf.pageContains(2, QStringLiteral("Cognome98 Nome")));
    QVERIFY(!pdf.pageContains(1, QStringLiteral("Cognome98 Nome")));

    // The printer path paints the same pages; here on a PDF printer, pages 2 and 3 only.
    const QString printed = dir.filePath(QStringLiteral("stampa.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(printed);
    printReport(list, printer, 2, 3);
    const test::PdfContent two = test::readPdf(printed);
    QVERIFY2(two.valid, qPrintable(two.error));
    QCOMPARE(two.pages.size(), 2);
    QVERIFY(two.pageContains(1, QStringLiteral("Cognome98 Nome")));

    // Cards straight from the store.
    Recordset source;
    source.Open(QStringLiteral("Select * from Anagrafica "), Connessione());
    const ReportPages cards = layoutStDettaglio(cardTable(source), PaperSize{});
    const QString cardPath = dir.filePath(QStringLiteral("schede.pdf"));
    writePdf(cards, cardPath);
    const test::PdfContent cardPdf = test::readPdf(cardPath);
    QVERIFY2(cardPdf.valid, qPrintable(cardPdf.error));
    QCOMPARE(cardPdf.pages.size(), 4);
    QVERIFY(cardPdf.pageContains(0, QStringLiteral("Forlì")));
    QVERIFY(cardPdf.pageContains(0, QStringLiteral("01/01/1900")));
    QVERIFY(cardPdf.pageContains(3, QStringLiteral("Rossi")));
    for (int page = 0; page < 4; ++page) QVERIFY(!cardPdf.pageContains(page, QStringLiteral("ZZPROV")));
}

QTEST_MAIN(TestStampa)
#include "tst_stampa.moc"
