#include "dialogs.h"

#include "storeerror.h"

#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace brenzola {
namespace {

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

    QString AskPassword(QWidget* parent, const QString& text) override
    {
        return QInputDialog::getText(parent, QString::fromLatin1(kTitoloApplicazione), text, QLineEdit::Password);
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
