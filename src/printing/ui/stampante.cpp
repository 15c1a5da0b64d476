#include "printing/ui/stampante.h"

#include "printing/reportfont.h"
#include "printing/reportpainter.h"
#include "store/progress.h"
#include "store/storeerror.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QRandomGenerator>
#include <QScopeGuard>

#include <algorithm>
#include <filesystem>
#include <optional>

namespace brenzola {

namespace {

// A file written under a name of its own beside `path`, and moved over `path` once whole.
class FileBeside {
public:
    explicit FileBeside(const QString& path) : path_(path)
    {
        const QFileInfo info(path);
        for (int attempt = 0; attempt < 100 && temporary_.isEmpty(); ++attempt) {
            const quint32 tag = QRandomGenerator::global()->generate();
            const QString name = info.dir().filePath(
                QStringLiteral(".%1.%2.tmp").arg(info.fileName(), QString::number(tag, 16).rightJustified(8, u'0')));
            QFile file(name);
            if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
                temporary_ = name;
            else if (!file.exists())
                return;  // the folder refuses new files
        }
    }
    ~FileBeside()
    {
        if (!temporary_.isEmpty()) QFile::remove(temporary_);
    }
    const QString& temporary() const { return temporary_; }

    bool commit()
    {
        if (QFile::exists(path_)) QFile::setPermissions(temporary_, QFile::permissions(path_));
        std::error_code error;
        // Replaces `path` in one step, as QFile::rename does not.
        std::filesystem::rename(QFile::encodeName(temporary_).constData(), QFile::encodeName(path_).constData(), error);
        if (error) return false;
        temporary_.clear();
        return true;
    }

private:
    QString path_;
    QString temporary_;
};

}  // namespace

void printReport(const ReportPages& pages, QPrinter& printer, int firstPage, int lastPage)
{
    printReport(ReportDocument::borrow(pages), printer, firstPage, lastPage, nullptr);
}

bool printReport(const ReportDocument& document, QPrinter& printer, int firstPage, int lastPage, Progress* progress)
{
    const QString target = printer.outputFileName();
    const auto refuse = [&] {
        throw StoreError(
            PrintErrorNumber::PrinterError,
            QCoreApplication::translate("brenzola::Stampante", "Errore della stampante: impossibile stampare su «%1».")
                .arg(printer.printerName().isEmpty() ? target : printer.printerName()));
    };
    firstPage = std::max(firstPage, 1);
    lastPage = std::min(lastPage, document.pageCount());
    if (firstPage > lastPage) return true;
    std::optional<FileBeside> file;
    if (!target.isEmpty()) {
        file.emplace(target);
        if (file->temporary().isEmpty()) refuse();
        printer.setOutputFileName(file->temporary());
    }
    const auto restoreName = qScopeGuard([&] {
        if (file) printer.setOutputFileName(target);
    });
    printer.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&printer)) refuse();
    keepPageBuffers();
    mapTwips(painter, document.paper(), printer.resolution(), printer.paperRect(QPrinter::DevicePixel).size());
    FontCache fonts;
    bool refused = false;
    bool stopped = false;
    document.forEachPage(firstPage - 1, lastPage - 1, [&](int index, const ReportPage& page) {
        if (index > firstPage - 1 && !printer.newPage()) {
            refused = true;
            return false;
        }
        paintReportPage(painter, page, fonts);
        stopped = progress && !progress->advance(index - firstPage + 2, lastPage - firstPage + 1);
        return !stopped;
    });
    if (stopped) printer.abort();
    if (!painter.end() && !stopped) refuse();
    if (refused) refuse();
    if (stopped) return false;
    if (file && !file->commit()) refuse();
    return true;
}

}  // namespace brenzola
