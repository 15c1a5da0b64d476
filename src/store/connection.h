#pragma once

#include <QHash>
#include <QSet>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace brenzola {

// Column names of one table as the store declares them, and which of them hold dates.
struct TableSchema {
    QStringList columns;
    QSet<QString> dateColumns;  // lower-cased

    bool exists() const { return !columns.isEmpty(); }
    bool isDate(const QString& column) const { return dateColumns.contains(column.toLower()); }
    // The declared spelling of a column named in any letter case, or an empty text.
    QString declaredName(const QString& column) const;
};

// Key=value pairs of a connection string; a value may be enclosed in double quotes,
// inside which `;` is plain text and a doubled quote stands for one.
QHash<QString, QString> parseConnectionString(const QString& connectionString);
QString quoteConnectionValue(const QString& value);

// The one kind of connection the program uses: a SQLite store spoken to in the
// Access dialect. Opening never creates a file.
class Connection {
public:
    enum ObjectState { adStateClosed = 0, adStateOpen = 1 };
    static constexpr char kProvider[] = "Brenzola.SQLite";

    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void Open(const QString& connectionString);
    ObjectState State() const;
    void Close();
    void Execute(const QString& statement);

    QSqlDatabase database() const;
    const TableSchema& schema(const QString& table);
    // The store's file.
    QString path() const { return path_; }
    // True when nothing can be written: the file, or the folder that must hold its journal,
    // is not writable.
    bool isReadOnly() const;

private:
    QString name_;
    QString path_;
    QHash<QString, TableSchema> schemas_;
};

// The connection itself, when it exists and is open; otherwise a StoreError.
Connection& openConnection(Connection* connection);

}  // namespace brenzola
