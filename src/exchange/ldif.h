#pragma once

#include "exchange/contatto.h"
#include "exchange/lettore.h"

#include <QByteArray>

#include <utility>
#include <vector>

namespace brenzola {

// LDIF (RFC 2849) as Thunderbird writes and reads its address books: one entry per
// contact, the mozillaAbPersonAlpha attributes. Brenzola's own fields, the uid and which
// fields hold empty text rather than Null ride in brenzola* attributes, so that reading
// an entry back gives the same contact.

// Whether a file's first text is an LDIF entry ("dn:", or "version: 1" and then "dn:").
bool sembraLdif(const QByteArray& inizio);

// One contact as an entry, ending in a blank line: values that are not plain ASCII
// in base64, lines folded at 76 columns.
QByteArray voceLdif(const Contatto& contatto);

// One entry from its physical lines, numbered: folded lines joined, base64 decoded,
// comments skipped. Attributes no field takes are kept in the comments. An entry that
// cannot be read (bad base64, a line that is not "attribute: value") has the reason.
Voce leggiVoceLdif(const std::vector<std::pair<int, QByteArray>>& righe);

// Every entry of a file, split at blank lines. A file that is empty, not text, or holds
// no entry is a StoreError FileFormat.
Lettura leggiLdif(const QByteArray& dati);
// The same, entry by entry, over a file's lines: a file that holds no entry is a StoreError
// FileFormat at its end.
std::unique_ptr<LettoreVoci> lettoreLdif(std::unique_ptr<RigheFile> righe);

}  // namespace brenzola
