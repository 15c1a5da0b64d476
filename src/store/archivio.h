#pragma once

#include <QString>

#include <functional>

class QSqlDatabase;

namespace brenzola {

class Connection;

// Creates a new, empty contact store: the table Anagrafica with an auto-numbered id and
// the fifteen contact columns, and the journal of its changes (giornale.h). `archivio` is a file, refused (StoreError) when it
// exists, or a connection string for a server database, refused when it already holds the table; there the role kRuoloUtenti is
// made (or kept) able to read and change Anagrafica and nothing else, for the desks' own server users to be members of. Only the
// first start (for the user's own file) and the preparation tools call this.
void CreaArchivio(const QString& archivio);

// CreaArchivio for a server, with `riempi` run on the new table inside the same
// transaction, before the journal begins: if it throws, the database is left as it was.
void CreaArchivioSulServer(const QString& connessione, const std::function<void(QSqlDatabase&)>& riempi);

// Gives a store file made by an earlier version the index on the date to call again that
// CreaArchivio makes; a store that cannot be written is left as it is.
void AggiungiIndici(Connection& connection);

// The server role whose members may use a store made by CreaArchivio.
inline constexpr char kRuoloUtenti[] = "brenzola_utenti";

}  // namespace brenzola
