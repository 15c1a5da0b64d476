#pragma once

#include <QString>

namespace brenzola {

// Collations that the connection registers and the translated statements name.
inline constexpr char kCaselessCollation[] = "BRENZOLA_NOCASE";
inline constexpr char kItalianOrderCollation[] = "BRENZOLA_ITALIANO";

// Translates a statement written in the Access dialect the program speaks into SQLite:
//   a & b          -> (ifnull(a,'') || ifnull(b,''))   (Null joins as empty text)
//   #mm/dd/yyyy#   -> 'yyyy-mm-dd'                     (dates are stored as ISO text)
//   "text"         -> 'text'
//   x = 'text'     -> x = 'text' COLLATE BRENZOLA_NOCASE (also <>)
//   ORDER BY e     -> ORDER BY e COLLATE BRENZOLA_ITALIANO
// `like` keeps its spelling: the connection overrides SQLite's like() with a Unicode
// caseless one. Literal contents are copied token by token and never re-read as SQL.
// Throws StoreError on a malformed statement (unterminated literal, bad date literal).
QString translateAccessSql(const QString& accessSql);

}  // namespace brenzola
