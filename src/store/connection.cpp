#include "connection.h"

#include "accessdialect.h"
#include "italiantext.h"
#include "sqlerror.h"

#include <QAtomicInt>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QFileInfo>
#include <QUrl>
#include <sqlite3.h>

namespace brenzola {

namespace {

// What the engine's commonest failures mean to the user, and what they can do.
QString italianDescription(int code)
{
    switch (code & 0xff) {  // an extended code carries its primary code in the low byte
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("l'archivio è bloccato da un altro programma che lo sta modificando. Riprovare tra poco; "
                              "se non basta, chiudere gli altri programmi che lo usano.");
    case SQLITE_READONLY:
        return QStringLiteral("l'archivio è di sola lettura, perciò le modifiche non si possono salvare. Per salvare "
                              "serve il permesso di scrittura sul file e sulla sua cartella.");
    case SQLITE_IOERR:
        return QStringLiteral("errore di lettura o scrittura sul disco. Controllare il disco (o la rete, se l'archivio "
                              "è in una cartella condivisa) e riprovare.");
    case SQLITE_CORRUPT:
        return QStringLiteral("l'archivio è danneggiato. Non modificarlo oltre: conservarne una copia e ripristinare "
                              "l'ultimo salvataggio.");
    case SQLITE_FULL:
        return QStringLiteral("il disco è pieno e le modifiche non sono state salvate. Liberare spazio e riprovare.");
    case SQLITE_CANTOPEN:
        return QStringLiteral("il file non si può aprire: non esiste, oppure mancano i permessi per leggerlo o per "
                              "scrivere nella sua cartella.");
    case SQLITE_NOTADB:
        return QStringLiteral("il file non è un archivio dei contatti (né un database che Brenzola sappia leggere).");
    default: return {};
    }
}

}  // namespace

StoreError storeErrorFrom(int engineCode, const QString& engineText)
{
    const QString description = italianDescription(engineCode);
    return StoreError(engineCode, description.isEmpty() ? engineText : description);
}

StoreError storeErrorFrom(const QSqlError& error)
{
    bool numeric = false;
    const int number = error.nativeErrorCode().toInt(&numeric);
    QString text = error.databaseText();
    if (text.isEmpty()) text = error.text();
    return numeric ? storeErrorFrom(number, text) : StoreError(-1, text);
}

bool nextRow(QSqlQuery& query)
{
    if (query.next()) return true;
    if (query.lastError().isValid()) throw storeErrorFrom(query.lastError());
    return false;
}

QString TableSchema::declaredName(const QString& column) const
{
    for (const QString& declared : columns)
        if (declared.compare(column, Qt::CaseInsensitive) == 0) return declared;
    return {};
}

QHash<QString, QString> parseConnectionString(const QString& connectionString)
{
    QHash<QString, QString> pairs;
    qsizetype i = 0;
    const qsizetype n = connectionString.size();
    while (i < n) {
        const qsizetype equals = connectionString.indexOf(u'=', i);
        if (equals < 0) break;
        const QString key = connectionString.mid(i, equals - i).trimmed().toLower();
        i = equals + 1;
        while (i < n && connectionString[i] == u' ') ++i;
        QString value;
        if (i < n && connectionString[i] == u'"') {
            for (++i; i < n; ++i) {
                if (connectionString[i] == u'"') {
                    if (i + 1 < n && connectionString[i + 1] == u'"') {
                        value += u'"';
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += connectionString[i];
            }
            while (i < n && connectionString[i] != u';') ++i;
        } else {
            const qsizetype end = connectionString.indexOf(u';', i);
            value = connectionString.mid(i, (end < 0 ? n : end) - i).trimmed();
            i = end < 0 ? n : end;
        }
        ++i;  // past the ';'
        if (!key.isEmpty()) pairs.insert(key, value);
    }
    return pairs;
}

QString quoteConnectionValue(const QString& value)
{
    QString quoted = value;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

namespace {

QString uniqueConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("brenzola-%1").arg(counter.fetchAndAddRelaxed(1));
}

QSqlQuery runOrThrow(const QSqlDatabase& db, const QString& sql)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(sql)) throw storeErrorFrom(query.lastError());
    return query;
}

}  // namespace

Connection::Connection() : name_(uniqueConnectionName()) {}

Connection::~Connection() { Close(); }

void Connection::Open(const QString& connectionString)
{
    if (State() == adStateOpen) Close();
    const auto pairs = parseConnectionString(connectionString);
    if (pairs.value(QStringLiteral("provider")).compare(QLatin1String(kProvider), Qt::CaseInsensitive) != 0)
        throw StoreError(StoreErrorNumber::ProviderNotFound,
                         QStringLiteral("Provider non trovato: «%1».").arg(pairs.value(QStringLiteral("provider"))));
    const QString path = pairs.value(QStringLiteral("data source"));
    path_ = path;

    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        // mode=rw: a missing file is an error, never a new empty store.
        QUrl uri = QUrl::fromLocalFile(path);
        uri.setQuery(QStringLiteral("mode=rw"));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI"));
        db.setDatabaseName(uri.toString(QUrl::FullyEncoded));
        try {
            if (!db.open()) throw storeErrorFrom(db.lastError());
            auto* handle = *static_cast<sqlite3* const*>(db.driver()->handle().constData());
            if (int rc = registerItalianText(handle)) throw StoreError(rc, QString::fromUtf8(sqlite3_errstr(rc)));
            runOrThrow(db, QStringLiteral("PRAGMA schema_version"));  // "file is not a database" shows here
            // A deleted contact is overwritten, not left readable in the file's free pages.
            runOrThrow(db, QStringLiteral("PRAGMA secure_delete = ON"));
        } catch (...) {
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name_);
            throw;
        }
    }
}

Connection::ObjectState Connection::State() const
{
    return QSqlDatabase::contains(name_) && database().isOpen() ? adStateOpen : adStateClosed;
}

void Connection::Close()
{
    if (!QSqlDatabase::contains(name_)) return;
    database().close();
    schemas_.clear();
    QSqlDatabase::removeDatabase(name_);
}

Connection& openConnection(Connection* connection)
{
    if (!connection || connection->State() != Connection::adStateOpen)
        throw StoreError(StoreErrorNumber::ConnectionClosed, QStringLiteral("La connessione è chiusa."));
    return *connection;
}

void Connection::Execute(const QString& statement)
{
    runOrThrow(openConnection(this).database(), translateAccessSql(statement));
}

bool Connection::isReadOnly() const
{
    QSqlDatabase db = database();
    auto* handle = *static_cast<sqlite3* const*>(db.driver()->handle().constData());
    return sqlite3_db_readonly(handle, "main") == 1 || !QFileInfo(QFileInfo(path_).absolutePath()).isWritable();
}

QSqlDatabase Connection::database() const { return QSqlDatabase::database(name_, false); }

const TableSchema& Connection::schema(const QString& table)
{
    const QString key = table.toLower();
    auto found = schemas_.constFind(key);
    if (found != schemas_.constEnd()) return *found;

    TableSchema schema;
    QSqlQuery query = runOrThrow(database(), QStringLiteral("SELECT name, type FROM pragma_table_info('%1')")
                                                 .arg(QString(table).replace(u'\'', QStringLiteral("''"))));
    while (nextRow(query)) {
        const QString column = query.value(0).toString();
        schema.columns << column;
        if (query.value(1).toString().contains(QLatin1String("DATE"), Qt::CaseInsensitive))
            schema.dateColumns.insert(column.toLower());
    }
    return *schemas_.insert(key, schema);
}

}  // namespace brenzola
