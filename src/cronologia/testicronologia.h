#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace brenzola {

// How the history windows and messages write a journal time and a list of contacts.

// A journal time (UTC) in the user's local time, "dd/MM/yyyy HH:mm:ss".
QString QuandoLocale(const QDateTime& quando);
// "«Rossi Mario», «Bianchi Anna» e altri 3": the first `quanti` of the names, each trimmed.
QString NomiTraVirgolette(const QStringList& nomi, int quanti = 10);

}  // namespace brenzola
