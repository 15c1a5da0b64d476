#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace brenzola {

// A banded report as data: bands print in the order of their kinds, controls sit at
// twip positions measured from their band's top left corner, fonts are in points.
struct ReportFont {
    QString family;
    double pointSize = 8.25;
    bool bold = false;
    bool italic = false;

    friend bool operator==(const ReportFont&, const ReportFont&) = default;
};

enum class BandKind { ReportHeader, PageHeader, Detail, PageFooter, ReportFooter };
enum class ControlKind { Label, TextBox, Line };
enum class TextAlignment { Left, Center, Right };

struct ReportControl {
    QString name;
    ControlKind kind = ControlKind::Label;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    QString caption;                 // a label's text; "%d" and "%t" print today's date and the time
    QString column;                  // a text box's column
    std::optional<ReportFont> font;  // none: the report's font
    TextAlignment alignment = TextAlignment::Left;
};

struct ReportBand {
    QString name;
    BandKind kind = BandKind::Detail;
    int height = 0;
    std::vector<ReportControl> controls;

    // The control of that name; throws StoreError when there is none.
    ReportControl& control(const QString& controlName);
    const ReportControl* findControl(const QString& controlName) const;
};

struct ReportDefinition {
    QString name;
    QString caption;  // of the preview window
    int width = 0;
    ReportFont font{QStringLiteral("Arial"), 8.25, false, false};
    // Page margins in twips. 567 (1 cm) on each side puts the 10772-twip layouts
    // exactly across an A4 sheet (11906 twips).
    int leftMargin = 567;
    int rightMargin = 567;
    int topMargin = 567;
    int bottomMargin = 567;
    std::vector<ReportBand> bands;  // report header, page header, detail, page footer, report footer

    // By name ("Section4") or by position, counted from 1 as the report runtime does (3 is the detail).
    ReportBand& Sections(const QString& bandName);
    ReportBand& Sections(int position);
    const ReportBand* band(BandKind kind) const;
};

// Size of the paper in twips.
struct PaperSize {
    double width = 11906;  // A4
    double height = 16838;

    friend bool operator==(const PaperSize&, const PaperSize&) = default;
};

// The list report: one line per name, the total on the first page.
ReportDefinition StElenco();
// The card report: one card per contact.
ReportDefinition StDettaglio();
// The follow-up agenda: one line per contact to call or birthday, with what is due under
// the date; `periodo` says which days it covers.
ReportDefinition StAgenda(const QString& periodo);

// Run when each report comes into being.
// The list report writes "(Totale: N)" from Funzioni::TotaleElenco() into LblTot.
void StElenco_DataReport_Initialize(ReportDefinition& report);
// The card report makes its card band as tall as the usable height of the page.
void StDettaglio_DataReport_Initialize(ReportDefinition& report, const PaperSize& paper);

}  // namespace brenzola
