#include "reportfont.h"

#include "funzioni.h"
#include "moduli.h"

#include <QTextLayout>

#include <cmath>

namespace brenzola {

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
    entries_.push_back(Entry{font, qfont, QFontMetricsF(qfont)});
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

int textHeight(const FontCache::Entry& font, qsizetype lines)
{
    if (lines <= 0) return 0;
    return int(std::ceil(font.metrics.height() + double(lines - 1) * font.metrics.lineSpacing()));
}

}  // namespace brenzola
