#pragma once

#include "reportlayout.h"

class QPainter;
class QPrinter;

namespace brenzola {

class FontCache;

// Paints one laid-out page; the painter's unit must be the twip, with the origin at the
// paper's top left corner (see mapTwips).
void paintReportPage(QPainter& painter, const ReportPage& page, FontCache& fonts);

// Makes one unit of `painter` a twip on a device of `resolution` dots per inch whose paper
// measures `devicePaper` dots, shrinking the report's paper to fit a smaller sheet.
void mapTwips(QPainter& painter, const PaperSize& paper, double resolution, const QSizeF& devicePaper);

// Writes every page to a PDF file of the report's paper size. Throws StoreError when the
// file cannot be written.
void writePdf(const ReportPages& pages, const QString& path);

// Prints pages firstPage..lastPage (counted from 1) on a printer that has been set up;
// throws StoreError when the printer refuses.
void printReport(const ReportPages& pages, QPrinter& printer, int firstPage, int lastPage);

// Error numbers of printing failures, as the runtime numbers them.
namespace PrintErrorNumber {
inline constexpr int FileAccess = 75;
inline constexpr int PrinterError = 482;
}  // namespace PrintErrorNumber

}  // namespace brenzola
