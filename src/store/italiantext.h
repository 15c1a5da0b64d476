#pragma once

struct sqlite3;

namespace brenzola {

// Gives one SQLite connection the text rules of the Access dialect, taken from ICU as a
// PostgreSQL server takes them: like() and text equality on ICU's lower case, and the
// Italian order of ICU's "it_IT" collation with the bytes settling what it finds equal.
// They live on the connection only, never in the file's schema. Returns the engine's
// result code (0 on success).
int registerItalianText(sqlite3* db);

}  // namespace brenzola
