#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace brenzola {

// Content lines as vCard (RFC 6350) and iCalendar (RFC 5545) write them.

// A text value with backslash, comma and semicolon escaped and every line break written \n; when
// `aCapo` is given, the kind of each break (CRLF, CR or LF) is appended to it, in order.
QString testoEscaped(const QString& testo, QStringList* aCapo = nullptr);
// The line folded at 75 bytes, never inside a UTF-8 character, every piece ending in CRLF.
QByteArray rigaPiegata(const QByteArray& linea);

}  // namespace brenzola
