#include "printing/reportfont.h"

#include "store/funzioni.h"

#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace brenzola {

void Funzioni::RegistraCaratteri()
{
    // Metric-compatible stand-ins, so captions fit where the layout puts them.
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
    QFont::insertSubstitution(QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans"));
}

namespace {

// Reads an OpenType layout table (GSUB or GPOS); any read outside it makes the whole
// table unreadable, and the font is then left to shaping.
class LayoutTable {
public:
    explicit LayoutTable(QByteArray data) : data_(std::move(data)) {}

    bool ok() const { return ok_; }
    quint16 u16(qsizetype at)
    {
        if (at < 0 || at + 2 > data_.size()) return fail();
        const auto* p = reinterpret_cast<const uchar*>(data_.constData() + at);
        return quint16(p[0] << 8 | p[1]);
    }
    quint32 u32(qsizetype at) { return quint32(u16(at)) << 16 | u16(at + 2); }
    QByteArray tag(qsizetype at)
    {
        if (at < 0 || at + 4 > data_.size()) {
            fail();
            return {};
        }
        return data_.mid(at, 4);
    }

    // Adds every glyph that a lookup not only of `skippedFeature` may act on: the glyphs of
    // the coverage tables of its subtables, which name each glyph a rule starts from or reads.
    void addTouchedGlyphs(const QByteArray& skippedFeature, bool positioning, std::vector<quint32>& glyphs)
    {
        if (data_.isEmpty()) return;
        const qsizetype features = u16(6);
        // Feature variations may swap feature tables: then nothing is skipped.
        const bool varies = u16(2) >= 1 && u32(10) != 0;
        const qsizetype lookups = u16(8);
        std::vector<bool> skipped(u16(lookups), false);
        std::vector<bool> usedElsewhere(skipped.size(), false);
        for (int i = 0, count = u16(features); i < count && ok_; ++i) {
            const qsizetype record = features + 2 + 6 * i;
            const bool skip = tag(record) == skippedFeature;
            const qsizetype feature = features + u16(record + 4);
            for (int k = 0, n = u16(feature + 2); k < n && ok_; ++k) {
                const quint16 lookup = u16(feature + 4 + 2 * k);
                if (lookup >= skipped.size()) continue;
                (skip ? skipped : usedElsewhere)[lookup] = true;
            }
        }
        for (size_t i = 0; i < skipped.size() && ok_; ++i) {
            if (skipped[i] && !usedElsewhere[i] && !varies) continue;
            const qsizetype lookup = lookups + u16(lookups + 2 + 2 * qsizetype(i));
            const quint16 type = u16(lookup);
            for (int k = 0, n = u16(lookup + 4); k < n && ok_; ++k)
                addSubtable(lookup + u16(lookup + 6 + 2 * k), type, positioning, glyphs, 0);
        }
    }

private:
    quint16 fail()
    {
        ok_ = false;
        return 0;
    }

    void addCoverage(qsizetype at, std::vector<quint32>& glyphs)
    {
        const quint16 format = u16(at);
        const int count = u16(at + 2);
        if (format == 1) {
            for (int i = 0; i < count && ok_; ++i) glyphs.push_back(u16(at + 4 + 2 * i));
        } else if (format == 2) {
            for (int i = 0; i < count && ok_; ++i)
                for (quint32 g = u16(at + 4 + 6 * i), last = u16(at + 6 + 6 * i); g <= last && ok_; ++g) glyphs.push_back(g);
        } else {
            fail();
        }
    }

    void addSubtable(qsizetype at, quint16 type, bool positioning, std::vector<quint32>& glyphs, int depth)
    {
        const quint16 format = u16(at);
        const bool context = positioning ? type == 7 : type == 5;
        const bool chained = positioning ? type == 8 : type == 6;
        const bool extension = positioning ? type == 9 : type == 7;
        if (extension) {
            if (format != 1 || depth > 0) return void(fail());
            addSubtable(at + qsizetype(u32(at + 4)), u16(at + 2), positioning, glyphs, depth + 1);
        } else if ((context || chained) && format == 3) {
            // Coverage tables for every position the rule reads.
            qsizetype p = at + 2;
            for (int part = 0; part < (chained ? 3 : 1) && ok_; ++part) {
                const int count = u16(p);
                const qsizetype offsets = p + (context ? 4 : 2);
                for (int i = 0; i < count && ok_; ++i) addCoverage(at + u16(offsets + 2 * i), glyphs);
                p = offsets + 2 * count;
            }
        } else if (type >= 1 && type <= 8) {
            addCoverage(at + u16(at + 2), glyphs);
            // Mark attachments name their base, ligature or second mark too.
            if (positioning && type >= 4 && type <= 6) addCoverage(at + u16(at + 4), glyphs);
        } else {
            fail();
        }
    }

    QByteArray data_;
    bool ok_ = true;
};

}  // namespace

SimpleGlyphs::SimpleGlyphs(const QFont& font) : font_(font), raw_(QRawFont::fromFont(font))
{
    if (!raw_.isValid()) return;
    // Apple's own layout tables are shaped by rules of their own: leave such fonts to shaping.
    for (const char* table : {"morx", "mort", "kerx", "trak"})
        if (!raw_.fontTable(table).isEmpty()) return;
    // Reports turn kerning off, so the kerning lookups never act.
    LayoutTable substitutions(raw_.fontTable("GSUB"));
    substitutions.addTouchedGlyphs(QByteArray(), false, touched_);
    LayoutTable positions(raw_.fontTable("GPOS"));
    positions.addTouchedGlyphs(QByteArrayLiteral("kern"), true, touched_);
    if (!substitutions.ok() || !positions.ok()) return;
    std::sort(touched_.begin(), touched_.end());
    touched_.erase(std::unique(touched_.begin(), touched_.end()), touched_.end());
    run_.setRawFont(raw_);
    usable_ = true;
}

const SimpleGlyphs::Glyph* SimpleGlyphs::glyph(QChar character)
{
    const char16_t c = character.unicode();
    // Controls, and the soft hyphen that shaping hides, are never simple.
    if (c < kFirst || c >= kEnd || (c >= 0x7f && c <= 0x9f) || c == 0xad) return nullptr;
    Glyph& glyph = glyphs_[c - kFirst];
    if (glyph.state == Glyph::Unknown) {
        glyph.state = Glyph::Shaped;
        const QString text(character);
        QTextLayout layout(text, font_);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        const QList<QGlyphRun> runs = layout.glyphRuns();
        if (runs.size() == 1 && runs[0].glyphIndexes().size() == 1 && runs[0].rawFont() == raw_) {
            const quint32 index = runs[0].glyphIndexes().constFirst();
            if (index != 0 && !std::binary_search(touched_.begin(), touched_.end(), index)) {
                glyph.index = index;
                glyph.advance = QFontMetricsF(font_).horizontalAdvance(text);
                glyph.state = Glyph::Simple;
            }
        }
    }
    return glyph.state == Glyph::Simple ? &glyph : nullptr;
}

std::optional<double> SimpleGlyphs::advance(QStringView text)
{
    if (!usable_) return std::nullopt;
    // Advances are whole 64ths of a twip, so this sum is exact, as shaping's own is.
    double width = 0;
    for (QChar character : text) {
        const Glyph* g = glyph(character);
        if (!g) return std::nullopt;
        width += g->advance;
    }
    return width;
}

bool SimpleGlyphs::glyphsOf(QStringView text)
{
    if (!usable_) return false;
    indexes_.clear();
    positions_.clear();
    double x = 0;
    for (QChar character : text) {
        const Glyph* g = glyph(character);
        if (!g) return false;
        indexes_.push_back(g->index);
        positions_.emplace_back(x, 0);
        x += g->advance;
    }
    return true;
}

bool SimpleGlyphs::draw(QPainter& painter, const QPointF& origin, QStringView text)
{
    if (!glyphsOf(text)) return false;
    if (indexes_.empty()) return true;
    run_.setRawData(indexes_.data(), positions_.data(), int(indexes_.size()));
    painter.drawGlyphRun(origin, run_);
    return true;
}

QFont twipFont(const ReportFont& font)
{
    QFont result(font.family);
    result.setPixelSize(std::max(1, int(std::lround(font.pointSize * 20))));
    result.setBold(font.bold);
    result.setItalic(font.italic);
    // The same advances on screen, printer and PDF.
    result.setHintingPreference(QFont::PreferNoHinting);
    result.setKerning(false);
    return result;
}

const FontCache::Entry& FontCache::get(const ReportFont& font)
{
    for (const Entry& entry : entries_)
        if (entry.key == font) return entry;
    Funzioni::RegistraCaratteri();
    const QFont qfont = twipFont(font);
    entries_.push_back(Entry{font, qfont, QFontMetricsF(qfont), std::make_shared<SimpleGlyphs>(qfont)});
    return entries_.back();
}

QStringList wrapText(const QString& text, const FontCache::Entry& font, double width)
{
    const bool hasBreaks = text.contains(u'\n') || text.contains(u'\r');
    if (!hasBreaks && font.metrics.horizontalAdvance(text) <= width) return {text};

    QString normalized = text;
    normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    QStringList lines;
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    for (const QString& paragraph : normalized.split(u'\n')) {
        if (font.metrics.horizontalAdvance(paragraph) <= width) {
            lines << paragraph;
            continue;
        }
        QTextLayout layout(paragraph, font.font);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            QString piece = paragraph.mid(line.textStart(), line.textLength());
            while (!piece.isEmpty() && piece.back().isSpace()) piece.chop(1);
            lines << piece;
        }
        layout.endLayout();
    }
    return lines;
}

QStringList wrapTextQuickly(const QString& text, const FontCache::Entry& font, double width)
{
    // Line breaks are never simple characters, so a measured text is a single line.
    if (const std::optional<double> advance = font.simple->advance(text); advance && *advance <= width) return {text};
    return wrapText(text, font, width);
}

double lineAdvance(const FontCache::Entry& font, QStringView line)
{
    if (const std::optional<double> advance = font.simple->advance(line)) return *advance;
    return font.metrics.horizontalAdvance(line.toString());
}

int textHeight(const FontCache::Entry& font, qsizetype lines)
{
    if (lines <= 0) return 0;
    return int(std::ceil(font.metrics.height() + double(lines - 1) * font.metrics.lineSpacing()));
}

}  // namespace brenzola
