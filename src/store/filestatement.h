#pragma once

#include "store/connection.h"

#include <QByteArray>
#include <QVariant>

#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;
class QSqlDatabase;

namespace brenzola {

// The engine's own handle behind a file store's connection.
sqlite3* sqliteHandle(const QSqlDatabase& db);

// A statement of a file store run through SQLite's own interface, for what Qt's driver
// does slowly: rows read or written by the hundred thousand. Qt binds each value by a
// name it makes up and copies every value read twice.
class FileStatement {
public:
    FileStatement(const QSqlDatabase& db, const QString& sql);
    ~FileStatement();
    FileStatement(const FileStatement&) = delete;
    FileStatement& operator=(const FileStatement&) = delete;

    // `place` counts from 1. Integers go as integers, text as UTF-8, anything else as its text.
    void bind(int place, const QVariant& value);
    // Runs it to its next row: false when there is none (and then it can be bound and run
    // again); a StoreError when it failed.
    bool step();
    // Ready to be bound and run again before its rows are all read.
    void reset();
    // The current row, valid until the next step.
    const RowView& row() const;

private:
    class Row;
    [[noreturn]] void fail() const;

    sqlite3* handle_;
    sqlite3_stmt* statement_ = nullptr;
    std::vector<QByteArray> bound_;  // the bound texts, kept until they are written
    std::unique_ptr<Row> row_;
};

}  // namespace brenzola
