#pragma once

#include "exchange/contatto.h"
#include "exchange/lettore.h"
#include "exchange/valori.h"

#include <QByteArray>

namespace brenzola {

enum class VersioneVCard { V3, V4 };

// One contact as a vCard (RFC 6350 for 4.0, RFC 2426 for 3.0): CRLF lines folded at 75
// bytes. Brenzola's own fields ride along as X-BRENZOLA- properties, and what plain vCard
// cannot say (empty text that is not Null, line breaks other than LF) is recorded too, so
// that reading the card back gives the same contact.
QByteArray schedaVCard(const Contatto& contatto, VersioneVCard versione);
// Appends the same card for the values.
void aggiungiSchedaVCard(QByteArray& out, const Valori& valori, VersioneVCard versione);

// Whether a file's first text is a vCard's BEGIN line.
bool sembraVCard(const QByteArray& dati);

// Every card of a vCard 2.1, 3.0 or 4.0 file. A card that cannot be read whole (no END,
// broken folding, bad quoted-printable, a birthday that is not a date, a value too long)
// comes back with the reason and its line. A file that is empty, not text, or holds no
// card is a StoreError FileFormat.
Lettura leggiVCard(const QByteArray& dati);
// The same, card by card, over a file's lines: a file that holds no card is a StoreError
// FileFormat at its end.
std::unique_ptr<LettoreVoci> lettoreVCard(std::unique_ptr<RigheFile> righe);

}  // namespace brenzola
