#pragma once

#include "exchange/contatto.h"
#include "sync/carddav.h"

#include <optional>
#include <vector>

namespace brenzola {

class Connection;

// A contact changed on both sides since the last synchronisation (or, at the first, the
// same person written differently on each): nothing is done to it until the user chooses.
struct Conflitto {
    QUrl scheda;
    std::optional<Contatto> qui;        // nothing: deleted here
    std::optional<Contatto> sulServer;  // nothing: deleted on the server
};

struct EsitoSincronizzazione {
    int inviati = 0;            // added to the server
    int cambiatiSulServer = 0;  // changed there from here
    int eliminatiSulServer = 0;
    int ricevuti = 0;  // added here from the server
    int cambiatiQui = 0;
    int eliminatiQui = 0;  // in the bin
    std::vector<Conflitto> conflitti;
};

// Brings the register and an address book on a CardDAV server in step: what changed on
// either side since the last time reaches the other. A card is written only over the
// version last seen, a contact only if nobody changed it meanwhile; a contact changed on
// both sides is left as it is on both, for the user. Contacts deleted by the server go to
// the bin. At the first synchronisation contacts already on both sides are paired by their
// UID, then by the duplicate rules (the same person, never a homonym), instead of doubled.
// On the server's cards only the properties the register keeps are changed: photos,
// groups, further numbers and addresses stay. The register's changes are one operation of
// the journal, and the state of the synchronisation is saved with them.
EsitoSincronizzazione Sincronizza(Connection& connection, CardDavClient& server, const CardDavClient::AddressBook& rubrica);

// The parts of a card the register keeps: the card with only those lines, and a card of
// the server's with those lines replaced by the contact's (its version kept).
QByteArray parteNostra(const QByteArray& scheda);
QByteArray schedaAggiornata(const QByteArray& sulServer, const Contatto& contatto);

}  // namespace brenzola
