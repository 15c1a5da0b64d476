#include "printing/reportdefinition.h"

#include "store/funzioni.h"
#include "store/storeerror.h"

#include <QCoreApplication>

#include <cmath>

namespace brenzola {

namespace {

const ReportFont kTitleFont{QStringLiteral("Arial"), 14.25, true, true};
const ReportFont kCaptionFont{QStringLiteral("Arial"), 9.75, true, true};
const ReportFont kValueFont{QStringLiteral("Times New Roman"), 8.25, false, false};

ReportControl label(const char* name, int left, int top, int width, int height, const QString& caption,
                    std::optional<ReportFont> font = std::nullopt, TextAlignment alignment = TextAlignment::Left)
{
    ReportControl control;
    control.name = QLatin1String(name);
    control.kind = ControlKind::Label;
    control.left = left;
    control.top = top;
    control.width = width;
    control.height = height;
    control.caption = caption;
    control.font = std::move(font);
    control.alignment = alignment;
    return control;
}

ReportControl textBox(const char* name, int left, int top, int width, int height, const char* column)
{
    ReportControl control = label(name, left, top, width, height, {}, kValueFont);
    control.kind = ControlKind::TextBox;
    control.column = QLatin1String(column);
    return control;
}

ReportControl line(const char* name, int left, int top, int width)
{
    ReportControl control = label(name, left, top, width, 0, {});
    control.kind = ControlKind::Line;
    return control;
}

// "Data", "Ora:" and the placeholders for today's date and time, top right of the first page.
std::vector<ReportControl> dateAndTime()
{
    return {label("Label13", 8504, 0, 570, 195, QCoreApplication::translate("brenzola::ReportDefinition", "Data")),
            label("Label15", 9071, 0, 1125, 195, QStringLiteral("%d")),
            label("Label14", 8504, 267, 570, 195, QCoreApplication::translate("brenzola::ReportDefinition", "Ora:")),
            label("Label16", 9071, 267, 1125, 195, QStringLiteral("%t"))};
}

ReportBand band(const char* name, BandKind kind, int height, std::vector<ReportControl> controls = {})
{
    return ReportBand{QLatin1String(name), kind, height, std::move(controls)};
}

[[noreturn]] void notFound(const QString& what)
{
    throw StoreError(
        StoreErrorNumber::ItemNotFound,
        QCoreApplication::translate("brenzola::ReportDefinition", "Elemento «%1» non trovato nel report.").arg(what));
}

}  // namespace

ReportControl& ReportBand::control(const QString& controlName)
{
    for (ReportControl& control : controls)
        if (control.name.compare(controlName, Qt::CaseInsensitive) == 0) return control;
    notFound(controlName);
}

const ReportControl* ReportBand::findControl(const QString& controlName) const
{
    for (const ReportControl& control : controls)
        if (control.name.compare(controlName, Qt::CaseInsensitive) == 0) return &control;
    return nullptr;
}

ReportBand& ReportDefinition::Sections(const QString& bandName)
{
    for (ReportBand& band : bands)
        if (band.name.compare(bandName, Qt::CaseInsensitive) == 0) return band;
    notFound(bandName);
}

ReportBand& ReportDefinition::Sections(int position)
{
    if (position < 1 || position > int(bands.size())) notFound(QString::number(position));
    return bands[size_t(position - 1)];
}

const ReportBand* ReportDefinition::band(BandKind kind) const
{
    for (const ReportBand& band : bands)
        if (band.kind == kind) return &band;
    return nullptr;
}

ReportDefinition StElenco()
{
    ReportDefinition report;
    report.name = QStringLiteral("StElenco");
    report.caption = QCoreApplication::translate("brenzola::ReportDefinition", "Stampa Elenco");
    report.width = 10772;

    std::vector<ReportControl> header = {label("Label1", 0, 667, 10770, 570,
                                               QCoreApplication::translate("brenzola::ReportDefinition", "Elenco Anagrafiche"),
                                               kTitleFont, TextAlignment::Center)};
    for (ReportControl& control : dateAndTime()) header.push_back(control);
    header.push_back(label("LblTot", 7937, 667, 2829, 567, {}, kTitleFont, TextAlignment::Right));

    report.bands = {
        band("Section4", BandKind::ReportHeader, 1237, std::move(header)),
        band("Section2", BandKind::PageHeader, 368,
             {label("Label3", 1701, 0, 5100, 330, QCoreApplication::translate("brenzola::ReportDefinition", "COGNOME E NOME"),
                    kCaptionFont),
              line("Line1", 0, 367, 10772)}),
        band("Section1", BandKind::Detail, 315, {textBox("TextBox3", 1701, 80, 7935, 230, "Nome")}),
        band("Section3", BandKind::PageFooter, 198),
        band("Section5", BandKind::ReportFooter, 1095),
    };
    return report;
}

ReportDefinition StDettaglio()
{
    ReportDefinition report;
    report.name = QStringLiteral("StDettaglio");
    report.caption = QCoreApplication::translate("brenzola::ReportDefinition", "Stampa Dettaglio");
    report.width = 10785;

    const auto caption = [](const char* name, int left, int top, int width, const char* text) {
        return label(name, left, top, width, 240, QCoreApplication::translate("brenzola::ReportDefinition", text), kCaptionFont);
    };
    const auto value = [](const char* name, int left, int top, int width, const char* column) {
        return textBox(name, left, top, width, 240, column);
    };
    std::vector<ReportControl> card = {
        caption("Label3", 0, 0, 1134, QT_TRANSLATE_NOOP("brenzola::ReportDefinition", "COGNOME")),
        value("TextBox3", 1701, 0, 7935, "cognome"),
        caption("Label2", 0, 267, 1125, QT_TRANSLATE_NOOP("brenzola::ReportDefinition", "NOME")),
        value("TextBox1", 1701, 267, 7935, "nome"),
        caption("Label7", 0, 567, 1125, QT_TRANSLATE_NOOP("brenzola::ReportDefinition", "DATA")),
        value("TextBox6", 1701, 567, 1701, "data"),
        caption("Label6", 3402, 567, 1125, QT_TRANSLATE_NOOP("brenzola::ReportDefinition", "TIPO REF.")),
        value("TextBox5", 4536, 567, 5102, "tipo_ref"),
        caption("Label5", 0, 854, 1125, QT_TRANSLATE_NOOP("brenzola::ReportDefinition", "CITTA'")),
        value("TextBox4", 1701, 854, 7935, "citta"),
        caption("Label4", 0, 1134, 1125, QT_TRANSLATE_NOOP("brenzola::ReportDefinition", "INDIRIZZO")),
        value("TextBox2", 1701, 1134, 5100, "indirizzo"),
        caption("Label8", 6803, 1134, 1125, QT_TRANSLATE_NOOP("brenzola::ReportDefinition", "CAP")),
        value("TextBox7", 7937, 1134, 1710, "cap"),
        caption("Label10", 0, 1450, 1125, QT_TRANSLATE_NOOP("brenzola::ReportDefinition", "E-MAIL")),
        value("TextBox9", 1701, 1450, 7935, "email"),
        caption("Label11", 0, 1750, 1125, QT_TRANSLATE_NOOP("brenzola::ReportDefinition", "TELEFONO")),
        value("TextBox10", 1701, 1750, 2832, "telefono"),
        caption("Label12", 4535, 1750, 1125, QT_TRANSLATE_NOOP("brenzola::ReportDefinition", "CELL")),
        value("TextBox11", 5669, 1750, 3966, "cell"),
        caption("Label9", 0, 2068, 1695, QT_TRANSLATE_NOOP("brenzola::ReportDefinition", "DATA NASCITA")),
        value("TextBox8", 1701, 2068, 1698, "data_nasc"),
        caption("Label17", 0, 2368, 1125, QT_TRANSLATE_NOOP("brenzola::ReportDefinition", "FONTE")),
        value("TextBox12", 1701, 2368, 2832, "fonte"),
        caption("Label18", 4535, 2368, 2265, QT_TRANSLATE_NOOP("brenzola::ReportDefinition", "DATA RICONTATTARE")),
        value("TextBox13", 6803, 2368, 2832, "data_ricontattare"),
        caption("Label19", 0, 2685, 1125, QT_TRANSLATE_NOOP("brenzola::ReportDefinition", "COMMENTI")),
        textBox("TextBox14", 1701, 2685, 7923, 3405, "commenti"),
    };

    report.bands = {
        band("Section4", BandKind::ReportHeader, 660, dateAndTime()),
        band(
            "Section2", BandKind::PageHeader, 780,
            {label("Label1", 0, 0, 10770, 570, QCoreApplication::translate("brenzola::ReportDefinition", "Dettaglio Anagrafiche"),
                   kTitleFont, TextAlignment::Center),
             line("Line1", 0, 567, 10772)}),
        band("Section1", BandKind::Detail, 6210, std::move(card)),
        band("Section3", BandKind::PageFooter, 0),
        band("Section5", BandKind::ReportFooter, 0),
    };
    return report;
}

ReportDefinition StAgenda(const QString& periodo)
{
    ReportDefinition report;
    report.name = QStringLiteral("StAgenda");
    report.caption = QCoreApplication::translate("brenzola::ReportDefinition", "Stampa Da ricontattare");
    report.width = 10772;

    std::vector<ReportControl> header = {
        label("Label1", 0, 667, 10770, 570, QCoreApplication::translate("brenzola::ReportDefinition", "Da ricontattare"),
              kTitleFont, TextAlignment::Center),
        label("LblPeriodo", 0, 1237, 10770, 300, periodo, kCaptionFont, TextAlignment::Center)};
    for (ReportControl& control : dateAndTime()) header.push_back(control);
    const auto caption = [](const char* name, int left, int width, const char* text) {
        return label(name, left, 0, width, 300, QCoreApplication::translate("brenzola::ReportDefinition", text), kCaptionFont);
    };
    const auto value = [](const char* name, int left, int top, int width, const char* column) {
        return textBox(name, left, top, width, 230, column);
    };
    report.bands = {
        band("Section4", BandKind::ReportHeader, 1700, std::move(header)),
        band("Section2", BandKind::PageHeader, 368,
             {caption("Label2", 0, 1200, QT_TRANSLATE_NOOP("brenzola::ReportDefinition", "DATA")),
              caption("Label3", 1250, 3300, QT_TRANSLATE_NOOP("brenzola::ReportDefinition", "COGNOME E NOME")),
              caption("Label4", 4600, 1700, QT_TRANSLATE_NOOP("brenzola::ReportDefinition", "TELEFONO")),
              caption("Label5", 6350, 1700, QT_TRANSLATE_NOOP("brenzola::ReportDefinition", "CELL")),
              caption("Label6", 8100, 2670, QT_TRANSLATE_NOOP("brenzola::ReportDefinition", "E-MAIL")),
              line("Line1", 0, 367, 10772)}),
        band("Section1", BandKind::Detail, 560,
             {value("TextBox1", 0, 60, 1200, "data"), value("TextBox2", 1250, 60, 3300, "nome"),
              value("TextBox3", 4600, 60, 1700, "telefono"), value("TextBox4", 6350, 60, 1700, "cell"),
              value("TextBox5", 8100, 60, 2670, "email"), value("TextBox6", 0, 300, 1200, "stato"),
              value("TextBox7", 1250, 300, 9520, "nota")}),
        band("Section3", BandKind::PageFooter, 198),
        band("Section5", BandKind::ReportFooter, 0),
    };
    return report;
}

void StElenco_DataReport_Initialize(ReportDefinition& report)
{
    // A whole count: no decimals, no thousands separator.
    const QString total = QString::number(Funzioni::TotaleElenco(), 'f', 0);
    report.Sections(QStringLiteral("Section4")).control(QStringLiteral("LblTot")).caption =
        QCoreApplication::translate("brenzola::ReportDefinition", "(Totale: %1)").arg(total);
}

void StDettaglio_DataReport_Initialize(ReportDefinition& report, const PaperSize& paper)
{
    const float pageHeight = float(paper.height);
    report.Sections(3).height = int(std::lround(pageHeight - report.topMargin - report.bottomMargin));
}

}  // namespace brenzola
