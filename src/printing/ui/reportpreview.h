#pragma once

#include "printing/reportlayout.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <optional>

class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QSpinBox;

namespace brenzola {

class Dialogs;
class PageView;

// The modal preview of a laid-out report: page by page, with zoom, printing on any
// printer of the system and export to a PDF file. Captioned with the report's caption.
class ReportPreview : public QDialog {
    Q_OBJECT

public:
    // Asks where to save the PDF; an empty text means the user gave up.
    using FileChooser = std::function<QString(QWidget* parent, const QString& suggestedPath)>;

    ReportPreview(ReportDocument document, Dialogs& dialogs, QWidget* parent = nullptr);
    ~ReportPreview() override;

    const ReportDocument& document() const { return document_; }
    // Every page, made at once on the first call: for looking into short reports.
    const ReportPages& pages() const;
    int pageCount() const { return document_.pageCount(); }
    int currentPage() const;  // from 1
    void setCurrentPage(int page);
    // Scale of the page on screen, 1 being its real size.
    double zoom() const;

    // Replaces the "save as" window that "Esporta PDF..." opens.
    void setFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }

public Q_SLOTS:
    void print();
    void exportPdf();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString chooseFileThroughDialogs(QWidget* parent, const QString& suggestedPath);
    void applyZoom();
    void updateNavigation();

    ReportDocument document_;
    mutable std::optional<ReportPages> allPages_;
    Dialogs& dialogs_;
    FileChooser chooseFile_;
    PageView* view_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QSpinBox* pageSpin_ = nullptr;
    QLabel* pageCountLabel_ = nullptr;
    QComboBox* zoomBox_ = nullptr;
    QPushButton* firstButton_ = nullptr;
    QPushButton* previousButton_ = nullptr;
    QPushButton* nextButton_ = nullptr;
    QPushButton* lastButton_ = nullptr;
};

}  // namespace brenzola
