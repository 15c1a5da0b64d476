#pragma once

#include "reportdefinition.h"

#include <QDateTime>
#include <QRect>
#include <QString>

#include <vector>

namespace brenzola {

class MemoryTable;

// One thing printed on a page: a text (already broken into lines, joined by '\n') or a
// horizontal line. The rectangle is in twips from the top left corner of the paper.
struct PlacedItem {
    enum class Kind { Text, Line };
    Kind kind = Kind::Text;
    QRect rect;
    QString text;
    ReportFont font;
    TextAlignment alignment = TextAlignment::Left;
    QString band;
    QString control;
    qsizetype row = -1;  // the detail row it belongs to; -1 outside the detail band
};

struct ReportPage {
    std::vector<PlacedItem> items;
};

// A report laid out into pages; the preview, the printer and the PDF all paint these.
struct ReportPages {
    QString caption;
    PaperSize paper;
    std::vector<ReportPage> pages;

    int pageCount() const { return int(pages.size()); }
};

// Lays the bound table out on pages of `paper`:
// - the report header once at the top of the first page, the page header at the top of
//   every page (below the report header on the first), one detail band per row in
//   table order, the page footer at the bottom of every page, the report footer once
//   after the last row;
// - a band that does not fit in what is left of the page starts a new page; a band
//   without controls prints nothing, so it never starts a page of its own;
// - a text that needs more room than its box wraps inside the box's width and grows
//   downwards, pushing down the controls below it and making its band taller;
// - a detail band taller than an empty page (the card band is as tall as the usable page,
//   and the headers take part of it) keeps its place below the headers; its empty tail is
//   dropped, and any content that reaches past the page's end continues on the next page,
//   below that page's header, line by line for texts. Nothing is cut.
// "%d" and "%t" in labels print `now` as dd/MM/yyyy and HH:mm.
ReportPages layoutReport(const ReportDefinition& report, const MemoryTable& table, const PaperSize& paper,
                         const QDateTime& now);

}  // namespace brenzola
