#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <vector>

namespace brenzola {
class StoreError;
}

namespace brenzola::access {

// Column types as libmdb numbers them.
namespace ColumnType {
inline constexpr int Bool = 0x01;
inline constexpr int Byte = 0x02;
inline constexpr int Integer = 0x03;
inline constexpr int LongInteger = 0x04;
inline constexpr int Currency = 0x05;
inline constexpr int Single = 0x06;
inline constexpr int Double = 0x07;
inline constexpr int DateTime = 0x08;
inline constexpr int Binary = 0x09;
inline constexpr int Text = 0x0a;
inline constexpr int Ole = 0x0b;
inline constexpr int Memo = 0x0c;
inline constexpr int ReplicationId = 0x0f;
inline constexpr int Decimal = 0x10;
}  // namespace ColumnType

// Where the conversion writes what the reading library said about a file it could not read.
QString ConversionLogPath();

// The Italian name Access gives a column type, as users know it.
QString columnTypeName(int type);

struct SourceColumn {
    QString name;
    int type = 0;
};

struct SourceTable {
    int jetVersion = 0;   // 0: Jet 3, 1: Jet 4
    QString name;         // as spelled in the file
    qint64 rowCount = 0;  // as the table definition records it
    QList<SourceColumn> columns;
};

struct SourceValue {
    enum Kind : unsigned char { Null, Text, DateTime, Unsupported };
    Kind kind = Null;
    QByteArray text;  // UTF-8; whole numbers come as their decimal text
    double days = 0;  // DateTime: days since 30 December 1899
};
using SourceRow = std::vector<SourceValue>;

// Reads the table `tableName` (matched in any letter case) of the Access file at `path`
// with libmdb in a child process: libmdb can loop for ever, exhaust memory or crash on a
// damaged file, and none of that may take the program down. `onTable` is called once with
// the table's shape; with `withRows`, `onRow` then gets every row in file order. The read
// fails (StoreError) when the child reports a problem, when libmdb warns while reading
// rows, when fewer or more rows arrive than the table records, or when the child stays
// silent for `timeoutMs`. An exception thrown by a callback stops the child and passes on.
void readAccessTable(const QString& path, const QString& tableName, bool withRows, int timeoutMs,
                     const std::function<void(const SourceTable&)>& onTable, const std::function<void(SourceRow&&)>& onRow);

}  // namespace brenzola::access
