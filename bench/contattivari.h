#pragma once

#include <QString>

namespace brenzola::bench {

// Appends `count` invented contacts to the store `archivio` with as many distinct surnames
// as a real register of that size has: a few hundred thousand at a million, a few very
// common ones (the demo's) and a long tail made of Italian-looking syllables, some with
// particles, apostrophes and accents. The same contacts for the same seed.
void AggiungiContattiVari(const QString& archivio, int count, quint64 seed = 7);

// The surname of frequency rank `rank` (0 is the most common), the same on every run.
QString CognomeVario(quint64 rank);

}  // namespace brenzola::bench
