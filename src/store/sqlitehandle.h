#pragma once

struct sqlite3;
class QSqlDatabase;

namespace brenzola {

// The engine's own handle behind a file store's connection, for the few things Qt's
// driver does slowly (reading and writing rows by the hundred thousand).
sqlite3* sqliteHandle(const QSqlDatabase& db);

}  // namespace brenzola
