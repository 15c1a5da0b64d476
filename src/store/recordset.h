#pragma once

#include "store/storeerror.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>

#include <memory>
#include <vector>

namespace brenzola {

class FileStatement;

class Connection;

// A value as the store keeps it: text, or a date as yyyy-mm-dd; anything else for a date
// column is refused before it reaches the store.
QVariant storedValue(const QVariant& value, bool isDate, const QString& column);

// Rows of one statement, read forwards; rows of a single table can also be added
// and changed. A Null value is an invalid QVariant; dates arrive as QDate.
class Recordset {
public:
    Recordset();
    ~Recordset();

    void Open(const QString& statement, Connection* connection);
    bool Eof() const { return eof_; }
    void MoveNext();

    QVariant Fields(int index) const;
    QVariant Fields(const QString& name) const;
    bool HasField(const QString& name) const { return row_.indexOf(name) >= 0; }
    Connection* ActiveConnection() const { return connection_; }
    // The current row exactly as the store holds it: no date read, no text touched.
    QVariantList StoredValues() const;
    // Whether the current row holds these stored values (Null and empty text differ).
    bool Holds(const QVariantList& stored) const;

    void AddNew();
    void SetField(const QString& name, const QVariant& value);
    // Writes the added or changed row in one statement; afterwards Fields("id") holds its key.
    // A row changed in place must still hold what was read: if another program changed it
    // meanwhile, StoreError RowChanged; if it deleted it, RowNotFound. Nothing is written.
    void Update();

private:
    enum class Editing { None, Existing, New };

    void readCurrentRow();
    int fieldIndex(const QString& name) const;
    void requireRow() const;
    QVariant storedForm(int index, const QVariant& value) const;
    StoreError rowGoneOrChanged(const QVariant& id) const;
    void prepareWrite();

    Connection* connection_ = nullptr;
    std::unique_ptr<QSqlQuery> query_;  // released as soon as the rows run out
    QString table_;                     // set when the rows come from one table
    std::vector<bool> dateColumn_;
    QSqlRecord row_;                    // the current row, with any assigned values
    QVariantList stored_;               // the current row as read, once it is being changed
    std::vector<int> assigned_;         // indexes into row_ set since the last Update
    std::unique_ptr<QSqlQuery> write_;  // the last statement written with, kept for the next row
    Editing writeEditing_ = Editing::None;
    std::vector<int> writeAssigned_;  // the columns write_ sets
    std::vector<int> writeChecked_;   // the columns write_ checks, after the id
    bool rowIsCached_ = false;
    bool eof_ = true;
    Editing editing_ = Editing::None;
};

// New rows of one table written as fast as the engine takes them, for imports: on a
// server many to a statement (each statement is a round trip), on a file one prepared
// statement stepped for each row. Rows go out as a batch fills and at Flush; their keys
// are not told. Values are refused as SetField refuses them.
class BulkInsert {
public:
    // `announce`: whether other desks hear of the rows (not of a temporary table's).
    enum class Announce { Yes, No };
    BulkInsert(Connection* connection, const QString& table, const QStringList& columns, Announce announce = Announce::Yes);
    ~BulkInsert();
    // One row, its values in the order of the columns.
    void Add(const QVariantList& values);
    void Flush();

private:
    static constexpr qsizetype kRowsPerStatement = 64;
    QString insertSql(qsizetype rows) const;

    Connection* connection_;
    QString table_;
    QStringList columns_;
    std::vector<bool> dateColumn_;
    Announce announce_;
    std::unique_ptr<FileStatement> fileRows_;
    QVariantList pending_;
    std::unique_ptr<QSqlQuery> full_;     // for a whole batch
    std::unique_ptr<QSqlQuery> partial_;  // for the last, shorter one
    qsizetype statementRows_[2] = {0, 0};
};

}  // namespace brenzola
