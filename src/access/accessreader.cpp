#include "access/accessreader.h"

#include "access/accessconversion.h"
#include "store/funzioni.h"
#include "store/storeerror.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>

#include <mdbtools.h>

#include <poll.h>
#include <stdio_ext.h>
#include <strings.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

namespace brenzola::access {

QString ConversionLogPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("Brenzola/conversione.log"));
}

QString columnTypeName(int type)
{
    switch (type) {
    case ColumnType::Bool:
        return QCoreApplication::translate("brenzola::AccessReader", "Sì/No");
    case ColumnType::Byte:
        return QCoreApplication::translate("brenzola::AccessReader", "Byte");
    case ColumnType::Integer:
        return QCoreApplication::translate("brenzola::AccessReader", "Intero");
    case ColumnType::LongInteger:
        return QCoreApplication::translate("brenzola::AccessReader", "Intero lungo");
    case ColumnType::Currency:
        return QCoreApplication::translate("brenzola::AccessReader", "Valuta");
    case ColumnType::Single:
        return QCoreApplication::translate("brenzola::AccessReader", "Precisione singola");
    case ColumnType::Double:
        return QCoreApplication::translate("brenzola::AccessReader", "Precisione doppia");
    case ColumnType::DateTime:
        return QCoreApplication::translate("brenzola::AccessReader", "Data/ora");
    case ColumnType::Binary:
        return QCoreApplication::translate("brenzola::AccessReader", "Binario");
    case ColumnType::Text:
        return QCoreApplication::translate("brenzola::AccessReader", "Testo");
    case ColumnType::Ole:
        return QCoreApplication::translate("brenzola::AccessReader", "Oggetto OLE");
    case ColumnType::Memo:
        return QCoreApplication::translate("brenzola::AccessReader", "Memo");
    case ColumnType::ReplicationId:
        return QCoreApplication::translate("brenzola::AccessReader", "ID replica");
    case ColumnType::Decimal:
        return QCoreApplication::translate("brenzola::AccessReader", "Decimale");
    default:
        return QCoreApplication::translate("brenzola::AccessReader", "tipo %1").arg(type);
    }
}

namespace {

// What the child reports when it cannot go on.
enum class Failure : std::uint8_t {
    Open = 1,
    Charset,
    Catalog,
    TableMissing,
    TableLinked,
    TableDefinition,
    RowUnreadable,
    ValueUnreadable,
    Warning,
};

// Messages from the child: one tag byte, the payload's length, the payload.
constexpr char kTableMessage = 'T';
constexpr char kRowMessage = 'R';
constexpr char kFailureMessage = 'E';
constexpr char kDoneMessage = 'D';
constexpr std::size_t kHeaderSize = 5;

// ---------------------------------------------------------------------------------------
// The child. It runs between fork() and _exit() only: no Qt, nothing that needs the
// parent's threads, and every failure is a message rather than an exception.
namespace child {

constexpr std::size_t kLogCapacity = 64 * 1024;
constexpr std::size_t kDefaultBindSize = 16384;
constexpr std::size_t kLargestText = std::size_t(1) << 30;
// The row offsets in a data page carry flags in their top bits.
constexpr int kRowOffsetMask = 0x1fff;

void appendU32(std::string& out, std::uint32_t value) { out.append(reinterpret_cast<const char*>(&value), 4); }
void appendI64(std::string& out, std::int64_t value) { out.append(reinterpret_cast<const char*>(&value), 8); }
void appendF64(std::string& out, double value) { out.append(reinterpret_cast<const char*>(&value), 8); }
void appendBytes(std::string& out, const char* bytes, std::size_t size)
{
    appendU32(out, std::uint32_t(size));
    out.append(bytes, size);
}

class Channel {
public:
    Channel(int fd, int log) : fd_(fd), log_(log) {}

    void send(char tag, const std::string& payload)
    {
        pending_ += tag;
        appendU32(pending_, std::uint32_t(payload.size()));
        pending_ += payload;
        if (pending_.size() >= 32 * 1024) flush();
    }

    void flush()
    {
        const char* data = pending_.data();
        std::size_t left = pending_.size();
        while (left > 0) {
            const ssize_t written = ::write(fd_, data, left);
            if (written < 0) {
                if (errno == EINTR) continue;
                _exit(1);  // the parent has gone away
            }
            data += written;
            left -= std::size_t(written);
        }
        pending_.clear();
    }

    // Where libmdb's printed messages have got to.
    off_t logPosition() const { return log_ < 0 ? 0 : ::lseek(log_, 0, SEEK_CUR); }

    // What libmdb has printed since `from`, on one line.
    std::string logSince(off_t from) const
    {
        const off_t to = logPosition();
        if (log_ < 0 || to <= from) return {};
        std::string text(std::size_t(std::min<off_t>(to - from, 600)), '\0');
        const ssize_t got = ::pread(log_, text.data(), text.size(), from);
        text.resize(got > 0 ? std::size_t(got) : 0);
        for (char& c : text)
            if (c == '\n' || c == '\r' || c == '\t') c = ' ';
        while (!text.empty() && text.back() == ' ') text.pop_back();
        return text;
    }

    [[noreturn]] void fail(Failure failure, const std::string& detail)
    {
        std::string payload(1, char(failure));
        appendBytes(payload, detail.data(), detail.size());
        send(kFailureMessage, payload);
        flush();
        _exit(0);
    }

private:
    int fd_;
    int log_;
    std::string pending_;
};

// libmdb prints its complaints; keep them, up to a cap, instead of letting them reach the
// program's own output, so that a complaint while reading rows can fail the read.
int captureOutput()
{
    int log = memfd_create("brenzola-access", MFD_ALLOW_SEALING);
    if (log >= 0 && (::ftruncate(log, off_t(kLogCapacity)) != 0 || ::fcntl(log, F_ADD_SEALS, F_SEAL_GROW | F_SEAL_SHRINK) != 0)) {
        ::close(log);
        log = -1;
    }
    const int target = log >= 0 ? log : ::open("/dev/null", O_WRONLY);
    __fpurge(stdout);  // what the parent had not written yet is the parent's business
    __fpurge(stderr);
    if (target >= 0) {
        ::dup2(target, STDOUT_FILENO);
        ::dup2(target, STDERR_FILENO);
    }
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    return log >= 0 ? STDERR_FILENO : -1;
}

// A damaged file can make libmdb allocate without end; cap the child's address space at
// what it has now plus a generous allowance for reading the file.
void limitMemory(std::size_t allowance)
{
    long pages = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld", &pages) != 1) pages = 0;
        std::fclose(statm);
    }
    if (pages <= 0) return;
    rlimit limit{};
    ::getrlimit(RLIMIT_AS, &limit);
    const rlim_t wanted = rlim_t(pages) * rlim_t(::sysconf(_SC_PAGESIZE)) + rlim_t(allowance);
    if (limit.rlim_cur == RLIM_INFINITY || wanted < limit.rlim_cur) {
        limit.rlim_cur = wanted;
        if (limit.rlim_max != RLIM_INFINITY && limit.rlim_max < wanted) limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_AS, &limit);
    }
}

// libmdb cuts a converted text at its bind size without saying so: convert again with more
// room until the text ends well inside it.
char* wholeText(MdbHandle* mdb, const MdbField& field, int type)
{
    std::size_t room = kDefaultBindSize;
    char* text = nullptr;
    for (;;) {
        mdb_set_bind_size(mdb, room);
        text = mdb_col_to_string(mdb, mdb->pg_buf, field.start, type, field.siz);
        if (!text || std::strlen(text) + 8 < room) break;
        g_free(text);
        text = nullptr;
        if (room >= kLargestText) break;
        room *= 4;
    }
    if (room != kDefaultBindSize) mdb_set_bind_size(mdb, kDefaultBindSize);
    return text;
}

// The record's number, then a NUL and the column's name when known: the parent words it,
// since the child may not use Qt's translations.
std::string rowPlace(unsigned row, const MdbColumn* column)
{
    std::string place = std::to_string(row);
    if (column) (place += '\0') += column->name;
    return place;
}

[[noreturn]] void run(const char* path, const char* tableName, bool withRows, int out, std::size_t allowance)
{
    std::signal(SIGPIPE, SIG_IGN);
    Channel channel(out, captureOutput());
    limitMemory(allowance);
    ::unsetenv("MDBICONV");  // libmdb then always hands out UTF-8

    MdbHandle* mdb = mdb_open(path, MDB_NOFLAGS);
    if (!mdb) channel.fail(Failure::Open, channel.logSince(0));
    const unsigned version = mdb->f->jet_version;
    if (version != MDB_VER_JET3 && version != MDB_VER_JET4) channel.fail(Failure::Open, "versione " + std::to_string(version));
    if (version == MDB_VER_JET4) {
        // libmdb reads Jet 4 text as UCS-2, which turns every character beyond the Basic
        // Multilingual Plane into "??"; Access stores UTF-16.
        mdb_iconv_close(mdb);
        mdb->iconv_in = iconv_open("UTF-8", "UTF-16LE");
        mdb->iconv_out = iconv_open("UTF-16LE", "UTF-8");
        if (mdb->iconv_in == iconv_t(-1) || mdb->iconv_out == iconv_t(-1)) channel.fail(Failure::Charset, std::strerror(errno));
    }

    if (!mdb_read_catalog(mdb, MDB_ANY)) channel.fail(Failure::Catalog, channel.logSince(0));
    MdbCatalogEntry* entry = nullptr;
    bool linked = false;
    for (unsigned i = 0; i < mdb->num_catalog && !entry; ++i) {
        auto* candidate = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (strcasecmp(candidate->object_name, tableName) != 0) continue;
        if (candidate->object_type == MDB_TABLE)
            entry = candidate;
        else if (candidate->object_type == MDB_LINKED_TABLE)
            linked = true;
    }
    if (!entry) {
        // A catalog read with complaints may have lost the table rather than never had it.
        const std::string complaints = channel.logSince(0);
        if (!linked && !complaints.empty()) channel.fail(Failure::Catalog, complaints);
        channel.fail(linked ? Failure::TableLinked : Failure::TableMissing, {});
    }

    MdbTableDef* table = mdb_read_table(entry);
    if (!table || !mdb_read_columns(table) || table->num_cols == 0 || table->columns->len != table->num_cols)
        channel.fail(Failure::TableDefinition, channel.logSince(0));

    std::string shape;
    appendU32(shape, version);
    appendBytes(shape, entry->object_name, std::strlen(entry->object_name));
    appendI64(shape, table->num_rows);
    appendU32(shape, table->num_cols);
    for (unsigned i = 0; i < table->num_cols; ++i) {
        auto* column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
        appendBytes(shape, column->name, std::strlen(column->name));
        appendU32(shape, std::uint32_t(column->col_type));
    }
    channel.send(kTableMessage, shape);
    if (!withRows) {
        channel.send(kDoneMessage, std::string(8, '\0'));
        channel.flush();
        _exit(0);
    }

    const off_t logBeforeRows = channel.logPosition();
    mdb_rewind_table(table);  // always 0: it only resets the table's position
    std::vector<MdbField> fields(table->num_cols);
    std::int64_t rows = 0;
    std::string payload;
    // mdb_fetch_row walks the rows as libmdb means them (deleted ones skipped), but the text
    // it hands over cannot tell Null from the empty text; cracking the row again can.
    while (mdb_fetch_row(table)) {
        const unsigned rowNumber = unsigned(rows + 1);
        int start = 0;
        size_t size = 0;
        if (table->cur_row == 0 || mdb_find_row(mdb, int(table->cur_row) - 1, &start, &size) != 0)
            channel.fail(Failure::RowUnreadable, rowPlace(rowNumber, nullptr));
        const int count = mdb_crack_row(table, start & kRowOffsetMask, size, fields.data());
        if (count != int(table->num_cols)) channel.fail(Failure::RowUnreadable, rowPlace(rowNumber, nullptr));

        std::vector<const MdbField*> byColumn(table->num_cols, nullptr);
        for (const MdbField& field : fields)
            if (field.colnum >= 0 && unsigned(field.colnum) < table->num_cols) byColumn[std::size_t(field.colnum)] = &field;

        payload.clear();
        for (unsigned i = 0; i < table->num_cols; ++i) {
            auto* column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
            const MdbField* field = byColumn[i];
            if (!field) channel.fail(Failure::RowUnreadable, rowPlace(rowNumber, column));
            if (field->is_null && column->col_type != MDB_BOOL) {
                payload += char(SourceValue::Null);
                continue;
            }
            switch (column->col_type) {
            case MDB_DATETIME:
                if (field->siz != 8) channel.fail(Failure::ValueUnreadable, rowPlace(rowNumber, column));
                payload += char(SourceValue::DateTime);
                appendF64(payload, mdb_get_double(mdb->pg_buf, field->start));
                break;
            case MDB_TEXT:
            case MDB_MEMO:
            case MDB_BYTE:
            case MDB_INT:
            case MDB_LONGINT: {
                payload += char(SourceValue::Text);
                if (field->siz == 0 && column->col_type == MDB_TEXT) {
                    appendU32(payload, 0);
                    break;
                }
                char* text = wholeText(mdb, *field, column->col_type);
                if (!text) channel.fail(Failure::ValueUnreadable, rowPlace(rowNumber, column));
                appendBytes(payload, text, std::strlen(text));
                g_free(text);
                break;
            }
            default:
                payload += char(SourceValue::Unsupported);
                break;
            }
        }
        channel.send(kRowMessage, payload);
        ++rows;
    }
    const std::string complaints = channel.logSince(logBeforeRows);
    if (!complaints.empty()) channel.fail(Failure::Warning, complaints);

    std::string done;
    appendI64(done, rows);
    channel.send(kDoneMessage, done);
    channel.flush();
    _exit(0);
}

}  // namespace child

// ---------------------------------------------------------------------------------------
// The parent's side.

// Reads the child's messages; any shortfall marks the message as malformed.
class Cursor {
public:
    Cursor(const char* data, std::size_t size) : at_(data), end_(data + size) {}

    bool ok() const { return ok_; }
    bool atEnd() const { return at_ == end_; }

    template <typename T> T take()
    {
        T value{};
        if (!has(sizeof(T))) return value;
        std::memcpy(&value, at_, sizeof(T));
        at_ += sizeof(T);
        return value;
    }

    QByteArray bytes()
    {
        const std::uint32_t size = take<std::uint32_t>();
        if (!has(size)) return {};
        QByteArray value(at_, qsizetype(size));
        at_ += size;
        return value;
    }

private:
    bool has(std::size_t size)
    {
        if (ok_ && std::size_t(end_ - at_) >= size) return true;
        ok_ = false;
        return false;
    }

    const char* at_;
    const char* end_;
    bool ok_ = true;
};

// Stops and reaps the child however the read ends.
class ChildProcess {
public:
    ChildProcess(pid_t pid, int fd) : pid_(pid), fd_(fd) {}
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            wait();
        }
        ::close(fd_);
    }

    int fd() const { return fd_; }

    int wait()
    {
        int status = 0;
        while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        pid_ = -1;
        return status;
    }

private:
    pid_t pid_;
    int fd_;
};

StoreError damaged(const QString& path, const QString& what)
{
    return StoreError(
        ConversionErrorNumber::CannotOpenDatabase,
        QCoreApplication::translate("brenzola::AccessReader",
                                    "Il file Access «%1» non si può leggere: %2. Il file è probabilmente danneggiato: "
                                    "provare a ripararlo con «Compatta e ripristina database» di Access.")
            .arg(QDir::toNativeSeparators(path), what));
}

// What the reading library printed is for whoever looks into a failure, not for the
// message: it goes to a log, and the message says where.
QString logged(const QString& path, const QByteArray& detail)
{
    if (detail.isEmpty()) return {};
    const QString log = ConversionLogPath();
    QDir().mkpath(QFileInfo(log).absolutePath());
    QFile file(log);
    if (!file.open(QIODevice::Append | QIODevice::Text)) return {};
    file.write(
        QStringLiteral("%1 %2\n%3\n\n")
            .arg(QDateTime::currentDateTime().toString(Qt::ISODate), QDir::toNativeSeparators(path), QString::fromUtf8(detail))
            .toUtf8());
    return QCoreApplication::translate("brenzola::AccessReader", " Dettagli tecnici in «%1».").arg(QDir::toNativeSeparators(log));
}

// Which record and column the child could not read, from what rowPlace() sent.
QString rowPlace(const QByteArray& detail)
{
    const qsizetype split = detail.indexOf('\0');
    if (split < 0) return QCoreApplication::translate("brenzola::AccessReader", "record %1").arg(QString::fromUtf8(detail));
    return QCoreApplication::translate("brenzola::AccessReader", "record %1, colonna %2")
        .arg(QString::fromUtf8(detail.left(split)), QString::fromUtf8(detail.mid(split + 1)));
}

StoreError withLog(const StoreError& error, const QString& path, const QByteArray& detail)
{
    return StoreError(error.number(), error.description() + logged(path, detail));
}

StoreError failureError(const QString& path, Failure failure, const QByteArray& detail, const QString& tableName)
{
    const QString file = QDir::toNativeSeparators(path);
    switch (failure) {
    case Failure::Open:
        return withLog(
            damaged(path, QCoreApplication::translate("brenzola::AccessReader", "la libreria di lettura non riesce ad aprirlo")),
            path, detail);
    case Failure::Charset:
        return withLog(
            StoreError(ConversionErrorNumber::CannotOpenDatabase,
                       QCoreApplication::translate("brenzola::AccessReader",
                                                   "La conversione dei caratteri del file Access «%1» non è disponibile.")
                           .arg(file)),
            path, detail);
    case Failure::Catalog:
        return withLog(
            damaged(path, QCoreApplication::translate("brenzola::AccessReader", "il suo elenco delle tabelle è illeggibile")),
            path, detail);
    case Failure::TableMissing:
        return StoreError(ConversionErrorNumber::TableNotFound,
                          QCoreApplication::translate("brenzola::AccessReader", "Il file Access «%1» non contiene la tabella %2.")
                              .arg(file, tableName));
    case Failure::TableLinked:
        return StoreError(
            ConversionErrorNumber::TableNotFound,
            QCoreApplication::translate("brenzola::AccessReader",
                                        "Nel file Access «%1» la tabella %2 è collegata a un altro file, che contiene i "
                                        "dati: convertire quel file.")
                .arg(file, tableName));
    case Failure::TableDefinition:
        return withLog(
            damaged(path, QCoreApplication::translate("brenzola::AccessReader", "la definizione della tabella %1 è illeggibile")
                              .arg(tableName)),
            path, detail);
    case Failure::RowUnreadable:
    case Failure::ValueUnreadable:
        // The detail is ours: which record and column.
        return damaged(path, QCoreApplication::translate("brenzola::AccessReader", "il %1 della tabella %2 è illeggibile")
                                 .arg(rowPlace(detail), tableName));
    case Failure::Warning:
        return withLog(damaged(path, QCoreApplication::translate("brenzola::AccessReader",
                                                                 "la lettura dei record ha trovato dati danneggiati")),
                       path, detail);
    }
    return damaged(path, QCoreApplication::translate("brenzola::AccessReader", "errore di lettura sconosciuto"));
}

}  // namespace

void readAccessTable(const QString& path, const QString& tableName, bool withRows, int timeoutMs,
                     const std::function<void(const SourceTable&)>& onTable, const std::function<void(SourceRow&&)>& onRow)
{
    const QByteArray nativePath = QFile::encodeName(path);
    const QByteArray nativeTable = tableName.toUtf8();
    const std::size_t allowance = std::size_t(256) * 1024 * 1024 + std::size_t(QFileInfo(path).size()) * 4;

    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0)
        throw systemError(
            errno, QCoreApplication::translate("brenzola::AccessReader", "Impossibile avviare la lettura del file Access"));
    const pid_t pid = ::fork();
    if (pid < 0) {
        const int error = errno;
        ::close(pipe[0]);
        ::close(pipe[1]);
        throw systemError(
            error, QCoreApplication::translate("brenzola::AccessReader", "Impossibile avviare la lettura del file Access"));
    }
    if (pid == 0) {
        ::close(pipe[0]);
        child::run(nativePath.constData(), nativeTable.constData(), withRows, pipe[1], allowance);
    }
    ::close(pipe[1]);
    ChildProcess child(pid, pipe[0]);

    SourceTable table;
    bool haveTable = false;
    std::optional<qint64> doneRows;
    qint64 rows = 0;
    QByteArray buffer;
    qsizetype parsed = 0;
    const auto malformed = [&] {
        return damaged(
            path, QCoreApplication::translate("brenzola::AccessReader", "il processo di lettura ha risposto in modo non valido"));
    };

    for (;;) {
        pollfd wanted{child.fd(), POLLIN, 0};
        const int ready = ::poll(&wanted, 1, timeoutMs);
        if (ready < 0) {
            if (errno == EINTR) continue;
            throw systemError(errno, QCoreApplication::translate("brenzola::AccessReader", "Lettura del file Access interrotta"));
        }
        if (ready == 0)
            throw damaged(path, QCoreApplication::translate("brenzola::AccessReader",
                                                            "la lettura non procede da %1 secondi ed è stata fermata")
                                    .arg(Funzioni::LocaleMostrata().toString(timeoutMs / 1000.0, 'g', 3)));
        char chunk[64 * 1024];
        const ssize_t got = ::read(child.fd(), chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR) continue;
            throw systemError(errno, QCoreApplication::translate("brenzola::AccessReader", "Lettura del file Access interrotta"));
        }
        if (got == 0) break;
        buffer.append(chunk, got);

        while (buffer.size() - parsed >= qsizetype(kHeaderSize)) {
            const char* at = buffer.constData() + parsed;
            std::uint32_t size = 0;
            std::memcpy(&size, at + 1, 4);
            if (buffer.size() - parsed - qsizetype(kHeaderSize) < qsizetype(size)) break;
            const char tag = at[0];
            Cursor cursor(at + kHeaderSize, size);
            parsed += qsizetype(kHeaderSize + size);

            if (tag == kTableMessage && !haveTable) {
                table.jetVersion = int(cursor.take<std::uint32_t>());
                table.name = QString::fromUtf8(cursor.bytes());
                table.rowCount = cursor.take<std::int64_t>();
                const std::uint32_t columns = cursor.take<std::uint32_t>();
                for (std::uint32_t i = 0; i < columns && cursor.ok(); ++i) {
                    SourceColumn column;
                    column.name = QString::fromUtf8(cursor.bytes());
                    column.type = int(cursor.take<std::uint32_t>());
                    table.columns << column;
                }
                if (!cursor.ok() || !cursor.atEnd()) throw malformed();
                haveTable = true;
                onTable(table);
            } else if (tag == kRowMessage && haveTable) {
                SourceRow row(std::size_t(table.columns.size()));
                for (SourceValue& value : row) {
                    value.kind = SourceValue::Kind(cursor.take<std::uint8_t>());
                    if (value.kind == SourceValue::Text)
                        value.text = cursor.bytes();
                    else if (value.kind == SourceValue::DateTime)
                        value.days = cursor.take<double>();
                    else if (value.kind != SourceValue::Null && value.kind != SourceValue::Unsupported)
                        throw malformed();
                }
                if (!cursor.ok() || !cursor.atEnd()) throw malformed();
                ++rows;
                onRow(std::move(row));
            } else if (tag == kFailureMessage) {
                const auto failure = Failure(cursor.take<std::uint8_t>());
                const QByteArray detail = cursor.bytes();
                throw failureError(path, failure, detail, tableName);
            } else if (tag == kDoneMessage && haveTable) {
                doneRows = cursor.take<std::int64_t>();
                if (!cursor.ok()) throw malformed();
            } else {
                throw malformed();
            }
        }
        buffer.remove(0, parsed);
        parsed = 0;
    }

    const int status = child.wait();
    if (WIFSIGNALED(status))
        throw damaged(path, QCoreApplication::translate("brenzola::AccessReader", "la lettura si è interrotta (segnale %1, %2)")
                                .arg(WTERMSIG(status))
                                .arg(QString::fromLocal8Bit(strsignal(WTERMSIG(status)))));
    if (!doneRows || !buffer.isEmpty() || WEXITSTATUS(status) != 0)
        throw damaged(path, QCoreApplication::translate("brenzola::AccessReader", "la lettura si è interrotta prima della fine"));
    if (withRows && (*doneRows != rows || rows != table.rowCount))
        throw damaged(
            path, QCoreApplication::translate("brenzola::AccessReader", "letti %1 record della tabella %2, che ne dichiara %3")
                      .arg(rows)
                      .arg(table.name)
                      .arg(table.rowCount));
}

}  // namespace brenzola::access
