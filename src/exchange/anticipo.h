#pragma once

#include "exchange/contatto.h"
#include "exchange/doppioni.h"

#include <QStringList>

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace brenzola {

class LettoreVoci;

// What an import looks duplicates up by: e-mail, telephone, name, and the UID.
QStringList chiaviDi(const Impronta& impronta, const QString& uid);

// An entry read, with what it is compared by and the keys it is looked up and filed
// under, worked out once. An entry that cannot be imported has its error and nothing else.
struct Letta {
    explicit Letta(Voce&& letta);
    Voce voce;
    Impronta impronta;
    QStringList chiavi;
};

// Reads a file ahead on a thread of its own: the next entries are read, checked and
// given their keys while the ones before are decided and written. A few batches wait at
// most, so memory stays the same however long the file.
class LetturaAnticipata {
public:
    static constexpr size_t kLotto = 256;  // entries handed over together

    struct Lotto {
        std::vector<Letta> lette;
        qint64 posizione = 0;  // of the reader after them
    };

    explicit LetturaAnticipata(LettoreVoci& lettore);
    // Stops the reading where it is.
    ~LetturaAnticipata();
    LetturaAnticipata(const LetturaAnticipata&) = delete;
    LetturaAnticipata& operator=(const LetturaAnticipata&) = delete;

    // The next batch, in file order; an empty one at the end. What the reading threw is
    // thrown here. Once the end is given, the reader can be asked about the whole file.
    Lotto prossimo();

private:
    void leggi();

    static constexpr size_t kInAttesa = 4;
    LettoreVoci& lettore_;
    std::mutex mutex_;
    std::condition_variable cambiato_;
    std::deque<Lotto> pronti_;
    bool finito_ = false;
    bool fermati_ = false;
    std::exception_ptr errore_;
    std::thread lettura_;  // last: started once everything above is ready
};

}  // namespace brenzola
