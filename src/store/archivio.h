#pragma once

#include <QString>

namespace brenzola {

// Creates a new, empty contact store at `path`: the table Anagrafica with an
// auto-numbered id and the fifteen contact columns. Refuses (StoreError) when a file
// already exists there. The program itself never calls this on its own store; the
// preparation tools do.
void CreaArchivio(const QString& path);

}  // namespace brenzola
