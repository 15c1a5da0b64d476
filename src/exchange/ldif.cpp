#include "exchange/ldif.h"

#include "exchange/codifica.h"
#include "exchange/raccolta.h"
#include "exchange/righefile.h"
#include "store/storeddate.h"
#include "store/storeerror.h"

#include <QCoreApplication>
#include <QHash>

#include <algorithm>

namespace brenzola {
namespace {

constexpr qsizetype kColonne = 76;

// Brenzola's own attributes, for what Thunderbird has no attribute for.
struct CampoProprio {
    Campo campo;
    const char* attributo;
};
constexpr CampoProprio kCampiPropri[] = {{Campo::DataIn, "brenzolaDataIn"},
                                         {Campo::TipoRef, "brenzolaTipoRef"},
                                         {Campo::Fonte, "brenzolaFonte"},
                                         {Campo::DataRicont, "brenzolaDataRicont"},
                                         {Campo::DataNasc, "brenzolaDataNasc"}};
constexpr char kUid[] = "brenzolaUid";
constexpr char kVuoti[] = "brenzolaVuoti";  // the fields holding empty text rather than Null

// Fields Thunderbird has an attribute for, as Brenzola writes them.
constexpr CampoProprio kCampiThunderbird[] = {{Campo::Nome, "givenName"},
                                              {Campo::Cognome, "sn"},
                                              {Campo::Email, "mail"},
                                              {Campo::Telefono, "homePhone"},
                                              {Campo::Cell, "mobile"},
                                              {Campo::Indirizzo, "mozillaHomeStreet"},
                                              {Campo::Citta, "mozillaHomeLocalityName"},
                                              {Campo::Prov, "mozillaHomeState"},
                                              {Campo::Cap, "mozillaHomePostalCode"},
                                              {Campo::Commenti, "description"}};

// ---- Writing ----

// RFC 2849's SAFE-STRING without any control character; a trailing space is encoded too,
// as readers trim it. The rest goes in base64, which keeps every byte.
bool sicuro(const QByteArray& valore)
{
    if (valore.isEmpty()) return true;
    const char primo = valore.front();
    if (primo == ' ' || primo == ':' || primo == '<' || valore.back() == ' ') return false;
    return std::all_of(valore.begin(), valore.end(), [](char c) { return c >= ' ' && c != '\x7F'; });
}

QByteArray piegata(const QByteArray& linea)
{
    QByteArray out = linea.left(kColonne);
    for (qsizetype da = kColonne; da < linea.size(); da += kColonne - 1) out += "\r\n " + linea.mid(da, kColonne - 1);
    return out + "\r\n";
}

QByteArray attributo(const char* nome, const QString& valore)
{
    const QByteArray byte = valore.toUtf8();
    return piegata(sicuro(byte) ? QByteArray(nome) + ": " + byte : QByteArray(nome) + ":: " + byte.toBase64());
}

// An RDN value with the characters RFC 4514 reserves escaped.
QString perDn(const QString& valore)
{
    QString out;
    for (qsizetype i = 0; i < valore.size(); ++i) {
        const QChar c = valore[i];
        const bool riservato = QStringLiteral(",+\"\\<>;=").contains(c) || (i == 0 && (c == u'#' || c == u' '))
                               || (i == valore.size() - 1 && c == u' ');
        if (riservato) out += u'\\';
        out += c;
    }
    return out;
}

// ---- Reading ----

struct AttributoNoto {
    enum Tipo { Campo, Parte, Etichettato, Uid, Vuoti, Contabile } tipo;
    brenzola::Campo campo = brenzola::Campo::Commenti;
    Raccolta::Parte parte = Raccolta::Parte::NomeIntero;
    int priorita = 2;            // among attributes of one field, lower fills it first
    const char* etichetta = "";  // Etichettato: the label in the comments
};

const QHash<QByteArray, AttributoNoto>& attributiNoti()
{
    static const QHash<QByteArray, AttributoNoto> noti = [] {
        QHash<QByteArray, AttributoNoto> h;
        const auto campo = [&h](Campo c, int priorita, std::initializer_list<const char*> nomi) {
            for (const char* nome : nomi) h.insert(nome, {AttributoNoto::Campo, c, {}, priorita});
        };
        const auto parte = [&h](Raccolta::Parte p, std::initializer_list<const char*> nomi) {
            for (const char* nome : nomi) h.insert(nome, {AttributoNoto::Parte, Campo::Commenti, p});
        };
        for (const char* nome : {"dn", "objectclass", "modifytimestamp", "createtimestamp", "version", "changetype",
                                 "mozillausehtmlmail", "xmozillausehtmlmail", "mozillapopularityindex"})
            h.insert(nome, {AttributoNoto::Contabile});
        campo(Campo::Nome, 2, {"givenname"});
        campo(Campo::Cognome, 2, {"sn", "surname"});
        campo(Campo::Email, 1, {"mail"});
        campo(Campo::Email, 2, {"mozillasecondemail", "xmozillasecondemail"});
        campo(Campo::Telefono, 1, {"homephone"});
        campo(Campo::Telefono, 2, {"telephonenumber"});
        campo(Campo::Cell, 2, {"mobile", "cellphone", "mobiletelephonenumber"});
        campo(Campo::Indirizzo, 1, {"mozillahomestreet"});
        campo(Campo::Indirizzo, 2, {"street", "streetaddress"});
        campo(Campo::Citta, 1, {"mozillahomelocalityname"});
        campo(Campo::Citta, 2, {"l", "locality"});
        campo(Campo::Prov, 1, {"mozillahomestate"});
        campo(Campo::Prov, 2, {"st"});
        campo(Campo::Cap, 1, {"mozillahomepostalcode"});
        campo(Campo::Cap, 2, {"postalcode"});
        campo(Campo::Commenti, 2, {"description"});
        for (const CampoProprio& proprio : kCampiPropri)
            h.insert(QByteArray(proprio.attributo).toLower(), {AttributoNoto::Campo, proprio.campo, {}, 0});
        parte(Raccolta::Parte::NomeIntero, {"cn", "commonname", "displayname"});
        parte(Raccolta::Parte::Azienda, {"o", "company"});
        parte(Raccolta::Parte::AnnoNascita, {"birthyear"});
        parte(Raccolta::Parte::MeseNascita, {"birthmonth"});
        parte(Raccolta::Parte::GiornoNascita, {"birthday"});
        h.insert("pager", {AttributoNoto::Etichettato, Campo::Commenti, {}, 2, "Cercapersone"});
        h.insert("pagerphone", {AttributoNoto::Etichettato, Campo::Commenti, {}, 2, "Cercapersone"});
        h.insert("facsimiletelephonenumber", {AttributoNoto::Etichettato, Campo::Commenti, {}, 2, "Fax"});
        h.insert("fax", {AttributoNoto::Etichettato, Campo::Commenti, {}, 2, "Fax"});
        h.insert(QByteArray(kUid).toLower(), {AttributoNoto::Uid});
        h.insert(QByteArray(kVuoti).toLower(), {AttributoNoto::Vuoti});
        return h;
    }();
    return noti;
}

struct Letto {
    int riga;
    QString nome;  // as written, without options
    QString valore;
    AttributoNoto noto;
    bool windows1252 = false;  // not UTF-8: read as the older Windows programs write
};

// LDIF text is UTF-8; what is not is read as Windows-1252, and said so.
QString testoLdif(const QByteArray& byte, Letto& letto)
{
    if (utf8Valido(byte)) return QString::fromUtf8(byte);
    letto.windows1252 = true;
    return decodifica(byte, Codifica::Windows1252);
}

// Thrown for a line that makes the entry unreadable.
struct Illeggibile {
    QString motivo;
};

Letto analizza(int riga, const QByteArray& linea)
{
    const qsizetype duePunti = linea.indexOf(':');
    if (duePunti <= 0)
        throw Illeggibile{
            QCoreApplication::translate("brenzola::Ldif", "riga %1: la riga non è nella forma «attributo: valore»").arg(riga)};
    QByteArray nome = linea.left(duePunti).trimmed();
    if (const qsizetype punto = nome.indexOf(';'); punto >= 0) nome.truncate(punto);  // cn;lang-it
    QByteArray resto = linea.mid(duePunti + 1);
    Letto letto{riga, QString::fromLatin1(nome), {}, {AttributoNoto::Etichettato}};
    if (resto.startsWith(':')) {
        const auto decodificato = QByteArray::fromBase64Encoding(resto.mid(1).trimmed(), QByteArray::AbortOnBase64DecodingErrors);
        if (!decodificato)
            throw Illeggibile{QCoreApplication::translate("brenzola::Ldif", "riga %1: il valore di «%2» non è base64 valido")
                                  .arg(riga)
                                  .arg(letto.nome)};
        letto.valore = testoLdif(*decodificato, letto);
    } else if (resto.startsWith('<')) {
        // A value to fetch from a URL is never fetched: the address is kept as written.
        letto.nome += QStringLiteral(" (URL)");
        letto.valore = testoLdif(resto.mid(1).trimmed(), letto);
        return letto;
    } else {
        while (resto.startsWith(' ')) resto.remove(0, 1);
        letto.valore = testoLdif(resto, letto);
    }
    letto.noto = attributiNoti().value(nome.toLower(), {AttributoNoto::Etichettato});
    return letto;
}

}  // namespace

bool sembraLdif(const QByteArray& inizio)
{
    const QString testo = decodifica(inizio.left(4096), rilevaCodifica(inizio));
    bool versione = false;
    for (const QString& linea : testo.split(u'\n')) {
        const QString t = linea.trimmed();
        if (t.isEmpty() || t.startsWith(u'#')) continue;
        if (t.startsWith(QLatin1String("dn:"), Qt::CaseInsensitive)) return true;
        if (versione || !t.startsWith(QLatin1String("version:"), Qt::CaseInsensitive)) return false;
        versione = true;
    }
    return false;
}

QByteArray voceLdif(const Contatto& c)
{
    QString cn = (c.testo(Campo::Nome) + u' ' + c.testo(Campo::Cognome)).trimmed();
    for (Campo riserva : {Campo::Email, Campo::Telefono, Campo::Cell})
        if (cn.isEmpty()) cn = c.testo(riserva);
    QString dn = QStringLiteral("cn=") + perDn(cn);
    if (!c.vuoto(Campo::Email)) dn += QStringLiteral(",mail=") + perDn(c.testo(Campo::Email));
    QByteArray out = attributo("dn", dn);
    for (const char* classe : {"top", "person", "organizationalPerson", "inetOrgPerson", "mozillaAbPersonAlpha"})
        out += attributo("objectclass", QString::fromLatin1(classe));
    if (!cn.isEmpty()) out += attributo("cn", cn);
    for (const CampoProprio& campo : kCampiThunderbird)
        if (!c.vuoto(campo.campo)) out += attributo(campo.attributo, c.testo(campo.campo));
    if (const QVariant& nascita = c[Campo::DataNasc]; nascita.typeId() == QMetaType::QDate) {
        const QDate data = nascita.toDate();
        if (!senzaAnno(data)) out += attributo("birthyear", QString::number(data.year()));
        out += attributo("birthmonth", QString::number(data.month()));
        out += attributo("birthday", QString::number(data.day()));
    }
    for (const CampoProprio& proprio : kCampiPropri) {
        const QVariant& valore = c[proprio.campo];
        if (c.vuoto(proprio.campo) || (proprio.campo == Campo::DataNasc && valore.typeId() == QMetaType::QDate)) continue;
        out += attributo(proprio.attributo,
                         valore.typeId() == QMetaType::QDate ? storedDateText(valore.toDate()) : valore.toString());
    }
    if (!c.uid.isEmpty()) out += attributo(kUid, c.uid);
    QStringList vuoti;
    for (const DescrizioneCampo& d : campi())
        if (!c[d.campo].isNull() && c.vuoto(d.campo)) vuoti << QLatin1String(d.colonna);
    if (!vuoti.isEmpty()) out += attributo(kVuoti, vuoti.join(u','));
    return out + "\r\n";
}

Voce leggiVoceLdif(const std::vector<std::pair<int, QByteArray>>& righe)
{
    Voce voce;
    const auto prima = std::find_if(righe.begin(), righe.end(), [](const auto& r) { return !r.second.startsWith('#'); });
    voce.riga = prima == righe.end() ? 0 : prima->first;
    // Physical lines to logical ones: a line starting with a space goes on from the one before.
    std::vector<std::pair<int, QByteArray>> linee;
    for (const auto& [riga, testo] : righe) {
        if (testo.startsWith(' ') && !linee.empty())
            linee.back().second += testo.mid(1);
        else
            linee.emplace_back(riga, testo);
    }
    std::vector<Letto> letti;
    try {
        for (const auto& [riga, testo] : linee)
            if (!testo.startsWith('#')) letti.push_back(analizza(riga, testo));
    } catch (const Illeggibile& e) {
        voce.errore = e.motivo;
        return voce;
    }
    std::stable_sort(letti.begin(), letti.end(),
                     [](const Letto& a, const Letto& b) { return a.noto.priorita < b.noto.priorita; });
    Raccolta raccolta(voce.riga);
    for (const Letto& l : letti) {
        if (l.valore.isEmpty()) continue;  // empty text comes from brenzolaVuoti alone
        switch (l.noto.tipo) {
        case AttributoNoto::Campo:
            raccolta.campo(l.noto.campo, l.valore, l.nome);
            break;
        case AttributoNoto::Parte:
            raccolta.parte(l.noto.parte, l.nome, l.valore);
            break;
        case AttributoNoto::Etichettato:
            raccolta.altro(*l.noto.etichetta ? QString::fromUtf8(l.noto.etichetta) : l.nome, l.valore);
            break;
        case AttributoNoto::Uid:
            raccolta.uid(l.valore);
            break;
        case AttributoNoto::Vuoti:
            for (const QString& colonna : l.valore.split(u','))
                for (const DescrizioneCampo& d : campi())
                    if (!d.data && colonna.trimmed() == QLatin1String(d.colonna))
                        raccolta.campo(d.campo, QStringLiteral(""), l.nome);
            break;
        case AttributoNoto::Contabile:
            break;
        }
    }
    voce = raccolta.voce();
    for (const Letto& l : letti)
        if (l.windows1252)
            voce.avvisi << QCoreApplication::translate("brenzola::Ldif",
                                                       "riga %1: il testo non è in UTF-8: letto come Windows-1252")
                               .arg(l.riga);
    if (voce.errore.isEmpty() && !voce.contatto.haDati()) {
        voce.errore = QCoreApplication::translate("brenzola::Ldif", "riga %1: la voce non contiene dati").arg(voce.riga);
        voce.contatto = {};
    }
    return voce;
}

namespace {

// The entries of a file as its lines come: each ends at a blank line.
class LettoreLdif final : public LettoreVoci {
public:
    explicit LettoreLdif(std::unique_ptr<RigheFile> righe) : LettoreVoci(std::move(righe)) {}

    std::optional<Voce> prossima() override
    {
        if (finito_) return std::nullopt;
        std::vector<std::pair<int, QByteArray>> righe;
        RigheFile::Riga riga;
        for (;;) {
            const bool altra = this->righe().leggi(riga);
            if (altra && !riga.testo.isEmpty()) {
                righe.emplace_back(riga.numero, riga.testo.toByteArray());
                continue;
            }
            // A group with no dn holds only comments or the version line.
            if (std::any_of(righe.begin(), righe.end(), [](const auto& r) { return r.second.left(3).toLower() == "dn:"; })) {
                ++lette_;
                return leggiVoceLdif(righe);
            }
            righe.clear();
            if (!altra) break;
        }
        finito_ = true;
        if (lette_ == 0)
            throw StoreError(StoreErrorNumber::FileFormat,
                             QCoreApplication::translate("brenzola::Ldif", "Il file non contiene voci LDIF (dn:)."));
        return std::nullopt;
    }

private:
    qint64 lette_ = 0;
    bool finito_ = false;
};

}  // namespace

Lettura leggiLdif(const QByteArray& dati)
{
    controllaTesto(dati, true);
    return lettoreLdif(std::make_unique<RigheFile>(inMemoria(dati), std::nullopt, false))->tutte();
}

std::unique_ptr<LettoreVoci> lettoreLdif(std::unique_ptr<RigheFile> righe)
{
    return std::make_unique<LettoreLdif>(std::move(righe));
}

}  // namespace brenzola
