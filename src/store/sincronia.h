#pragma once

#include <QString>

#include <vector>

namespace brenzola {

class Connection;

// What the register remembers of its last synchronisation with an address book on a
// CardDAV server, and nothing more: the address book's address, the server's sync token,
// and for each contact the card it was synchronised as (its path on the server, its ETag,
// and the signature of the contact as it was then). Kept in the store, so that a whole
// office on a server syncs once.
class StatoSincronia {
public:
    struct Scheda {
        qint64 id = 0;  // the contact's key
        QString href;   // the card's path on the server
        QString etag;
        QString firma;  // the contact as last synchronised
    };

    // Reads it; a store that never synchronised has none.
    explicit StatoSincronia(Connection& connection);

    QString rubrica() const { return rubrica_; }
    QString token() const { return token_; }
    const std::vector<Scheda>& schede() const { return schede_; }

    // Remembers this in place of what was, in the transaction the caller has open.
    void salva(const QString& rubrica, const QString& token, const std::vector<Scheda>& schede);
    // One card decided on its own: remembered in place of what was of it or of its contact,
    // or forgotten. In the transaction the caller has open.
    void ricorda(const Scheda& scheda);
    void dimentica(const QString& href);

private:
    Connection& connection_;
    QString rubrica_;
    QString token_;
    std::vector<Scheda> schede_;
};

}  // namespace brenzola
