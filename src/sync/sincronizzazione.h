#pragma once

#include "exchange/contatto.h"
#include "sync/carddav.h"

#include <functional>
#include <optional>
#include <vector>

namespace brenzola {

class Connection;

// A contact changed on both sides since the last synchronisation (or, at the first, the
// same person written differently on each): nothing is done to it until the user chooses.
struct Conflitto {
    QUrl scheda;
    qint64 id = 0;                      // the contact here, whether or not it is still there
    std::optional<Contatto> qui;        // nothing: deleted here
    std::optional<Contatto> sulServer;  // nothing: deleted on the server
    QString etag;                       // of the server's card as it was seen
};

// A card on the server that is not a contact (not a vCard, or one of several in a file):
// left as it is, and said.
struct SchedaIllegibile {
    QUrl scheda;
    QString motivo;
};

struct EsitoSincronizzazione {
    int inviati = 0;            // added to the server
    int cambiatiSulServer = 0;  // changed there from here
    int eliminatiSulServer = 0;
    int ricevuti = 0;  // added here from the server
    int cambiatiQui = 0;
    int eliminatiQui = 0;  // in the bin
    std::vector<Conflitto> conflitti;
    std::vector<SchedaIllegibile> illeggibili;
};

// Told how far a synchronisation is (cards written or read of those to do); returns false
// to stop it. Stopped, the register is left as it was; the cards already written on the
// server are whole, and the next synchronisation pairs them.
using AvanzamentoSincronizzazione = std::function<bool(qint64 fatte, qint64 totale)>;

// Brings the register and an address book on a CardDAV server in step: what changed on
// either side since the last time reaches the other. A card is written only over the
// version last seen, a contact only if nobody changed it meanwhile; a contact changed on
// both sides is left as it is on both, for the user. Contacts deleted by the server go to
// the bin. At the first synchronisation contacts already on both sides are paired by their
// UID, then by the duplicate rules (the same person, never a homonym), instead of doubled.
// On the server's cards only the properties the register keeps are changed: photos,
// groups, further numbers and addresses stay. The register's changes are one operation of
// the journal, and the state of the synchronisation is saved with them.
EsitoSincronizzazione Sincronizza(Connection& connection, CardDavClient& server, const CardDavClient::AddressBook& rubrica,
                                  const AvanzamentoSincronizzazione& avanzamento = {});

// Settles a conflict as the user chose: the contact as it is here goes to the server, or
// the server's card comes here (a deletion on the chosen side is made on the other; here
// it goes to the bin). Nothing is done and false is returned when either side changed
// again since the conflict was seen: the next synchronisation shows it as it is now.
enum class Versione { Qui, SulServer };
bool Risolvi(Connection& connection, CardDavClient& server, const CardDavClient::AddressBook& rubrica, const Conflitto& conflitto,
             Versione scelta);

// The parts of a card the register keeps: the card with only those lines, and a card of
// the server's with those lines replaced by the contact's (its version kept).
QByteArray parteNostra(const QByteArray& scheda);
QByteArray schedaAggiornata(const QByteArray& sulServer, const Contatto& contatto);

}  // namespace brenzola
