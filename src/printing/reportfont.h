#pragma once

#include "reportdefinition.h"

#include <QFont>
#include <QFontMetricsF>
#include <QStringList>

#include <deque>

namespace brenzola {

// Reports are measured and painted in twips: a font of N points is a font of N * 20
// twip-sized pixels, so measures do not depend on any screen or printer resolution.
QFont twipFont(const ReportFont& font);

// Fonts and their metrics, made once per report font.
class FontCache {
public:
    struct Entry {
        ReportFont key;
        QFont font;
        QFontMetricsF metrics;
    };
    const Entry& get(const ReportFont& font);

private:
    std::deque<Entry> entries_;  // entries never move: callers keep pointers
};

// Breaks a text into the lines it takes in a box `width` twips wide: at line breaks,
// between words, and inside a word that is wider than the box. Never drops a character
// other than the blanks at a wrap point.
QStringList wrapText(const QString& text, const FontCache::Entry& font, double width);

// Height in twips that `lines` lines of text take.
int textHeight(const FontCache::Entry& font, qsizetype lines);

}  // namespace brenzola
