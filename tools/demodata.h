#pragma once

#include <QString>

namespace brenzola {

// Appends `count` invented contacts to the store `archivio` (a file or a connection
// string), the same ones for the same seed: Italian names, some without a first name or
// dates, names with apostrophes and accented letters, postal codes with a leading zero,
// comments over several lines.
void AggiungiContattiDemo(const QString& archivio, int count, quint64 seed = 1);

}  // namespace brenzola
