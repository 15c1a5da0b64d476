#pragma once

#include "printing/reportdefinition.h"

#include <QDateTime>
#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace brenzola {

class MemoryTable;
class Progress;

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
ReportPages layoutReport(const ReportDefinition& report, const MemoryTable& table, const PaperSize& paper, const QDateTime& now);

// The rows a report prints, as text by row and column.
class ReportRows {
public:
    virtual ~ReportRows() = default;
    virtual qsizetype count() const = 0;
    // Position of a column named in any letter case, or -1.
    virtual int column(const QString& name) const = 0;
    virtual QString text(qsizetype row, int column) const = 0;

    // The rows of a table.
    static std::shared_ptr<const ReportRows> of(MemoryTable table);
    // One row per entry, in a single column of that name, with no table in between.
    static std::shared_ptr<const ReportRows> of(QStringList entries, const QString& column);
};

// A laid-out report, given page by page. Either it holds its pages, or it keeps only where
// each page begins and lays a page out again from its rows when it is asked for, so that
// a report of any length takes little memory.
class ReportDocument {
public:
    // A report whose pages are all made (implicit: reports laid out at once pass for one).
    ReportDocument(ReportPages pages);
    // Pages the caller keeps alive for as long as the document is used, not copied.
    static ReportDocument borrow(const ReportPages& pages);

    const QString& caption() const { return caption_; }
    const PaperSize& paper() const { return paper_; }
    int pageCount() const { return pageCount_; }
    // The page at `index`, counted from 0.
    ReportPage page(int index) const;
    // Hands pages first..last (from 0) to `visit` in order, laying each out once; stops
    // when `visit` returns false.
    void forEachPage(int first, int last, const std::function<bool(int index, const ReportPage& page)>& visit) const;
    ReportPages allPages() const;

private:
    struct Paginated;  // what laying pages out again takes
    ReportDocument() = default;
    friend std::optional<ReportDocument> layoutDocument(ReportDefinition, std::shared_ptr<const ReportRows>, const PaperSize&,
                                                        const QDateTime&, Progress*);

    QString caption_;
    PaperSize paper_;
    int pageCount_ = 0;
    std::shared_ptr<const ReportPages> pages_;
    std::shared_ptr<Paginated> paginated_;
};

// Lays `rows` out as layoutReport does, keeping only where each page begins; `progress`,
// when given, follows the rows laid out. None when the user stops it.
std::optional<ReportDocument> layoutDocument(ReportDefinition report, std::shared_ptr<const ReportRows> rows,
                                             const PaperSize& paper, const QDateTime& now, Progress* progress);

}  // namespace brenzola
