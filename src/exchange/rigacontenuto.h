#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

namespace brenzola {

// Content lines as vCard (RFC 6350) and iCalendar (RFC 5545) write them.

// A text value with backslash, comma and semicolon escaped and every line break written \n; when
// `aCapo` is given, the kind of each break (CRLF, CR or LF) is appended to it, in order.
QString testoEscaped(const QString& testo, QStringList* aCapo = nullptr);
// The line folded at 75 bytes, never inside a UTF-8 character, every piece ending in CRLF.
QByteArray rigaPiegata(const QByteArray& linea);

// The same two written into a file's bytes as they are made.
enum class ACapo { LF, CR, CRLF };
QByteArray nomeACapo(ACapo aCapo);
// Appends the text escaped, in UTF-8; the kind of each line break goes to `aCapo`.
void aggiungiEscaped(QByteArray& out, QStringView testo, std::vector<ACapo>& aCapo);
// Folds the line that starts at `inizio` and runs to the end of `out`, and ends it.
void piegaFine(QByteArray& out, qsizetype inizio);

}  // namespace brenzola
