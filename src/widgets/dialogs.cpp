#include "widgets/dialogs.h"

#include "store/storeerror.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace brenzola {
namespace {

// Appears only when the work takes a while, and steps aside while the work asks the user
// something in a window of its own.
class ProgressDialog final : public Progress {
public:
    ProgressDialog(QWidget* parent, const QString& text) : dialog_(parent)
    {
        dialog_.setWindowTitle(QString::fromLatin1(kTitoloApplicazione));
        dialog_.setWindowModality(Qt::WindowModal);
        auto* layout = new QVBoxLayout(&dialog_);
        layout->addWidget(new QLabel(text, &dialog_));
        bar_ = new QProgressBar(&dialog_);
        bar_->setRange(0, kSteps);
        bar_->setMinimumWidth(320);
        bar_->setAccessibleName(text);
        layout->addWidget(bar_);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, &dialog_);
        buttons->button(QDialogButtonBox::Cancel)->setText(QCoreApplication::translate("brenzola::Dialogs", "Annulla"));
        layout->addWidget(buttons);
        QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog_, [this] { stopped_ = true; });
        QObject::connect(&dialog_, &QDialog::rejected, &dialog_, [this] { stopped_ = true; });  // Esc, the close box
        clock_.start();
        sinceShown_.start();
    }

    bool advance(qint64 done, qint64 total) override
    {
        // Drawing every step would cost more than the work: a few times a second is enough.
        if (sinceShown_.elapsed() < 50) return !stopped_;
        sinceShown_.restart();
        QWidget* modal = QApplication::activeModalWidget();
        const bool asking = modal && modal != &dialog_;
        if (!asking && clock_.elapsed() >= 500 && !dialog_.isVisible()) dialog_.show();
        bar_->setValue(total > 0 ? int(std::min(done, total) * kSteps / total) : 0);
        QCoreApplication::processEvents();  // the Annulla button answers
        return !stopped_;
    }

private:
    static constexpr int kSteps = 1000;
    QDialog dialog_;
    QProgressBar* bar_;
    QElapsedTimer clock_;
    QElapsedTimer sinceShown_;
    bool stopped_ = false;
};

class PlatformDialogs final : public Dialogs {
public:
    MsgAnswer MsgBox(QWidget* parent, const Message& message) override
    {
        QMessageBox box(parent);
        box.setWindowTitle(message.title.isEmpty() ? QString::fromLatin1(kTitoloApplicazione) : message.title);
        box.setText(message.text);
        box.setAccessibleDescription(message.text);  // read out as the box opens, after its title
        switch (message.icon) {
        case MsgIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MsgIcon::Question:
            box.setIcon(QMessageBox::Question);
            break;
        case MsgIcon::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
        }
        if (message.buttons == MsgButtons::Ok) {
            box.setStandardButtons(QMessageBox::Ok);
            box.exec();
            return MsgAnswer::Ok;
        }
        // With Annulla, Esc and the close box answer Annulla; without it, No.
        const bool cancel = message.buttons == MsgButtons::YesNoCancel;
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | (cancel ? QMessageBox::Cancel : QMessageBox::NoButton));
        if (!message.yesCaption.isEmpty()) box.button(QMessageBox::Yes)->setText(message.yesCaption);
        if (!message.noCaption.isEmpty()) box.button(QMessageBox::No)->setText(message.noCaption);
        if (cancel && !message.cancelCaption.isEmpty()) box.button(QMessageBox::Cancel)->setText(message.cancelCaption);
        box.setDefaultButton(message.defaultAnswer == MsgAnswer::No       ? QMessageBox::No
                             : message.defaultAnswer == MsgAnswer::Cancel ? QMessageBox::Cancel
                                                                          : QMessageBox::Yes);
        switch (box.exec()) {
        case QMessageBox::Yes:
            return MsgAnswer::Yes;
        case QMessageBox::No:
            return MsgAnswer::No;
        default:
            return cancel ? MsgAnswer::Cancel : MsgAnswer::No;
        }
    }

    void ShowModal(QDialog& window) override { window.exec(); }

    QString ChooseFile(QWidget* parent, const QString& title, const QString& folder, const QString& filter) override
    {
        return QFileDialog::getOpenFileName(parent, title, folder, filter);
    }

    QString ChooseSaveFile(QWidget* parent, const QString& title, const QString& suggested, const QStringList& filters,
                           int* filter) override
    {
        QString chosen = filters.value(*filter);
        QString file = QFileDialog::getSaveFileName(parent, title, suggested, filters.join(QStringLiteral(";;")), &chosen);
        *filter = std::max<int>(0, int(filters.indexOf(chosen)));
        return file;
    }

    QString AskPassword(QWidget* parent, const QString& text) override
    {
        return QInputDialog::getText(parent, QString::fromLatin1(kTitoloApplicazione), text, QLineEdit::Password);
    }

    std::unique_ptr<Progress> ShowProgress(QWidget* parent, const QString& text) override
    {
        return std::make_unique<ProgressDialog>(parent, text);
    }
};

}  // namespace

Dialogs& Dialogs::platform()
{
    static PlatformDialogs dialogs;
    return dialogs;
}

void MostraErrore(Dialogs& dialogs, QWidget* parent, const StoreError& error, const QString& context)
{
    QString text = context.isEmpty() ? QString() : context + QStringLiteral("\n\n");
    text += QCoreApplication::translate("brenzola::Dialogs", "Errore %1: %2").arg(error.number()).arg(error.description());
    dialogs.MsgBox(parent, {text, MsgButtons::Ok, MsgIcon::Critical});
}

void MostraErrore(Dialogs& dialogs, QWidget* parent, const QString& context)
{
    MostraErrore(dialogs, parent, ErroreCorrente(), context);
}

}  // namespace brenzola
