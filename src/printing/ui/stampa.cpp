#include "printing/ui/stampa.h"

#include "printing/ui/reportpreview.h"
#include "store/funzioni.h"
#include "store/recordset.h"
#include "widgets/dialogs.h"

#include <QCoreApplication>
#include <QPageSize>
#include <QPrinterInfo>

namespace brenzola {

PaperSize currentPaper()
{
    QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (printer.isNull() && !QPrinterInfo::availablePrinters().isEmpty())
        printer = QPrinterInfo::availablePrinters().constFirst();
    if (printer.isNull()) return PaperSize{};
    const QPageSize size = printer.defaultPageSize();
    if (!size.isValid()) return PaperSize{};
    const QSizeF points = size.size(QPageSize::Point);
    if (points.isEmpty()) return PaperSize{};
    return PaperSize{points.width() * 20, points.height() * 20};
}

void showReport(ReportPages pages, Dialogs& dialogs, QWidget* parent)
{
    showReport(ReportDocument(std::move(pages)), dialogs, parent);
}

void showReport(ReportDocument document, Dialogs& dialogs, QWidget* parent)
{
    ReportPreview preview(std::move(document), dialogs, parent);
    dialogs.ShowModal(preview);
}

void StampaRS(const QStringList& vociLista, Dialogs& dialogs, QWidget* parent)
{
    std::unique_ptr<Progress> progress =
        dialogs.ShowProgress(parent, QCoreApplication::translate("brenzola::Stampa", "Preparazione della stampa…"));
    std::optional<ReportDocument> document = layoutStElenco(vociLista, currentPaper(), progress.get());
    progress.reset();
    if (document) showReport(std::move(*document), dialogs, parent);
}

void StampaRS_Scheda(const QString& Sql, Dialogs& dialogs, QWidget* parent)
{
    Recordset source;
    source.Open(Sql, Funzioni::Connessione());
    MemoryTable cards = cardTable(source);
    std::unique_ptr<Progress> progress =
        dialogs.ShowProgress(parent, QCoreApplication::translate("brenzola::Stampa", "Preparazione della stampa…"));
    std::optional<ReportDocument> document = layoutStDettaglio(std::move(cards), currentPaper(), progress.get());
    progress.reset();
    if (document) showReport(std::move(*document), dialogs, parent);
}

}  // namespace brenzola
