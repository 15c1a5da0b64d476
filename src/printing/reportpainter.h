#pragma once

#include "printing/reportlayout.h"

class QPainter;
class QPrinter;

namespace brenzola {

class FontCache;
class Progress;

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

// Prints pages firstPage..lastPage (counted from 1) on a printer that has been set up;
// throws StoreError when the printer refuses.
void printReport(const ReportPages& pages, QPrinter& printer, int firstPage, int lastPage);
// The same with `progress` following the pages; false when the user stopped it. Printing
// to a file replaces that file only once whole; a printer is asked to drop the job, which
// not every printing system can do once pages have gone to it.
bool printReport(const ReportDocument& document, QPrinter& printer, int firstPage, int lastPage, Progress* progress);

// Error numbers of printing failures, as the runtime numbers them.
namespace PrintErrorNumber {
inline constexpr int FileAccess = 75;
inline constexpr int PrinterError = 482;
}  // namespace PrintErrorNumber

}  // namespace brenzola
