#include "printing/ui/reportpreview.h"

#include "printing/reportfont.h"
#include "printing/reportpainter.h"
#include "printing/ui/stampante.h"
#include "store/storeerror.h"
#include "widgets/accessibility.h"
#include "widgets/dialogs.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSpinBox>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <cmath>

namespace brenzola {

namespace {

constexpr double kTwipsPerInch = 1440;
constexpr int kPageGap = 12;  // pixels of grey around the sheet

enum ZoomChoice { FitPage, FitWidth };

}  // namespace

// The sheet of paper of one page, at the chosen scale.
class PageView : public QWidget {
public:
    PageView(const ReportDocument& document, QWidget* parent) : QWidget(parent), document_(document)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    int page() const { return page_; }
    void setPage(int page)
    {
        page_ = page;
        update();
    }
    double scale() const { return scale_; }
    void setScale(double scale)
    {
        scale_ = scale;
        const QSize sheet = sheetSize();
        setFixedSize(sheet.width() + 2 * kPageGap, sheet.height() + 2 * kPageGap);
        update();
    }
    QSize sheetSize() const
    {
        const double perTwip = scale_ * logicalDpiX() / kTwipsPerInch;
        return QSize(int(std::ceil(document_.paper().width * perTwip)), int(std::ceil(document_.paper().height * perTwip)));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().dark());
        const QRect sheet(QPoint(kPageGap, kPageGap), sheetSize());
        painter.fillRect(sheet.translated(3, 3), Qt::black);
        painter.fillRect(sheet, Qt::white);
        if (page_ < 1 || page_ > document_.pageCount()) return;
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.translate(sheet.topLeft());
        const double perTwip = scale_ * logicalDpiX() / kTwipsPerInch;
        painter.scale(perTwip, perTwip);
        // A long report lays the page out again: keep it while it is on screen.
        if (shown_ != page_) {
            shownPage_ = document_.page(page_ - 1);
            shown_ = page_;
        }
        paintReportPage(painter, shownPage_, fonts_);
    }

private:
    const ReportDocument& document_;
    FontCache fonts_;
    ReportPage shownPage_;
    int shown_ = 0;
    int page_ = 1;
    double scale_ = 1;
};

ReportPreview::ReportPreview(ReportDocument document, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent),
      document_(std::move(document)),
      dialogs_(dialogs)
{
    setWindowTitle(document_.caption());
    setObjectName(QStringLiteral("ReportPreview"));
    chooseFile_ = [this](QWidget* owner, const QString& suggested) { return chooseFileThroughDialogs(owner, suggested); };

    const auto button = [this](const QString& text, const char* name, const QString& tip = {}) {
        auto* result = new QPushButton(text, this);
        result->setObjectName(QLatin1String(name));
        result->setToolTip(tip);
        result->setAutoDefault(false);
        return result;
    };
    auto* printButton = button(tr("&Stampa..."), "printButton", tr("Stampa il report"));
    auto* pdfButton = button(tr("&Esporta PDF..."), "exportPdfButton", tr("Salva il report in un file PDF"));
    firstButton_ = button(QStringLiteral("|<"), "firstPageButton", tr("Prima pagina"));
    previousButton_ = button(QStringLiteral("<"), "previousPageButton", tr("Pagina precedente"));
    nextButton_ = button(QStringLiteral(">"), "nextPageButton", tr("Pagina successiva"));
    lastButton_ = button(QStringLiteral(">|"), "lastPageButton", tr("Ultima pagina"));
    auto* closeButton = button(tr("&Chiudi"), "closeButton", tr("Chiude l'anteprima"));

    pageSpin_ = new QSpinBox(this);
    pageSpin_->setObjectName(QStringLiteral("pageSpin"));
    pageSpin_->setRange(1, std::max(1, pageCount()));
    pageSpin_->setToolTip(tr("Pagina"));
    pageCountLabel_ = new QLabel(tr("di %1").arg(pageCount()), this);
    pageCountLabel_->setObjectName(QStringLiteral("pageCountLabel"));

    zoomBox_ = new QComboBox(this);
    zoomBox_->setObjectName(QStringLiteral("zoomBox"));
    zoomBox_->setToolTip(tr("Zoom"));
    zoomBox_->addItem(tr("Pagina intera"), int(FitPage));
    zoomBox_->addItem(tr("Larghezza pagina"), int(FitWidth));
    for (int percent : {50, 75, 100, 150, 200}) zoomBox_->addItem(QStringLiteral("%1%").arg(percent), -percent);
    zoomBox_->setCurrentIndex(1);

    view_ = new PageView(document_, this);
    scroll_ = new QScrollArea(this);
    scroll_->viewport()->installEventFilter(this);
    scroll_->setObjectName(QStringLiteral("pageScroll"));
    scroll_->setWidget(view_);
    scroll_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scroll_->setBackgroundRole(QPalette::Dark);

    auto* tools = new QHBoxLayout;
    tools->addWidget(printButton);
    tools->addWidget(pdfButton);
    tools->addSpacing(16);
    tools->addWidget(firstButton_);
    tools->addWidget(previousButton_);
    tools->addWidget(pageSpin_);
    tools->addWidget(pageCountLabel_);
    tools->addWidget(nextButton_);
    tools->addWidget(lastButton_);
    tools->addSpacing(16);
    tools->addWidget(zoomBox_);
    tools->addStretch();
    tools->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addWidget(scroll_, 1);

    connect(printButton, &QPushButton::clicked, this, &ReportPreview::print);
    connect(pdfButton, &QPushButton::clicked, this, &ReportPreview::exportPdf);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(firstButton_, &QPushButton::clicked, this, [this] { setCurrentPage(1); });
    connect(previousButton_, &QPushButton::clicked, this, [this] { setCurrentPage(currentPage() - 1); });
    connect(nextButton_, &QPushButton::clicked, this, [this] { setCurrentPage(currentPage() + 1); });
    connect(lastButton_, &QPushButton::clicked, this, [this] { setCurrentPage(pageCount()); });
    connect(pageSpin_, &QSpinBox::valueChanged, this, [this](int page) { setCurrentPage(page); });
    connect(zoomBox_, &QComboBox::currentIndexChanged, this, [this] { applyZoom(); });
    new QShortcut(QKeySequence(Qt::Key_PageDown), this, [this] { setCurrentPage(currentPage() + 1); });
    new QShortcut(QKeySequence(Qt::Key_PageUp), this, [this] { setCurrentPage(currentPage() - 1); });

    QSize size(1000, 1100);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) size = size.boundedTo(screen->availableSize() * 0.9);
    resize(size);
    applyZoom();
    updateNavigation();
    nameForScreenReaders(this);  // the arrows, the page and the zoom by their tooltips
}

ReportPreview::~ReportPreview() = default;

const ReportPages& ReportPreview::pages() const
{
    if (!allPages_) allPages_ = document_.allPages();
    return *allPages_;
}

int ReportPreview::currentPage() const { return view_->page(); }

void ReportPreview::setCurrentPage(int page)
{
    page = std::clamp(page, 1, std::max(1, pageCount()));
    if (page != view_->page()) {
        view_->setPage(page);
        scroll_->verticalScrollBar()->setValue(0);
    }
    updateNavigation();
}

double ReportPreview::zoom() const { return view_->scale(); }

bool ReportPreview::eventFilter(QObject* watched, QEvent* event)
{
    // The fitting zooms follow the room the page has, known once the viewport is resized.
    if (watched == scroll_->viewport() && event->type() == QEvent::Resize) applyZoom();
    return QDialog::eventFilter(watched, event);
}

void ReportPreview::applyZoom()
{
    const int choice = zoomBox_->currentData().toInt();
    if (choice < 0) {
        view_->setScale(-choice / 100.0);
        return;
    }
    const QSize room = scroll_->viewport()->size() - QSize(2 * kPageGap + 4, 2 * kPageGap + 4);
    const double perTwip = view_->logicalDpiX() / kTwipsPerInch;
    const double byWidth = room.width() / (document_.paper().width * perTwip);
    const double byHeight = room.height() / (document_.paper().height * perTwip);
    view_->setScale(std::max(0.1, choice == FitPage ? std::min(byWidth, byHeight) : byWidth));
}

void ReportPreview::updateNavigation()
{
    const int page = currentPage();
    const QSignalBlocker blocker(pageSpin_);
    pageSpin_->setValue(page);
    firstButton_->setEnabled(page > 1);
    previousButton_->setEnabled(page > 1);
    nextButton_->setEnabled(page < pageCount());
    lastButton_->setEnabled(page < pageCount());
}

void ReportPreview::print()
{
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        dialogs_.MsgBox(this, {tr("Nessuna stampante è installata nel sistema.\n"
                                  "Per conservare il report usare «Esporta PDF...»."),
                               MsgButtons::Ok, MsgIcon::Information});
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(document_.caption());
    const PaperSize& paper = document_.paper();
    printer.setPageSize(QPageSize(QSizeF(paper.width / kTwipsPerInch, paper.height / kTwipsPerInch), QPageSize::Inch, QString(),
                                  QPageSize::FuzzyMatch));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(true);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(tr("Stampa"));
    dialog.setMinMax(1, std::max(1, pageCount()));
    dialog.setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintCurrentPage
                      | QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    dialogs_.ShowModal(dialog);
    if (dialog.result() != QDialog::Accepted) return;

    int first = 1;
    int last = pageCount();
    if (printer.printRange() == QPrinter::PageRange) {
        first = printer.fromPage();
        last = printer.toPage();
    } else if (printer.printRange() == QPrinter::CurrentPage) {
        first = last = currentPage();
    }
    try {
        std::unique_ptr<Progress> progress = dialogs_.ShowProgress(this, tr("Stampa in corso…"));
        const bool printed = printReport(document_, printer, first, last, progress.get());
        progress.reset();
        if (!printed)
            dialogs_.MsgBox(this, {printer.printerState() == QPrinter::Aborted || !printer.outputFileName().isEmpty()
                                       ? tr("Stampa annullata.")
                                       : tr("Stampa annullata: le pagine già inviate alla stampante "
                                            "potrebbero essere stampate comunque."),
                                   MsgButtons::Ok, MsgIcon::Information});
    } catch (...) {
        MostraErrore(dialogs_, this, tr("La stampa non è riuscita."));
    }
}

QString ReportPreview::chooseFileThroughDialogs(QWidget* parent, const QString& suggestedPath)
{
    QFileDialog dialog(parent, tr("Esporta PDF"));
    dialog.setObjectName(QStringLiteral("exportPdfDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Asking before replacing a file is done below, through the program's own messages.
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilter(tr("Documenti PDF (*.pdf)"));
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.setDirectory(QFileInfo(suggestedPath).absolutePath());
    dialog.selectFile(QFileInfo(suggestedPath).fileName());
    dialogs_.ShowModal(dialog);
    if (dialog.result() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

void ReportPreview::exportPdf()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty()) folder = QDir::homePath();
    const QString path = chooseFile_(this, QDir(folder).filePath(document_.caption() + QStringLiteral(".pdf")));
    if (path.isEmpty()) return;
    const bool replacing = QFileInfo::exists(path);
    if (replacing) {
        const MsgAnswer answer =
            dialogs_.MsgBox(this, {tr("Il file «%1» esiste già.\nSostituirlo?").arg(QDir::toNativeSeparators(path)),
                                   MsgButtons::YesNo, MsgIcon::Question, QString(), MsgAnswer::No});
        if (answer != MsgAnswer::Yes) return;
    }
    try {
        std::unique_ptr<Progress> progress = dialogs_.ShowProgress(this, tr("Esportazione in PDF…"));
        const bool written = writePdf(document_, path, progress.get());
        progress.reset();
        if (!written) {
            const QString text =
                replacing ? tr("Esportazione annullata: il file «%1» non è stato modificato.").arg(QDir::toNativeSeparators(path))
                          : tr("Esportazione annullata: nessun file è stato scritto.");
            dialogs_.MsgBox(this, {text, MsgButtons::Ok, MsgIcon::Information});
            return;
        }
    } catch (...) {
        MostraErrore(dialogs_, this, tr("L'esportazione in PDF non è riuscita."));
        return;
    }
    dialogs_.MsgBox(this, {tr("Il report è stato salvato in «%1».").arg(QDir::toNativeSeparators(path)), MsgButtons::Ok,
                           MsgIcon::Information});
}

}  // namespace brenzola
