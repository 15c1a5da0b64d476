#pragma once

#include "store/progress.h"

#include <QString>
#include <QStringList>

#include <memory>

class QDialog;
class QWidget;

namespace brenzola {

class StoreError;

enum class MsgButtons { Ok, YesNo, YesNoCancel };
enum class MsgIcon { Information, Question, Critical };
enum class MsgAnswer { Ok, Yes, No, Cancel };

struct Message {
    QString text;
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::Information;
    QString title;  // empty: the application's title
    MsgAnswer defaultAnswer = MsgAnswer::Ok;
    // Captions of the buttons when "Sì", "No" and "Annulla" would not say what they do.
    QString yesCaption;
    QString noCaption;
    QString cancelCaption;
};

// Every modal message and window of the program goes through here, so that a test can
// answer it instead of a person.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual MsgAnswer MsgBox(QWidget* parent, const Message& message) = 0;
    // Shows a window modally; returns when it has closed.
    virtual void ShowModal(QDialog& window) = 0;
    // Asks for an existing file to open; an empty text when the user cancels.
    virtual QString ChooseFile(QWidget* parent, const QString& title, const QString& folder, const QString& filter) = 0;
    // Asks where to save a file, suggesting `suggested`; `filters` are offered in order and
    // `*filter` is the one preselected, then the one chosen. An empty text when the user cancels.
    virtual QString ChooseSaveFile(QWidget* parent, const QString& title, const QString& suggested, const QStringList& filters,
                                   int* filter) = 0;
    // Asks for a password, shown as dots; an empty text when the user cancels.
    virtual QString AskPassword(QWidget* parent, const QString& text) = 0;
    // Shows the progress of a long piece of work until the returned object is gone.
    virtual std::unique_ptr<Progress> ShowProgress(QWidget* parent, const QString& text) = 0;

    // Real modal message boxes.
    static Dialogs& platform();
};

// The product name, shown as the title of messages without one of their own.
inline constexpr char kTitoloApplicazione[] = "Brenzola";

// Shows a store failure with its number and description; `context` says what was being done.
void MostraErrore(Dialogs& dialogs, QWidget* parent, const StoreError& error, const QString& context = {});
// The same for the exception being handled, whatever it is: an event handler's catch (...)
// shows it this way and the window goes on, since nothing may leave a handler into Qt.
void MostraErrore(Dialogs& dialogs, QWidget* parent, const QString& context = {});

}  // namespace brenzola
