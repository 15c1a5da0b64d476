#include "sync/sincronizzazione.h"

#include "exchange/doppioni.h"
#include "exchange/scambio.h"
#include "exchange/vcard.h"
#include "store/connection.h"
#include "store/giornale.h"
#include "store/recordset.h"
#include "store/sincronia.h"
#include "store/storeerror.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QHash>
#include <QSet>

#include <variant>

#include <map>
#include <ranges>
#include <set>

namespace brenzola {
namespace {

// ---- The lines of a card ----

struct Riga {
    QByteArray scritta;  // as the card has it, folded, with its line ending
    QByteArray nome;     // upper case, without the group
    QByteArray gruppo;   // "item1" of "item1.TEL", else empty
    QByteArray parametri;
};

std::vector<Riga> righe(const QByteArray& scheda)
{
    std::vector<Riga> tutte;
    QByteArray aperta;  // unfolded
    const auto chiudi = [&] {
        if (tutte.empty()) return;
        Riga& r = tutte.back();
        const qsizetype fine = aperta.indexOf(':');
        const QByteArray testa = aperta.left(fine < 0 ? aperta.size() : fine);
        const qsizetype punto = testa.indexOf(';');
        QByteArray nome = testa.left(punto < 0 ? testa.size() : punto);
        r.parametri = punto < 0 ? QByteArray() : testa.mid(punto + 1).toUpper();
        if (const qsizetype g = nome.indexOf('.'); g >= 0) {
            r.gruppo = nome.left(g).toUpper();
            nome = nome.mid(g + 1);
        }
        r.nome = nome.trimmed().toUpper();
    };
    for (const QByteArray& fisica : scheda.split('\n')) {
        QByteArray linea = fisica;
        if (linea.endsWith('\r')) linea.chop(1);
        if ((linea.startsWith(' ') || linea.startsWith('\t')) && !tutte.empty()) {
            tutte.back().scritta += linea + "\r\n";
            aperta += linea.mid(1);
            continue;
        }
        chiudi();
        if (linea.isEmpty()) continue;
        tutte.push_back({linea + "\r\n", {}, {}, {}});
        aperta = linea;
    }
    chiudi();
    return tutte;
}

// Which lines are the register's: its fields' properties, one e-mail, one address, one
// telephone and one mobile, and what shares a group with them.
std::vector<bool> nostre(const std::vector<Riga>& tutte)
{
    std::vector<bool> nostra(tutte.size(), false);
    bool email = false, indirizzo = false, telefono = false, cellulare = false;
    QSet<QByteArray> gruppi;
    for (size_t i = 0; i < tutte.size(); ++i) {
        const Riga& r = tutte[i];
        bool presa = false;
        if (r.nome == "VERSION" || r.nome == "PRODID" || r.nome == "UID" || r.nome == "N" || r.nome == "FN" || r.nome == "BDAY"
            || r.nome == "NOTE" || r.nome.startsWith("X-BRENZOLA-")) {
            presa = true;
        } else if (r.nome == "EMAIL" && !email) {
            presa = email = true;
        } else if (r.nome == "ADR" && !indirizzo) {
            presa = indirizzo = true;
        } else if (r.nome == "TEL") {
            const bool cell = r.parametri.contains("CELL") || r.parametri.contains("MOBILE");
            if (cell && !cellulare) presa = cellulare = true;
            if (!cell && !telefono) presa = telefono = true;
        }
        nostra[i] = presa;
        if (presa && !r.gruppo.isEmpty()) gruppi.insert(r.gruppo);
    }
    for (size_t i = 0; i < tutte.size(); ++i)
        if (!tutte[i].gruppo.isEmpty() && gruppi.contains(tutte[i].gruppo)) nostra[i] = true;
    return nostra;
}

bool strutturale(const Riga& r) { return r.nome == "BEGIN" || r.nome == "END"; }

}  // namespace

QByteArray parteNostra(const QByteArray& scheda)
{
    const std::vector<Riga> tutte = righe(scheda);
    const std::vector<bool> nostra = nostre(tutte);
    QByteArray parte = "BEGIN:VCARD\r\n";
    for (size_t i = 0; i < tutte.size(); ++i)
        if (nostra[i] && !strutturale(tutte[i])) parte += tutte[i].scritta;
    return parte + "END:VCARD\r\n";
}

QByteArray schedaAggiornata(const QByteArray& sulServer, const Contatto& contatto)
{
    const std::vector<Riga> tutte = righe(sulServer);
    const std::vector<bool> nostra = nostre(tutte);
    bool v4 = false;
    for (const Riga& r : tutte)
        if (r.nome == "VERSION") v4 = r.scritta.contains("4.0");
    QByteArray scheda = schedaVCard(contatto, v4 ? VersioneVCard::V4 : VersioneVCard::V3);
    scheda.chop(QByteArrayView("END:VCARD\r\n").size());
    for (size_t i = 0; i < tutte.size(); ++i)
        if (!nostra[i] && !strutturale(tutte[i])) scheda += tutte[i].scritta;
    return scheda + "END:VCARD\r\n";
}

namespace {

// The context of this file's texts, in a form lupdate reads.
struct Sincronizzazione {
    Q_DECLARE_TR_FUNCTIONS(brenzola::Sincronizzazione)
};

// The contact as last synchronised, in a few bytes: what tells a change here.
QString firma(const Contatto& c)
{
    return QString::fromLatin1(QCryptographicHash::hash(schedaVCard(c, VersioneVCard::V4), QCryptographicHash::Sha1).toHex());
}

// The fields a phone shows: the card says them, empty ones included. The register's own
// (entry and call-back dates, reference type, source) only when the card carries them,
// since a phone may drop what it does not know.
Contatto dalServer(const Contatto& esistente, const Contatto& letto)
{
    Contatto c = esistente;
    for (const DescrizioneCampo& d : campi()) {
        const bool proprio =
            d.campo == Campo::DataIn || d.campo == Campo::TipoRef || d.campo == Campo::Fonte || d.campo == Campo::DataRicont;
        if (!proprio || !letto[d.campo].isNull()) c[d.campo] = letto[d.campo];
    }
    return c;
}

// The contact a card holds, or why it holds none.
std::variant<Contatto, QString> letturaScheda(const QByteArray& scheda)
{
    const Lettura letta = leggiVCard(parteNostra(scheda));
    if (letta.voci.size() != 1)
        return Sincronizzazione::tr("la scheda contiene %1 contatti invece di uno").arg(letta.voci.size());
    if (!letta.voci.front().errore.isEmpty()) return letta.voci.front().errore;
    return letta.voci.front().contatto;
}

StoreError interrotta()
{
    return StoreError(
        StoreErrorNumber::UserInterrupt,
        Sincronizzazione::tr("Sincronizzazione interrotta: l'archivio è rimasto com'era; le schede già mandate al server "
                             "sono intere e la prossima sincronizzazione le ritrova."));
}

// A card's path made from its UID: the same contact finds the same place on every desk.
QString percorsoPer(const QUrl& rubrica, const Contatto& c)
{
    const QByteArray nome = QCryptographicHash::hash(c.uid.toUtf8(), QCryptographicHash::Sha1).toHex();
    return rubrica.resolved(QUrl(QString::fromLatin1(nome) + QStringLiteral(".vcf"))).path();
}

}  // namespace

EsitoSincronizzazione Sincronizza(Connection& connection, CardDavClient& server, const CardDavClient::AddressBook& rubrica,
                                  const AvanzamentoSincronizzazione& avanzamento)
{
    EsitoSincronizzazione esito;
    qint64 fatte = 0, totale = 0;
    const auto avanza = [&](qint64 quante) {
        fatte += quante;
        if (avanzamento && !avanzamento(fatte, totale)) throw interrotta();
    };
    const StatoSincronia stato(connection);
    const bool stessaRubrica = stato.rubrica() == rubrica.url.toString();
    // By path on the server; a register synchronised with another address book starts again.
    std::map<QString, StatoSincronia::Scheda> note;
    if (stessaRubrica)
        for (const StatoSincronia::Scheda& s : stato.schede()) note.emplace(s.href, s);

    // The register now.
    std::map<qint64, Contatto> qui;
    {
        Recordset rs;
        for (rs.Open(QStringLiteral("Select * from Anagrafica"), &connection); !rs.Eof(); rs.MoveNext()) {
            Contatto c = contattoDa(rs);
            qui.emplace(c.id, std::move(c));
        }
    }
    std::map<qint64, QString> hrefDi;
    for (const auto& [href, s] : note) hrefDi.emplace(s.id, href);
    // Each contact's signature, worked out once: the loops below ask for it several times.
    std::map<qint64, QString> firmaQui;
    for (const auto& [id, c] : qui) firmaQui.emplace(id, firma(c));
    const auto cambiatoQui = [&](const StatoSincronia::Scheda& s) {
        const auto f = firmaQui.find(s.id);
        return f == firmaQui.end() || f->second != s.firma;
    };

    // The server now: what changed since the last time, or everything.
    std::map<QString, QString> cambiateLa;  // path -> ETag
    std::set<QString> eliminateLa;
    QString token;
    const QString daToken = stessaRubrica ? stato.token() : QString();
    std::optional<CardDavClient::Changes> cambiamenti;
    if (!rubrica.syncToken.isEmpty() && !daToken.isEmpty()) {
        cambiamenti = server.changesSince(rubrica.url, daToken);
        if (cambiamenti->tokenRefused) cambiamenti.reset();
    }
    if (cambiamenti) {
        for (const auto& c : cambiamenti->changed) cambiateLa.emplace(c.url.path(), c.etag);
        for (const QUrl& u : cambiamenti->removed) eliminateLa.insert(u.path());
        token = cambiamenti->syncToken;
    } else {
        if (!rubrica.syncToken.isEmpty()) token = server.changesSince(rubrica.url, {}).syncToken;
        std::set<QString> presenti;
        for (const auto& c : server.list(rubrica.url)) {
            presenti.insert(c.url.path());
            cambiateLa.emplace(c.url.path(), c.etag);
        }
        for (const auto& [href, s] : note)
            if (!presenti.count(href)) eliminateLa.insert(href);
    }
    // Our own writes come back with the ETag we already know.
    for (auto i = cambiateLa.begin(); i != cambiateLa.end();) {
        const auto nota = note.find(i->first);
        i = nota != note.end() && nota->second.etag == i->second && !i->second.isEmpty() ? cambiateLa.erase(i) : std::next(i);
    }
    std::vector<QUrl> daLeggere;
    for (const auto& [href, etag] : cambiateLa) daLeggere.push_back(rubrica.url.resolved(QUrl(href)));
    // Every card to read, and at most every contact to write: the progress counts both.
    totale = qint64(daLeggere.size() + qui.size());
    std::map<QString, CardDavClient::Card> lette;
    constexpr size_t kPerVolta = 100;
    for (size_t da = 0; da < daLeggere.size(); da += kPerVolta) {
        const std::vector<QUrl> parte(daLeggere.begin() + qsizetype(da),
                                      daLeggere.begin() + qsizetype(std::min(daLeggere.size(), da + kPerVolta)));
        for (CardDavClient::Card& c : server.fetch(rubrica.url, parte)) lette.emplace(c.url.path(), std::move(c));
        avanza(qint64(parte.size()));
    }

    // Decided contact by contact; the register's changes wait for the end.
    std::set<qint64> toccati;  // contacts this sync has decided about
    std::vector<std::pair<Contatto, Contatto>> daCambiare;
    std::vector<std::pair<Contatto, QString>> daAggiungere;  // with the card's path
    std::vector<Contatto> daEliminare;
    std::map<QString, StatoSincronia::Scheda> dopo = note;
    const auto conflitto = [&](const QString& href, qint64 id, std::optional<Contatto> mio, std::optional<Contatto> suo,
                               const QString& etag) {
        esito.conflitti.push_back({rubrica.url.resolved(QUrl(href)), id, std::move(mio), std::move(suo), etag});
    };
    // Both sides changed, but to the same contact (a synchronisation stopped after writing
    // to the server, say): nothing to decide.
    const auto uguali = [&](qint64 id, const Contatto& suo) {
        const auto mio = qui.find(id);
        return mio != qui.end() && firma(dalServer(mio->second, suo)) == firmaQui.at(id);
    };

    // Pairs for the first synchronisation: by UID, then the same person by the duplicate rules.
    QHash<QString, qint64> perUid;
    QHash<QString, std::vector<qint64>> perNome;  // the same person has the same name
    for (const auto& [id, c] : qui)
        if (!hrefDi.count(id)) {
            perUid.insert(c.uid, id);
            perNome[Impronta(c).chiaveNome()].push_back(id);
        }
    const auto compagno = [&](const Contatto& letto) -> std::optional<qint64> {
        if (const auto id = perUid.constFind(letto.uid); id != perUid.cend() && !toccati.count(*id)) return *id;
        const Impronta sua(letto);
        for (qint64 id : perNome.value(sua.chiaveNome()))
            if (!toccati.count(id) && confronta(Impronta(qui.at(id)), sua).esito == Somiglianza::Stesso) return id;
        return std::nullopt;
    };

    for (const auto& href : cambiateLa | std::views::keys) {
        const auto letta = lette.find(href);
        if (letta == lette.end()) continue;  // gone again meanwhile: the next sync hears of it
        auto lettura = letturaScheda(letta->second.vcard);
        if (const QString* motivo = std::get_if<QString>(&lettura)) {
            esito.illeggibili.push_back({letta->second.url, *motivo});
            if (const auto nota = note.find(href); nota != note.end()) toccati.insert(nota->second.id);
            continue;
        }
        const std::optional<Contatto> suo = std::get<Contatto>(std::move(lettura));
        const QString& etag = letta->second.etag;
        if (const auto nota = note.find(href); nota != note.end()) {
            const StatoSincronia::Scheda& s = nota->second;
            toccati.insert(s.id);
            const auto mio = qui.find(s.id);
            if (cambiatoQui(s) && uguali(s.id, *suo)) {
                dopo[href] = {s.id, href, etag, firmaQui.at(s.id)};
                continue;
            }
            if (cambiatoQui(s)) {
                conflitto(href, s.id, mio == qui.end() ? std::nullopt : std::optional<Contatto>(mio->second), suo, etag);
                continue;
            }
            const Contatto nuovo = dalServer(mio->second, *suo);
            daCambiare.emplace_back(mio->second, nuovo);
            dopo[href] = {s.id, href, etag, firma(nuovo)};
            ++esito.cambiatiQui;
            continue;
        }
        if (const std::optional<qint64> id = compagno(*suo)) {
            toccati.insert(*id);
            if (uguali(*id, *suo))
                dopo[href] = {*id, href, etag, firmaQui.at(*id)};
            else
                conflitto(href, *id, qui.at(*id), suo, etag);
            continue;
        }
        Contatto nuovo = *suo;
        nuovo.id = 0;
        daAggiungere.emplace_back(nuovo, href);
        ++esito.ricevuti;
    }
    for (const QString& href : eliminateLa) {
        const auto nota = note.find(href);
        if (nota == note.end()) continue;
        const StatoSincronia::Scheda& s = nota->second;
        toccati.insert(s.id);
        const auto mio = qui.find(s.id);
        if (mio == qui.end()) {
            dopo.erase(href);  // deleted on both sides
        } else if (cambiatoQui(s)) {
            conflitto(href, s.id, mio->second, std::nullopt, {});
        } else {
            daEliminare.push_back(mio->second);
            dopo.erase(href);
            ++esito.eliminatiQui;
        }
    }

    // What changed here goes to the server, card by card, each over the version last seen.
    // A card found otherwise than expected is looked at as it is now: the same contact is
    // paired, another one is a conflict, one that is no contact is said.
    const auto comeOra = [&](const QString& href, qint64 id) {
        const std::vector<CardDavClient::Card> attuale = server.fetch(rubrica.url, {rubrica.url.resolved(QUrl(href))});
        if (attuale.empty()) {
            conflitto(href, id, qui.count(id) ? std::optional<Contatto>(qui.at(id)) : std::nullopt, std::nullopt, {});
            return;
        }
        auto lettura = letturaScheda(attuale.front().vcard);
        if (const QString* motivo = std::get_if<QString>(&lettura)) {
            esito.illeggibili.push_back({attuale.front().url, *motivo});
        } else if (uguali(id, std::get<Contatto>(lettura))) {
            dopo[href] = {id, href, attuale.front().etag, firmaQui.at(id)};
        } else {
            conflitto(href, id, qui.count(id) ? std::optional<Contatto>(qui.at(id)) : std::nullopt,
                      std::get<Contatto>(std::move(lettura)), attuale.front().etag);
        }
    };
    for (const auto& [href, s] : note) {
        if (toccati.count(s.id) || !cambiatoQui(s)) continue;
        avanza(1);
        const QUrl url = rubrica.url.resolved(QUrl(href));
        const auto mio = qui.find(s.id);
        if (mio == qui.end()) {
            if (server.remove(url, s.etag)) {
                dopo.erase(href);
                ++esito.eliminatiSulServer;
            } else if (server.fetch(rubrica.url, {url}).empty()) {
                dopo.erase(href);  // deleted there too, meanwhile
            } else {
                comeOra(href, s.id);  // changed there meanwhile
            }
            continue;
        }
        const std::vector<CardDavClient::Card> attuale = server.fetch(rubrica.url, {url});
        if (attuale.empty() || attuale.front().etag != s.etag) {
            comeOra(href, s.id);
            continue;
        }
        if (const std::optional<QString> etag = server.put(url, schedaAggiornata(attuale.front().vcard, mio->second), s.etag)) {
            dopo[href] = {s.id, href, *etag, firmaQui.at(s.id)};
            ++esito.cambiatiSulServer;
        } else {
            comeOra(href, s.id);
        }
    }
    for (const auto& [id, c] : qui) {
        if (hrefDi.count(id) || toccati.count(id)) continue;
        avanza(1);
        const QString href = percorsoPer(rubrica.url, c);
        if (const std::optional<QString> etag =
                server.put(rubrica.url.resolved(QUrl(href)), schedaVCard(c, VersioneVCard::V3), {})) {
            dopo[href] = {id, href, *etag, firmaQui.at(id)};
            ++esito.inviati;
        } else {
            comeOra(href, id);  // a card already there: the same contact, from another desk?
        }
    }

    // The register's side, whole or not at all, with the state that goes with it.
    Operazione operazione(connection, Sincronizzazione::tr("Sincronizzazione con %1").arg(rubrica.name));
    for (const auto& [prima, nuovo] : daCambiare) RiscriviContatto(connection, prima, nuovo);
    for (const Contatto& c : daEliminare) EliminaContatto(connection, c);
    for (const auto& [c, href] : daAggiungere) {
        const qint64 id = AggiungiContatto(connection, c);
        dopo[href] = {id, href, lette.at(href).etag, firma(LeggiContatto(connection, id))};
    }
    std::vector<StatoSincronia::Scheda> schede;
    for (auto& [href, s] : dopo) schede.push_back(s);
    StatoSincronia(connection).salva(rubrica.url.toString(), token, schede);
    operazione.Concludi();
    return esito;
}

bool Risolvi(Connection& connection, CardDavClient& server, const CardDavClient::AddressBook& rubrica, const Conflitto& conflitto,
             Versione scelta)
{
    // Both sides must still be what the user saw, or the choice was about something else.
    const std::vector<CardDavClient::Card> attuale = server.fetch(rubrica.url, {conflitto.scheda});
    const bool sulServer = !attuale.empty();
    if (sulServer != conflitto.sulServer.has_value() || (sulServer && attuale.front().etag != conflitto.etag)) return false;
    std::optional<Contatto> mio;
    try {
        mio = LeggiContatto(connection, conflitto.id);
    } catch (const StoreError& e) {
        if (e.number() != StoreErrorNumber::RowNotFound) throw;
    }
    if (mio.has_value() != conflitto.qui.has_value() || (mio && firma(*mio) != firma(*conflitto.qui))) return false;
    StatoSincronia stato(connection);
    if (stato.rubrica() != rubrica.url.toString()) return false;

    const QString href = conflitto.scheda.path();
    Operazione operazione(connection, Sincronizzazione::tr("Sincronizzazione con %1").arg(rubrica.name));
    if (scelta == Versione::Qui && mio) {
        const QByteArray scheda =
            sulServer ? schedaAggiornata(attuale.front().vcard, *mio) : schedaVCard(*mio, VersioneVCard::V3);
        const std::optional<QString> etag = server.put(conflitto.scheda, scheda, sulServer ? conflitto.etag : QString());
        if (!etag) return false;
        stato.ricorda({mio->id, href, *etag, firma(*mio)});
    } else if (scelta == Versione::Qui) {
        if (sulServer && !server.remove(conflitto.scheda, conflitto.etag)) return false;
        stato.dimentica(href);
    } else if (conflitto.sulServer) {
        qint64 id = conflitto.id;
        if (mio) {
            RiscriviContatto(connection, *mio, dalServer(*mio, *conflitto.sulServer));
        } else {
            Contatto nuovo = *conflitto.sulServer;
            nuovo.id = 0;
            id = AggiungiContatto(connection, nuovo);
        }
        stato.ricorda({id, href, conflitto.etag, firma(LeggiContatto(connection, id))});
    } else {
        if (mio) EliminaContatto(connection, *mio);
        stato.dimentica(href);
    }
    operazione.Concludi();
    return true;
}

}  // namespace brenzola
