#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

namespace brenzola {

// A disconnected table of named text columns, declared by a shape command such as
// "SHAPE APPEND NEW adVarChar(250) AS Nome ". Rows are appended (AddNew, SetField,
// Update) and then read forwards. Null stays Null (an invalid QVariant); every other
// value is stored as text, dates in the Italian short form. A value longer than its
// declared size is kept whole: nothing is cut silently.
class MemoryTable {
public:
    // Throws StoreError for any command that is not a list of adVarChar columns.
    explicit MemoryTable(const QString& shapeCommand);

    const QStringList& columns() const { return columns_; }
    // Position of a column named in any letter case, or -1.
    int columnIndex(const QString& name) const;
    int declaredSize(int column) const { return sizes_.at(size_t(column)); }

    void AddNew();
    void SetField(const QString& name, const QVariant& value);
    void Update();

    qsizetype RecordCount() const { return rowCount_; }
    void MoveFirst() { position_ = 0; }
    bool Eof() const { return position_ >= rowCount_; }
    void MoveNext();
    QVariant Fields(const QString& name) const;
    QVariant Fields(int index) const;

    // Any committed row, for the report engine.
    const QVariant& value(qsizetype row, int column) const
    {
        return cells_[size_t(row) * size_t(columns_.size()) + size_t(column)];
    }

    // The text a value takes when stored in a text column.
    static QVariant asText(const QVariant& value);

private:
    int requireColumn(const QString& name) const;

    QStringList columns_;
    std::vector<int> sizes_;
    std::vector<QVariant> cells_;  // committed rows, one after the other
    qsizetype rowCount_ = 0;
    std::vector<QVariant> pending_;
    bool adding_ = false;
    qsizetype position_ = 0;
};

}  // namespace brenzola
