#include "store/indicenomi.h"

#include "store/paginegrandi.h"
#include "store/storeerror.h"

#include <algorithm>
#include <array>
#include <bit>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <future>
#include <memory>
#include <mutex>

namespace brenzola {

namespace {

const QString kNomiContatti = QStringLiteral("Select id, Cognome, Nome, Telefono, Cell, Email from Anagrafica");

std::string utf8(std::u16string_view text) { return QStringView(text.data(), qsizetype(text.size())).toUtf8().toStdString(); }

// The longest run of a like pattern without wildcards.
std::string pezzoPiuLungo(std::u16string_view pattern)
{
    std::u16string_view piuLungo;
    size_t da = 0;
    for (size_t i = 0; i <= pattern.size(); ++i)
        if (i == pattern.size() || pattern[i] == u'%' || pattern[i] == u'_') {
            if (i - da > piuLungo.size()) piuLungo = pattern.substr(da, i - da);
            da = i + 1;
        }
    return utf8(piuLungo);
}

// Asks for what a loop over `candidate` reads a few steps ahead: the list's order scatters
// its contacts through memory, and a million reads one after the other would each wait.
template <typename T> void preleva(const std::vector<T>& valori, const std::vector<uint32_t>& candidate, size_t i)
{
    constexpr size_t kAvanti = 16;
    if (i + kAvanti < candidate.size()) __builtin_prefetch(valori.data() + candidate[i + kAvanti]);
}

std::u16string utf16(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())).toStdU16String(); }

// What a search looks for in the texts it is given: lowered, in UTF-8.
std::string cercatoDi(const RicercaRapida& ricerca)
{
    return ricerca.tipo() == RicercaRapida::Tipo::Telefono ? ricerca.cercato().toStdString() : utf8(ricerca.minuscolo());
}

bool simile(std::string_view testo, const RicercaRapida& ricerca, const std::string& cercato)
{
    return ricerca.semplice() ? testo.find(cercato) != std::string_view::npos : ricerca.pattern().matchesLowered(utf16(testo));
}

// Rows of kNomiContatti copied as they are read, their texts back to back.
class BloccoDiRighe {
public:
    static constexpr size_t kRighe = 4096;
    static constexpr int kTesti = 5;  // the columns after the key

    void aggiungi(const RowView& row)
    {
        id_.push_back(row.integer(0));
        senzaCognome_.push_back(row.isNull(1));
        for (int c = 1; c <= kTesti; ++c) {
            testi_ += row.utf8(c);
            fine_.push_back(uint32_t(testi_.size()));
        }
    }
    void svuota()
    {
        id_.clear();
        senzaCognome_.clear();
        testi_.clear();
        fine_.clear();
    }
    size_t size() const { return id_.size(); }
    qint64 id(size_t riga) const { return id_[riga]; }
    bool senzaCognome(size_t riga) const { return senzaCognome_[riga]; }
    // Column `colonna` (1 to kTesti) of a row.
    std::string_view testo(size_t riga, int colonna) const
    {
        const size_t posto = riga * kTesti + size_t(colonna) - 1;
        const size_t da = posto == 0 ? 0 : fine_[posto - 1];
        return {testi_.data() + da, fine_[posto] - da};
    }

private:
    std::vector<qint64> id_;
    std::vector<bool> senzaCognome_;
    std::string testi_;
    std::vector<uint32_t> fine_;
};

// Blocks of rows passed from the thread that reads them to the one that files them. The
// emptied blocks come back, so that the same few are filled again and again.
class Passaggio {
public:
    explicit Passaggio(size_t blocchi)
    {
        for (size_t i = 0; i < blocchi; ++i) vuoti_.push_back(std::make_unique<BloccoDiRighe>());
    }
    // For the reader: a block to fill; none once the filer has stopped.
    std::unique_ptr<BloccoDiRighe> vuoto()
    {
        std::unique_lock lock(mutex_);
        cambiato_.wait(lock, [this] { return !vuoti_.empty() || fermato_; });
        if (fermato_) return nullptr;
        std::unique_ptr<BloccoDiRighe> blocco = std::move(vuoti_.back());
        vuoti_.pop_back();
        return blocco;
    }
    void pieno(std::unique_ptr<BloccoDiRighe> blocco)
    {
        const std::lock_guard lock(mutex_);
        pieni_.push_back(std::move(blocco));
        cambiato_.notify_all();
    }
    // The reader has no more rows, or failed: the filer stops after the blocks it was given.
    void finito()
    {
        const std::lock_guard lock(mutex_);
        finito_ = true;
        cambiato_.notify_all();
    }
    // For the filer: the next full block; none when the reader has no more.
    std::unique_ptr<BloccoDiRighe> prossimo()
    {
        std::unique_lock lock(mutex_);
        cambiato_.wait(lock, [this] { return !pieni_.empty() || finito_; });
        if (pieni_.empty()) return nullptr;
        std::unique_ptr<BloccoDiRighe> blocco = std::move(pieni_.front());
        pieni_.pop_front();
        return blocco;
    }
    void restituisci(std::unique_ptr<BloccoDiRighe> blocco)
    {
        blocco->svuota();
        const std::lock_guard lock(mutex_);
        vuoti_.push_back(std::move(blocco));
        cambiato_.notify_all();
    }
    // The filer failed: the reader stops at its next block.
    void fermato()
    {
        const std::lock_guard lock(mutex_);
        fermato_ = true;
        cambiato_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable cambiato_;
    std::vector<std::unique_ptr<BloccoDiRighe>> vuoti_;
    std::deque<std::unique_ptr<BloccoDiRighe>> pieni_;
    bool finito_ = false;
    bool fermato_ = false;
};

// What the reader throws when the filer stopped: the filer's own error is the one to tell.
struct FilerFermato {};

}  // namespace

IndiceNomi::Riga IndiceNomi::rigaDi(const RowView& row)
{
    return {row.integer(0), row.utf8(1), row.utf8(2), row.isNull(1), row.utf8(3), row.utf8(4), row.utf8(5)};
}

IndiceNomi::Dati::Dati()
{
    Parola vuota;
    prepara({}, vuota);
    numeroDi(vuota);
}

void IndiceNomi::Dati::riserva(size_t quanti, size_t letti)
{
    riservaGrande(nomi, quanti);
    riservaGrande(contatti, quanti);
    if (letti == 0) return;
    const auto stima = [&](size_t tenuti) { return tenuti * quanti / letti * 9 / 8; };
    riservaGrande(testi, stima(testi.size()));
    // Names seen so far tell roughly how many there will be; growing the table step by step
    // would place every name again at each step.
    parole.reserve(stima(parole.size()), stima(parole.bytes()));
    perParola.allarga(std::min(stima(parole.size()), quanti * 2 + 1), uint32_t(parole.size()),
                      [this](uint32_t p) { return parole[p]; });
    telefoni.reserve(quanti, stima(telefoni.bytes()));
    email.reserve(quanti, stima(email.bytes()));
}

void IndiceNomi::Dati::swap(Dati& altri) noexcept
{
    contatti.swap(altri.contatti);
    nomi.swap(altri.nomi);
    testi.swap(altri.testi);
    telefoni.swap(altri.telefoni);
    email.swap(altri.email);
    parole.swap(altri.parole);
    perParola.swap(altri.perParola);
}

void IndiceNomi::Dati::prepara(std::string_view nome, Parola& parola) const
{
    parola.minuscola.clear();
    appendLowerCaseUtf8(nome, parola.minuscola);
    parola.hash = NumeriPerTesto::hashDi(parola.minuscola);
    perParola.preleva(parola.hash);
}

uint32_t IndiceNomi::Dati::numeroDi(const Parola& parola)
{
    const uint32_t tenute = uint32_t(parole.size());
    const uint32_t numero = perParola.numero(parola.minuscola, parola.hash, tenute, [this](uint32_t p) { return parole[p]; });
    if (numero == tenute) parole.append(parola.minuscola);
    return numero;
}

void IndiceNomi::dimentica()
{
    dati_ = Dati();
    ordine_.clear();
    perChiave_.clear();
    cursore_ = CursoreGiornale();
    letto_ = false;
    ++versione_;
}

void IndiceNomi::aggiorna(Connection& connection) { segui(connection, true); }

void IndiceNomi::aggiornaSeCambiato(Connection& connection) { segui(connection, false); }

void IndiceNomi::segui(Connection& connection, bool forza)
{
    for (bool ancora = true;; ancora = false) {
        try {
            const std::optional<std::vector<qint64>> cambiati = cursore_.cambiamenti(connection, forza);
            if (!cambiati || !letto_)
                leggiTutto(connection);
            else
                contattiCambiati(connection, *cambiati);
            return;
        } catch (const StoreError&) {
            cursore_.azzera();  // what was missed is read whole next time
            // Only reading here: after a server restart it may simply be tried again.
            if (!ancora || !connection.reconnectIfLost()) throw;
        } catch (...) {
            cursore_.azzera();
            throw;
        }
    }
}

void IndiceNomi::leggiTutto(Connection& connection)
{
    if (!letto_) {
        // Until the read succeeds the list goes on showing what it held.
        Dati tenuti;
        dati_.swap(tenuti);
        try {
            size_t quanti = 0;
            connection.readRows(QStringLiteral("Select count(*) from Anagrafica"),
                                [&quanti](const RowView& row) { quanti = size_t(row.integer(0)); });
            dati_.riserva(quanti, 0);
            leggiNuovo(connection, quanti);
        } catch (...) {
            dati_.swap(tenuti);
            throw;
        }
        ordine_ = ordinaTutto();
        perChiave_.clear();
        riservaGrande(perChiave_, dati_.contatti.size());
        for (Voce v = 0; v < dati_.contatti.size(); ++v) perChiave_.emplace_back(dati_.contatti[v].id, v);
        if (!std::is_sorted(perChiave_.begin(), perChiave_.end())) std::sort(perChiave_.begin(), perChiave_.end());
    } else {
        // Only what changed moves: most of a large register stays where it was.
        std::vector<bool> visto(dati_.contatti.size());
        std::vector<Voce> nuove;
        size_t prossima = 0;  // a file hands its rows out in key order
        connection.readRows(kNomiContatti, [&](const RowView& row) {
            const Riga riga = rigaDi(row);
            std::optional<Voce> voce;
            if (prossima < perChiave_.size() && perChiave_[prossima].first == riga.id) {
                voce = perChiave_[prossima++].second;
            } else if (voce = voceDi(riga.id); voce) {
                prossima = size_t(std::lower_bound(perChiave_.begin(), perChiave_.end(), std::pair(riga.id, Voce(0)))
                                  - perChiave_.begin())
                           + 1;
            }
            if (voce && uguale(*voce, riga))
                visto[*voce] = true;
            else
                nuove.push_back(aggiungi(riga));
        });
        std::vector<bool> via(visto.size());
        for (Voce v = 0; v < visto.size(); ++v)
            if (dati_.contatti[v].presente && !visto[v]) {
                via[v] = true;
                dati_.contatti[v].presente = false;
            }
        if (nuove.size() > ordine_.size() / 8 + 1000) {
            // So much changed (another program's import) that reading afresh is quicker.
            letto_ = false;
            leggiTutto(connection);
            return;
        }
        std::erase_if(perChiave_, [&](const auto& chiave) { return via[chiave.second]; });
        for (Voce v : nuove)
            perChiave_.insert(std::upper_bound(perChiave_.begin(), perChiave_.end(), std::pair(dati_.contatti[v].id, v)),
                              {dati_.contatti[v].id, v});
        inserisci(std::move(nuove), via);
    }
    letto_ = true;
    ++versione_;
}

void IndiceNomi::leggiNuovo(Connection& connection, size_t quanti)
{
    // The store's reading and the filing take about as long each: this thread reads, and
    // copies the rows in blocks to another thread that files them.
    Passaggio passaggio(4);
    auto archivista = std::async(std::launch::async, [&] {
        try {
            constexpr size_t kCampione = 4096;  // rows enough to tell how long the texts are
            while (std::unique_ptr<BloccoDiRighe> blocco = passaggio.prossimo()) {
                for (size_t r = 0; r < blocco->size(); ++r) {
                    aggiungi({blocco->id(r), blocco->testo(r, 1), blocco->testo(r, 2), blocco->senzaCognome(r),
                              blocco->testo(r, 3), blocco->testo(r, 4), blocco->testo(r, 5)});
                    if (dati_.contatti.size() == kCampione && quanti > kCampione) dati_.riserva(quanti, kCampione);
                }
                passaggio.restituisci(std::move(blocco));
            }
        } catch (...) {
            passaggio.fermato();
            throw;
        }
    });
    try {
        std::unique_ptr<BloccoDiRighe> blocco = passaggio.vuoto();
        if (!blocco) throw FilerFermato();
        connection.readRows(kNomiContatti, [&](const RowView& row) {
            blocco->aggiungi(row);
            if (blocco->size() < BloccoDiRighe::kRighe) return;
            passaggio.pieno(std::move(blocco));
            blocco = passaggio.vuoto();
            if (!blocco) throw FilerFermato();
        });
        passaggio.pieno(std::move(blocco));
    } catch (...) {
        passaggio.finito();
        archivista.get();  // throws the filer's own error when that is what stopped the reading
        throw;
    }
    passaggio.finito();
    archivista.get();
}

void IndiceNomi::contattiCambiati(Connection& connection, const std::vector<qint64>& ids)
{
    if (!letto_ || ids.empty()) return;
    if (ids.size() > ordine_.size() / 8 + 1000) {
        leggiTutto(connection);  // so many (another program's import) that reading afresh is quicker
        return;
    }
    std::vector<bool> via(dati_.contatti.size());
    std::vector<Voce> nuove;
    std::vector<qint64> tolti;  // keys whose place goes
    std::vector<qint64> letti;
    constexpr size_t kPerLettura = 500;
    for (size_t da = 0; da < ids.size(); da += kPerLettura) {
        QStringList chiavi;
        for (size_t i = da; i < std::min(ids.size(), da + kPerLettura); ++i) chiavi << QString::number(ids[i]);
        connection.readRows(kNomiContatti + QStringLiteral(" where id in (%1)").arg(chiavi.join(u',')), [&](const RowView& row) {
            const Riga riga = rigaDi(row);
            letti.push_back(riga.id);
            const std::optional<Voce> vecchia = voceDi(riga.id);
            if (vecchia && uguale(*vecchia, riga)) return;
            if (vecchia) tolti.push_back(riga.id);
            nuove.push_back(aggiungi(riga));
        });
    }
    std::sort(letti.begin(), letti.end());
    for (qint64 id : ids)
        if (!std::binary_search(letti.begin(), letti.end(), id) && voceDi(id)) tolti.push_back(id);  // deleted
    if (tolti.empty() && nuove.empty()) return;
    std::sort(tolti.begin(), tolti.end());
    for (qint64 id : tolti) {
        const Voce v = *voceDi(id);
        via[v] = true;
        dati_.contatti[v].presente = false;
    }
    std::vector<std::pair<qint64, Voce>> aggiunte;
    aggiunte.reserve(nuove.size());
    for (Voce v : nuove) aggiunte.emplace_back(dati_.contatti[v].id, v);
    std::sort(aggiunte.begin(), aggiunte.end());
    if (tolti.size() + aggiunte.size() < 64) {
        // A save or two: moving the rest of the keys along beats copying them all.
        for (qint64 id : tolti) perChiave_.erase(std::lower_bound(perChiave_.begin(), perChiave_.end(), std::pair(id, Voce(0))));
        for (const auto& chiave : aggiunte)
            perChiave_.insert(std::upper_bound(perChiave_.begin(), perChiave_.end(), chiave), chiave);
    } else {
        std::erase_if(perChiave_,
                      [&tolti](const auto& chiave) { return std::binary_search(tolti.begin(), tolti.end(), chiave.first); });
        std::vector<std::pair<qint64, Voce>> unite;
        unite.reserve(perChiave_.size() + aggiunte.size());
        std::merge(perChiave_.begin(), perChiave_.end(), aggiunte.begin(), aggiunte.end(), std::back_inserter(unite));
        perChiave_.swap(unite);
    }
    inserisci(std::move(nuove), via);
    ++versione_;
}

std::vector<IndiceNomi::Voce> IndiceNomi::cerca(const RicercaRapida& ricerca, const std::vector<Voce>* entro) const
{
    const std::vector<Voce>& candidate = entro ? *entro : ordine_;
    if (ricerca.tipo() == RicercaRapida::Tipo::Cognome) return cercaCognome(ricerca, candidate);
    if (ricerca.tipo() == RicercaRapida::Tipo::NomeCompleto) return cercaNomeCompleto(ricerca, candidate);
    const TextColumn::Bits trovate =
        simili(ricerca.tipo() == RicercaRapida::Tipo::Telefono ? dati_.telefoni : dati_.email, ricerca);
    std::vector<Voce> scelte;
    for (Voce v : candidate)
        if (TextColumn::has(trovate, v)) scelte.push_back(v);
    return scelte;
}

TextColumn::Bits IndiceNomi::simili(const TextColumn& colonna, const RicercaRapida& ricerca) const
{
    if (ricerca.semplice()) return colonna.containing(cercatoDi(ricerca));
    // The longest run of the text without wildcards finds the candidates at the speed of
    // memory; the pattern has the last word.
    TextColumn::Bits bits = colonna.containing(pezzoPiuLungo(ricerca.minuscolo()));
    for (size_t parte = 0; parte < bits.size(); ++parte)
        for (uint64_t resto = bits[parte]; resto != 0; resto &= resto - 1) {
            const size_t testo = parte * 64 + size_t(std::countr_zero(resto));
            if (!ricerca.pattern().matchesLowered(utf16(colonna[testo]))) bits[parte] &= ~(uint64_t(1) << (testo % 64));
        }
    return bits;
}

std::vector<IndiceNomi::Voce> IndiceNomi::cercaCognome(const RicercaRapida& ricerca, const std::vector<Voce>& candidate) const
{
    std::vector<Voce> trovate;
    if (candidate.size() * 16 < dati_.parole.size()) {
        // Few contacts to look at, as when typing on narrows: each one's surname alone.
        const std::string cercato = cercatoDi(ricerca);
        for (Voce v : candidate)
            if (const uint32_t c = dati_.nomi[v].cognome; c != kSenzaCognome && simile(dati_.parole[c], ricerca, cercato))
                trovate.push_back(v);
        return trovate;
    }
    const TextColumn::Bits cognomi = simili(dati_.parole, ricerca);
    for (size_t i = 0; i < candidate.size(); ++i) {
        preleva(dati_.nomi, candidate, i);
        if (const uint32_t c = dati_.nomi[candidate[i]].cognome; c != kSenzaCognome && TextColumn::has(cognomi, c))
            trovate.push_back(candidate[i]);
    }
    return trovate;
}

std::vector<IndiceNomi::Voce> IndiceNomi::cercaNomeCompleto(const RicercaRapida& ricerca,
                                                            const std::vector<Voce>& candidate) const
{
    // Access's "&" reads a Null surname as an empty one.
    const auto cognomeDi = [this](Voce v) { return dati_.nomi[v].cognome == kSenzaCognome ? 0 : dati_.nomi[v].cognome; };
    const std::string cercato = cercatoDi(ricerca);
    std::vector<size_t> spazi;
    for (size_t i = 0; i < cercato.size(); ++i)
        if (cercato[i] == ' ') spazi.push_back(i);
    std::vector<Voce> trovate;
    if (!ricerca.semplice()) {
        // Wildcards: each name whole, in both orders.
        std::string testo;
        const auto simile = [&](std::string_view primo, std::string_view secondo) {
            testo.assign(primo).append(1, ' ').append(secondo);
            return ricerca.pattern().matchesLowered(utf16(testo));
        };
        for (Voce v : candidate) {
            const std::string_view cognome = dati_.parole[cognomeDi(v)];
            const std::string_view nome = dati_.parole[dati_.nomi[v].nome];
            if (simile(cognome, nome) || simile(nome, cognome)) trovate.push_back(v);
        }
        return trovate;
    }
    // The text is found in "Cognome Nome" (or "Nome Cognome") when one of the two names holds
    // it, or when it spans the space between them at one of its own spaces: what comes
    // before that space ends the first name and what follows begins the second.
    const auto tiene = [&](std::string_view primo, std::string_view secondo) {
        if (primo.find(cercato) != std::string_view::npos || secondo.find(cercato) != std::string_view::npos) return true;
        for (size_t spazio : spazi)
            if (primo.ends_with(std::string_view(cercato).substr(0, spazio))
                && secondo.starts_with(std::string_view(cercato).substr(spazio + 1)))
                return true;
        return false;
    };
    // Either way one of the two names holds each word of the text: the longest picks the
    // few contacts worth that look, in one search through the names.
    std::string_view parola;
    for (size_t da = 0, a = 0; a <= cercato.size(); ++a)
        if (a == cercato.size() || cercato[a] == ' ') {
            if (a - da > parola.size()) parola = std::string_view(cercato).substr(da, a - da);
            da = a + 1;
        }
    const bool tutte = candidate.size() * 16 >= dati_.parole.size();
    const TextColumn::Bits conParola = tutte ? dati_.parole.containing(parola) : TextColumn::Bits();
    const auto ha = [&](uint32_t p) {
        return tutte ? TextColumn::has(conParola, p) : dati_.parole[p].find(parola) != std::string_view::npos;
    };
    for (size_t i = 0; i < candidate.size(); ++i) {
        preleva(dati_.nomi, candidate, i);
        const uint32_t cognome = cognomeDi(candidate[i]);
        const uint32_t nome = dati_.nomi[candidate[i]].nome;
        if ((ha(cognome) || ha(nome))
            && (tiene(dati_.parole[cognome], dati_.parole[nome]) || tiene(dati_.parole[nome], dati_.parole[cognome])))
            trovate.push_back(candidate[i]);
    }
    return trovate;
}

std::optional<IndiceNomi::Voce> IndiceNomi::voceDi(qint64 id) const
{
    const auto found = std::lower_bound(perChiave_.begin(), perChiave_.end(), std::pair(id, Voce(0)));
    if (found == perChiave_.end() || found->first != id) return std::nullopt;
    return found->second;
}

QString IndiceNomi::testo(Voce voce) const
{
    if (!contiene(voce)) return {};
    const std::string_view text = vista(voce);
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

IndiceNomi::Voce IndiceNomi::aggiungi(const Riga& riga)
{
    // The names' places in the table are asked for first and looked at last: at a million
    // names the table is far in memory, and the rest of the row is filed meanwhile.
    thread_local Dati::Parola cognome;
    thread_local Dati::Parola nome;
    if (!riga.senzaCognome) dati_.prepara(riga.cognome, cognome);
    dati_.prepara(riga.nome, nome);
    Contatto c;
    c.id = riga.id;
    c.testo = uint32_t(dati_.testi.size());
    dati_.testi += riga.cognome;
    c.cognomeNelTesto = uint32_t(dati_.testi.size()) - c.testo;
    dati_.testi.push_back(' ');
    dati_.testi += riga.nome;
    c.lunghezza = uint32_t(dati_.testi.size()) - c.testo;
    thread_local std::string telefoni;
    thread_local std::string email;
    recapitiDi(riga, telefoni, email);
    dati_.telefoni.append(telefoni);
    dati_.email.append(email);
    dati_.contatti.push_back(c);
    dati_.nomi.push_back({riga.senzaCognome ? kSenzaCognome : dati_.numeroDi(cognome), dati_.numeroDi(nome)});
    return Voce(dati_.contatti.size() - 1);
}

void IndiceNomi::recapitiDi(const Riga& riga, std::string& telefoni, std::string& email)
{
    telefoni.clear();
    RicercaRapida::aggiungiCifre(riga.telefono, telefoni);
    telefoni.push_back('\1');  // so that no search finds digits of both numbers at once
    RicercaRapida::aggiungiCifre(riga.cell, telefoni);
    email.clear();
    appendLowerCaseUtf8(riga.email, email);
}

bool IndiceNomi::uguale(Voce voce, const Riga& riga) const
{
    thread_local std::string telefoni;
    thread_local std::string email;
    thread_local std::string testo;
    recapitiDi(riga, telefoni, email);
    testo = riga.cognome;
    const size_t cognome = testo.size();
    testo.push_back(' ');
    testo += riga.nome;
    return dati_.telefoni[voce] == telefoni && dati_.email[voce] == email
           && (dati_.nomi[voce].cognome == kSenzaCognome) == riga.senzaCognome && dati_.contatti[voce].cognomeNelTesto == cognome
           && vista(voce) == testo;
}

std::string_view IndiceNomi::vista(Voce voce) const
{
    const Contatto& c = dati_.contatti[voce];
    return {dati_.testi.data() + c.testo, c.lunghezza};
}

bool IndiceNomi::precede(Voce a, Voce b) const
{
    const std::string_view x = vista(a);
    const std::string_view y = vista(b);
    const int order = italiano_.compareUtf8(x.data(), int(x.size()), y.data(), int(y.size()));
    return order != 0 ? order < 0 : dati_.contatti[a].id < dati_.contatti[b].id;  // equal names: the older contact first
}

std::vector<IndiceNomi::Voce> IndiceNomi::ordinaTutto() const
{
    const size_t quante = dati_.contatti.size();
    // Equal names, which a register holds many of, are grouped first.
    std::vector<Voce> primi;  // each group's first contact
    riservaGrande(primi, quante);
    auto gruppo = grande<std::vector<uint32_t>>(quante);
    {
        NumeriPerTesto gruppi;
        const auto testoDi = [&](uint32_t g) { return vista(primi[g]); };
        gruppi.allarga(quante, 0, testoDi);
        // Each name's place is asked for a few names ahead, as in aggiungi().
        constexpr size_t kAvanti = 8;
        std::array<size_t, kAvanti> hash{};
        const auto prepara = [&](size_t i) {
            if (i >= quante) return;
            hash[i % kAvanti] = NumeriPerTesto::hashDi(vista(Voce(i)));
            gruppi.preleva(hash[i % kAvanti]);
        };
        for (size_t i = 0; i < kAvanti; ++i) prepara(i);
        for (size_t i = 0; i < quante; ++i) {
            const size_t questo = hash[i % kAvanti];
            prepara(i + kAvanti);
            gruppo[i] = gruppi.numero(vista(Voce(i)), questo, uint32_t(primi.size()), testoDi);
            if (gruppo[i] == primi.size()) primi.push_back(Voce(i));
        }
    }
    const std::vector<uint32_t> rango = italianRanksUtf8(primi.size(), [&](uint32_t g) { return vista(primi[g]); });
    // Each group's first place in the list, then its contacts there, older first.
    auto perRango = grande<std::vector<uint32_t>>(primi.size());
    for (uint32_t g = 0; g < primi.size(); ++g) perRango[rango[g]] = g;
    auto quanti = grande<std::vector<uint32_t>>(primi.size());
    for (uint32_t g : gruppo) ++quanti[g];
    auto inizio = grande<std::vector<uint32_t>>(primi.size());
    uint32_t posto = 0;
    for (uint32_t g : perRango) {
        inizio[g] = posto;
        posto += quanti[g];
    }
    std::vector<uint32_t> prossimo = inizio;
    auto risultato = grande<std::vector<Voce>>(quante);
    for (size_t i = 0; i < quante; ++i) risultato[prossimo[gruppo[i]]++] = Voce(i);
    const auto piuVecchio = [this](Voce x, Voce y) { return dati_.contatti[x].id < dati_.contatti[y].id; };
    for (uint32_t g = 0; g < primi.size(); ++g) {
        const auto da = risultato.begin() + inizio[g];
        const auto a = da + quanti[g];
        if (quanti[g] > 1 && !std::is_sorted(da, a, piuVecchio)) std::sort(da, a, piuVecchio);
    }
    return risultato;
}

void IndiceNomi::inserisci(std::vector<Voce> nuove, const std::vector<bool>& via)
{
    if (!via.empty()) std::erase_if(ordine_, [&via](Voce v) { return v < via.size() && via[v]; });
    if (nuove.empty()) return;
    std::sort(nuove.begin(), nuove.end(), [this](Voce a, Voce b) { return precede(a, b); });
    std::vector<Voce> unite;
    unite.reserve(ordine_.size() + nuove.size());
    auto da = ordine_.begin();
    for (Voce v : nuove) {
        const auto posto = std::upper_bound(da, ordine_.end(), v, [this](Voce a, Voce b) { return precede(a, b); });
        unite.insert(unite.end(), da, posto);
        unite.push_back(v);
        da = posto;
    }
    unite.insert(unite.end(), da, ordine_.end());
    ordine_.swap(unite);
}

}  // namespace brenzola
