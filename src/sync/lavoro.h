#pragma once

#include "store/storeerror.h"
#include "sync/carddav.h"
#include "sync/sincronizzazione.h"

#include <QThread>

#include <atomic>
#include <functional>
#include <optional>

namespace brenzola {

class Connection;

// One synchronisation on a thread of its own, so that the window stays usable while the
// server answers (or does not): its own connection to the store, its own client. Asked to
// stop, it stops at the next card, leaving the register as it was.
class LavoroSincronizzazione : public QThread {
    Q_OBJECT

public:
    // `apri` opens the thread's connection on the store.
    LavoroSincronizzazione(std::function<void(Connection&)> apri, CardDavClient::Settings server,
                           CardDavClient::AddressBook rubrica, QObject* parent = nullptr);
    ~LavoroSincronizzazione() override;

    void ferma() { fermato_ = true; }
    qint64 fatte() const { return fatte_; }
    qint64 totale() const { return totale_; }
    // Once finished: what it did, or why it failed.
    const std::optional<EsitoSincronizzazione>& esito() const { return esito_; }
    const std::optional<StoreError>& errore() const { return errore_; }

protected:
    void run() override;

private:
    std::function<void(Connection&)> apri_;
    CardDavClient::Settings server_;
    CardDavClient::AddressBook rubrica_;
    std::atomic<bool> fermato_ = false;
    std::atomic<qint64> fatte_ = 0;
    std::atomic<qint64> totale_ = 0;
    std::optional<EsitoSincronizzazione> esito_;
    std::optional<StoreError> errore_;
};

}  // namespace brenzola
