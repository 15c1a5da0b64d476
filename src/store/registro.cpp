#include "store/registro.h"

#include "store/funzioni.h"

namespace brenzola {

namespace {
Registro* attivo = nullptr;
}

Registro::Registro() : precedente_(attivo) { attivo = this; }

Registro::~Registro()
{
    chiudi();
    attivo = precedente_;
}

void Registro::apri(const QString& archivio, const QString& password)
{
    stringaConnessione = Funzioni::StringaConnessionePer(archivio);
    auto connection = std::make_unique<Connection>();
    connection->Open(stringaConnessione, password);
    connessione = std::move(connection);
    password_ = password;
    indice.dimentica();  // another store's names would not follow this one's journal
}

void Registro::chiudi()
{
    if (!connessione || connessione->State() != Connection::adStateOpen) return;
    connessione->Close();
    connessione.reset();
    password_.clear();
}

void Registro::apriAltra(Connection& altra) const { altra.Open(stringaConnessione, password_); }

Registro& Registro::corrente()
{
    if (attivo) return *attivo;
    // Tools and tests that never made one share this, as the program shares its own.
    static Registro proprio;
    return proprio;
}

}  // namespace brenzola
