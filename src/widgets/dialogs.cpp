#include "dialogs.h"

#include "storeerror.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>

namespace brenzola {
namespace {

class ProgressDialog final : public Progress {
public:
    ProgressDialog(QWidget* parent, const QString& text) : dialog_(text, QStringLiteral("Annulla"), 0, kSteps, parent)
    {
        dialog_.setWindowTitle(QString::fromLatin1(kTitoloApplicazione));
        dialog_.setWindowModality(Qt::WindowModal);
        dialog_.setMinimumDuration(500);  // short work shows no window at all
        dialog_.setAutoReset(false);
        dialog_.setValue(0);
        clock_.start();
    }

    bool advance(qint64 done, qint64 total) override
    {
        // Drawing every step would cost more than the work: a few times a second is enough.
        if (clock_.elapsed() >= 50) {
            clock_.restart();
            dialog_.setValue(total > 0 ? int(std::min(done, total) * kSteps / total) : 0);
        }
        return !dialog_.wasCanceled();
    }

private:
    static constexpr int kSteps = 1000;
    QProgressDialog dialog_;
    QElapsedTimer clock_;
};

class PlatformDialogs final : public Dialogs {
public:
    MsgAnswer MsgBox(QWidget* parent, const Message& message) override
    {
        QMessageBox box(parent);
        box.setWindowTitle(message.title.isEmpty() ? QString::fromLatin1(kTitoloApplicazione) : message.title);
        box.setText(message.text);
        switch (message.icon) {
        case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
        case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
        case MsgIcon::Critical: box.setIcon(QMessageBox::Critical); break;
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
        case QMessageBox::Yes: return MsgAnswer::Yes;
        case QMessageBox::No: return MsgAnswer::No;
        default: return cancel ? MsgAnswer::Cancel : MsgAnswer::No;
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
        const QString file = QFileDialog::getSaveFileName(parent, title, suggested, filters.join(QStringLiteral(";;")), &chosen);
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
    text += QStringLiteral("Errore %1: %2").arg(error.number()).arg(error.description());
    dialogs.MsgBox(parent, {text, MsgButtons::Ok, MsgIcon::Critical});
}

}  // namespace brenzola
