#pragma once

#include <QString>

namespace brenzola::bench {

// Writes to `output` an Access file holding `copies` times the contacts of the table
// Anagrafica of `fixture`: its data pages are repeated, each copy's keys moved past the
// previous copy's, and the table's page map and row count told of them. Returns the
// number of contacts, or -1 with the reason on stderr.
qint64 creaAccessGrande(const QString& fixture, const QString& output, int copies);

}  // namespace brenzola::bench
