#include "store/recordset.h"

#include "store/accessdialect.h"
#include "store/connection.h"
#include "store/filestatement.h"
#include "store/logging.h"
#include "store/sqlerror.h"
#include "store/storeddate.h"

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QRegularExpression>
#include <QSqlField>
#include <QSqlQuery>

#include <algorithm>

namespace brenzola {
namespace {

// The table a `select ... from <table>` reads, or an empty text for anything else.
QString sourceTable(const QString& statement)
{
    static const QRegularExpression from(
        QStringLiteral(R"(^\s*select\b.*?\bfrom\s+\[?([A-Za-z_][A-Za-z0-9_]*)\]?)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    return from.match(statement).captured(1);
}

// Anything that is not a readable date (a day that does not exist, day-first text, a
// number) is handed on exactly as stored, never guessed at.
QVariant dateFromStore(const QVariant& stored)
{
    if (stored.isNull()) return {};
    if (stored.typeId() != QMetaType::QString) return stored;
    const QDate date = dateFromStoredText(stored.toString());
    return date.isValid() ? QVariant(date) : stored;
}

// Two stored values are the same when both are Null, or both hold the same value of the same kind.
bool sameStored(const QVariant& a, const QVariant& b)
{
    if (a.isNull() || b.isNull()) return a.isNull() == b.isNull();
    return a.typeId() == b.typeId() && a == b;
}

}  // namespace

QVariant storedValue(const QVariant& value, bool isDate, const QString& column)
{
    if (value.isNull()) return {};
    if (!isDate) return value.typeId() == QMetaType::QDate ? storedDateText(value.toDate()) : value.toString();
    QDate date;
    if (value.typeId() == QMetaType::QDate)
        date = value.toDate();
    else if (value.typeId() == QMetaType::QDateTime)
        date = value.toDateTime().date();
    else
        date = QDate::fromString(value.toString(), QStringLiteral("dd/MM/yyyy"));
    if (!date.isValid())
        throw StoreError(StoreErrorNumber::TypeMismatch,
                         QCoreApplication::translate("brenzola::Recordset", "Valore non valido per il campo data «%1»: «%2».")
                             .arg(column, value.toString()));
    return storedDateText(date);
}

namespace {

[[noreturn]] void noCurrentRecord()
{
    throw StoreError(StoreErrorNumber::NoCurrentRecord,
                     QCoreApplication::translate("brenzola::Recordset", "Nessun record corrente: inizio o fine del recordset."));
}

}  // namespace

Recordset::Recordset() = default;
Recordset::~Recordset() = default;

void Recordset::Open(const QString& statement, Connection* connection)
{
    openConnection(connection);
    const QString translated = translateAccessSql(statement, connection->engine());
    qCDebug(lcStore) << "recordset" << translated;
    const QString table = sourceTable(statement);
    const TableSchema& schema = connection->schema(table);  // asked before the statement runs: see below
    // A server reads forward-only results a row at a time, and then takes no other
    // statement until the last row has come: its results are taken whole instead.
    std::unique_ptr<QSqlQuery> query;
    const auto execute = [&] {
        query = std::make_unique<QSqlQuery>(connection->database());
        query->setForwardOnly(connection->engine() == Engine::SQLite);
        return query->exec(translated);
    };
    if (!execute()) {
        const StoreError error = storeErrorFrom(*query);
        // A reading may be tried once more on a server connection found lost and remade.
        if (!connection->reconnectIfLost()) throw error;
        if (!execute()) throw storeErrorFrom(*query);
    }

    connection_ = connection;
    write_.reset();
    table_ = schema.exists() ? table : QString();
    const QSqlRecord columns = query->record();
    dateColumn_.assign(size_t(columns.count()), false);
    for (int i = 0; i < columns.count(); ++i) dateColumn_[size_t(i)] = schema.isDate(columns.fieldName(i));
    row_ = columns;
    assigned_.clear();
    editing_ = Editing::None;
    rowIsCached_ = false;
    query_ = std::move(query);
    MoveNext();
}

void Recordset::MoveNext()
{
    if (editing_ != Editing::None) Update();
    rowIsCached_ = false;
    stored_.clear();
    try {
        eof_ = !query_ || !nextRow(*query_);
    } catch (...) {
        eof_ = true;
        query_.reset();
        throw;
    }
    if (eof_) query_.reset();
}

QVariantList Recordset::StoredValues() const
{
    requireRow();
    if (!stored_.isEmpty() || rowIsCached_) return stored_;
    QVariantList values;
    for (int i = 0; i < int(dateColumn_.size()); ++i) values << query_->value(i);
    return values;
}

bool Recordset::Holds(const QVariantList& stored) const
{
    const QVariantList current = StoredValues();
    if (current.size() != stored.size()) return false;
    for (qsizetype i = 0; i < current.size(); ++i)
        if (!sameStored(current[i], stored[i])) return false;
    return true;
}

QVariant Recordset::Fields(int index) const
{
    requireRow();
    if (index < 0 || index >= int(dateColumn_.size()))
        throw StoreError(StoreErrorNumber::ItemNotFound,
                         QCoreApplication::translate("brenzola::Recordset", "Campo %1 non trovato nel recordset.").arg(index));
    if (rowIsCached_) return row_.value(index);
    const QVariant value = query_->value(index);
    return dateColumn_[size_t(index)] ? dateFromStore(value) : value;
}

QVariant Recordset::Fields(const QString& name) const { return Fields(fieldIndex(name)); }

int Recordset::fieldIndex(const QString& name) const
{
    const int index = row_.indexOf(name);
    if (index < 0)
        throw StoreError(StoreErrorNumber::ItemNotFound,
                         QCoreApplication::translate("brenzola::Recordset", "Campo «%1» non trovato nel recordset.").arg(name));
    return index;
}

void Recordset::requireRow() const
{
    if (eof_) noCurrentRecord();
}

void Recordset::readCurrentRow()
{
    if (rowIsCached_) return;
    stored_ = StoredValues();  // what a change in place expects the row still to hold
    for (int i = 0; i < row_.count(); ++i) row_.setValue(i, Fields(i));
    rowIsCached_ = true;
}

void Recordset::AddNew()
{
    if (table_.isEmpty())
        throw StoreError(StoreErrorNumber::NotUpdatable,
                         QCoreApplication::translate("brenzola::Recordset", "Il recordset non è aggiornabile."));
    if (editing_ != Editing::None) Update();
    const TableSchema& schema = connection_->schema(table_);
    row_.clear();
    dateColumn_.clear();
    for (const QString& column : schema.columns) {
        row_.append(QSqlField(column));
        dateColumn_.push_back(schema.isDate(column));
    }
    assigned_.clear();
    stored_.clear();
    rowIsCached_ = true;
    eof_ = false;
    editing_ = Editing::New;
}

void Recordset::SetField(const QString& name, const QVariant& value)
{
    requireRow();
    if (table_.isEmpty())
        throw StoreError(StoreErrorNumber::NotUpdatable,
                         QCoreApplication::translate("brenzola::Recordset", "Il recordset non è aggiornabile."));
    const int index = fieldIndex(name);
    const QVariant stored = storedForm(index, value);  // refuse a bad value before touching the row
    readCurrentRow();
    row_.setValue(index, dateColumn_[size_t(index)] ? dateFromStore(stored) : stored);
    if (std::find(assigned_.begin(), assigned_.end(), index) == assigned_.end()) assigned_.push_back(index);
    if (editing_ == Editing::None) editing_ = Editing::Existing;
}

QVariant Recordset::storedForm(int index, const QVariant& value) const
{
    return storedValue(value, dateColumn_[size_t(index)], row_.fieldName(index));
}

void Recordset::prepareWrite()
{
    // Many rows written one after the other (an import) reuse one prepared statement.
    if (write_ && writeEditing_ == editing_ && writeAssigned_ == assigned_) return;
    write_.reset();
    const TableSchema& schema = connection_->schema(table_);
    QStringList columns;
    for (int index : assigned_) columns << schema.declaredName(row_.fieldName(index));
    const bool server = connection_->engine() == Engine::PostgreSQL;
    QString sql;
    writeChecked_.clear();
    if (editing_ == Editing::New) {
        QStringList marks;
        for (qsizetype i = 0; i < columns.size(); ++i) marks << QStringLiteral("?");
        sql = columns.isEmpty() ? QStringLiteral("INSERT INTO \"%1\" DEFAULT VALUES").arg(schema.table)
                                : QStringLiteral("INSERT INTO \"%1\" (\"%2\") VALUES (%3)")
                                      .arg(schema.table, columns.join(QStringLiteral("\", \"")), marks.join(u','));
        if (server) sql += QStringLiteral(" RETURNING id");  // a server tells the new key this way
    } else {
        // Optimistic locking: the row is changed only if it still holds what was read,
        // checked by the same statement that writes it.
        const int idIndex = row_.indexOf(QStringLiteral("id"));
        QStringList conditions{QStringLiteral("id = ?")};
        for (int i = 0; i < row_.count(); ++i) {
            const QString column = schema.declaredName(row_.fieldName(i));
            if (column.isEmpty() || i == idIndex) continue;
            conditions << QString::fromLatin1(server ? "\"%1\" IS NOT DISTINCT FROM ?" : "\"%1\" IS ?").arg(column);
            writeChecked_.push_back(i);
        }
        sql = QStringLiteral("UPDATE \"%1\" SET \"%2\" = ? WHERE %3")
                  .arg(schema.table, columns.join(QStringLiteral("\" = ?, \"")), conditions.join(QStringLiteral(" AND ")));
    }
    auto write = std::make_unique<QSqlQuery>(connection_->database());
    if (!write->prepare(sql)) {
        const StoreError error = storeErrorFrom(*write);
        connection_->reconnectIfLost();
        throw error;
    }
    write_ = std::move(write);
    writeEditing_ = editing_;
    writeAssigned_ = assigned_;
}

void Recordset::Update()
{
    requireRow();
    if (editing_ == Editing::None) return;
    const int idIndex = row_.indexOf(QStringLiteral("id"));
    if (editing_ == Editing::Existing) {
        if (idIndex < 0)
            throw StoreError(StoreErrorNumber::NotUpdatable,
                             QCoreApplication::translate("brenzola::Recordset", "Il recordset non ha il campo id."));
        if (assigned_.empty()) {
            editing_ = Editing::None;
            return;
        }
    }
    prepareWrite();
    QSqlQuery& write = *write_;
    int position = 0;
    for (int index : assigned_) write.bindValue(position++, storedForm(index, row_.value(index)));
    if (editing_ == Editing::Existing) {
        write.bindValue(position++, row_.value(idIndex));
        for (int index : writeChecked_) write.bindValue(position++, stored_.value(index));
    }
    qCDebug(lcStore) << "write" << write.lastQuery() << write.boundValues();
    if (!write.exec()) {
        const StoreError error = storeErrorFrom(write);
        write_.reset();
        connection_->reconnectIfLost();  // for the next try: a change is never repeated unasked
        throw error;
    }
    const bool server = connection_->engine() == Engine::PostgreSQL;
    if (editing_ == Editing::Existing && write.numRowsAffected() != 1) throw rowGoneOrChanged(row_.value(idIndex));
    if (editing_ == Editing::New && idIndex >= 0)
        row_.setValue(idIndex, server && write.next() ? write.value(0) : write.lastInsertId());
    connection_->announceChange(idIndex >= 0 ? row_.value(idIndex).toLongLong() : 0);
    if (editing_ == Editing::Existing)
        for (int index : assigned_) stored_[index] = storedForm(index, row_.value(index));
    assigned_.clear();
    editing_ = Editing::None;
}

StoreError Recordset::rowGoneOrChanged(const QVariant& id) const
{
    QSqlQuery find(connection_->database());
    find.prepare(QStringLiteral("SELECT count(*) FROM \"%1\" WHERE id = ?").arg(connection_->schema(table_).table));
    find.addBindValue(id);
    if (!find.exec() || !nextRow(find)) throw storeErrorFrom(find);
    if (find.value(0).toInt() == 0)
        return StoreError(StoreErrorNumber::RowNotFound,
                          QCoreApplication::translate("brenzola::Recordset", "Il record da aggiornare non esiste più."));
    return StoreError(StoreErrorNumber::RowChanged,
                      QCoreApplication::translate("brenzola::Recordset",
                                                  "Il record è stato modificato da un altro utente dopo che è stato letto."));
}

BulkInsert::BulkInsert(Connection* connection, const QString& table, const QStringList& columns, Announce announce)
    : connection_(&openConnection(connection)),
      announce_(announce)
{
    const TableSchema& schema = connection_->schema(table);
    if (!schema.exists())
        throw StoreError(StoreErrorNumber::NotUpdatable,
                         QCoreApplication::translate("brenzola::Recordset", "La tabella «%1» non esiste.").arg(table));
    table_ = schema.table;
    for (const QString& column : columns) {
        const QString declared = schema.declaredName(column);
        if (declared.isEmpty())
            throw StoreError(
                StoreErrorNumber::ItemNotFound,
                QCoreApplication::translate("brenzola::Recordset", "Campo «%1» non trovato nella tabella.").arg(column));
        columns_ << declared;
        dateColumn_.push_back(schema.isDate(declared));
    }
    if (connection_->engine() == Engine::SQLite)
        fileRows_ = std::make_unique<FileStatement>(connection_->database(), insertSql(1));
}

BulkInsert::~BulkInsert() = default;

QString BulkInsert::insertSql(qsizetype rows) const
{
    QStringList marks;
    for (qsizetype i = 0; i < columns_.size(); ++i) marks << QStringLiteral("?");
    const QString row = u'(' + marks.join(u',') + u')';
    QStringList allRows;
    for (qsizetype r = 0; r < rows; ++r) allRows << row;
    return QStringLiteral("INSERT INTO \"%1\" (\"%2\") VALUES %3")
        .arg(table_, columns_.join(QStringLiteral("\", \"")), allRows.join(u','));
}

void BulkInsert::Add(const QVariantList& values)
{
    if (fileRows_) {
        // One prepared row at a time: on a file a statement costs no round trip.
        for (qsizetype i = 0; i < columns_.size(); ++i) {
            static const QVariant missing;
            const QVariant& value = i < values.size() ? values[i] : missing;
            const int type = value.typeId();
            const bool plain = type == QMetaType::LongLong || type == QMetaType::Int || type == QMetaType::QString;
            fileRows_->bind(int(i) + 1,
                            plain && !dateColumn_[size_t(i)] ? value : storedValue(value, dateColumn_[size_t(i)], columns_[i]));
        }
        fileRows_->step();
        return;
    }
    for (qsizetype i = 0; i < columns_.size(); ++i) pending_ << storedValue(values.value(i), dateColumn_[size_t(i)], columns_[i]);
    if (pending_.size() >= kRowsPerStatement * columns_.size()) Flush();
}

void BulkInsert::Flush()
{
    const qsizetype rows = pending_.size() / std::max<qsizetype>(1, columns_.size());
    if (rows == 0) return;
    std::unique_ptr<QSqlQuery>& statement = rows == kRowsPerStatement ? full_ : partial_;
    if (!statement || statementRows_[rows == kRowsPerStatement ? 0 : 1] != rows) {
        auto query = std::make_unique<QSqlQuery>(connection_->database());
        if (!query->prepare(insertSql(rows))) throw storeErrorFrom(*query);
        statement = std::move(query);
        statementRows_[rows == kRowsPerStatement ? 0 : 1] = rows;
    }
    for (qsizetype i = 0; i < pending_.size(); ++i) statement->bindValue(int(i), pending_[i]);
    pending_.clear();
    if (!statement->exec()) {
        const StoreError error = storeErrorFrom(*statement);
        statement.reset();
        connection_->reconnectIfLost();  // for the next try: a change is never repeated unasked
        throw error;
    }
    if (announce_ == Announce::Yes) connection_->announceChange(0);
}

}  // namespace brenzola
