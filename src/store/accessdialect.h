#pragma once

#include "store/connection.h"

#include <QString>

namespace brenzola {

// Collations that the connection registers and the translated statements name.
inline constexpr char kCaselessCollation[] = "BRENZOLA_NOCASE";
inline constexpr char kItalianOrderCollation[] = "BRENZOLA_ITALIANO";
// What a PostgreSQL server offers for the same rules (ICU's, as the file's).
inline constexpr char kServerOrderCollation[] = "it-IT-x-icu";
inline constexpr char kServerCaseCollation[] = "und-x-icu";

// Translates a statement written in the Access dialect the program speaks into SQLite:
//   a & b          -> (ifnull(a,'') || ifnull(b,''))   (Null joins as empty text)
//   #mm/dd/yyyy#   -> 'yyyy-mm-dd'                     (dates are stored as ISO text)
//   "text"         -> 'text'
//   x = 'text'     -> x = 'text' COLLATE BRENZOLA_NOCASE (also <>)
//   ORDER BY e     -> ORDER BY e COLLATE BRENZOLA_ITALIANO
// `like` keeps its spelling: the connection overrides SQLite's like() with a Unicode
// caseless one. For a PostgreSQL server the same rules read:
//   a & b          -> (coalesce(a,'') || coalesce(b,''))
//   x = 'text'     -> lower((x) COLLATE "und-x-icu") = lower(('text') COLLATE "und-x-icu")
//   x like 'p'     -> lower(...) LIKE lower(...) ESCAPE ''   (only % and _ are wildcards)
//   ORDER BY text  -> ORDER BY text COLLATE "it-IT-x-icu"
// Literal contents are copied token by token and never re-read as SQL.
// Throws StoreError on a malformed statement (unterminated literal, bad date literal).
QString translateAccessSql(const QString& accessSql, Engine engine = Engine::SQLite);

}  // namespace brenzola
