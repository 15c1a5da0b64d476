#pragma once

#include <QString>

namespace brenzola {

// Whose names the invented contacts bear: the demo's 60 surnames and 50 first names; a
// register's, with 200,000 surnames and a few thousand first names drawn as often as
// in a real one (a few very common, a long tail of rare ones, some foreign, some double);
// or a surname of its own for every contact.
enum class Varieta { Demo, Realistica, Distinti };

// Appends `count` invented contacts to the store `archivio` (a file or a connection
// string), the same ones for the same seed and variety: Italian names, some without a
// first name or dates, names with apostrophes and accented letters, postal codes with a
// leading zero, comments over several lines. One operation, which can be undone.
void AggiungiContattiDemo(const QString& archivio, int count, quint64 seed = 1, Varieta varieta = Varieta::Demo);

}  // namespace brenzola
