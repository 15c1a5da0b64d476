#pragma once

#include "store/connection.h"
#include "store/indicenomi.h"

#include <QString>

#include <memory>

namespace brenzola {

// The program's state: the store it works on and what the windows and the reports share
// about it. The start-up makes one and hands it to the main window; Funzioni's
// Connessione, Filtro and TotaleElenco name its parts for the code that reads them there.
class Registro {
public:
    // The newest register made is the current one until it ends.
    Registro();
    ~Registro();
    Registro(const Registro&) = delete;
    Registro& operator=(const Registro&) = delete;

    // The register the program works on; one of its own when none was made.
    static Registro& corrente();

    // Opens the store `archivio` (a file, never created, or a connection string); `password`
    // is one the user has just typed for a server, kept for this connection only.
    void apri(const QString& archivio, const QString& password = {});
    void chiudi();
    // Opens `altra` on the same store as this register, for work on another thread.
    void apriAltra(Connection& altra) const;

    std::unique_ptr<Connection> connessione;  // the one connection to the store
    QString stringaConnessione;               // what it was opened with
    // Condition of the list query, between its FROM and its ORDER BY; " " lists every contact.
    QString filtro;
    // The list's entry count at the last list print, for the list report's total.
    double totaleElenco = 0;
    // Every contact's name in list order, following the store's journal.
    IndiceNomi indice;

private:
    Registro* precedente_;
    QString password_;  // the one typed for the server, if any
};

}  // namespace brenzola
