#pragma once

#include <QString>

namespace brenzola {

// Appends `count` invented contacts to the store at `path`, the same ones for the same
// seed: Italian names, some without a first name or dates, names with apostrophes
// and accented letters, postal codes with a leading zero, comments over several lines.
void AggiungiContattiDemo(const QString& path, int count, quint64 seed = 1);

}  // namespace brenzola
