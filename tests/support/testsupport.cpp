#include "testsupport.h"

#include "store/archivio.h"
#include "store/connection.h"
#include "store/giornale.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

#include <stdexcept>

namespace brenzola::test {

MsgAnswer ScriptedDialogs::MsgBox(QWidget*, const Message& message)
{
    shown << message;
    if (!answers.isEmpty()) return answers.takeFirst();
    return message.buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::No;
}

QString ScriptedDialogs::ChooseFile(QWidget*, const QString& title, const QString&, const QString&)
{
    modalTitles << title;
    return chosenFiles.isEmpty() ? QString() : chosenFiles.takeFirst();
}

QString ScriptedDialogs::ChooseSaveFile(QWidget*, const QString& title, const QString&, const QStringList& filters, int* filter)
{
    modalTitles << title;
    offeredFilters = filters;
    if (savedFiles.isEmpty()) return {};
    const auto [file, chosen] = savedFiles.takeFirst();
    *filter = chosen;
    return file;
}

std::unique_ptr<Progress> ScriptedDialogs::ShowProgress(QWidget*, const QString& text)
{
    progressTexts << text;
    class Scripted final : public Progress {
    public:
        explicit Scripted(ScriptedDialogs& dialogs) : dialogs_(dialogs) {}
        bool advance(qint64, qint64) override
        {
            ++dialogs_.progressSteps;
            return dialogs_.stopAtStep == 0 || dialogs_.progressSteps < dialogs_.stopAtStep;
        }

    private:
        ScriptedDialogs& dialogs_;
    };
    return std::make_unique<Scripted>(*this);
}

QString ScriptedDialogs::AskPassword(QWidget*, const QString& text)
{
    shown << Message{text, MsgButtons::Ok, MsgIcon::Question};
    return passwords.isEmpty() ? QString() : passwords.takeFirst();
}

void ScriptedDialogs::ShowModal(QDialog& window)
{
    modalTitles << window.windowTitle();
    window.setModal(true);
    window.show();
    if (onModal) onModal(window);
    if (window.isVisible()) window.reject();
}

namespace {

// A direct connection to the store, bypassing the program: to its file, or to its server
// database (libpq takes host, port, user and password from the PG variables).
template <typename Work> auto withDatabase(const QString& database, bool server, Work&& work)
{
    static int counter = 0;
    const QString name = QStringLiteral("test-direct-%1").arg(++counter);
    struct Remover {
        QString name;
        ~Remover() { QSqlDatabase::removeDatabase(name); }
    } remover{name};
    QSqlDatabase db = QSqlDatabase::addDatabase(server ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(database);
    if (!db.open()) throw std::runtime_error(db.lastError().text().toStdString());
    return work(db);
}

void runOn(QSqlDatabase& db, const QString& sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql)) throw std::runtime_error(query.lastError().text().toStdString());
}

}  // namespace

bool onServer() { return !qEnvironmentVariableIsEmpty("BRENZOLA_TEST_SERVER"); }

TempStore::TempStore(const QString& folderName)
{
    folder_ = dir_.filePath(folderName);
    QDir().mkpath(folder_);
    if (onServer()) {
        static int counter = 0;
        database_ = QStringLiteral("brenzola_prova_%1_%2").arg(QCoreApplication::applicationPid()).arg(++counter);
        withDatabase(QStringLiteral("postgres"), true, [this](QSqlDatabase& db) {
            runOn(db, QStringLiteral("CREATE DATABASE %1").arg(database_));
            return 0;
        });
    }
    CreaArchivio(path());
}

TempStore::~TempStore()
{
    if (database_.isEmpty()) return;
    withDatabase(QStringLiteral("postgres"), true, [this](QSqlDatabase& db) {
        runOn(db, QStringLiteral("DROP DATABASE %1 WITH (FORCE)").arg(database_));
        return 0;
    });
}

QString TempStore::path() const
{
    if (!database_.isEmpty())
        return QStringLiteral("Provider=%1;Database=%2").arg(QLatin1String(Connection::kServerProvider), database_);
    return QDir(folder_).filePath(QStringLiteral("Brenzola.mdb"));
}

qint64 TempStore::insert(const QVariantMap& columns) const
{
    const bool server = !database_.isEmpty();
    return withDatabase(server ? database_ : path(), server, [&](QSqlDatabase& db) {
        QStringList marks;
        for (qsizetype i = 0; i < columns.size(); ++i) marks << QStringLiteral("?");
        QSqlQuery query(db);
        query.prepare(
            QStringLiteral("INSERT INTO Anagrafica (%1) VALUES (%2)%3")
                .arg(columns.keys().join(u','), marks.join(u','), server ? QStringLiteral(" RETURNING id") : QString()));
        for (const QVariant& value : columns) query.addBindValue(value);
        if (!query.exec()) throw std::runtime_error(query.lastError().text().toStdString());
        return server && query.next() ? query.value(0).toLongLong() : query.lastInsertId().toLongLong();
    });
}

QList<QVariantList> TempStore::rows(const QString& sql) const
{
    const bool server = !database_.isEmpty();
    return withDatabase(server ? database_ : path(), server, [&](QSqlDatabase& db) {
        QSqlQuery query(db);
        if (!query.exec(sql)) throw std::runtime_error(query.lastError().text().toStdString());
        QList<QVariantList> result;
        while (query.next()) {
            QVariantList row;
            for (int i = 0; i < query.record().count(); ++i) row << query.value(i);
            result << row;
        }
        return result;
    });
}

QStringList TempStore::dump() const
{
    const QString quote = database_.isEmpty() ? QStringLiteral("quote") : QStringLiteral("quote_nullable");
    QStringList columns{QStringLiteral("id")};
    for (const QString& c : ColonneContatto()) columns << QStringLiteral("%1(%2)").arg(quote, c);
    QStringList lines;
    for (const QVariantList& row : rows(QStringLiteral("SELECT %1 FROM anagrafica ORDER BY id").arg(columns.join(u',')))) {
        QStringList values;
        for (const QVariant& v : row) values << v.toString();
        lines << values.join(u'|');
    }
    return lines;
}

bool modificaCampo(QWidget* campo, const std::function<void()>& cambia)
{
    QApplication::setActiveWindow(campo->window());
    campo->setFocus(Qt::OtherFocusReason);
    if (QApplication::focusWidget() != (campo->focusProxy() ? campo->focusProxy() : campo)) return false;
    cambia();
    QApplication::focusWidget()->clearFocus();
    return true;
}

quint32 semeCasuale(std::optional<quint32> predefinito)
{
    bool dato = false;
    quint32 seme = qEnvironmentVariable("BRENZOLA_SEME").toUInt(&dato);
    if (!dato) seme = predefinito ? *predefinito : QRandomGenerator::global()->generate();
    qInfo("seed %u (BRENZOLA_SEME=%u replays it)", seme, seme);
    return seme;
}

}  // namespace brenzola::test
