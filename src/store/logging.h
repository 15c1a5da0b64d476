#pragma once

#include <QLoggingCategory>

// What the program can tell of its own working, to diagnose a user's problem without a
// debugger. Nothing is written unless switched on, for instance
//   QT_LOGGING_RULES="brenzola.*.debug=true" brenzola
// or one category at info level: QT_LOGGING_RULES="brenzola.server.info=true".
// Info messages carry no contact data (keys, counts, timings, file and server names);
// debug messages may (the statements with their values).
namespace brenzola {

Q_DECLARE_LOGGING_CATEGORY(lcStore)     // brenzola.store: stores opened and closed, statements, errors
Q_DECLARE_LOGGING_CATEGORY(lcServer)    // brenzola.server: connections, announcements, reconnecting
Q_DECLARE_LOGGING_CATEGORY(lcJournal)   // brenzola.journal: operations, following the journal, undo, bin
Q_DECLARE_LOGGING_CATEGORY(lcExchange)  // brenzola.exchange: imports, exports, duplicates
Q_DECLARE_LOGGING_CATEGORY(lcAgenda)    // brenzola.agenda: reading the agenda and following changes

}  // namespace brenzola
