#include "printing/reportlayout.h"

#include "printing/memorytable.h"
#include "printing/reportfont.h"
#include "store/funzioni.h"
#include "store/progress.h"
#include "store/storeerror.h"

#include <QCoreApplication>

#include <algorithm>

namespace brenzola {

namespace {

// A control of one band instance, at its place inside the band after growing.
struct Piece {
    const ReportControl* control = nullptr;
    int top = 0;
    int height = 0;
    QStringList lines;  // texts only
    const FontCache::Entry* font = nullptr;
};

// The rest of a band that runs on into the next page.
struct Carry {
    std::vector<Piece> pieces;
    int offset = 0;  // the band position at the top of the next page
    int height = 0;  // of the whole band
};

// Where a page begins: enough to lay that page out again on its own.
struct PageStart {
    enum class Phase : quint8 { Rows, Carry, Footer };
    Phase phase = Phase::Rows;
    qsizetype row = 0;  // the first row on the page; for Carry, the row it goes on with
    std::shared_ptr<const Carry> carry;
};

QString dateText(const QDateTime& now) { return now.date().toString(Funzioni::FormatoDataMostrata()); }
QString timeText(const QDateTime& now) { return now.time().toString(QStringLiteral("HH:mm")); }

class Layout {
public:
    // Finished pages are handed here; false stops the layout. Without it pages are only measured.
    std::function<bool(int index, ReportPage&& page)> sink;
    // Where every page begins, when asked for.
    std::vector<PageStart>* starts = nullptr;
    // Follows the rows laid out, a page at a time; it may stop the layout.
    Progress* progress = nullptr;

    // `quick`: texts that fit on a line are measured from their simple glyphs when they can be.
    Layout(const ReportDefinition& report, const ReportRows& rows, const PaperSize& paper, const QString& date,
           const QString& time, FontCache& fonts, bool quick)
        : report_(report),
          rows_(rows),
          fonts_(fonts),
          date_(date),
          time_(time),
          quick_(quick)
    {
        bodyBottom_ = int(paper.height) - report.bottomMargin;
        if (const ReportBand* footer = report.band(BandKind::PageFooter)) bodyBottom_ -= footer->height;
        for (const ReportBand& band : report.bands) {
            std::vector<const FontCache::Entry*> fonts;
            for (const ReportControl& control : band.controls)
                fonts.push_back(control.kind == ControlKind::Line ? nullptr : &fonts_.get(control.font.value_or(report.font)));
            bandFonts_.push_back(std::move(fonts));
        }
    }

    bool cancelled() const { return cancelled_; }

    // Lays the report out from the page numbered `index` (from 0), which begins at `start`,
    // to its end or until stopped.
    void run(int index, const PageStart& start)
    {
        const ReportBand* detail = report_.band(BandKind::Detail);
        std::vector<int> columns;
        if (detail)
            for (const ReportControl& control : detail->controls) {
                const int column = control.kind == ControlKind::TextBox ? rows_.column(control.column) : -1;
                if (control.kind == ControlKind::TextBox && column < 0)
                    throw StoreError(StoreErrorNumber::ItemNotFound,
                                     QCoreApplication::translate("brenzola::ReportLayout",
                                                                 "Campo «%1» della casella «%2» non trovato nei dati del report.")
                                         .arg(control.column, control.name));
                columns.push_back(column);
            }

        pageIndex_ = index - 1;
        qsizetype row = start.row;
        row_ = row;
        startPage(start);
        if (start.phase == PageStart::Phase::Carry && detail) {
            placeAcrossPages(*detail, start.carry->pieces, row, start.carry->height, start.carry->offset);
            if (stopped_) return;
            detailOnPage_ = true;
            ++row;
        }
        if (detail && start.phase != PageStart::Phase::Footer)
            for (; row < rows_.count(); ++row) {
                row_ = row;
                placeDetail(*detail, columns, row);
                if (stopped_) return;
            }
        row_ = rows_.count();
        if (const ReportBand* footer = report_.band(BandKind::ReportFooter); footer && !footer->controls.empty()) {
            std::vector<Piece> pieces = instance(*footer, {}, -1);
            const int height = bandHeight(*footer, pieces);
            // On a page begun for it, it stays even when it does not fit.
            if (start.phase != PageStart::Phase::Footer && y_ + height > bodyBottom_) {
                finishPage();
                if (stopped_) return;
                startPage({PageStart::Phase::Footer, rows_.count(), nullptr});
            }
            place(*footer, pieces, -1, 0);
            y_ += height;
        }
        finishPage();
    }

private:
    void startPage(const PageStart& start)
    {
        ++pageIndex_;
        if (starts) starts->push_back(start);
        if (sink) {
            page_ = ReportPage();
            page_.items.reserve(std::max<size_t>(itemsOnLastPage_, 16));
        }
        y_ = report_.topMargin;
        detailOnPage_ = false;
        if (pageIndex_ == 0)
            if (const ReportBand* header = report_.band(BandKind::ReportHeader)) placeWhole(*header);
        if (const ReportBand* header = report_.band(BandKind::PageHeader)) placeWhole(*header);
    }

    // Closes the page; afterwards `stopped_` says whether the layout goes on.
    void finishPage()
    {
        const ReportBand* footer = report_.band(BandKind::PageFooter);
        if (footer && !footer->controls.empty()) {
            const int saved = y_;
            y_ = bodyBottom_;
            std::vector<Piece> pieces = instance(*footer, {}, -1);
            place(*footer, pieces, -1, 0);
            y_ = saved;
        }
        if (sink) {
            itemsOnLastPage_ = page_.items.size();
            if (!sink(pageIndex_, std::move(page_))) stopped_ = true;
        }
        if (progress && !progress->advance(row_, rows_.count())) stopped_ = cancelled_ = true;
    }

    // Headers are placed whole, whatever room is left.
    void placeWhole(const ReportBand& band)
    {
        std::vector<Piece> pieces = instance(band, {}, -1);
        place(band, pieces, -1, 0);
        y_ += bandHeight(band, pieces);
    }

    void placeDetail(const ReportBand& band, const std::vector<int>& columns, qsizetype row)
    {
        std::vector<Piece> pieces = instance(band, columns, row);
        const int height = bandHeight(band, pieces);
        if (y_ + height > bodyBottom_ && detailOnPage_) {
            finishPage();
            if (stopped_) return;
            startPage({PageStart::Phase::Rows, row, nullptr});
        }
        detailOnPage_ = true;
        if (y_ + height <= bodyBottom_) {
            place(band, pieces, row, 0);
            y_ += height;
            return;
        }
        placeAcrossPages(band, std::move(pieces), row, height, 0);
        detailOnPage_ = true;  // the page it ended on holds its last part
    }

    // The band is taller than an empty page: fill this page and carry what is left over.
    // `offset` is the band position at the top of the current stretch.
    void placeAcrossPages(const ReportBand& band, std::vector<Piece> pending, qsizetype row, int height, int offset)
    {
        for (;;) {
            const int room = bodyBottom_ - y_;
            if (room <= 0) {
                // The headers fill the page: there is no better place than right here.
                offset = std::min_element(pending.begin(), pending.end(), [](const Piece& a, const Piece& b) {
                             return a.top < b.top;
                         })->top;
                int bottom = 0;
                for (const Piece& piece : pending) bottom = std::max(bottom, piece.top - offset + piece.height);
                place(band, pending, row, offset);
                y_ += bottom;
                return;
            }
            const int cut = breakPosition(pending, offset, room);
            std::vector<Piece> here;
            std::vector<Piece> carry;
            std::vector<std::pair<int, int>> pushes;  // (band position, extra height) of split texts
            for (Piece& piece : pending) {
                const int top = piece.top - offset;
                if (top >= cut) {
                    carry.push_back(std::move(piece));
                } else if (top + piece.height <= cut || (top <= 0 && !divisible(piece, cut - top))) {
                    here.push_back(std::move(piece));  // the latter taller than a page: whole, past the margin
                } else if (fitsText(piece, cut - top)) {
                    piece.height = cut - top;  // only the empty foot of the box is dropped
                    here.push_back(std::move(piece));
                } else {
                    qsizetype fit = 1;
                    while (fit + 1 < piece.lines.size() && textHeight(*piece.font, fit + 1) <= cut - top) ++fit;
                    Piece rest = piece;
                    rest.lines = piece.lines.mid(fit);
                    rest.top = offset + cut;
                    rest.height = textHeight(*rest.font, rest.lines.size());
                    const int bottom = piece.top + piece.height;
                    if (rest.top + rest.height > bottom) pushes.emplace_back(bottom, rest.top + rest.height - bottom);
                    piece.lines = piece.lines.mid(0, fit);
                    piece.height = cut - top;
                    here.push_back(std::move(piece));
                    carry.push_back(std::move(rest));
                }
            }
            // What lay below a divided text moves down if its remainder came out taller.
            for (Piece& piece : carry) {
                int extra = 0;
                for (const auto& [bottom, push] : pushes)
                    if (piece.top >= bottom) extra = std::max(extra, push);
                piece.top += extra;
            }
            int bottom = 0;
            for (const Piece& piece : here) bottom = std::max(bottom, piece.top - offset + piece.height);
            place(band, here, row, offset);
            if (carry.empty()) {
                y_ += std::max(bottom, std::min(room, height - offset));
                return;
            }
            offset += cut;
            finishPage();
            if (stopped_) return;
            startPage(
                {PageStart::Phase::Carry, row, starts ? std::make_shared<const Carry>(Carry{carry, offset, height}) : nullptr});
            pending = std::move(carry);
        }
    }

    static bool fitsText(const Piece& piece, int room)
    {
        return piece.font && textHeight(*piece.font, piece.lines.size()) <= room;
    }

    // Whether the piece can stay above a break `room` twips below its top.
    static bool divisible(const Piece& piece, int room)
    {
        return fitsText(piece, room) || (piece.lines.size() > 1 && textHeight(*piece.font, 1) <= room);
    }

    // Where the page breaks the band: at the page's end, or higher, above the first control
    // that would be torn by it and can neither shrink nor be divided line by line.
    static int breakPosition(const std::vector<Piece>& pieces, int offset, int room)
    {
        int cut = room;
        for (bool moved = true; moved;) {
            moved = false;
            for (const Piece& piece : pieces) {
                const int top = piece.top - offset;
                if (top > 0 && top < cut && top + piece.height > cut && !divisible(piece, cut - top)) {
                    cut = top;
                    moved = true;
                }
            }
        }
        return cut;
    }

    // The controls of one band for one row, grown to their texts.
    std::vector<Piece> instance(const ReportBand& band, const std::vector<int>& columns, qsizetype row)
    {
        const std::vector<const FontCache::Entry*>& fonts = bandFonts_[size_t(&band - report_.bands.data())];
        std::vector<Piece> pieces;
        pieces.reserve(band.controls.size());
        for (size_t i = 0; i < band.controls.size(); ++i) {
            const ReportControl& control = band.controls[i];
            Piece piece{&control, control.top, control.height, {}, nullptr};
            if (control.kind != ControlKind::Line) {
                piece.font = fonts[i];
                QString text;
                if (control.kind == ControlKind::Label) {
                    text = control.caption;
                    if (text.contains(u'%')) text.replace(QStringLiteral("%d"), date_).replace(QStringLiteral("%t"), time_);
                } else if (row >= 0 && i < columns.size() && columns[i] >= 0) {
                    text = rows_.text(row, columns[i]);
                }
                piece.lines =
                    quick_ ? wrapTextQuickly(text, *piece.font, control.width) : wrapText(text, *piece.font, control.width);
                piece.height = std::max(control.height, textHeight(*piece.font, piece.lines.size()));
            }
            pieces.push_back(std::move(piece));
        }
        // A grown control pushes down every control that lay wholly below it.
        if (std::any_of(pieces.begin(), pieces.end(), [](const Piece& p) { return p.height > p.control->height; })) {
            std::vector<size_t> order(pieces.size());
            for (size_t i = 0; i < order.size(); ++i) order[i] = i;
            std::stable_sort(order.begin(), order.end(),
                             [&](size_t a, size_t b) { return pieces[a].control->top < pieces[b].control->top; });
            for (size_t k = 0; k < order.size(); ++k) {
                Piece& piece = pieces[order[k]];
                int shift = 0;
                for (size_t j = 0; j < k; ++j) {
                    const Piece& above = pieces[order[j]];
                    if (above.control->top + above.control->height <= piece.control->top)
                        shift = std::max(shift, above.top - above.control->top + above.height - above.control->height);
                }
                piece.top = piece.control->top + shift;
            }
        }
        return pieces;
    }

    static int bandHeight(const ReportBand& band, const std::vector<Piece>& pieces)
    {
        int height = band.height;
        for (const Piece& piece : pieces) height = std::max(height, piece.top + piece.height);
        return height;
    }

    void place(const ReportBand& band, const std::vector<Piece>& pieces, qsizetype row, int offset)
    {
        if (!sink) return;
        for (const Piece& piece : pieces) {
            PlacedItem item;
            const ReportControl& control = *piece.control;
            item.rect = QRect(report_.leftMargin + control.left, y_ + piece.top - offset, control.width, piece.height);
            item.band = band.name;
            item.control = control.name;
            item.row = row;
            if (control.kind == ControlKind::Line) {
                item.kind = PlacedItem::Kind::Line;
            } else {
                item.kind = PlacedItem::Kind::Text;
                // One line shares the text it was read from.
                item.text = piece.lines.size() == 1 ? piece.lines.front() : piece.lines.join(u'\n');
                item.font = piece.font->key;
                item.alignment = control.alignment;
            }
            page_.items.push_back(std::move(item));
        }
    }

    const ReportDefinition& report_;
    const ReportRows& rows_;
    FontCache& fonts_;
    std::vector<std::vector<const FontCache::Entry*>> bandFonts_;  // by band and control
    QString date_;
    QString time_;
    bool quick_ = false;
    int bodyBottom_ = 0;  // where the page footer begins
    int pageIndex_ = -1;
    ReportPage page_;  // the page being laid out, when pages are made
    size_t itemsOnLastPage_ = 0;
    qsizetype row_ = 0;  // the row being laid out
    int y_ = 0;
    bool detailOnPage_ = false;
    bool stopped_ = false;
    bool cancelled_ = false;
};

// The rows of a table, kept by whoever gives them.
class TableRows final : public ReportRows {
public:
    explicit TableRows(std::shared_ptr<const MemoryTable> table) : table_(std::move(table)) {}
    qsizetype count() const override { return table_->RecordCount(); }
    int column(const QString& name) const override { return table_->columnIndex(name); }
    QString text(qsizetype row, int column) const override { return table_->value(row, column).toString(); }

private:
    std::shared_ptr<const MemoryTable> table_;
};

class EntryRows final : public ReportRows {
public:
    EntryRows(QStringList entries, const QString& column) : entries_(std::move(entries)), column_(column) {}
    qsizetype count() const override { return entries_.size(); }
    int column(const QString& name) const override { return name.compare(column_, Qt::CaseInsensitive) == 0 ? 0 : -1; }
    QString text(qsizetype row, int) const override { return entries_.at(row); }

private:
    QStringList entries_;
    QString column_;
};

}  // namespace

std::shared_ptr<const ReportRows> ReportRows::of(MemoryTable table)
{
    return std::make_shared<TableRows>(std::make_shared<const MemoryTable>(std::move(table)));
}

std::shared_ptr<const ReportRows> ReportRows::of(QStringList entries, const QString& column)
{
    return std::make_shared<EntryRows>(std::move(entries), column);
}

ReportPages layoutReport(const ReportDefinition& report, const MemoryTable& table, const PaperSize& paper, const QDateTime& now)
{
    // Every text measured by shaping, every page made.
    const TableRows rows(std::shared_ptr<const MemoryTable>(std::shared_ptr<const MemoryTable>(), &table));
    FontCache fonts;
    ReportPages result{report.caption, paper, {}};
    Layout layout(report, rows, paper, dateText(now), timeText(now), fonts, false);
    layout.sink = [&](int, ReportPage&& page) {
        result.pages.push_back(std::move(page));
        return true;
    };
    layout.run(0, PageStart{});
    return result;
}

// What a document needs to lay its pages out again.
struct ReportDocument::Paginated {
    ReportDefinition report;
    std::shared_ptr<const ReportRows> rows;
    PaperSize paper;
    QString date;
    QString time;
    FontCache fonts;  // the pieces of a page start point into it
    std::vector<PageStart> starts;

    // Lays out pages from `first` on, handing each to `sink` until it returns false.
    void make(int first, const std::function<bool(int, ReportPage&&)>& sink)
    {
        Layout layout(report, *rows, paper, date, time, fonts, true);
        layout.sink = sink;
        layout.run(first, starts[size_t(first)]);
    }
};

ReportDocument::ReportDocument(ReportPages pages)
    : caption_(pages.caption),
      paper_(pages.paper),
      pageCount_(pages.pageCount()),
      pages_(std::make_shared<const ReportPages>(std::move(pages)))
{
}

ReportDocument ReportDocument::borrow(const ReportPages& pages)
{
    ReportDocument document;
    document.caption_ = pages.caption;
    document.paper_ = pages.paper;
    document.pageCount_ = pages.pageCount();
    document.pages_ = std::shared_ptr<const ReportPages>(std::shared_ptr<const ReportPages>(), &pages);
    return document;
}

ReportPage ReportDocument::page(int index) const
{
    if (index < 0 || index >= pageCount_) return {};
    if (pages_) return pages_->pages[size_t(index)];
    ReportPage result;
    paginated_->make(index, [&](int, ReportPage&& page) {
        result = std::move(page);
        return false;
    });
    return result;
}

void ReportDocument::forEachPage(int first, int last, const std::function<bool(int, const ReportPage&)>& visit) const
{
    first = std::max(first, 0);
    last = std::min(last, pageCount_ - 1);
    if (first > last) return;
    if (pages_) {
        for (int i = first; i <= last; ++i)
            if (!visit(i, pages_->pages[size_t(i)])) return;
        return;
    }
    paginated_->make(first, [&](int index, ReportPage&& page) { return visit(index, page) && index < last; });
}

ReportPages ReportDocument::allPages() const
{
    if (pages_) return *pages_;
    ReportPages result{caption_, paper_, {}};
    result.pages.reserve(size_t(pageCount_));
    if (pageCount_ > 0)
        paginated_->make(0, [&](int, ReportPage&& page) {
            result.pages.push_back(std::move(page));
            return true;
        });
    return result;
}

std::optional<ReportDocument> layoutDocument(ReportDefinition report, std::shared_ptr<const ReportRows> rows,
                                             const PaperSize& paper, const QDateTime& now, Progress* progress)
{
    auto paginated = std::make_shared<ReportDocument::Paginated>();
    paginated->report = std::move(report);
    paginated->rows = std::move(rows);
    paginated->paper = paper;
    paginated->date = dateText(now);
    paginated->time = timeText(now);
    Layout layout(paginated->report, *paginated->rows, paper, paginated->date, paginated->time, paginated->fonts, true);
    layout.starts = &paginated->starts;
    layout.progress = progress;
    layout.run(0, PageStart{});
    if (layout.cancelled()) return std::nullopt;
    ReportDocument document;
    document.caption_ = paginated->report.caption;
    document.paper_ = paper;
    document.pageCount_ = int(paginated->starts.size());
    document.paginated_ = std::move(paginated);
    return document;
}

}  // namespace brenzola
