#include "store/logging.h"

namespace brenzola {

// Warnings and worse only: the program writes none, so nothing shows unless asked for.
Q_LOGGING_CATEGORY(lcStore, "brenzola.store", QtWarningMsg)
Q_LOGGING_CATEGORY(lcServer, "brenzola.server", QtWarningMsg)
Q_LOGGING_CATEGORY(lcJournal, "brenzola.journal", QtWarningMsg)
Q_LOGGING_CATEGORY(lcExchange, "brenzola.exchange", QtWarningMsg)
Q_LOGGING_CATEGORY(lcAgenda, "brenzola.agenda", QtWarningMsg)

}  // namespace brenzola
