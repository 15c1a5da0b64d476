#include "exchange/anticipo.h"

#include "exchange/lettore.h"

#include <QCoreApplication>

namespace brenzola {

QStringList chiaviDi(const Impronta& impronta, const QString& uid)
{
    QStringList chiavi;
    for (const QString& email : impronta.chiaviEmail()) chiavi << QStringLiteral("e:") + email;
    for (const QString& telefono : impronta.chiaviTelefono()) chiavi << QStringLiteral("t:") + telefono;
    if (const QString nome = impronta.chiaveNome(); !nome.isEmpty()) chiavi << QStringLiteral("n:") + nome;
    if (!uid.isEmpty()) chiavi << QStringLiteral("u:") + uid;
    return chiavi;
}

namespace {

Voce controllata(Voce&& voce)
{
    if (voce.errore.isEmpty())
        if (const std::optional<CarattereDiControllo> c = carattereDiControllo(voce.contatto))
            voce.errore = QCoreApplication::translate("brenzola::Scambio", "riga %1: %2").arg(voce.riga).arg(c->motivo);
    return std::move(voce);
}

}  // namespace

Letta::Letta(Voce&& letta)
    : voce(controllata(std::move(letta))),
      impronta(voce.errore.isEmpty() ? voce.contatto : Contatto()),
      chiavi(voce.errore.isEmpty() ? chiaviDi(impronta, voce.contatto.uid) : QStringList())
{
}

LetturaAnticipata::LetturaAnticipata(LettoreVoci& lettore) : lettore_(lettore), lettura_([this] { leggi(); }) {}

LetturaAnticipata::~LetturaAnticipata()
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        fermati_ = true;
    }
    cambiato_.notify_all();
    lettura_.join();
}

void LetturaAnticipata::leggi()
{
    for (bool fine = false; !fine;) {
        Lotto lotto;
        std::exception_ptr errore;
        try {
            while (lotto.lette.size() < kLotto) {
                std::optional<Voce> voce = lettore_.prossima();
                if (!voce) {
                    fine = true;
                    break;
                }
                lotto.lette.emplace_back(std::move(*voce));
            }
            lotto.posizione = lettore_.posizione();
        } catch (...) {
            // The entries read before the fault are handed over first, as if read one by one.
            errore = std::current_exception();
            fine = true;
        }
        std::unique_lock<std::mutex> lock(mutex_);
        cambiato_.wait(lock, [this] { return fermati_ || pronti_.size() < kInAttesa; });
        if (fermati_) return;
        if (!lotto.lette.empty()) pronti_.push_back(std::move(lotto));
        errore_ = errore;
        finito_ = fine;
        lock.unlock();
        cambiato_.notify_all();
    }
}

LetturaAnticipata::Lotto LetturaAnticipata::prossimo()
{
    std::unique_lock<std::mutex> lock(mutex_);
    cambiato_.wait(lock, [this] { return !pronti_.empty() || finito_; });
    if (pronti_.empty()) {
        if (errore_) std::rethrow_exception(errore_);
        return {};
    }
    Lotto lotto = std::move(pronti_.front());
    pronti_.pop_front();
    lock.unlock();
    cambiato_.notify_all();
    return lotto;
}

}  // namespace brenzola
