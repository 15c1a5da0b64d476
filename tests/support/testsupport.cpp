#include "testsupport.h"

#include "archivio.h"

#include <QDialog>
#include <QDir>
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

void ScriptedDialogs::ShowModal(QDialog& window)
{
    modalTitles << window.windowTitle();
    window.setModal(true);
    window.show();
    if (onModal) onModal(window);
    if (window.isVisible()) window.reject();
}

namespace {

template <typename Work> auto withDatabase(const QString& path, Work&& work)
{
    const QString name = QStringLiteral("test-direct");
    struct Remover {
        QString name;
        ~Remover() { QSqlDatabase::removeDatabase(name); }
    } remover{name};
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(path);
    if (!db.open()) throw std::runtime_error(db.lastError().text().toStdString());
    return work(db);
}

}  // namespace

TempStore::TempStore(const QString& folderName)
{
    folder_ = dir_.filePath(folderName);
    QDir().mkpath(folder_);
    CreaArchivio(path());
}

QString TempStore::path() const { return QDir(folder_).filePath(QStringLiteral("Brenzola.mdb")); }

qint64 TempStore::insert(const QVariantMap& columns) const
{
    return withDatabase(path(), [&](QSqlDatabase& db) {
        QStringList marks;
        for (qsizetype i = 0; i < columns.size(); ++i) marks << QStringLiteral("?");
        QSqlQuery query(db);
        query.prepare(QStringLiteral("INSERT INTO Anagrafica (%1) VALUES (%2)")
                          .arg(columns.keys().join(u','), marks.join(u',')));
        for (const QVariant& value : columns) query.addBindValue(value);
        if (!query.exec()) throw std::runtime_error(query.lastError().text().toStdString());
        return query.lastInsertId().toLongLong();
    });
}

QList<QVariantList> TempStore::rows(const QString& sql) const
{
    return withDatabase(path(), [&](QSqlDatabase& db) {
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

}  // namespace brenzola::test
