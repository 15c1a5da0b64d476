#include "store/connection.h"

#include "store/accessdialect.h"
#include "store/filestatement.h"
#include "store/giornale.h"
#include "store/identita.h"
#include "store/italiantext.h"
#include "store/logging.h"
#include "store/sqlerror.h"

#include <sqlite3.h>
#include <QAtomicInt>
#include <QCoreApplication>
#include <QFileInfo>
#include <QObject>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringDecoder>
#include <QUrl>

#include <memory>
#include <string>
#include <vector>

namespace brenzola {

namespace {

// What the engine's commonest failures mean to the user, and what they can do.
QString italianDescription(int code)
{
    switch (code & 0xff) {  // an extended code carries its primary code in the low byte
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QCoreApplication::translate(
            "brenzola::Connection",
            "l'archivio è bloccato da un altro programma che lo sta modificando. Riprovare tra poco; "
            "se non basta, chiudere gli altri programmi che lo usano.");
    case SQLITE_READONLY:
        return QCoreApplication::translate(
            "brenzola::Connection",
            "l'archivio è di sola lettura, perciò le modifiche non si possono salvare. Per salvare "
            "serve il permesso di scrittura sul file e sulla sua cartella.");
    case SQLITE_IOERR:
        return QCoreApplication::translate(
            "brenzola::Connection",
            "errore di lettura o scrittura sul disco. Controllare il disco (o la rete, se l'archivio "
            "è in una cartella condivisa) e riprovare.");
    case SQLITE_CORRUPT:
        return QCoreApplication::translate(
            "brenzola::Connection",
            "l'archivio è danneggiato. Non modificarlo oltre: conservarne una copia e ripristinare "
            "l'ultimo salvataggio.");
    case SQLITE_FULL:
        return QCoreApplication::translate(
            "brenzola::Connection", "il disco è pieno e le modifiche non sono state salvate. Liberare spazio e riprovare.");
    case SQLITE_CANTOPEN:
        return QCoreApplication::translate("brenzola::Connection",
                                           "il file non si può aprire: non esiste, oppure mancano i permessi per leggerlo o per "
                                           "scrivere nella sua cartella.");
    case SQLITE_NOTADB:
        return QCoreApplication::translate(
            "brenzola::Connection", "il file non è un archivio dei contatti (né un database che Brenzola sappia leggere).");
    default:
        return {};
    }
}

}  // namespace

StoreError storeErrorFrom(int engineCode, const QString& engineText)
{
    const QString description = italianDescription(engineCode);
    return StoreError(engineCode, description.isEmpty() ? engineText : description);
}

StoreError serverErrorFrom(const QString& sqlState, const QString& text)
{
    const auto says = [&text](const char* words) { return text.contains(QLatin1String(words), Qt::CaseInsensitive); };
    const QString state = sqlState.left(2);
    QString description;
    // Without a SQLSTATE the connection could not even be made.
    const bool connection = state == u"08" || state == u"28" || state == u"57" || state == u"3D"
                            || (sqlState.isEmpty()
                                && (says("connect") || says("host") || says("timeout") || says("password") || says("SSL")
                                    || says("certificate") || says("pg_hba.conf")));
    if (says("password authentication failed") || sqlState == u"28P01")
        description = QCoreApplication::translate("brenzola::Connection", "il server ha rifiutato il nome utente o la password.");
    else if (says("no password supplied"))
        description = QCoreApplication::translate("brenzola::Connection", "il server chiede una password, che non è stata data.");
    else if (sqlState == u"3D000" || (says("database") && says("does not exist")))
        description = QCoreApplication::translate("brenzola::Connection", "sul server non esiste il database indicato.");
    else if (says("role") && says("does not exist"))
        description = QCoreApplication::translate("brenzola::Connection", "sul server non esiste l'utente indicato.");
    else if (says("does not match host name"))
        description = QCoreApplication::translate(
            "brenzola::Connection",
            "il certificato del server è intestato a un altro nome, e la connessione cifrata è stata rifiutata. Scrivere "
            "in Host= il nome che il certificato riporta, o chiedere all'amministratore del server.");
    else if (says("root certificate file") || (says("certificate") && says("does not exist")))
        description = QCoreApplication::translate(
            "brenzola::Connection",
            "per verificare il certificato del server manca quello della sua autorità (~/.postgresql/root.crt), e la "
            "connessione cifrata non è stata aperta. Installarlo lì, o indicarlo con sslrootcert nel servizio (Service=).");
    else if (says("certificate verify failed") || says("certificate has expired") || says("self signed certificate")
             || says("self-signed certificate") || says("unable to get local issuer"))
        description = QCoreApplication::translate(
            "brenzola::Connection",
            "il certificato del server non è firmato da un'autorità riconosciuta (o è scaduto), e la connessione "
            "cifrata è stata rifiutata. Installare il certificato dell'autorità in ~/.postgresql/root.crt, o chiedere "
            "all'amministratore del server.");
    else if (says("server does not support SSL"))
        description = QCoreApplication::translate(
            "brenzola::Connection",
            "il server non accetta connessioni cifrate, che la stringa di connessione richiede (SslMode=). Attivare SSL "
            "sul server, o chiedere all'amministratore.");
    else if (says("pg_hba.conf"))
        description = QCoreApplication::translate(
            "brenzola::Connection",
            "il server non ammette connessioni da questo computer con questo utente, o senza cifratura (pg_hba.conf). "
            "Chiedere all'amministratore del server, o provare SslMode=require.");
    else if (state == u"57" || says("server closed the connection") || says("terminating connection")
             || says("no connection to the server") || sqlState == u"08006")
        description =
            QCoreApplication::translate("brenzola::Connection",
                                        "la connessione con il server si è interrotta e l'operazione non è stata eseguita. "
                                        "Riprovare quando il server è di nuovo raggiungibile.");
    else if (says("SSL") && connection)
        description =
            QCoreApplication::translate("brenzola::Connection", "la connessione cifrata con il server non è riuscita: %1")
                .arg(text.trimmed());
    else if (connection)
        description = QCoreApplication::translate("brenzola::Connection",
                                                  "il server dell'archivio non risponde. Controllare la rete e che il server sia "
                                                  "acceso, poi riprovare.");
    else if (sqlState == u"42501")
        description = QCoreApplication::translate("brenzola::Connection",
                                                  "l'utente non ha il permesso per questa operazione sull'archivio.");
    else if (sqlState == u"42P01")
        description =
            QCoreApplication::translate("brenzola::Connection", "nel database del server non c'è la tabella Anagrafica.");
    else if (sqlState == u"53100")
        description = QCoreApplication::translate("brenzola::Connection",
                                                  "il disco del server è pieno e le modifiche non sono state salvate.");
    else if (sqlState == u"40001" || sqlState == u"40P01" || sqlState == u"55P03")
        description = QCoreApplication::translate("brenzola::Connection",
                                                  "l'archivio è occupato da un'altra operazione. Riprovare tra poco.");
    else
        description = text.trimmed();
    if (!sqlState.isEmpty()) description += QCoreApplication::translate("brenzola::Connection", " (SQLSTATE %1)").arg(sqlState);
    if (says("password")) return StoreError(StoreErrorNumber::ServerPassword, description);
    return StoreError(connection ? StoreErrorNumber::ServerConnection : StoreErrorNumber::ServerCall, description);
}

namespace {

// SQLite numbers its failures; a server names them with a SQLSTATE, or not at all when
// the connection could not be made.
StoreError errorFrom(const QSqlError& error, const QSqlDriver* driver)
{
    QString text = error.databaseText();
    if (text.isEmpty()) text = error.text();
    qCInfo(lcStore) << "engine error" << error.nativeErrorCode();
    qCDebug(lcStore) << "engine says" << text;
    if (driver && driver->dbmsType() == QSqlDriver::PostgreSQL) return serverErrorFrom(error.nativeErrorCode(), text);
    bool numeric = false;
    const int number = error.nativeErrorCode().toInt(&numeric);
    return numeric ? storeErrorFrom(number, text) : StoreError(-1, text);
}

}  // namespace

StoreError storeErrorFrom(const QSqlQuery& query) { return errorFrom(query.lastError(), query.driver()); }

StoreError storeErrorFrom(const QSqlDatabase& database) { return errorFrom(database.lastError(), database.driver()); }

QSqlQuery runStatement(const QSqlDatabase& db, const QString& sql, const QVariantList& values)
{
    qCDebug(lcStore) << "statement" << sql << values;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    bool done = false;
    if (values.isEmpty()) {
        done = query.exec(sql);
    } else if (query.prepare(sql)) {
        for (const QVariant& value : values) query.addBindValue(value);
        done = query.exec();
    }
    if (!done) throw storeErrorFrom(query);
    return query;
}

bool nextRow(QSqlQuery& query)
{
    if (query.next()) return true;
    if (query.lastError().isValid()) throw storeErrorFrom(query);
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

QString serverStoreName(const QHash<QString, QString>& pairs)
{
    const QString user = pairs.value(QStringLiteral("user"));
    const QString host = pairs.value(QStringLiteral("host"));
    return (user.isEmpty() ? QString() : user + u'@') + (host.isEmpty() ? QStringLiteral("localhost") : host) + u'/'
           + pairs.value(QStringLiteral("database"));
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

}  // namespace

Connection::Connection() : name_(uniqueConnectionName()) {}

Connection::~Connection() { Close(); }

void Connection::Open(const QString& connectionString, const QString& password)
{
    if (State() == adStateOpen) Close();
    const auto pairs = parseConnectionString(connectionString);
    const QString provider = pairs.value(QStringLiteral("provider"));
    connectionString_ = connectionString;
    password_ = password;
    if (provider.compare(QLatin1String(kServerProvider), Qt::CaseInsensitive) == 0) {
        openServer(pairs, password);
        return;
    }
    if (provider.compare(QLatin1String(kProvider), Qt::CaseInsensitive) != 0)
        throw StoreError(StoreErrorNumber::ProviderNotFound,
                         QCoreApplication::translate("brenzola::Connection", "Provider non trovato: «%1».").arg(provider));
    openSQLite(pairs);
}

void Connection::openSQLite(const QHash<QString, QString>& pairs)
{
    engine_ = Engine::SQLite;
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
            if (!db.open()) throw storeErrorFrom(db);
            auto* handle = sqliteHandle(db);
            if (int rc = registerItalianText(handle)) throw StoreError(rc, QString::fromUtf8(sqlite3_errstr(rc)));
            runStatement(db, QStringLiteral("PRAGMA schema_version"));  // "file is not a database" shows here
            // A deleted contact is overwritten, not left readable in the file's free pages.
            runStatement(db, QStringLiteral("PRAGMA secure_delete = ON"));
        } catch (...) {
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name_);
            throw;
        }
    }
    qCInfo(lcStore) << "opened file store" << path << (isReadOnly() ? "read-only" : "writable");
    prepareJournal();
}

void Connection::prepareJournal()
{
    journal_ = false;
    journalProblem_.clear();
    identity_.clear();
    if (!PuoAvereGiornale(*this)) return;  // no register here yet, or one made by hand
    const bool giornale = schema(QStringLiteral("Giornale")).exists();
    const bool aggiornato = HaIdentita(*this) && schema(QStringLiteral("Identita_Registro")).exists()
                            && (!giornale || ColonneGiornale(*this).contains(QStringLiteral("uid")));
    if (!aggiornato && !(engine_ == Engine::SQLite && isReadOnly())) {
        // Added once: the journal (the contacts already there start their history now) and
        // the identities other address books know the contacts by.
        QSqlDatabase db = database();
        try {
            if (!db.transaction()) throw storeErrorFrom(db);
            try {
                PreparaIdentita(db, engine_);
                if (giornale)
                    AggiornaGiornale(db, engine_);
                else
                    InstallaGiornale(db, engine_);
                if (!db.commit()) throw storeErrorFrom(db);
            } catch (...) {
                db.rollback();
                throw;
            }
        } catch (const StoreError& error) {
            // Another program holding the file locked, or a desk that may not change the
            // server's tables: the store works as before until then.
            journalProblem_ =
                engine_ == Engine::PostgreSQL
                    ? QCoreApplication::translate(
                          "brenzola::Connection",
                          "sul server manca il registro delle modifiche, che può aggiungere solo il proprietario "
                          "della tabella Anagrafica: basta che apra l'archivio una volta, per esempio con "
                          "«cronologia ARCHIVIO» (errore %1: %2)")
                          .arg(error.number())
                          .arg(error.description())
                    : QCoreApplication::translate(
                          "brenzola::Connection",
                          "il registro delle modifiche non si è potuto aggiungere (errore %1: %2); si riproverà alla "
                          "prossima apertura.")
                          .arg(error.number())
                          .arg(error.description());
        }
        schemas_.clear();
    } else if (!giornale) {
        journalProblem_ = QCoreApplication::translate("brenzola::Connection", "l'archivio è di sola lettura.");
    }
    // A journal made before it kept the UID goes on working as it was.
    journal_ = schema(QStringLiteral("Giornale")).exists();
    if (journal_) journalProblem_.clear();
    if (schema(QStringLiteral("Identita_Registro")).exists()) {
        QSqlQuery registro = runStatement(database(), QStringLiteral("SELECT uuid FROM Identita_Registro"));
        if (nextRow(registro)) identity_ = registro.value(0).toString();
    }
    qCInfo(lcJournal) << (journal_ ? "store keeps a journal" : "store keeps no journal:") << journalProblem_;
}

void Connection::forgetOwnOperation(qint64 number) { std::erase(ownOperations_, number); }

void Connection::openServer(const QHash<QString, QString>& pairs, const QString& password)
{
    // A password written there would sit in clear in settings, scripts and command lines.
    for (const char* chiave : {"password", "pwd"})
        if (pairs.contains(QLatin1String(chiave)))
            throw StoreError(StoreErrorNumber::InvalidArgument,
                             QCoreApplication::translate(
                                 "brenzola::Connection",
                                 "La stringa di connessione contiene una password, che lì resterebbe leggibile da chiunque "
                                 "veda la stringa: toglierla. La password va in ~/.pgpass (o nel file di un servizio, "
                                 "Service=), oppure viene chiesta all'apertura."));
    engine_ = Engine::PostgreSQL;
    const QString host = pairs.value(QStringLiteral("host"));
    const QString user = pairs.value(QStringLiteral("user"));
    const QString database = pairs.value(QStringLiteral("database"));
    path_ = serverStoreName(pairs);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name_);
    if (!db.isValid()) {
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name_);
        throw StoreError(
            StoreErrorNumber::ProviderNotFound,
            QCoreApplication::translate("brenzola::Connection", "Manca il driver per PostgreSQL (pacchetto libqt6sql6-psql)."));
    }
    db.setHostName(host);
    if (pairs.contains(QStringLiteral("port"))) db.setPort(pairs.value(QStringLiteral("port")).toInt());
    db.setDatabaseName(database);
    db.setUserName(user);
    // Only a password the user has just typed: the others are libpq's business.
    if (!password.isEmpty()) db.setPassword(password);
    QStringList options{QStringLiteral("application_name=Brenzola"), QStringLiteral("connect_timeout=10"),
                        QStringLiteral("sslmode=") + pairs.value(QStringLiteral("sslmode"), QStringLiteral("prefer"))};
    if (pairs.contains(QStringLiteral("service"))) options << QStringLiteral("service=") + pairs.value(QStringLiteral("service"));
    db.setConnectOptions(options.join(u';'));
    if (!db.open()) {
        const StoreError error = storeErrorFrom(db);
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name_);
        throw error;
    }
    qCInfo(lcServer) << "connected to" << path_ << "as" << user;
    prepareJournal();
    listen();
}

void Connection::listen()
{
    if (!othersChange_ || State() != adStateOpen) return;
    if (engine_ == Engine::SQLite) {
        // A pragma every second, microseconds each: another program's write shows by itself.
        othersSeen_ = changeMark() ? changeMark()->others : 0;
        watch_ = std::make_unique<QTimer>();
        watch_->setInterval(1000);
        QObject::connect(watch_.get(), &QTimer::timeout, [this] {
            const std::optional<ChangeMark> now = changeMark();
            if (!now || now->others == othersSeen_) return;
            othersSeen_ = now->others;
            if (othersChange_) othersChange_(0);
        });
        watch_->start();
        return;
    }
    QSqlDriver* driver = database().driver();
    driver->subscribeToNotification(QLatin1String(kChangesChannel));
    QObject::disconnect(driver, &QSqlDriver::notification, nullptr, nullptr);  // reopened: subscribed anew
    QObject::connect(driver, &QSqlDriver::notification, driver,
                     [this](const QString&, QSqlDriver::NotificationSource source, const QVariant& payload) {
                         ++announcementsHeard_;
                         qCDebug(lcServer) << "announcement" << payload
                                           << (source == QSqlDriver::SelfSource ? "own" : "another's");
                         if (source == QSqlDriver::OtherSource && othersChange_) othersChange_(payload.toLongLong());
                     });
    ++announcementsHeard_;  // what was said while nobody listened is looked for again
    listening_ = true;
}

void Connection::onOthersChange(std::function<void(qint64)> callback)
{
    othersChange_ = std::move(callback);
    listen();
}

void Connection::announceChange(qint64 id)
{
    if (engine_ != Engine::PostgreSQL || journal_) return;
    if (inTransaction_) {
        changedInTransaction_ = true;  // told once, at the commit: the others refill their list once
        return;
    }
    runStatement(database(), QStringLiteral("NOTIFY %1, '%2'").arg(QLatin1String(kChangesChannel)).arg(id));
}

bool Connection::reconnectIfLost()
{
    // Reopened inside a transaction, the statements after would run outside it.
    if (engine_ != Engine::PostgreSQL || !QSqlDatabase::contains(name_) || inTransaction_) return false;
    QSqlDatabase db = database();
    if (db.isOpen() && QSqlQuery(db).exec(QStringLiteral("SELECT 1"))) return false;  // alive: the statement failed
    // The same connection, with the same settings, opened again; still away, it stays
    // closed and the next statement tries again.
    prepared_.clear();
    filePrepared_.clear();
    db.close();
    qCInfo(lcServer) << "connection lost; reconnecting to" << path_;
    if (!db.open()) {
        qCInfo(lcServer) << "server still unreachable";
        return false;
    }
    listen();
    return true;
}

void Connection::BeginTrans()
{
    QSqlDatabase db = openConnection(this).database();
    if (inTransaction_)
        throw StoreError(StoreErrorNumber::Transaction,
                         QCoreApplication::translate("brenzola::Connection", "Una transazione è già in corso."));
    if (!db.transaction()) throw storeErrorFrom(db);
    inTransaction_ = true;
    changedInTransaction_ = false;
}

void Connection::CommitTrans()
{
    if (!inTransaction_)
        throw StoreError(StoreErrorNumber::Transaction,
                         QCoreApplication::translate("brenzola::Connection", "Nessuna transazione in corso."));
    QSqlDatabase db = database();
    if (!db.commit()) {
        const StoreError error = storeErrorFrom(db);
        RollbackTrans();
        throw error;
    }
    inTransaction_ = false;
    if (changedInTransaction_) announceChange(0);
}

void Connection::RollbackTrans()
{
    if (!inTransaction_) return;
    inTransaction_ = false;
    // A connection lost meanwhile has no transaction left to undo: the next statement reopens it.
    if (!database().rollback()) reconnectIfLost();
}

Connection::ObjectState Connection::State() const
{
    return QSqlDatabase::contains(name_) && database().isOpen() ? adStateOpen : adStateClosed;
}

void Connection::Close()
{
    inTransaction_ = false;  // closing undoes it
    listening_ = false;
    watch_.reset();
    prepared_.clear();
    filePrepared_.clear();
    if (!QSqlDatabase::contains(name_)) return;
    database().close();
    schemas_.clear();
    QSqlDatabase::removeDatabase(name_);
}

Connection& openConnection(Connection* connection)
{
    // A server connection lost earlier and not yet back is tried once more.
    if (connection && connection->State() != Connection::adStateOpen && connection->engine() == Engine::PostgreSQL
        && QSqlDatabase::contains(connection->name()) && !connection->reconnectIfLost()) {
        throw storeErrorFrom(connection->database());
    }
    if (!connection || connection->State() != Connection::adStateOpen)
        throw StoreError(StoreErrorNumber::ConnectionClosed,
                         QCoreApplication::translate("brenzola::Connection", "La connessione è chiusa."));
    return *connection;
}

void Connection::Execute(const QString& statement)
{
    try {
        runStatement(openConnection(this).database(), translateAccessSql(statement, engine_));
    } catch (const StoreError&) {
        reconnectIfLost();  // for the next try; a change is never repeated unasked
        throw;
    }
    static const QRegularExpression change(QStringLiteral("^\\s*(insert|update|delete)\\b"),
                                           QRegularExpression::CaseInsensitiveOption);
    if (change.match(statement).hasMatch()) announceChange(0);  // which one is not known here
}

bool Connection::isReadOnly() const
{
    QSqlDatabase db = database();
    if (engine_ == Engine::PostgreSQL) {
        QSqlQuery query(db);
        return query.exec(QStringLiteral("SELECT has_table_privilege(current_user, 'anagrafica', 'INSERT, UPDATE, DELETE')"))
               && query.next() && !query.value(0).toBool();
    }
    auto* handle = sqliteHandle(db);
    return sqlite3_db_readonly(handle, "main") == 1 || !QFileInfo(QFileInfo(path_).absolutePath()).isWritable();
}

namespace {

class QueryRow final : public RowView {
public:
    explicit QueryRow(const QSqlQuery& query) : query_(query) {}
    void read()
    {
        values_.resize(size_t(query_.record().count()));
        for (size_t i = 0; i < values_.size(); ++i) values_[i] = query_.value(int(i));
        texts_.assign(values_.size(), QString());
        for (size_t i = 0; i < values_.size(); ++i) texts_[i] = values_[i].toString();
        utf8_.assign(values_.size(), std::nullopt);
    }
    bool isNull(int column) const override { return values_[size_t(column)].isNull(); }
    qint64 integer(int column) const override { return values_[size_t(column)].toLongLong(); }
    QStringView text(int column) const override { return texts_[size_t(column)]; }
    std::string_view utf8(int column) const override
    {
        std::optional<QByteArray>& bytes = utf8_[size_t(column)];
        if (!bytes) bytes = texts_[size_t(column)].toUtf8();
        return {bytes->constData(), size_t(bytes->size())};
    }

private:
    const QSqlQuery& query_;
    std::vector<QVariant> values_;
    std::vector<QString> texts_;
    mutable std::vector<std::optional<QByteArray>> utf8_;  // made when asked for
};

}  // namespace

void Connection::readRows(const QString& statement, const std::function<void(const RowView&)>& each)
{
    const QString sql = translateAccessSql(statement, engine_);
    QSqlDatabase db = openConnection(this).database();
    if (engine_ == Engine::PostgreSQL) {
        QSqlQuery query(db);
        query.setForwardOnly(true);
        if (!query.exec(sql)) {
            // A reading, unlike a change, may be run once more on a connection found lost and remade.
            const StoreError error = storeErrorFrom(query);
            if (!reconnectIfLost()) throw error;
            query = QSqlQuery(database());
            query.setForwardOnly(true);
            if (!query.exec(sql)) throw storeErrorFrom(query);
        }
        QueryRow row(query);
        while (nextRow(query)) {
            row.read();
            each(row);
        }
        return;
    }
    FileStatement rows(db, sql);
    while (rows.step()) each(rows.row());
}

void Connection::readPrepared(const QString& sql, const QVariantList& values, const std::function<void(const RowView&)>& each)
{
    if (engine_ == Engine::PostgreSQL) {
        QSqlQuery& query = runPrepared(sql, values);
        QueryRow row(query);
        while (nextRow(query)) {
            row.read();
            each(row);
        }
        query.finish();
        return;
    }
    std::unique_ptr<FileStatement>& statement = filePrepared_[sql];
    if (!statement) statement = std::make_unique<FileStatement>(openConnection(this).database(), sql);
    for (qsizetype i = 0; i < values.size(); ++i) statement->bind(int(i) + 1, values[i]);
    try {
        while (statement->step()) each(statement->row());
    } catch (...) {
        statement->reset();
        throw;
    }
}

std::optional<ChangeMark> Connection::changeMark() const
{
    if (engine_ == Engine::PostgreSQL && journal_ && listening_) return ChangeMark{announcementsHeard_, 0};
    if (engine_ != Engine::SQLite || State() != adStateOpen) return std::nullopt;
    sqlite3* handle = sqliteHandle(database());
    sqlite3_stmt* prepared = nullptr;
    if (sqlite3_prepare_v2(handle, "PRAGMA data_version", -1, &prepared, nullptr) != SQLITE_OK) return std::nullopt;
    std::optional<ChangeMark> mark;
    if (sqlite3_step(prepared) == SQLITE_ROW)
        mark = ChangeMark{sqlite3_column_int64(prepared, 0), sqlite3_total_changes64(handle)};
    sqlite3_finalize(prepared);
    return mark;
}

QSqlDatabase Connection::database() const { return QSqlDatabase::database(name_, false); }

QSqlQuery& Connection::runPrepared(const QString& sql, const QVariantList& values)
{
    std::unique_ptr<QSqlQuery>& query = prepared_[sql];
    if (!query) {
        auto prepared = std::make_unique<QSqlQuery>(openConnection(this).database());
        prepared->setForwardOnly(true);
        if (!prepared->prepare(sql)) throw storeErrorFrom(*prepared);
        query = std::move(prepared);
    }
    for (qsizetype i = 0; i < values.size(); ++i) query->bindValue(int(i), values[i]);
    if (!query->exec()) {
        const StoreError error = storeErrorFrom(*query);
        prepared_.erase(sql);  // a lost server connection takes its statements with it
        throw error;
    }
    return *query;
}

const TableSchema& Connection::schema(const QString& table)
{
    const QString key = table.toLower();
    auto found = schemas_.constFind(key);
    if (found != schemas_.constEnd()) return *found;

    TableSchema schema;
    const QString quoted = QString(table).replace(u'\'', QStringLiteral("''"));
    QSqlQuery query = runStatement(
        database(), engine_ == Engine::PostgreSQL
                        ? QStringLiteral("SELECT table_name, column_name, data_type FROM information_schema.columns "
                                         "WHERE table_schema IN (current_schema(), pg_my_temp_schema()::regnamespace::text) "
                                         "AND lower(table_name) = lower('%1') "
                                         "ORDER BY ordinal_position")
                              .arg(quoted)
                        : QStringLiteral("SELECT '%1', name, type FROM pragma_table_info('%1')").arg(quoted));
    while (nextRow(query)) {
        schema.table = query.value(0).toString();
        const QString column = query.value(1).toString();
        schema.columns << column;
        if (query.value(2).toString().contains(QLatin1String("DATE"), Qt::CaseInsensitive))
            schema.dateColumns.insert(column.toLower());
    }
    // A table not there yet is looked for again next time: it may be made meanwhile.
    static const TableSchema kNone;
    if (schema.columns.isEmpty()) return kNone;
    return *schemas_.insert(key, schema);
}

}  // namespace brenzola
