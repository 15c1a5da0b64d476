#pragma once

#include "printing/reportlayout.h"

class QPrinter;

namespace brenzola {

class Progress;

// Prints pages firstPage..lastPage (counted from 1) on a printer that has been set up;
// throws StoreError when the printer refuses.
void printReport(const ReportPages& pages, QPrinter& printer, int firstPage, int lastPage);
// The same with `progress` following the pages; false when the user stopped it. Printing
// to a file replaces that file only once whole; a printer is asked to drop the job, which
// not every printing system can do once pages have gone to it.
bool printReport(const ReportDocument& document, QPrinter& printer, int firstPage, int lastPage, Progress* progress);

}  // namespace brenzola
