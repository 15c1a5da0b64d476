#include "store/indicenomi.h"

#include <algorithm>

namespace brenzola {

namespace {

const QString kNomiContatti = QStringLiteral("Select id, Cognome, Nome from Anagrafica");

std::u16string_view comeVista(QStringView text) { return {text.utf16(), size_t(text.size())}; }

}  // namespace

IndiceNomi::Riga IndiceNomi::rigaDi(const RowView& row) { return {row.integer(0), row.text(1), row.text(2), row.isNull(1)}; }

void IndiceNomi::dimentica()
{
    contatti_.clear();
    cognomeDiVoce_.clear();
    testi_.clear();
    cognomi_.clear();
    minuscoli_.clear();
    perCognome_.clear();
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
    std::optional<std::vector<qint64>> cambiati;
    try {
        cambiati = cursore_.cambiamenti(connection, forza);
        if (!cambiati || !letto_)
            leggiTutto(connection);
        else
            contattiCambiati(connection, *cambiati);
    } catch (...) {
        cursore_.azzera();  // what was missed is read whole next time
        throw;
    }
}

void IndiceNomi::leggiTutto(Connection& connection)
{
    if (!letto_) {
        // Until the read succeeds the list goes on showing what it held.
        std::vector<Contatto> contatti;
        std::vector<uint32_t> cognomi;
        std::u16string testi;
        contatti_.swap(contatti);
        cognomeDiVoce_.swap(cognomi);
        testi_.swap(testi);
        try {
            connection.readRows(kNomiContatti, [this](const RowView& row) { aggiungi(rigaDi(row)); });
        } catch (...) {
            contatti_.swap(contatti);
            cognomeDiVoce_.swap(cognomi);
            testi_.swap(testi);
            throw;
        }
        ordine_.resize(contatti_.size());
        for (Voce v = 0; v < ordine_.size(); ++v) ordine_[v] = v;
        ordinaTutto(ordine_);
        perChiave_.clear();
        perChiave_.reserve(contatti_.size());
        for (Voce v = 0; v < contatti_.size(); ++v) perChiave_.emplace_back(contatti_[v].id, v);
        if (!std::is_sorted(perChiave_.begin(), perChiave_.end())) std::sort(perChiave_.begin(), perChiave_.end());
    } else {
        // Only what changed moves: most of a large register stays where it was.
        std::vector<bool> visto(contatti_.size());
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
            if (contatti_[v].presente && !visto[v]) {
                via[v] = true;
                contatti_[v].presente = false;
            }
        if (nuove.size() > ordine_.size() / 8 + 1000) {
            // So much changed (another program's import) that reading afresh is quicker.
            letto_ = false;
            leggiTutto(connection);
            return;
        }
        std::erase_if(perChiave_, [&](const auto& chiave) { return via[chiave.second]; });
        for (Voce v : nuove)
            perChiave_.insert(std::upper_bound(perChiave_.begin(), perChiave_.end(), std::pair(contatti_[v].id, v)),
                              {contatti_[v].id, v});
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
    std::vector<bool> via(contatti_.size());
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
        contatti_[v].presente = false;
    }
    std::vector<std::pair<qint64, Voce>> aggiunte;
    aggiunte.reserve(nuove.size());
    for (Voce v : nuove) aggiunte.emplace_back(contatti_[v].id, v);
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

std::vector<IndiceNomi::Voce> IndiceNomi::cerca(const LikePattern& pattern, const std::vector<Voce>* entro) const
{
    const std::vector<Voce>& candidate = entro ? *entro : ordine_;
    enum : uint8_t { DaVedere, Si, No };
    std::vector<uint8_t> esito(cognomi_.size(), DaVedere);
    std::vector<Voce> trovate;
    for (Voce v : candidate) {
        const uint32_t quale = cognomeDiVoce_[v];
        if (quale == kSenzaCognome) continue;
        uint8_t& e = esito[quale];
        if (e == DaVedere) {
            const Cognome& cognome = cognomi_[quale];
            e = pattern.matchesLowered({minuscoli_.data() + cognome.inizio, cognome.lunghezza}) ? Si : No;
        }
        if (e == Si) trovate.push_back(v);
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
    c.testo = uint32_t(testi_.size());
    testi_.append(comeVista(riga.cognome)).append(1, u' ').append(comeVista(riga.nome));
    c.lunghezza = uint32_t(testi_.size()) - c.testo;
    c.cognomeNelTesto = uint32_t(riga.cognome.size());
    cognomeDiVoce_.push_back(riga.senzaCognome ? kSenzaCognome : cognomeDi(riga.cognome));
    contatti_.push_back(c);
    return Voce(contatti_.size() - 1);
}

uint32_t IndiceNomi::cognomeDi(QStringView cognome)
{
    const auto found = perCognome_.find(comeVista(cognome));
    if (found != perCognome_.end()) return found->second;
    thread_local std::u16string minuscolo;
    lowerCase(cognome, minuscolo);
    cognomi_.push_back({uint32_t(minuscoli_.size()), uint32_t(minuscolo.size())});
    minuscoli_.append(minuscolo);
    return perCognome_.emplace(std::u16string(comeVista(cognome)), uint32_t(cognomi_.size() - 1)).first->second;
}

bool IndiceNomi::uguale(Voce voce, const Riga& riga) const
{
    const Contatto& c = contatti_[voce];
    const std::u16string_view text = vista(voce);
    return (cognomeDiVoce_[voce] == kSenzaCognome) == riga.senzaCognome && c.cognomeNelTesto == size_t(riga.cognome.size())
           && text.size() == size_t(riga.cognome.size() + 1 + riga.nome.size())
           && text.substr(0, c.cognomeNelTesto) == comeVista(riga.cognome)
           && text.substr(c.cognomeNelTesto + 1) == comeVista(riga.nome);
}

std::u16string_view IndiceNomi::vista(Voce voce) const
{
    const Contatto& c = contatti_[voce];
    return {testi_.data() + c.testo, c.lunghezza};
}

bool IndiceNomi::precede(Voce a, Voce b) const
{
    const std::u16string_view x = vista(a);
    const std::u16string_view y = vista(b);
    const int order = italiano_.compare(QStringView(x.data(), qsizetype(x.size())), QStringView(y.data(), qsizetype(y.size())));
    return order != 0 ? order < 0 : contatti_[a].id < contatti_[b].id;  // equal names: the older contact first
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
    const auto piuVecchio = [this](Voce x, Voce y) { return contatti_[x].id < contatti_[y].id; };
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
