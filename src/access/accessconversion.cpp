#include "access/accessconversion.h"

#include "access/accessreader.h"
#include "store/archivio.h"
#include "store/funzioni.h"
#include "store/giornale.h"
#include "store/identita.h"
#include "store/sqlerror.h"

#include <sqlite3.h>
#include <QCoreApplication>
#include <QSqlDriver>

#include <QAtomicInt>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTime>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

namespace brenzola {

namespace {

const QString kTable = QStringLiteral("Anagrafica");
constexpr int kReadProgressStep = 1000;

QString shown(const QString& path) { return QDir::toNativeSeparators(path); }

// ---------------------------------------------------------------------------------------
// Files

// The parts of a file's identity that change when someone writes to it.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    qint64 modifiedNs = 0;
    mode_t permissions = 0;  // not part of the comparison: only read to pass on

    bool operator==(const FileIdentity& other) const
    {
        return device == other.device && inode == other.inode && size == other.size && modifiedNs == other.modifiedNs;
    }
};

FileIdentity identityOf(const QString& path)
{
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        throw systemError(
            errno,
            QCoreApplication::translate("brenzola::AccessConversion", "Impossibile leggere il file «%1»").arg(shown(path)));
    return {status.st_dev, status.st_ino, status.st_size, qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec,
            mode_t(status.st_mode & 07777)};
}

bool pathExists(const QString& path)
{
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0;
}

void syncPath(const QString& path, int flags, const QString& what)
{
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (fd < 0) throw systemError(errno, what);
    const int result = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    if (result != 0) throw systemError(error, what);
}

const QString kWorkFolderPrefix = QStringLiteral(".Brenzola-conversione-");

// A folder of our own beside the store, for the files of a conversion in progress; it goes,
// with whatever it holds, when the conversion ends. It stays locked while it is in use, so
// that what a conversion killed half-way left behind can be told from one still running.
class WorkFolder {
public:
    explicit WorkFolder(const QString& folder)
    {
        QByteArray pattern = QFile::encodeName(QDir(folder).filePath(kWorkFolderPrefix + QStringLiteral("XXXXXX")));
        if (!::mkdtemp(pattern.data()))
            throw systemError(
                errno, QCoreApplication::translate("brenzola::AccessConversion", "Impossibile scrivere nella cartella «%1»")
                           .arg(shown(folder)));
        path_ = QFile::decodeName(pattern);
        lock_ = ::open(pattern.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (lock_ >= 0) ::flock(lock_, LOCK_EX);
    }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;
    ~WorkFolder()
    {
        QDir(path_).removeRecursively();
        if (lock_ >= 0) ::close(lock_);
    }

    QString filePath(const QString& name) const { return QDir(path_).filePath(name); }

private:
    QString path_;
    int lock_ = -1;
};

}  // namespace

void removeAbandonedConversions(const QString& folder)
{
    const QStringList found =
        QDir(folder).entryList({kWorkFolderPrefix + u'*'}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& name : found) {
        const QString path = QDir(folder).filePath(name);
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0) continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) QDir(path).removeRecursively();
        ::close(fd);
    }
}

namespace {

QString backupCandidate(const QString& storePath, int number)
{
    const QFileInfo info(storePath);
    QString name = info.completeBaseName() + QStringLiteral(".access-originale");
    if (number > 1) name += QStringLiteral("-%1").arg(number);
    if (!info.suffix().isEmpty()) name += u'.' + info.suffix();
    return info.dir().filePath(name);
}

bool sameBytes(const QString& first, const QString& second)
{
    QFile a(first);
    QFile b(second);
    if (!a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly) || a.size() != b.size()) return false;
    while (!a.atEnd()) {
        const QByteArray left = a.read(1 << 20);
        if (left.isEmpty() || left != b.read(left.size())) return false;
    }
    return true;
}

// Copies `original` to `copy`, which must not exist yet. Returns false when it does.
bool copyOriginal(const QString& original, const QString& copy)
{
    const QByteArray from = QFile::encodeName(original);
    const QByteArray to = QFile::encodeName(copy);
    const QString what =
        QCoreApplication::translate("brenzola::AccessConversion", "Impossibile copiare il file originale in «%1»")
            .arg(shown(copy));
    struct stat status {};
    const int in = ::open(from.constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0 || ::fstat(in, &status) != 0) {
        const int error = errno;
        if (in >= 0) ::close(in);
        throw systemError(error, what);
    }
    const int out = ::open(to.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, status.st_mode & 07777);
    if (out < 0) {
        const int error = errno;
        ::close(in);
        if (error == EEXIST) return false;
        throw systemError(error, what);
    }
    int error = 0;
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(in, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            if (got < 0) error = errno;
            break;
        }
        for (ssize_t done = 0; done < got && !error;) {
            const ssize_t put = ::write(out, buffer + done, size_t(got - done));
            if (put < 0 && errno != EINTR) error = errno;
            if (put > 0) done += put;
        }
        if (error) break;
    }
    if (!error && ::fsync(out) != 0) error = errno;
    if (::close(out) != 0 && !error) error = errno;
    ::close(in);
    if (!error && !sameBytes(original, copy)) error = EIO;
    if (error) {
        ::unlink(to.constData());
        throw systemError(error, what);
    }
    return true;
}

// Gives the original a second name beside it, never taking one already in use. A hard
// link keeps the very same bytes at no cost; where links are not possible, a copy is made
// and compared.
QString keepOriginal(const QString& original)
{
    const QByteArray from = QFile::encodeName(original);
    for (int number = 1; number <= 999; ++number) {
        QString candidate = backupCandidate(original, number);
        if (::link(from.constData(), QFile::encodeName(candidate).constData()) == 0) return candidate;
        const int error = errno;
        if (error == EEXIST) continue;
        if (error == EPERM || error == EXDEV || error == EMLINK || error == ENOSYS || error == EOPNOTSUPP) {
            if (copyOriginal(original, candidate)) return candidate;
            continue;
        }
        throw systemError(
            error, QCoreApplication::translate("brenzola::AccessConversion", "Impossibile conservare il file originale come «%1»")
                       .arg(shown(candidate)));
    }
    throw StoreError(StoreErrorNumber::FileExists,
                     QCoreApplication::translate("brenzola::AccessConversion",
                                                 "Tutti i nomi per la copia del file originale accanto a «%1» sono già in uso.")
                         .arg(shown(original)));
}

// ---------------------------------------------------------------------------------------
// The store

// One connection of our own to a SQLite file, closed and removed however we leave.
class SqlFile {
public:
    explicit SqlFile(const QString& path)
    {
        static QAtomicInt counter;
        name_ = QStringLiteral("brenzola-conversione-%1").arg(counter.fetchAndAddRelaxed(1));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(path);
        if (!db.open()) {
            const StoreError error = storeErrorFrom(db);
            db = QSqlDatabase();
            close();
            throw error;
        }
    }
    SqlFile(const SqlFile&) = delete;
    SqlFile& operator=(const SqlFile&) = delete;
    ~SqlFile() { close(); }

    QSqlDatabase database() const { return QSqlDatabase::database(name_, false); }

    void close()
    {
        if (name_.isEmpty()) return;
        database().close();
        QSqlDatabase::removeDatabase(name_);
        name_.clear();
    }

private:
    QString name_;
};

// SQLite's own number stays; the text says what it means for the conversion.
StoreError storeWriteError(const StoreError& error)
{
    constexpr int kIoError = 10;
    constexpr int kFull = 13;
    constexpr int kConstraint = 19;
    QString what = QCoreApplication::translate("brenzola::AccessConversion", "Scrittura del nuovo archivio non riuscita");
    switch (error.number() & 0xff) {
    case kIoError:
    case kFull:
        what += QCoreApplication::translate("brenzola::AccessConversion", " (disco pieno o non scrivibile?)");
        break;
    case kConstraint:
        what += QCoreApplication::translate("brenzola::AccessConversion", " (il file Access ha una chiave ripetuta?)");
        break;
    default:
        break;
    }
    return StoreError(error.number(), QStringLiteral("%1: %2").arg(what, error.description()));
}

QSqlQuery run(const QSqlDatabase& db, const QString& sql, bool writing = true)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(sql)) {
        const StoreError error = storeErrorFrom(query);
        throw writing ? storeWriteError(error) : error;
    }
    return query;
}

QString quoted(const QString& name) { return u'"' + QString(name).replace(u'"', QStringLiteral("\"\"")) + u'"'; }

struct StoreColumn {
    QString name;
    bool key = false;
    bool date = false;
};

// The store as CreaArchivio makes it: its columns, and the statements that build it.
struct StoreShape {
    QList<StoreColumn> columns;
    QStringList schema;
    qint64 userVersion = 0;
    bool autoIncrement = false;

    int keyIndex() const
    {
        for (qsizetype i = 0; i < columns.size(); ++i)
            if (columns[i].key) return int(i);
        return -1;
    }
};

// Learnt once from a store made by CreaArchivio itself, so that a converted store is
// exactly what the program would have created.
StoreShape probeStoreShape()
{
    QTemporaryDir folder;
    if (!folder.isValid())
        throw StoreError(
            ConversionErrorNumber::PathFileAccess,
            QCoreApplication::translate("brenzola::AccessConversion", "Impossibile creare una cartella temporanea: %1.")
                .arg(folder.errorString()));
    const QString path = folder.filePath(QString::fromLatin1(Funzioni::kNomeArchivio));
    CreaArchivio(path);

    StoreShape shape;
    SqlFile file(path);
    {
        // The journal and the identities are added once the contacts are in: they start their history there.
        QSqlQuery query = run(file.database(),
                              QStringLiteral("SELECT sql FROM sqlite_master WHERE sql IS NOT NULL "
                                             "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' "
                                             "AND name NOT LIKE 'Giornale%' AND name NOT LIKE 'Identita%' ORDER BY rowid"),
                              false);
        while (query.next()) {
            const QString sql = query.value(0).toString();
            shape.schema << sql;
            if (sql.contains(QLatin1String("AUTOINCREMENT"), Qt::CaseInsensitive)) shape.autoIncrement = true;
        }
    }
    {
        QSqlQuery query = run(file.database(), QStringLiteral("PRAGMA user_version"), false);
        if (query.next()) shape.userVersion = query.value(0).toLongLong();
    }
    {
        QSqlQuery query =
            run(file.database(), QStringLiteral("SELECT name, type, pk FROM pragma_table_info('%1') ORDER BY cid").arg(kTable),
                false);
        while (query.next()) {
            StoreColumn column;
            column.name = query.value(0).toString();
            column.date = query.value(1).toString().contains(QLatin1String("DATE"), Qt::CaseInsensitive);
            column.key = query.value(2).toInt() == 1
                         && query.value(1).toString().compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0;
            shape.columns << column;
        }
    }
    if (shape.columns.isEmpty())
        throw StoreError(
            StoreErrorNumber::ItemNotFound,
            QCoreApplication::translate("brenzola::AccessConversion", "L'archivio nuovo non ha la tabella %1.").arg(kTable));
    return shape;
}

const StoreShape& storeShape()
{
    static const StoreShape shape = probeStoreShape();
    return shape;
}

// ---------------------------------------------------------------------------------------
// Columns and values

bool isWholeNumber(int type)
{
    return type == access::ColumnType::Byte || type == access::ColumnType::Integer || type == access::ColumnType::LongInteger;
}

bool fits(const StoreColumn& column, int type)
{
    if (column.key) return isWholeNumber(type);
    if (column.date) return type == access::ColumnType::DateTime;
    return type == access::ColumnType::Text || type == access::ColumnType::Memo || isWholeNumber(type)
           || type == access::ColumnType::DateTime;
}

// Which source column feeds each store column, and what does not match.
struct ColumnPlan {
    AccessSurvey survey;
    QList<int> sourceOf;  // per store column: index in the source table, or -1
};

ColumnPlan planColumns(const access::SourceTable& table, const StoreShape& shape)
{
    ColumnPlan plan;
    plan.survey.tableName = table.name;
    plan.survey.rowCount = table.rowCount;
    QList<bool> used(table.columns.size(), false);
    for (const StoreColumn& column : shape.columns) {
        int found = -1;
        for (qsizetype i = 0; i < table.columns.size(); ++i) {
            if (table.columns[i].name.compare(column.name, Qt::CaseInsensitive) != 0) continue;
            if (found >= 0) {
                plan.survey.incompatibleColumns
                    << QCoreApplication::translate("brenzola::AccessConversion", "%1 (nome ripetuto)").arg(table.columns[i].name);
                used[i] = true;
                continue;
            }
            found = int(i);
            used[i] = true;
            if (!fits(column, table.columns[i].type))
                plan.survey.incompatibleColumns
                    << QStringLiteral("%1 (%2)").arg(table.columns[i].name, access::columnTypeName(table.columns[i].type));
        }
        plan.sourceOf << found;
        // Access registers never had identities: the new store makes them.
        const bool identita = column.name.compare(QLatin1String("Uid"), Qt::CaseInsensitive) == 0;
        if (found < 0 && !identita) {
            plan.survey.missingColumns << column.name;
            if (column.key) plan.survey.keyColumnMissing = true;
        }
    }
    for (qsizetype i = 0; i < table.columns.size(); ++i)
        if (!used[i]) plan.survey.unknownColumns << table.columns[i].name;
    return plan;
}

// Page sizes: 2 KB for Jet 3, 4 KB for Jet 4. Access files are whole pages, so anything
// else was cut short; libmdb would read such a file without noticing.
void requireAccess(const QString& path, StoreFileKind kind)
{
    const QString file = shown(path);
    switch (kind) {
    case StoreFileKind::AccessJet3:
    case StoreFileKind::AccessJet4:
        break;
    case StoreFileKind::Missing:
        throw StoreError(ConversionErrorNumber::FileNotFound,
                         QCoreApplication::translate("brenzola::AccessConversion", "Il file «%1» non esiste.").arg(file));
    case StoreFileKind::SQLite:
        throw StoreError(ConversionErrorNumber::UnrecognizedFormat,
                         QCoreApplication::translate("brenzola::AccessConversion",
                                                     "Il file «%1» è già un archivio di Brenzola, non un file Access.")
                             .arg(file));
    case StoreFileKind::AccessAce:
        throw StoreError(
            ConversionErrorNumber::UnrecognizedFormat,
            QCoreApplication::translate("brenzola::AccessConversion",
                                        "Il file «%1» è un database di Access 2007 o successivo (formato ACE), che "
                                        "Brenzola non sa convertire: salvarlo da Access nel formato Access 2000-2003 "
                                        "(.mdb) e riprovare.")
                .arg(file));
    case StoreFileKind::Other:
        throw StoreError(ConversionErrorNumber::UnrecognizedFormat,
                         QCoreApplication::translate("brenzola::AccessConversion",
                                                     "Il file «%1» non è un database di Access: formato non riconosciuto.")
                             .arg(file));
    }
    const qint64 page = kind == StoreFileKind::AccessJet3 ? 2048 : 4096;
    const qint64 size = identityOf(path).size;
    if (size < 2 * page || size % page != 0)
        throw StoreError(ConversionErrorNumber::CannotOpenDatabase,
                         QCoreApplication::translate("brenzola::AccessConversion",
                                                     "Il file Access «%1» è troncato: %2. Recuperare una copia intera del file.")
                             .arg(file, size < 2 * page ? QCoreApplication::translate("brenzola::AccessConversion",
                                                                                      "è troppo corto per contenere un database")
                                                        : QCoreApplication::translate("brenzola::AccessConversion",
                                                                                      "termina a metà di una pagina")));
}

StoreError valueError(qint64 row, const QString& column, const QString& what)
{
    return StoreError(StoreErrorNumber::TypeMismatch,
                      QCoreApplication::translate("brenzola::AccessConversion", "Record %1 del file Access, colonna %2: %3.")
                          .arg(row)
                          .arg(column, what));
}

// A value as the store is given it, and as it gives it back.
struct StoreValue {
    enum Kind : unsigned char { Null, Integer, Text, Other };
    Kind kind = Null;
    qint64 integer = 0;
    QByteArray text;  // UTF-8
};

StoreValue storeValue(const access::SourceValue& value, const StoreColumn& column, qint64 row)
{
    switch (value.kind) {
    case access::SourceValue::Null:
        if (column.key)
            throw valueError(row, column.name,
                             QCoreApplication::translate("brenzola::AccessConversion", "la chiave è vuota (Null)"));
        return {};
    case access::SourceValue::Text:
        if (column.key) {
            bool ok = false;
            const qlonglong key = value.text.toLongLong(&ok);
            if (!ok)
                throw valueError(row, column.name,
                                 QCoreApplication::translate("brenzola::AccessConversion", "«%1» non è un numero")
                                     .arg(QString::fromUtf8(value.text)));
            return {StoreValue::Integer, key, {}};
        }
        // The program reads the store through UTF-16, which gives these two back as U+FFFD.
        for (const char* noncharacter : {"\xef\xbf\xbe", "\xef\xbf\xbf"})
            if (value.text.contains(noncharacter))
                throw valueError(row, column.name,
                                 QCoreApplication::translate("brenzola::AccessConversion",
                                                             "il testo contiene il carattere non valido U+%1, che l'archivio non "
                                                             "può conservare; correggerlo in Access e ripetere la conversione")
                                     .arg(noncharacter[2] == '\xbe' ? QStringLiteral("FFFE") : QStringLiteral("FFFF")));
        return {StoreValue::Text, 0, value.text};
    case access::SourceValue::DateTime:
        try {
            return {StoreValue::Text, 0, storeDateFromAccess(value.days).toUtf8()};
        } catch (const StoreError& error) {
            throw valueError(row, column.name, error.description());
        }
    case access::SourceValue::Unsupported:
        break;
    }
    throw valueError(row, column.name,
                     QCoreApplication::translate("brenzola::AccessConversion", "tipo di dato non convertibile"));
}

// One statement on the new store's connection, spoken to without Qt in between: the
// conversion writes and reads back every row, and Qt's work per value would double its time.
class Statement {
public:
    Statement(const QSqlDatabase& db, const QString& sql) : db_(*static_cast<sqlite3* const*>(db.driver()->handle().constData()))
    {
        if (sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &statement_, nullptr) != SQLITE_OK) throw failure();
    }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement() { sqlite3_finalize(statement_); }

    // The value must live until the statement has run.
    void bind(int index, const StoreValue& value)
    {
        int rc = SQLITE_OK;
        switch (value.kind) {
        case StoreValue::Integer:
            rc = sqlite3_bind_int64(statement_, index, value.integer);
            break;
        case StoreValue::Text:
            rc = sqlite3_bind_text(statement_, index, value.text.constData(), int(value.text.size()), SQLITE_STATIC);
            break;
        default:
            rc = sqlite3_bind_null(statement_, index);
            break;
        }
        if (rc != SQLITE_OK) throw failure();
    }

    void run()
    {
        const int rc = sqlite3_step(statement_);
        sqlite3_reset(statement_);
        if (rc != SQLITE_DONE) throw failure();
    }

    bool next()
    {
        const int rc = sqlite3_step(statement_);
        if (rc == SQLITE_ROW) return true;
        if (rc != SQLITE_DONE) throw failure();
        return false;
    }

    // A column of the current row; a text stays the statement's until the next step.
    StoreValue value(int index) const
    {
        switch (sqlite3_column_type(statement_, index)) {
        case SQLITE_NULL:
            return {};
        case SQLITE_INTEGER:
            return {StoreValue::Integer, sqlite3_column_int64(statement_, index), {}};
        case SQLITE_TEXT: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, index));
            return {StoreValue::Text, 0, QByteArray::fromRawData(text, sqlite3_column_bytes(statement_, index))};
        }
        default:
            return {StoreValue::Other, 0, {}};
        }
    }

    qint64 lastRowId() const { return sqlite3_last_insert_rowid(db_); }

private:
    StoreError failure() const
    {
        return storeWriteError(storeErrorFrom(sqlite3_extended_errcode(db_) & 0xff, QString::fromUtf8(sqlite3_errmsg(db_))));
    }

    sqlite3* db_;
    sqlite3_stmt* statement_ = nullptr;
};

// What a set of rows holds, as one value that does not depend on their order: the sums of
// each row's two 64-bit hashes. The store read back must add up to what was written; the
// rows themselves need not be kept meanwhile, however many there are.
class RowsDigest {
public:
    void add(const std::vector<StoreValue>& values, const StoreShape& shape)
    {
        row_.clear();
        for (qsizetype i = 0; i < shape.columns.size(); ++i) {
            const StoreValue& v = values[size_t(i)];
            // A key is a whole number and every other column text: anything else differs.
            const bool expected =
                v.kind == StoreValue::Null || v.kind == (shape.columns[i].key ? StoreValue::Integer : StoreValue::Text);
            if (!expected) {
                row_ += 'X';
            } else if (v.kind == StoreValue::Null) {
                row_ += 'N';
            } else if (v.kind == StoreValue::Integer) {
                row_ += 'K';
                row_.append(reinterpret_cast<const char*>(&v.integer), sizeof v.integer);
            } else {
                const qint64 length = v.text.size();
                row_ += 'T';
                row_.append(reinterpret_cast<const char*>(&length), sizeof length);
                row_ += v.text;
            }
        }
        first_ += qHashBits(row_.constData(), size_t(row_.size()), 0x62726e7a);
        second_ += qHashBits(row_.constData(), size_t(row_.size()), 0x6f6c6121);
        ++rows_;
    }

    qint64 rows() const { return rows_; }
    bool operator==(const RowsDigest& other) const
    {
        return rows_ == other.rows_ && first_ == other.first_ && second_ == other.second_;
    }

private:
    QByteArray row_;
    quint64 first_ = 0;
    quint64 second_ = 0;
    qint64 rows_ = 0;
};

// Reads the new store back and checks it holds what came out of the Access file.
void verifyStore(const QSqlDatabase& db, const StoreShape& shape, const RowsDigest& written, qint64 largestKey)
{
    const auto failed = [](const QString& what) {
        return StoreError(
            ConversionErrorNumber::DiskOrNetwork,
            QCoreApplication::translate("brenzola::AccessConversion", "Verifica del nuovo archivio non riuscita: %1.").arg(what));
    };
    QStringList names;
    for (const StoreColumn& column : shape.columns) names << quoted(column.name);
    Statement query(db, QStringLiteral("SELECT %1 FROM %2").arg(names.join(u','), kTable));
    RowsDigest stored;
    std::vector<StoreValue> values(size_t(shape.columns.size()));
    while (query.next()) {
        for (qsizetype i = 0; i < shape.columns.size(); ++i) values[size_t(i)] = query.value(int(i));
        stored.add(values, shape);
    }
    if (stored.rows() != written.rows())
        throw failed(QCoreApplication::translate("brenzola::AccessConversion", "contiene %1 record invece di %2")
                         .arg(stored.rows())
                         .arg(written.rows()));
    if (!(stored == written))
        throw failed(
            QCoreApplication::translate("brenzola::AccessConversion", "i valori letti di nuovo non sono quelli scritti"));

    if (shape.keyIndex() >= 0 && shape.autoIncrement && written.rows() > 0) {
        QSqlQuery sequence = run(db, QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = '%1'").arg(kTable));
        if (!nextRow(sequence) || sequence.value(0).toLongLong() != largestKey)
            throw failed(
                QCoreApplication::translate("brenzola::AccessConversion", "la numerazione dei nuovi contatti non riparte da %1")
                    .arg(largestKey + 1));
    }
}

}  // namespace

// ---------------------------------------------------------------------------------------

StoreFileKind detectStoreFileKind(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    const QString what =
        QCoreApplication::translate("brenzola::AccessConversion", "Impossibile leggere il file «%1»").arg(shown(path));
    struct stat status {};
    if (::stat(native.constData(), &status) != 0) {
        if (errno == ENOENT) return StoreFileKind::Missing;
        throw systemError(errno, what);
    }
    if (S_ISDIR(status.st_mode)) throw systemError(EISDIR, what);
    if (!S_ISREG(status.st_mode))
        throw StoreError(ConversionErrorNumber::PathFileAccess,
                         QCoreApplication::translate("brenzola::AccessConversion", "%1: non è un file.").arg(what));
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw systemError(errno, what);
    unsigned char header[32] = {};
    size_t have = 0;
    while (have < sizeof header) {
        const ssize_t got = ::read(fd, header + have, sizeof header - have);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            const int error = errno;
            ::close(fd);
            throw systemError(error, what);
        }
        if (got == 0) break;
        have += size_t(got);
    }
    ::close(fd);

    if (have >= 16 && std::memcmp(header, "SQLite format 3\0", 16) == 0) return StoreFileKind::SQLite;
    static const unsigned char kMagic[4] = {0x00, 0x01, 0x00, 0x00};
    if (have > 0x14 && std::memcmp(header, kMagic, 4) == 0) {
        if (std::memcmp(header + 4, "Standard ACE DB", 15) == 0) return StoreFileKind::AccessAce;
        if (std::memcmp(header + 4, "Standard Jet DB", 15) == 0) {
            switch (header[0x14]) {
            case 0:
                return StoreFileKind::AccessJet3;
            case 1:
                return StoreFileKind::AccessJet4;
            default:
                return StoreFileKind::AccessAce;
            }
        }
    }
    return StoreFileKind::Other;
}

QString AccessSurvey::formatName() const
{
    return kind == StoreFileKind::AccessJet3
               ? QCoreApplication::translate("brenzola::AccessConversion", "Jet 3, Access 97")
               : QCoreApplication::translate("brenzola::AccessConversion", "Jet 4, Access 2000-2003");
}

void AccessSurvey::requireConvertible(const QString& path) const
{
    if (incompatibleColumns.isEmpty()) return;
    throw StoreError(StoreErrorNumber::TypeMismatch,
                     QCoreApplication::translate("brenzola::AccessConversion",
                                                 "Il file Access «%1» ha colonne che l'archivio non può accogliere: %2. Non è "
                                                 "possibile convertirlo.")
                         .arg(shown(path), incompatibleColumns.join(QStringLiteral(", "))));
}

QString AccessSurvey::describeDifferences() const
{
    QStringList paragraphs;
    if (!unknownColumns.isEmpty())
        paragraphs << QCoreApplication::translate(
                          "brenzola::AccessConversion",
                          "Colonne del file Access che l'archivio di Brenzola non conosce: %1. I loro dati NON "
                          "saranno convertiti (resteranno solo nel file originale).")
                          .arg(unknownColumns.join(QStringLiteral(", ")));
    if (!missingColumns.isEmpty())
        paragraphs << QCoreApplication::translate("brenzola::AccessConversion",
                                                  "Colonne dell'archivio di Brenzola assenti nel file Access: %1. Nei contatti "
                                                  "convertiti resteranno vuote%2.")
                          .arg(missingColumns.join(QStringLiteral(", ")),
                               keyColumnMissing ? QCoreApplication::translate(
                                   "brenzola::AccessConversion", ", e i contatti saranno numerati da 1 nell'ordine del file")
                                                : QString());
    return paragraphs.join(QStringLiteral("\n\n"));
}

QString storeDateFromAccess(double days)
{
    static const QDate kEpoch(1899, 12, 30);
    static constexpr qint64 kDayMs = 86400000;
    const auto invalid = [days] {
        return StoreError(StoreErrorNumber::TypeMismatch,
                          QCoreApplication::translate("brenzola::AccessConversion", "%1 non è una data valida")
                              .arg(QString::number(days, 'g', 17)));
    };
    // Access dates run from 1 January 100 (-657434) to 31 December 9999 (2958465).
    if (!std::isfinite(days) || days < -657435.0 || days > 2958466.0) throw invalid();
    // The fraction counts the time of day forward from midnight, also for days before 1900:
    // -1.25 is 29 December 1899 at 06:00.
    const double whole = std::trunc(days);
    qint64 ms = std::llround(std::fabs(days - whole) * double(kDayMs));
    QDate date = kEpoch.addDays(qint64(whole));
    if (ms >= kDayMs) {
        date = date.addDays(1);
        ms -= kDayMs;
    }
    if (!date.isValid() || date.year() < 100 || date.year() > 9999) throw invalid();
    QString text = QString::asprintf("%04d-%02d-%02d", date.year(), date.month(), date.day());
    if (ms != 0) {
        const QTime time = QTime::fromMSecsSinceStartOfDay(int(ms));
        text += time.toString(ms % 1000 ? QStringLiteral(" HH:mm:ss.zzz") : QStringLiteral(" HH:mm:ss"));
    }
    return text;
}

QString accessBackupPath(const QString& storePath)
{
    for (int number = 1; number <= 999; ++number) {
        QString candidate = backupCandidate(storePath, number);
        if (!pathExists(candidate)) return candidate;
    }
    return backupCandidate(storePath, 1000);
}

AccessSurvey surveyAccessFile(const QString& path, const ConversionOptions& options)
{
    const StoreFileKind kind = detectStoreFileKind(path);
    requireAccess(path, kind);
    const StoreShape& shape = storeShape();
    AccessSurvey survey;
    access::readAccessTable(
        path, kTable, false, options.readerTimeoutMs,
        [&](const access::SourceTable& table) { survey = planColumns(table, shape).survey; }, [](access::SourceRow&&) {});
    survey.kind = kind;
    return survey;
}

ConversionSummary convertAccessFile(const QString& input, const QString& output, const ConversionOptions& options)
{
    const QString source = QFileInfo(input).absoluteFilePath();
    const StoreFileKind kind = detectStoreFileKind(source);
    requireAccess(source, kind);
    const FileIdentity before = identityOf(source);

    QString target = QFileInfo(output).absoluteFilePath();
    bool inPlace = false;
    if (pathExists(target)) {
        struct stat status {};
        inPlace = ::stat(QFile::encodeName(target).constData(), &status) == 0 && status.st_dev == before.device
                  && status.st_ino == before.inode;
        if (!inPlace)
            throw StoreError(StoreErrorNumber::FileExists,
                             QCoreApplication::translate("brenzola::AccessConversion",
                                                         "Il file «%1» esiste già: la conversione non lo sovrascrive.")
                                 .arg(shown(target)));
        target = QFileInfo(target).canonicalFilePath();  // through a symbolic link: convert what it points to
    }
    const QString folder = QFileInfo(target).absolutePath();
    const StoreShape& shape = storeShape();

    removeAbandonedConversions(folder);
    WorkFolder work(folder);
    const QString temporary = work.filePath(QFileInfo(target).fileName());
    ConversionSummary summary;
    RowsDigest written;
    qint64 largestKey = 0;
    {
        SqlFile store(temporary);
        const QSqlDatabase db = store.database();
        // Nothing here needs a journal or syncing as it goes: a failed file is thrown away,
        // and the finished one is synced once before it is put in place.
        run(db, QStringLiteral("PRAGMA journal_mode = OFF"));
        run(db, QStringLiteral("PRAGMA synchronous = OFF"));
        run(db, QStringLiteral("BEGIN"));
        for (const QString& statement : shape.schema) run(db, statement);
        if (shape.userVersion != 0) run(db, QStringLiteral("PRAGMA user_version = %1").arg(shape.userVersion));

        QList<int> sourceOf;
        std::unique_ptr<Statement> insert;
        const int key = shape.keyIndex();
        bool keyGiven = true;
        qint64 totalRows = 0;
        std::vector<StoreValue> values(size_t(shape.columns.size()));
        access::readAccessTable(
            source, kTable, true, options.readerTimeoutMs,
            [&](const access::SourceTable& table) {
                const ColumnPlan plan = planColumns(table, shape);
                plan.survey.requireConvertible(source);
                if (plan.survey.columnsDiffer() && !options.acceptColumnDifferences)
                    throw StoreError(StoreErrorNumber::ItemNotFound,
                                     QCoreApplication::translate("brenzola::AccessConversion",
                                                                 "Le colonne del file Access «%1» non corrispondono a quelle "
                                                                 "dell'archivio; la conversione richiede il consenso.\n\n%2")
                                         .arg(shown(source), plan.survey.describeDifferences()));
                sourceOf = plan.sourceOf;
                keyGiven = key < 0 || sourceOf[key] >= 0;
                QStringList names;
                QStringList marks;
                for (qsizetype i = 0; i < shape.columns.size(); ++i) {
                    if (int(i) == key && !keyGiven) continue;
                    names << quoted(shape.columns[i].name);
                    marks << QStringLiteral("?");
                }
                insert = std::make_unique<Statement>(
                    db, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(kTable, names.join(u','), marks.join(u',')));
                summary.rowsRead = 0;
                if (options.progress) options.progress(0, table.rowCount);
                totalRows = table.rowCount;
            },
            [&](access::SourceRow&& row) {
                ++summary.rowsRead;
                int parameter = 0;
                for (qsizetype i = 0; i < shape.columns.size(); ++i) {
                    if (int(i) == key && !keyGiven) continue;
                    values[size_t(i)] =
                        sourceOf[i] < 0 ? StoreValue{} : storeValue(row[size_t(sourceOf[i])], shape.columns[i], summary.rowsRead);
                    insert->bind(++parameter, values[size_t(i)]);
                }
                insert->run();
                if (!keyGiven) values[size_t(key)] = {StoreValue::Integer, insert->lastRowId(), {}};
                if (key >= 0) largestKey = std::max(largestKey, values[size_t(key)].integer);
                written.add(values, shape);
                if (options.progress && summary.rowsRead % kReadProgressStep == 0) options.progress(summary.rowsRead, totalRows);
            });
        insert.reset();
        PreparaIdentita(db, Engine::SQLite);
        InstallaGiornale(db, Engine::SQLite);
        run(db, QStringLiteral("COMMIT"));
        if (options.progress) options.progress(summary.rowsRead, totalRows);

        verifyStore(db, shape, written, largestKey);
        summary.rowsWritten = written.rows();
    }
    // A store is its owner's alone, as a new one is: what the Access file let others read
    // is not carried over; what it kept from its owner (read-only) is.
    if (::chmod(QFile::encodeName(temporary).constData(), before.permissions & (S_IRUSR | S_IWUSR)) != 0)
        throw systemError(errno, QCoreApplication::translate("brenzola::AccessConversion",
                                                             "Impossibile dare al nuovo archivio i permessi del file Access"));
    syncPath(temporary, O_RDONLY,
             QCoreApplication::translate("brenzola::AccessConversion", "Scrittura del nuovo archivio non riuscita"));

    if (!(identityOf(source) == before))
        throw StoreError(ConversionErrorNumber::FileChanged,
                         QCoreApplication::translate("brenzola::AccessConversion",
                                                     "Il file Access «%1» è stato modificato durante la conversione: ripeterla.")
                             .arg(shown(source)));

    const QByteArray from = QFile::encodeName(temporary);
    const QByteArray to = QFile::encodeName(target);
    if (inPlace) {
        // The original first gets its second name, so that its bytes are never without one;
        // then the new store replaces it in one step.
        summary.backupPath = keepOriginal(target);
        if (::rename(from.constData(), to.constData()) != 0) {
            const int error = errno;
            QString what = QCoreApplication::translate("brenzola::AccessConversion",
                                                       "Impossibile mettere il nuovo archivio al posto di «%1»")
                               .arg(shown(target));
            if (::unlink(QFile::encodeName(summary.backupPath).constData()) != 0)
                what += QCoreApplication::translate("brenzola::AccessConversion", " (e la copia «%1» non si è potuta togliere)")
                            .arg(shown(summary.backupPath));
            throw systemError(error, what);
        }
    } else if (::link(from.constData(), to.constData()) != 0) {
        // A link never replaces an existing file; without links, rename once we know the
        // name is still free.
        const int error = errno;
        const QString what =
            QCoreApplication::translate("brenzola::AccessConversion", "Impossibile creare «%1»").arg(shown(target));
        if (error == EEXIST)
            throw StoreError(StoreErrorNumber::FileExists,
                             QCoreApplication::translate("brenzola::AccessConversion",
                                                         "Il file «%1» esiste già: la conversione non lo sovrascrive.")
                                 .arg(shown(target)));
        if (error != EPERM && error != EXDEV && error != EMLINK && error != ENOSYS && error != EOPNOTSUPP)
            throw systemError(error, what);
        if (pathExists(target))
            throw StoreError(StoreErrorNumber::FileExists,
                             QCoreApplication::translate("brenzola::AccessConversion",
                                                         "Il file «%1» esiste già: la conversione non lo sovrascrive.")
                                 .arg(shown(target)));
        if (::rename(from.constData(), to.constData()) != 0) throw systemError(errno, what);
    }
    // The files are in place; making the folder's new entries durable is the best we can add.
    const int directory = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory >= 0) {
        ::fsync(directory);
        ::close(directory);
    }
    return summary;
}

}  // namespace brenzola
