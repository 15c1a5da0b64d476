#pragma once

#include "widgets/dialogs.h"

#include <QList>

#include <QTemporaryDir>
#include <QVariantMap>
#include <functional>
#include <optional>

namespace brenzola::test {

// Answers the program's messages from a script and keeps what was asked.
class ScriptedDialogs final : public Dialogs {
public:
    QList<Message> shown;
    QList<MsgAnswer> answers;  // taken in order; an empty script answers OK / No

    // Plays the part of the user in a modal window; without it the window is closed at once.
    std::function<void(QDialog&)> onModal;
    QStringList modalTitles;

    MsgAnswer MsgBox(QWidget* parent, const Message& message) override;
    void ShowModal(QDialog& window) override;
    // Files the user picks, in order; an empty script cancels.
    QStringList chosenFiles;
    QString ChooseFile(QWidget* parent, const QString& title, const QString& folder, const QString& filter) override;
    // Files the user names to save, in order, each with the filter chosen; an empty script cancels.
    QList<QPair<QString, int>> savedFiles;
    QStringList offeredFilters;  // as offered by the last ChooseSaveFile
    QString ChooseSaveFile(QWidget* parent, const QString& title, const QString& suggested, const QStringList& filters,
                           int* filter) override;
    // Passwords the user types, in order; an empty script cancels.
    QStringList passwords;
    QString AskPassword(QWidget* parent, const QString& text) override;
    // Progress shown; the user presses Annulla at the step numbered `stopAtStep` (from 1), if set.
    QStringList progressTexts;
    int stopAtStep = 0;
    int progressSteps = 0;
    std::unique_ptr<Progress> ShowProgress(QWidget* parent, const QString& text) override;
    QString lastText() const { return shown.isEmpty() ? QString() : shown.back().text; }
};

// True when the tests run against a PostgreSQL server (BRENZOLA_TEST_SERVER is set, and
// libpq's PG variables name the server, as pg_virtualenv sets them).
bool onServer();

// A fresh, empty store: a Brenzola.mdb in a temporary folder, or on a server a database
// of its own, dropped at the end.
class TempStore {
public:
    explicit TempStore(const QString& folderName = QStringLiteral("archivio"));
    ~TempStore();
    QString folder() const { return folder_; }
    // The file, or the connection string of the server database.
    QString path() const;
    // Inserts one row; keys are column names, missing columns stay Null. Returns its id.
    qint64 insert(const QVariantMap& columns) const;
    // Runs one statement straight on the file, bypassing the program.
    QList<QVariantList> rows(const QString& sql) const;
    // Every contact with its key, each value exactly as stored (its type and bytes, Null
    // apart from empty text), in key order: to tell whether a store came back as it was.
    QStringList dump() const;

private:
    QTemporaryDir dir_;
    QString folder_;
    QString database_;  // on a server
};

// Skips a case that is about the file itself (its bytes, its permissions, SQLite's own SQL).
#define BRENZOLA_SOLO_FILE(why)                     \
    do {                                            \
        if (brenzola::test::onServer()) QSKIP(why); \
    } while (false)

// The seed of a random test: BRENZOLA_SEME when set, else `predefinito`, else a fresh one.
// It is printed, so that a failing run can be replayed with BRENZOLA_SEME=<seed>.
quint32 semeCasuale(std::optional<quint32> predefinito = std::nullopt);

// Changes a field as a user does: gives it the focus, lets `cambia` change it, and takes the
// focus away, so that the window's edit tracking sees the change. False when the field could
// not take the focus.
bool modificaCampo(QWidget* campo, const std::function<void()>& cambia);

}  // namespace brenzola::test
