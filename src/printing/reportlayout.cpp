#include "reportlayout.h"

#include "memorytable.h"
#include "reportfont.h"
#include "storeerror.h"

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

class Layout {
public:
    Layout(const ReportDefinition& report, const MemoryTable& table, const PaperSize& paper, const QDateTime& now)
        : report_(report), table_(table)
    {
        result_.caption = report.caption;
        result_.paper = paper;
        date_ = now.date().toString(QStringLiteral("dd/MM/yyyy"));
        time_ = now.time().toString(QStringLiteral("HH:mm"));
        bodyBottom_ = int(paper.height) - report.bottomMargin;
        if (const ReportBand* footer = report.band(BandKind::PageFooter)) bodyBottom_ -= footer->height;
    }

    ReportPages run()
    {
        const ReportBand* detail = report_.band(BandKind::Detail);
        std::vector<int> columns;
        if (detail)
            for (const ReportControl& control : detail->controls) {
                const int column = control.kind == ControlKind::TextBox ? table_.columnIndex(control.column) : -1;
                if (control.kind == ControlKind::TextBox && column < 0)
                    throw StoreError(StoreErrorNumber::ItemNotFound,
                                     QStringLiteral("Campo «%1» della casella «%2» non trovato nei dati del report.")
                                         .arg(control.column, control.name));
                columns.push_back(column);
            }

        startPage();
        if (detail)
            for (qsizetype row = 0; row < table_.RecordCount(); ++row) placeDetail(*detail, columns, row);
        if (const ReportBand* footer = report_.band(BandKind::ReportFooter); footer && !footer->controls.empty()) {
            std::vector<Piece> pieces = instance(*footer, {}, -1);
            const int height = bandHeight(*footer, pieces);
            if (y_ + height > bodyBottom_) {
                finishPage();
                startPage();
            }
            place(*footer, pieces, -1, 0);
            y_ += height;
        }
        finishPage();
        return std::move(result_);
    }

private:
    void startPage()
    {
        result_.pages.emplace_back();
        y_ = report_.topMargin;
        detailOnPage_ = false;
        if (result_.pages.size() == 1)
            if (const ReportBand* header = report_.band(BandKind::ReportHeader)) placeWhole(*header);
        if (const ReportBand* header = report_.band(BandKind::PageHeader)) placeWhole(*header);
    }

    void finishPage()
    {
        const ReportBand* footer = report_.band(BandKind::PageFooter);
        if (!footer || footer->controls.empty()) return;
        const int saved = y_;
        y_ = bodyBottom_;
        std::vector<Piece> pieces = instance(*footer, {}, -1);
        place(*footer, pieces, -1, 0);
        y_ = saved;
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
            startPage();
        }
        detailOnPage_ = true;
        if (y_ + height <= bodyBottom_) {
            place(band, pieces, row, 0);
            y_ += height;
            return;
        }
        placeAcrossPages(band, std::move(pieces), row, height);
        detailOnPage_ = true;  // the page it ended on holds its last part
    }

    // The band is taller than an empty page: fill this page and carry what is left over.
    void placeAcrossPages(const ReportBand& band, std::vector<Piece> pending, qsizetype row, int height)
    {
        int offset = 0;  // the band position at the top of the current stretch
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
            finishPage();
            startPage();
            offset += cut;
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
        std::vector<Piece> pieces;
        pieces.reserve(band.controls.size());
        for (size_t i = 0; i < band.controls.size(); ++i) {
            const ReportControl& control = band.controls[i];
            Piece piece{&control, control.top, control.height, {}, nullptr};
            if (control.kind != ControlKind::Line) {
                piece.font = &fonts_.get(control.font.value_or(report_.font));
                QString text;
                if (control.kind == ControlKind::Label) {
                    text = control.caption;
                    if (text.contains(u'%'))
                        text.replace(QStringLiteral("%d"), date_).replace(QStringLiteral("%t"), time_);
                } else if (row >= 0 && i < columns.size() && columns[i] >= 0) {
                    text = table_.value(row, columns[i]).toString();
                }
                piece.lines = wrapText(text, *piece.font, control.width);
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
        std::vector<PlacedItem>& items = result_.pages.back().items;
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
                item.text = piece.lines.join(u'\n');
                item.font = piece.font->key;
                item.alignment = control.alignment;
            }
            items.push_back(std::move(item));
        }
    }

    const ReportDefinition& report_;
    const MemoryTable& table_;
    ReportPages result_;
    FontCache fonts_;
    QString date_;
    QString time_;
    int bodyBottom_ = 0;  // where the page footer begins
    int y_ = 0;
    bool detailOnPage_ = false;
};

}  // namespace

ReportPages layoutReport(const ReportDefinition& report, const MemoryTable& table, const PaperSize& paper,
                         const QDateTime& now)
{
    return Layout(report, table, paper, now).run();
}

}  // namespace brenzola
