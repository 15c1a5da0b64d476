#include "store/filestatement.h"

#include "store/sqlerror.h"

#include <sqlite3.h>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QStringDecoder>

namespace brenzola {

sqlite3* sqliteHandle(const QSqlDatabase& db) { return *static_cast<sqlite3* const*>(db.driver()->handle().constData()); }

class FileStatement::Row final : public RowView {
public:
    explicit Row(sqlite3_stmt* statement) : statement_(statement), texts_(size_t(sqlite3_column_count(statement))) {}
    bool isNull(int column) const override { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }
    qint64 integer(int column) const override { return sqlite3_column_int64(statement_, column); }
    // Decoded here from the stored UTF-8 into a buffer kept from row to row: asking the
    // engine for UTF-16 would allocate twice for every value.
    QStringView text(int column) const override
    {
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
        const auto size = size_t(sqlite3_column_bytes(statement_, column));
        std::u16string& text = texts_[size_t(column)];
        text.resize(size);  // never more UTF-16 units than UTF-8 bytes
        size_t i = 0;
        for (; i < size && static_cast<unsigned char>(bytes[i]) < 0x80; ++i) text[i] = char16_t(bytes[i]);
        if (i < size) {
            QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            QChar* end =
                decoder.appendToBuffer(reinterpret_cast<QChar*>(text.data() + i), QByteArrayView(bytes + i, qsizetype(size - i)));
            text.resize(size_t(reinterpret_cast<char16_t*>(end) - text.data()));
        }
        return {text.data(), qsizetype(text.size())};
    }
    std::string_view utf8(int column) const override
    {
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
        return {bytes ? bytes : "", size_t(sqlite3_column_bytes(statement_, column))};
    }

private:
    sqlite3_stmt* statement_;
    mutable std::vector<std::u16string> texts_;
};

FileStatement::FileStatement(const QSqlDatabase& db, const QString& sql) : handle_(sqliteHandle(db))
{
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v3(handle_, utf8.constData(), int(utf8.size()), SQLITE_PREPARE_PERSISTENT, &statement_, nullptr)
        != SQLITE_OK)
        fail();
    bound_.resize(size_t(sqlite3_bind_parameter_count(statement_)));
    row_ = std::make_unique<Row>(statement_);
}

FileStatement::~FileStatement() { sqlite3_finalize(statement_); }

void FileStatement::bind(int place, const QVariant& value)
{
    int rc = SQLITE_OK;
    const int type = value.typeId();
    if (value.isNull()) {
        rc = sqlite3_bind_null(statement_, place);
    } else if (type == QMetaType::LongLong || type == QMetaType::Int) {
        rc = sqlite3_bind_int64(statement_, place, value.toLongLong());
    } else {
        QByteArray& text = bound_.at(size_t(place - 1));
        text = value.toString().toUtf8();
        rc = sqlite3_bind_text(statement_, place, text.constData(), int(text.size()), SQLITE_STATIC);
    }
    if (rc != SQLITE_OK) fail();
}

bool FileStatement::step()
{
    const int rc = sqlite3_step(statement_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) {
        sqlite3_reset(statement_);
        return false;
    }
    const StoreError error = storeErrorFrom(sqlite3_extended_errcode(handle_), QString::fromUtf8(sqlite3_errmsg(handle_)));
    sqlite3_reset(statement_);
    throw error;
}

void FileStatement::reset() { sqlite3_reset(statement_); }

const RowView& FileStatement::row() const { return *row_; }

void FileStatement::fail() const
{
    throw storeErrorFrom(sqlite3_extended_errcode(handle_), QString::fromUtf8(sqlite3_errmsg(handle_)));
}

}  // namespace brenzola
