#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

namespace brenzola {

// The encodings of text files other programs write.
enum class Codifica { Utf8, Utf16LE, Utf16BE, Windows1252 };

QString nomeCodifica(Codifica codifica);

// The encoding a file is written in: its byte-order mark, else UTF-16 by its zero bytes,
// else UTF-8 when it is valid UTF-8, else Windows-1252 (what older Windows programs write).
Codifica rilevaCodifica(const QByteArray& dati);
// The text of a file in that encoding, without its byte-order mark. Bytes that are not
// valid in it become U+FFFD.
QString decodifica(const QByteArray& dati, Codifica codifica);
// Bytes in a named character set (UTF-8, ISO-8859-1, Windows-1252, and what Qt knows);
// nothing when the name is unknown or the bytes are not valid in it.
std::optional<QString> decodificaCharset(const QByteArray& dati, const QString& charset);
bool utf8Valido(QByteArrayView dati);
// Writes the character at testo[i] (with the next unit, for a surrogate pair) in UTF-8 at
// `out`, as QString::toUtf8 does, and moves `i` past it: at most three bytes for each
// UTF-16 unit read. Returns the end of what it wrote.
char* utf8(char* out, QStringView testo, qsizetype& i);
// True for bytes no text file holds: a zero byte outside UTF-16.
bool sembraBinario(const QByteArray& dati);

}  // namespace brenzola
