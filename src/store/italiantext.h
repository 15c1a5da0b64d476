#pragma once

struct sqlite3;

namespace brenzola {

// Gives one SQLite connection the text rules of the Access dialect: like() ignoring
// letter case for every Unicode letter, and the two collations named in
// accessdialect.h. They live on the connection only, never in the file's schema.
// Returns the engine's result code (0 on success).
int registerItalianText(sqlite3* db);

}  // namespace brenzola
