#pragma once

#include "printing/reportlayout.h"

class QPainter;

namespace brenzola {

class FontCache;
class Progress;

// Qt's PDF engine, behind the PDF writer and the printer, takes two buffers of 10 MB to
// compress every page. Left to itself glibc gives them back to the system after each page
// and has them faulted in again, a fifth of the time of a long report; a block of that
// order, freed, raises glibc's adaptive thresholds (as any such block would) so that they
// are kept for the next page instead. Called before painting pages.
void keepPageBuffers();

// Paints one laid-out page; the painter's unit must be the twip, with the origin at the
// paper's top left corner (see mapTwips).
void paintReportPage(QPainter& painter, const ReportPage& page, FontCache& fonts);

// Makes one unit of `painter` a twip on a device of `resolution` dots per inch whose paper
// measures `devicePaper` dots, shrinking the report's paper to fit a smaller sheet.
void mapTwips(QPainter& painter, const PaperSize& paper, double resolution, const QSizeF& devicePaper);

// Writes every page to a PDF file of the report's paper size. Throws StoreError when the
// file cannot be written.
void writePdf(const ReportPages& pages, const QString& path);
// The same, a page at a time, with `progress` (when given) following the pages. The file
// is written beside `path` and takes its place only once whole: when the user stops, it
// returns false and `path` is as it was.
bool writePdf(const ReportDocument& document, const QString& path, Progress* progress);

// Error numbers of printing failures, as the runtime numbers them.
namespace PrintErrorNumber {
inline constexpr int FileAccess = 75;
inline constexpr int PrinterError = 482;
}  // namespace PrintErrorNumber

}  // namespace brenzola
