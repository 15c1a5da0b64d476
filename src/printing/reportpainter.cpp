#include "printing/reportpainter.h"

#include "printing/reportfont.h"
#include "store/progress.h"
#include "store/storeerror.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QScopeGuard>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>

namespace brenzola {

namespace {

constexpr double kTwipsPerInch = 1440;
constexpr int kLineWidth = 15;  // one pixel on a 96 dpi screen

QPageSize pageSizeOf(const PaperSize& paper)
{
    return QPageSize(QSizeF(paper.width / kTwipsPerInch, paper.height / kTwipsPerInch), QPageSize::Inch, QString(),
                     QPageSize::FuzzyMatch);
}

}  // namespace

void keepPageBuffers()
{
    void* volatile block = std::malloc(24 << 20);
    std::free(block);
}

void paintReportPage(QPainter& painter, const ReportPage& page, FontCache& fonts)
{
    QPen linePen(Qt::black, kLineWidth);
    linePen.setCapStyle(Qt::FlatCap);
    const QPen textPen(Qt::black);
    const FontCache::Entry* current = nullptr;  // the painter's font, for texts left to shaping
    for (const PlacedItem& item : page.items) {
        const QRect& r = item.rect;
        if (item.kind == PlacedItem::Kind::Line) {
            painter.setPen(linePen);
            painter.drawLine(QPointF(r.left(), r.top()), QPointF(r.left() + r.width(), r.top()));
            continue;
        }
        if (item.text.isEmpty()) continue;
        const FontCache::Entry& font = fonts.get(item.font);
        painter.setPen(textPen);
        double baseline = r.top() + font.metrics.ascent();
        QStringView rest(item.text);
        for (;;) {
            const qsizetype end = rest.indexOf(u'\n');
            const QStringView line = end < 0 ? rest : rest.first(end);
            double x = r.left();
            if (item.alignment != TextAlignment::Left) {
                const double spare = r.width() - lineAdvance(font, line);
                x += item.alignment == TextAlignment::Right ? spare : spare / 2;
            }
            if (!font.simple->draw(painter, QPointF(x, baseline), line)) {
                if (&font != current) {
                    painter.setFont(font.font);
                    current = &font;
                }
                painter.drawText(QPointF(x, baseline), line.toString());
            }
            baseline += font.metrics.lineSpacing();
            if (end < 0) break;
            rest = rest.sliced(end + 1);
        }
    }
}

void mapTwips(QPainter& painter, const PaperSize& paper, double resolution, const QSizeF& devicePaper)
{
    double scale = resolution / kTwipsPerInch;
    if (paper.width > 0 && paper.height > 0)
        scale = std::min({scale, devicePaper.width() / paper.width, devicePaper.height() / paper.height});
    painter.scale(scale, scale);
}

void writePdf(const ReportPages& pages, const QString& path) { writePdf(ReportDocument::borrow(pages), path, nullptr); }

bool writePdf(const ReportDocument& document, const QString& path, Progress* progress)
{
    const auto refuse = [&] {
        throw StoreError(PrintErrorNumber::FileAccess,
                         QCoreApplication::translate("brenzola::ReportPainter",
                                                     "Errore di accesso al percorso/file: impossibile scrivere «%1».")
                             .arg(path));
    };
    // Written beside the file and put in its place only once whole.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) refuse();
    bool stopped = false;
    {
        QPdfWriter writer(&file);
        writer.setResolution(int(kTwipsPerInch));
        writer.setPageSize(pageSizeOf(document.paper()));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setTitle(document.caption());
        writer.setCreator(QStringLiteral("Brenzola"));
        QPainter painter;
        if (!painter.begin(&writer)) refuse();
        keepPageBuffers();
        FontCache fonts;
        bool refused = false;
        const int count = document.pageCount();
        document.forEachPage(0, count - 1, [&](int index, const ReportPage& page) {
            if (index > 0 && !writer.newPage()) {
                refused = true;
                return false;
            }
            paintReportPage(painter, page, fonts);
            stopped = progress && !progress->advance(index + 1, count);
            return !stopped;
        });
        if (!painter.end() || refused) refuse();
    }
    if (stopped) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) refuse();
    return true;
}

}  // namespace brenzola
