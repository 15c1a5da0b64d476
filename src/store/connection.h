#pragma once

#include <QHash>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

#include <QStringView>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace brenzola {

class FileStatement;

// The engines a store can live in.
enum class Engine { SQLite, PostgreSQL };

// Column names of one table as the store declares them, and which of them hold dates.
struct TableSchema {
    QString table;  // the table's own spelling
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
// One row handed out by Connection::readRows, valid only during the call.
class RowView {
public:
    virtual ~RowView() = default;
    virtual bool isNull(int column) const = 0;
    virtual qint64 integer(int column) const = 0;
    virtual QStringView text(int column) const = 0;
    // The same text in UTF-8, as both engines hand it out: for reading many rows without
    // decoding each value.
    virtual std::string_view utf8(int column) const = 0;
};

// Tells whether a store changed since it was last looked at: other connections' commits
// and this connection's own changed rows.
struct ChangeMark {
    qint64 others = 0;
    qint64 own = 0;
    bool operator==(const ChangeMark&) const = default;
};

// A server store as the user knows it: "user@host/database".
QString serverStoreName(const QHash<QString, QString>& pairs);

// The connection to the contact store, spoken to in the Access dialect: a SQLite file
//   Provider=Brenzola.SQLite;Data Source=FILE
// (opening never creates it) or a PostgreSQL server
//   Provider=Brenzola.PostgreSQL;Host=H;Port=P;Database=D;User=U[;Service=S][;SSLMode=M]
// whose password comes only from libpq's own means (~/.pgpass, a service file,
// PGPASSWORD) or from the user, for this connection only. TLS is used when the server
// offers it.
class Connection {
public:
    enum ObjectState { adStateClosed = 0, adStateOpen = 1 };
    static constexpr char kProvider[] = "Brenzola.SQLite";
    static constexpr char kServerProvider[] = "Brenzola.PostgreSQL";
    // The channel a server store announces changed contacts on; the payload is the id.
    static constexpr char kChangesChannel[] = "brenzola_anagrafica";

    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void Open(const QString& connectionString, const QString& password = {});
    ObjectState State() const;
    void Close();
    void Execute(const QString& statement);

    Engine engine() const { return engine_; }
    QString name() const { return name_; }
    QSqlDatabase database() const;
    const TableSchema& schema(const QString& table);
    // Runs a statement of the engine's own SQL that this connection runs often (the
    // journal's bookkeeping at every save), prepared once and kept; `values` are bound to
    // its ?s in order. The caller finishes the query once it has read what it needs.
    QSqlQuery& runPrepared(const QString& sql, const QVariantList& values = {});
    // Runs a statement in the Access dialect and hands each row to `each`, without a
    // recordset's copies of every value: for reading a whole register at once.
    void readRows(const QString& statement, const std::function<void(const RowView&)>& each);
    // Runs a query of the engine's own SQL that this connection runs often, prepared once
    // and kept, `values` bound to its ?s in order, and hands each row to `each`.
    void readPrepared(const QString& sql, const QVariantList& values, const std::function<void(const RowView&)>& each);
    // Where the store stands now; nothing when the engine cannot tell cheaply. A server with
    // a journal, listened to, counts the announcements heard: what this connection wrote
    // itself may not have been heard yet.
    std::optional<ChangeMark> changeMark() const;
    // The store's file, or for a server where it is ("anna@server/brenzola").
    QString path() const { return path_; }
    // True when nothing can be written: the file, or the folder that must hold its journal,
    // is not writable.
    bool isReadOnly() const;
    // Tells the other desks on a server that contact `id` changed (a file has none). A
    // store with a journal announces every change itself.
    void announceChange(qint64 id);
    // Whether the store keeps the journal of its changes. Opening a store that can be
    // written adds the journal when it has none; when it cannot (a desk on a server without
    // the rights), journalProblem() says why.
    bool hasJournal() const { return journal_; }
    QString journalProblem() const { return journalProblem_; }
    // The register's own identity (identita.h); empty when the store has none and could not
    // be given one.
    QString identity() const { return identity_; }
    // The operations made through this connection, oldest first (undoing one takes it out).
    const std::vector<qint64>& ownOperations() const { return ownOperations_; }
    void noteOwnOperation(qint64 number) { ownOperations_.push_back(number); }
    void forgetOwnOperation(qint64 number);
    // Called when another desk or program changes contacts, while the connection lives:
    // with the contact's id when a server without a journal is told it, else 0. A file is
    // looked at every second, since nothing announces another program's writes there.
    void onOthersChange(std::function<void(qint64)> callback);
    // After a failed statement: when a server connection was lost, opens it again and
    // returns true (the statement may be tried once more); false when it was not lost, or
    // when it was lost inside a transaction, whose work is gone with it.
    bool reconnectIfLost();

    // The statements between BeginTrans and CommitTrans count as one: RollbackTrans, or a
    // failed CommitTrans, leaves the store as it was. Other desks hear of the changes once,
    // when they are committed.
    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();

private:
    void openSQLite(const QHash<QString, QString>& pairs);
    void openServer(const QHash<QString, QString>& pairs, const QString& password);
    void listen();
    void prepareJournal();

    QString name_;
    QString path_;
    Engine engine_ = Engine::SQLite;
    QString connectionString_;
    QString password_;  // kept in memory for reconnecting, never written anywhere
    std::function<void(qint64)> othersChange_;
    qint64 announcementsHeard_ = 0;
    bool listening_ = false;
    std::unique_ptr<QTimer> watch_;  // a file's look every second
    qint64 othersSeen_ = 0;          // a file's count of other connections' commits then
    bool journal_ = false;
    QString journalProblem_;
    QString identity_;
    std::vector<qint64> ownOperations_;
    bool inTransaction_ = false;
    bool changedInTransaction_ = false;
    QHash<QString, TableSchema> schemas_;
    std::unordered_map<QString, std::unique_ptr<QSqlQuery>> prepared_;
    std::unordered_map<QString, std::unique_ptr<FileStatement>> filePrepared_;  // a file's, for readPrepared
};

// The connection itself, when it exists and is open; otherwise a StoreError.
Connection& openConnection(Connection* connection);

}  // namespace brenzola
