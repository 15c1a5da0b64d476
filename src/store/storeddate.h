#pragma once

#include <QDate>
#include <QString>

namespace brenzola {

// A date in one of the unambiguous forms stores hold: year first, with '-' or '/', with
// or without leading zeros, optionally followed by a time of day. An invalid QDate for
// anything else, including a day that does not exist.
QDate dateFromStoredText(QStringView text);
// A date as a store holds it, yyyy-mm-dd, without going through the locale machinery:
// an import writes hundreds of thousands.
QString storedDateText(QDate date);
// The same date day first, dd/mm/yyyy.
QString dayFirstDateText(QDate date);

// A birthday whose year nobody wrote (a phone's "no year", vCard --MMDD) is stored in this
// leap year, as Apple's address book does, and written back without it.
inline constexpr int kAnnoIgnoto = 1604;
inline bool senzaAnno(QDate data) { return data.isValid() && data.year() == kAnnoIgnoto; }

}  // namespace brenzola
