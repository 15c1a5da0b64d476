#include "store/indicenomi.h"

#include "store/storeerror.h"

#include <algorithm>
#include <cstring>

namespace brenzola {

namespace {

const QString kNomiContatti = QStringLiteral("Select id, Cognome, Nome, Telefono, Cell, Email from Anagrafica");

std::u16string_view comeVista(QStringView text) { return {text.utf16(), size_t(text.size())}; }

// One contact's entry among entries that each end with a 0.
std::string_view voceIn(const std::string& testi, const std::vector<uint32_t>& inizi, size_t voce)
{
    const size_t fine = voce + 1 < inizi.size() ? inizi[voce + 1] : testi.size();
    return {testi.data() + inizi[voce], fine - inizi[voce] - 1};
}

// The longest run of a like pattern without wildcards.
QByteArray pezzoPiuLungo(std::u16string_view pattern)
{
    std::u16string_view piuLungo;
    size_t da = 0;
    for (size_t i = 0; i <= pattern.size(); ++i)
        if (i == pattern.size() || pattern[i] == u'%' || pattern[i] == u'_') {
            if (i - da > piuLungo.size()) piuLungo = pattern.substr(da, i - da);
            da = i + 1;
        }
    return QStringView(piuLungo.data(), qsizetype(piuLungo.size())).toUtf8();
}

}  // namespace

IndiceNomi::Riga IndiceNomi::rigaDi(const RowView& row)
{
    return {row.integer(0), row.text(1), row.text(2), row.isNull(1), row.text(3), row.text(4), row.text(5)};
}

void IndiceNomi::Dati::riserva(size_t quanti, size_t letti)
{
    for (auto* v : {&cognomi, &nomi, &inizioTelefoni, &inizioEmail}) v->reserve(quanti);
    contatti.reserve(quanti);
    if (letti == 0) return;
    const auto stima = [&](size_t tenuti) { return tenuti * quanti / letti * 9 / 8; };
    testi.reserve(stima(testi.size()));
    telefoni.reserve(stima(telefoni.size()));
    email.reserve(stima(email.size()));
}

void IndiceNomi::Dati::swap(Dati& altri) noexcept
{
    contatti.swap(altri.contatti);
    cognomi.swap(altri.cognomi);
    nomi.swap(altri.nomi);
    testi.swap(altri.testi);
    telefoni.swap(altri.telefoni);
    inizioTelefoni.swap(altri.inizioTelefoni);
    email.swap(altri.email);
    inizioEmail.swap(altri.inizioEmail);
}

void IndiceNomi::dimentica()
{
    dati_ = Dati();
    parole_.clear();
    minuscoli_.clear();
    perParola_.clear();
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
            constexpr size_t kCampione = 4096;  // rows enough to tell how long the texts are
            connection.readRows(kNomiContatti, [&](const RowView& row) {
                aggiungi(rigaDi(row));
                if (dati_.contatti.size() == kCampione && quanti > kCampione) dati_.riserva(quanti, kCampione);
            });
        } catch (...) {
            dati_.swap(tenuti);
            throw;
        }
        ordine_.resize(dati_.contatti.size());
        for (Voce v = 0; v < ordine_.size(); ++v) ordine_[v] = v;
        ordinaTutto(ordine_);
        perChiave_.clear();
        perChiave_.reserve(dati_.contatti.size());
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
    std::vector<bool> trovate;
    switch (ricerca.tipo()) {
    case RicercaRapida::Tipo::Cognome:
        return cercaCognome(ricerca.pattern(), candidate);
    case RicercaRapida::Tipo::NomeCompleto:
        return cercaNomeCompleto(ricerca, candidate);
    case RicercaRapida::Tipo::Telefono:
        trovate = cercaRecapito(dati_.telefoni, dati_.inizioTelefoni, ricerca.cercato().toUtf8(), nullptr);
        break;
    case RicercaRapida::Tipo::Email: {
        // The longest run of the text without wildcards finds the candidates at the speed of
        // memory; the pattern has the last word.
        trovate = cercaRecapito(dati_.email, dati_.inizioEmail, pezzoPiuLungo(ricerca.minuscolo()),
                                ricerca.semplice() ? nullptr : &ricerca.pattern());
        break;
    }
    }
    std::vector<Voce> scelte;
    for (Voce v : candidate)
        if (trovate[v]) scelte.push_back(v);
    return scelte;
}

std::vector<IndiceNomi::Voce> IndiceNomi::cercaCognome(const LikePattern& pattern, const std::vector<Voce>& candidate) const
{
    enum : uint8_t { DaVedere, Si, No };
    std::vector<uint8_t> esito(parole_.size(), DaVedere);
    std::vector<Voce> trovate;
    for (Voce v : candidate) {
        const uint32_t quale = dati_.cognomi[v];
        if (quale == kSenzaCognome) continue;
        uint8_t& e = esito[quale];
        if (e == DaVedere) e = pattern.matchesLowered(parole_[quale].in(minuscoli_)) ? Si : No;
        if (e == Si) trovate.push_back(v);
    }
    return trovate;
}

std::vector<IndiceNomi::Voce> IndiceNomi::cercaNomeCompleto(const RicercaRapida& ricerca,
                                                            const std::vector<Voce>& candidate) const
{
    const std::u16string_view cercato = ricerca.minuscolo();
    std::vector<size_t> spazi;
    for (size_t i = 0; i < cercato.size(); ++i)
        if (cercato[i] == u' ') spazi.push_back(i);
    std::vector<Voce> trovate;
    if (!ricerca.semplice() || spazi.size() > 32) {
        // Wildcards: each name whole, in both orders.
        std::u16string testo;
        const auto simile = [&](std::u16string_view primo, std::u16string_view secondo) {
            testo.assign(primo).append(1, u' ').append(secondo);
            return ricerca.pattern().matchesLowered(testo);
        };
        for (Voce v : candidate) {
            const uint32_t c = dati_.cognomi[v];
            const std::u16string_view cognome = c == kSenzaCognome ? std::u16string_view() : parole_[c].in(minuscoli_);
            const std::u16string_view nome = parole_[dati_.nomi[v]].in(minuscoli_);
            if (simile(cognome, nome) || simile(nome, cognome)) trovate.push_back(v);
        }
        return trovate;
    }
    // The text is found in "Cognome Nome" (or "Nome Cognome") when one of the two names holds
    // it, or when it spans the space between them at one of its own spaces: what comes
    // before that space ends the first name and what follows begins the second. Each name
    // is looked at once, whatever the number of contacts bearing it.
    struct Esito {
        bool visto = false;
        bool contiene = false;
        uint32_t finisce = 0;  // bit i: ends with the text before its i-th space
        uint32_t inizia = 0;   // bit i: begins with the text after its i-th space
    };
    const auto esitoDi = [&](std::u16string_view parola) {
        Esito e;
        e.visto = true;
        e.contiene = parola.find(cercato) != std::u16string_view::npos;
        for (size_t i = 0; i < spazi.size(); ++i) {
            if (parola.ends_with(cercato.substr(0, spazi[i]))) e.finisce |= 1u << i;
            if (parola.starts_with(cercato.substr(spazi[i] + 1))) e.inizia |= 1u << i;
        }
        return e;
    };
    std::vector<Esito> esiti(parole_.size());
    const Esito vuoto = esitoDi({});  // a Null surname
    const auto di = [&](uint32_t quale) -> const Esito& {
        if (quale == kSenzaCognome) return vuoto;
        Esito& e = esiti[quale];
        if (!e.visto) e = esitoDi(parole_[quale].in(minuscoli_));
        return e;
    };
    for (Voce v : candidate) {
        const Esito& cognome = di(dati_.cognomi[v]);
        const Esito& nome = di(dati_.nomi[v]);
        if (cognome.contiene || nome.contiene || (cognome.finisce & nome.inizia) || (nome.finisce & cognome.inizia))
            trovate.push_back(v);
    }
    return trovate;
}

std::vector<bool> IndiceNomi::cercaRecapito(const std::string& testi, const std::vector<uint32_t>& inizi,
                                            const QByteArray& cercato, const LikePattern* pattern) const
{
    std::vector<bool> trovate(dati_.contatti.size());
    size_t da = 0;
    size_t voce = 0;
    while (da < testi.size()) {
        const void* dove = memmem(testi.data() + da, testi.size() - da, cercato.constData(), size_t(cercato.size()));
        if (!dove) break;
        const size_t posto = size_t(static_cast<const char*>(dove) - testi.data());
        // Found in order: the contact holding it lies at or after the last one.
        voce = size_t(std::upper_bound(inizi.begin() + qsizetype(voce), inizi.end(), uint32_t(posto)) - inizi.begin()) - 1;
        const std::string_view trovata = voceIn(testi, inizi, voce);
        if (!pattern || pattern->matchesLowered(QString::fromUtf8(trovata.data(), qsizetype(trovata.size())).toStdU16String()))
            trovate[voce] = true;
        da = size_t(trovata.data() - testi.data()) + trovata.size() + 1;
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
    const std::u16string_view text = vista(voce);
    return QString(reinterpret_cast<const QChar*>(text.data()), qsizetype(text.size()));
}

IndiceNomi::Voce IndiceNomi::aggiungi(const Riga& riga)
{
    Contatto c;
    c.id = riga.id;
    c.testo = uint32_t(dati_.testi.size());
    dati_.testi.append(comeVista(riga.cognome)).append(1, u' ').append(comeVista(riga.nome));
    c.lunghezza = uint32_t(dati_.testi.size()) - c.testo;
    c.cognomeNelTesto = uint32_t(riga.cognome.size());
    dati_.cognomi.push_back(riga.senzaCognome ? kSenzaCognome : parolaDi(riga.cognome));
    dati_.nomi.push_back(parolaDi(riga.nome));
    dati_.inizioTelefoni.push_back(uint32_t(dati_.telefoni.size()));
    dati_.inizioEmail.push_back(uint32_t(dati_.email.size()));
    aggiungiRecapiti(riga, dati_.telefoni, dati_.email);
    dati_.telefoni.push_back('\0');
    dati_.email.push_back('\0');
    dati_.contatti.push_back(c);
    return Voce(dati_.contatti.size() - 1);
}

uint32_t IndiceNomi::parolaDi(QStringView parola)
{
    const auto found = perParola_.find(comeVista(parola));
    if (found != perParola_.end()) return found->second;
    thread_local std::u16string minuscolo;
    lowerCase(parola, minuscolo);
    parole_.push_back({uint32_t(minuscoli_.size()), uint32_t(minuscolo.size())});
    minuscoli_.append(minuscolo);
    return perParola_.emplace(std::u16string(comeVista(parola)), uint32_t(parole_.size() - 1)).first->second;
}

void IndiceNomi::aggiungiRecapiti(const Riga& riga, std::string& telefoni, std::string& email)
{
    RicercaRapida::aggiungiCifre(riga.telefono, telefoni);
    telefoni.push_back('\1');  // so that no search finds digits of both numbers at once
    RicercaRapida::aggiungiCifre(riga.cell, telefoni);
    // Read for every contact at every start: ASCII, nearly all of it, goes straight across.
    for (QChar c : riga.email)
        if (c.unicode() >= 0x80) {
            thread_local std::u16string minuscola;
            lowerCase(riga.email, minuscola);
            email.append(QStringView(minuscola.data(), qsizetype(minuscola.size())).toUtf8().toStdString());
            return;
        }
    for (QChar c : riga.email) {
        const char16_t u = c.unicode();
        email.push_back(char(u >= u'A' && u <= u'Z' ? u + (u'a' - u'A') : u));
    }
}

bool IndiceNomi::uguale(Voce voce, const Riga& riga) const
{
    const Contatto& c = dati_.contatti[voce];
    const std::u16string_view text = vista(voce);
    thread_local std::string telefoni;
    thread_local std::string email;
    telefoni.clear();
    email.clear();
    aggiungiRecapiti(riga, telefoni, email);
    return voceIn(dati_.telefoni, dati_.inizioTelefoni, voce) == telefoni && voceIn(dati_.email, dati_.inizioEmail, voce) == email
           && (dati_.cognomi[voce] == kSenzaCognome) == riga.senzaCognome && c.cognomeNelTesto == size_t(riga.cognome.size())
           && text.size() == size_t(riga.cognome.size() + 1 + riga.nome.size())
           && text.substr(0, c.cognomeNelTesto) == comeVista(riga.cognome)
           && text.substr(c.cognomeNelTesto + 1) == comeVista(riga.nome);
}

std::u16string_view IndiceNomi::vista(Voce voce) const
{
    const Contatto& c = dati_.contatti[voce];
    return {dati_.testi.data() + c.testo, c.lunghezza};
}

bool IndiceNomi::precede(Voce a, Voce b) const
{
    const std::u16string_view x = vista(a);
    const std::u16string_view y = vista(b);
    const int order = italiano_.compare(QStringView(x.data(), qsizetype(x.size())), QStringView(y.data(), qsizetype(y.size())));
    return order != 0 ? order < 0 : dati_.contatti[a].id < dati_.contatti[b].id;  // equal names: the older contact first
}

void IndiceNomi::ordinaTutto(std::vector<Voce>& voci) const
{
    // Equal names, which a register holds many of, are grouped first: an open-addressing
    // table of each name's first contact.
    size_t capienza = 16;
    while (capienza < voci.size() * 2) capienza *= 2;
    std::vector<uint32_t> tabella(capienza, 0);  // group + 1; 0 is free
    std::vector<Voce> primi;                     // each group's first contact
    std::vector<uint32_t> gruppo(voci.size());
    const std::hash<std::u16string_view> hash;
    for (size_t i = 0; i < voci.size(); ++i) {
        const std::u16string_view text = vista(voci[i]);
        size_t posto = hash(text) & (capienza - 1);
        while (tabella[posto] != 0 && vista(primi[tabella[posto] - 1]) != text) posto = (posto + 1) & (capienza - 1);
        if (tabella[posto] == 0) {
            primi.push_back(voci[i]);
            tabella[posto] = uint32_t(primi.size());
        }
        gruppo[i] = tabella[posto] - 1;
    }
    tabella = {};
    std::vector<QStringView> nomi;
    nomi.reserve(primi.size());
    for (Voce v : primi) nomi.emplace_back(vista(v).data(), qsizetype(vista(v).size()));
    const std::vector<uint32_t> rango = italianRanks(nomi);
    // Each group's first place in the list, then its contacts there, older first.
    std::vector<uint32_t> perRango(primi.size());
    for (uint32_t g = 0; g < primi.size(); ++g) perRango[rango[g]] = g;
    std::vector<uint32_t> quanti(primi.size(), 0);
    for (uint32_t g : gruppo) ++quanti[g];
    std::vector<uint32_t> inizio(primi.size());
    uint32_t posto = 0;
    for (uint32_t g : perRango) {
        inizio[g] = posto;
        posto += quanti[g];
    }
    std::vector<uint32_t> prossimo = inizio;
    std::vector<Voce> risultato(voci.size());
    for (size_t i = 0; i < voci.size(); ++i) risultato[prossimo[gruppo[i]]++] = voci[i];
    const auto piuVecchio = [this](Voce x, Voce y) { return dati_.contatti[x].id < dati_.contatti[y].id; };
    for (uint32_t g = 0; g < primi.size(); ++g) {
        const auto da = risultato.begin() + inizio[g];
        const auto a = da + quanti[g];
        if (quanti[g] > 1 && !std::is_sorted(da, a, piuVecchio)) std::sort(da, a, piuVecchio);
    }
    voci.swap(risultato);
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
