#include "reportpainter.h"

#include "reportfont.h"
#include "storeerror.h"

#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <algorithm>

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

void paintReportPage(QPainter& painter, const ReportPage& page, FontCache& fonts)
{
    QPen linePen(Qt::black, kLineWidth);
    linePen.setCapStyle(Qt::FlatCap);
    const QPen textPen(Qt::black);
    const FontCache::Entry* current = nullptr;
    for (const PlacedItem& item : page.items) {
        const QRect& r = item.rect;
        if (item.kind == PlacedItem::Kind::Line) {
            painter.setPen(linePen);
            painter.drawLine(QPointF(r.left(), r.top()), QPointF(r.left() + r.width(), r.top()));
            continue;
        }
        if (item.text.isEmpty()) continue;
        const FontCache::Entry& font = fonts.get(item.font);
        if (&font != current) {
            painter.setFont(font.font);
            current = &font;
        }
        painter.setPen(textPen);
        double baseline = r.top() + font.metrics.ascent();
        for (QStringView line : QStringView(item.text).split(u'\n')) {
            double x = r.left();
            if (item.alignment != TextAlignment::Left) {
                const double spare = r.width() - font.metrics.horizontalAdvance(line.toString());
                x += item.alignment == TextAlignment::Right ? spare : spare / 2;
            }
            painter.drawText(QPointF(x, baseline), line.toString());
            baseline += font.metrics.lineSpacing();
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

void writePdf(const ReportPages& pages, const QString& path)
{
    const auto refuse = [&] {
        throw StoreError(PrintErrorNumber::FileAccess,
                         QStringLiteral("Errore di accesso al percorso/file: impossibile scrivere «%1».").arg(path));
    };
    QPdfWriter writer(path);
    writer.setResolution(int(kTwipsPerInch));
    writer.setPageSize(pageSizeOf(pages.paper));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setTitle(pages.caption);
    writer.setCreator(QStringLiteral("Brenzola"));
    QPainter painter;
    if (!painter.begin(&writer)) refuse();
    FontCache fonts;
    for (size_t i = 0; i < pages.pages.size(); ++i) {
        if (i > 0 && !writer.newPage()) refuse();
        paintReportPage(painter, pages.pages[i], fonts);
    }
    if (!painter.end() || !QFileInfo(path).isFile()) refuse();
}

void printReport(const ReportPages& pages, QPrinter& printer, int firstPage, int lastPage)
{
    const auto refuse = [&] {
        throw StoreError(PrintErrorNumber::PrinterError,
                         QStringLiteral("Errore della stampante: impossibile stampare su «%1».")
                             .arg(printer.printerName().isEmpty() ? printer.outputFileName() : printer.printerName()));
    };
    firstPage = std::max(firstPage, 1);
    lastPage = std::min(lastPage, pages.pageCount());
    if (firstPage > lastPage) return;
    printer.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&printer)) refuse();
    mapTwips(painter, pages.paper, printer.resolution(), printer.paperRect(QPrinter::DevicePixel).size());
    FontCache fonts;
    for (int page = firstPage; page <= lastPage; ++page) {
        if (page > firstPage && !printer.newPage()) refuse();
        paintReportPage(painter, pages.pages[size_t(page - 1)], fonts);
    }
    if (!painter.end()) refuse();
}

}  // namespace brenzola
