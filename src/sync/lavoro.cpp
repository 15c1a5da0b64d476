#include "sync/lavoro.h"

#include "store/connection.h"

namespace brenzola {

LavoroSincronizzazione::LavoroSincronizzazione(std::function<void(Connection&)> apri, CardDavClient::Settings server,
                                               CardDavClient::AddressBook rubrica, QObject* parent)
    : QThread(parent),
      apri_(std::move(apri)),
      server_(std::move(server)),
      rubrica_(std::move(rubrica))
{
}

LavoroSincronizzazione::~LavoroSincronizzazione()
{
    ferma();
    wait();
}

void LavoroSincronizzazione::run()
{
    try {
        Connection connection;
        apri_(connection);
        // The address book as it is now: its sync token tells what changed.
        server_.server = rubrica_.url;
        CardDavClient client(server_);
        const std::vector<CardDavClient::AddressBook> trovate = client.addressBooks();
        if (trovate.empty())
            throw StoreError(StoreErrorNumber::ItemNotFound,
                             tr("La rubrica «%1» non c'è più sul server (%2). Sceglierne un'altra nella finestra "
                                "Sincronizzazione.")
                                 .arg(rubrica_.name, rubrica_.url.toDisplayString()));
        CardDavClient::AddressBook rubrica = trovate.front();
        rubrica.name = rubrica_.name;
        esito_ = Sincronizza(connection, client, rubrica, [this](qint64 fatte, qint64 totale) {
            fatte_ = fatte;
            totale_ = totale;
            return !fermato_;
        });
        connection.Close();
    } catch (...) {
        errore_ = ErroreCorrente();
    }
}

}  // namespace brenzola
