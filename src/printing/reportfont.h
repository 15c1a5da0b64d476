#pragma once

#include "printing/reportdefinition.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QRawFont>
#include <QStringList>
#include <QStringView>

#include <array>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

class QPainter;
class QPointF;

namespace brenzola {

namespace Funzioni {
// Metric-compatible stand-ins for the fonts the reports and windows were designed with,
// which Linux lacks.
void RegistraCaratteri();
}  // namespace Funzioni

// Reports are measured and painted in twips: a font of N points is a font of N * 20
// twip-sized pixels, so measures do not depend on any screen or printer resolution.
QFont twipFont(const ReportFont& font);

// The font's own glyphs of the Latin letters, digits and punctuation, each shaped once.
// A text made only of characters that shaping maps one for one onto those glyphs (no
// ligature, contextual form, mark, kerning or fallback font touches them) is measured and
// drawn from them, with the glyphs and advances shaping gives it, only without shaping it
// again: a list of a million names would otherwise be shaped once to measure it and once
// more to draw it. Any other text is left to shaping.
class SimpleGlyphs {
public:
    explicit SimpleGlyphs(const QFont& font);
    SimpleGlyphs(const SimpleGlyphs&) = delete;
    SimpleGlyphs& operator=(const SimpleGlyphs&) = delete;

    // The width of `text` in twips, or none when shaping has to measure it.
    std::optional<double> advance(QStringView text);
    // Draws `text` with the left end of its baseline at `origin`; false, drawing nothing,
    // when shaping has to draw it.
    bool draw(QPainter& painter, const QPointF& origin, QStringView text);

private:
    struct Glyph {
        enum State : quint8 { Unknown, Simple, Shaped };
        quint32 index = 0;
        double advance = 0;
        State state = Unknown;
    };
    static constexpr char16_t kFirst = 0x20;
    static constexpr char16_t kEnd = 0x250;  // Basic Latin to Latin Extended-B

    const Glyph* glyph(QChar character);
    bool glyphsOf(QStringView text);

    QFont font_;
    QRawFont raw_;
    bool usable_ = false;
    std::vector<quint32> touched_;  // sorted: glyphs some substitution or positioning may change
    std::array<Glyph, kEnd - kFirst> glyphs_{};
    // Scratch for drawing, kept to spare an allocation per text.
    QGlyphRun run_;
    std::vector<quint32> indexes_;
    std::vector<QPointF> positions_;
};

// Fonts and their metrics, made once per report font.
class FontCache {
public:
    struct Entry {
        ReportFont key;
        QFont font;
        QFontMetricsF metrics;
        std::shared_ptr<SimpleGlyphs> simple;
    };
    const Entry& get(const ReportFont& font);

private:
    std::deque<Entry> entries_;  // entries never move: callers keep pointers
};

// Breaks a text into the lines it takes in a box `width` twips wide: at line breaks,
// between words, and inside a word that is wider than the box. Never drops a character
// other than the blanks at a wrap point.
QStringList wrapText(const QString& text, const FontCache::Entry& font, double width);
// The same lines, found without shaping a text that its simple glyphs show fits.
QStringList wrapTextQuickly(const QString& text, const FontCache::Entry& font, double width);

// The width of one line of text, as shaping measures it.
double lineAdvance(const FontCache::Entry& font, QStringView line);

// Height in twips that `lines` lines of text take.
int textHeight(const FontCache::Entry& font, qsizetype lines);

}  // namespace brenzola
