#include "exchange/vcard.h"

#include "exchange/codifica.h"
#include "exchange/rigacontenuto.h"
#include "exchange/righefile.h"
#include "exchange/valori.h"
#include "store/storeddate.h"
#include "store/storeerror.h"

#include <QCoreApplication>

#include <algorithm>
#include <utility>

namespace brenzola {
namespace {

constexpr char kProdId[] = "-//Brenzola//Brenzola 1.0//IT";

// Brenzola's own properties, for the fields vCard has no name for.
struct CampoProprio {
    Campo campo;
    const char* proprieta;
};
constexpr CampoProprio kCampiPropri[] = {{Campo::DataIn, "X-BRENZOLA-DATAIN"},
                                         {Campo::TipoRef, "X-BRENZOLA-TIPOREF"},
                                         {Campo::Fonte, "X-BRENZOLA-FONTE"},
                                         {Campo::DataRicont, "X-BRENZOLA-DATARICONT"},
                                         {Campo::DataNasc, "X-BRENZOLA-DATANASC"}};
constexpr char kVuoti[] = "X-BRENZOLA-VUOTI";   // the fields holding empty text rather than Null
constexpr char kACapo[] = "X-BRENZOLA-A-CAPO";  // parameter: the line breaks a value held, in order

// ---- Writing ----

// A card's lines, appended to `out` as they are made: a line is opened, its value
// written in parts, and closed.
class Scheda {
public:
    Scheda(QByteArray& out, VersioneVCard versione) : out_(out), versione_(versione) {}

    bool v4() const { return versione_ == VersioneVCard::V4; }

    void riga(QByteArrayView linea)
    {
        const qsizetype inizio = out_.size();
        out_ += linea;
        piegaFine(out_, inizio);
    }
    // NAME[;params]:value, the value escaped.
    void proprieta(QByteArrayView nome, QStringView valore, QByteArrayView parametri = {})
    {
        apri(nome, parametri);
        testo(valore);
        chiudi();
    }

    // NAME[;params]: and the value follows.
    void apri(QByteArrayView nome, QByteArrayView parametri = {})
    {
        inizio_ = out_.size();
        out_ += nome;
        out_ += parametri;
        duePunti_ = out_.size();
        out_ += ':';
        aCapo_.clear();
    }
    // Text of the value, escaped.
    void testo(QStringView parte) { aggiungiEscaped(out_, parte, aCapo_); }
    // Text of the value as it is.
    void grezzo(QStringView parte)
    {
        const qsizetype inizio = out_.size();
        out_.resize(inizio + 3 * parte.size());
        char* p = out_.data() + inizio;
        for (qsizetype i = 0; i < parte.size();) p = utf8(p, parte, i);
        out_.resize(p - out_.constData());
    }
    void byte(QByteArrayView parte) { out_ += parte; }
    void separa() { out_ += ';'; }
    void data(QDate data, FormaData forma) { aggiungiData(out_, data, forma); }
    // Ends the line: the value's line breaks are recorded when they are not all LF.
    void chiudi()
    {
        if (std::any_of(aCapo_.cbegin(), aCapo_.cend(), [](ACapo a) { return a != ACapo::LF; })) {
            const bool uguali = std::all_of(aCapo_.cbegin(), aCapo_.cend(), [&](ACapo a) { return a == aCapo_.front(); });
            QByteArray parametro = ';' + QByteArray(kACapo) + '=';
            for (size_t i = 0; i < (uguali ? 1 : aCapo_.size()); ++i) {
                if (i > 0) parametro += ',';
                parametro += nomeACapo(aCapo_[i]);
            }
            out_.insert(duePunti_, parametro);
        }
        piegaFine(out_, inizio_);
    }

private:
    QByteArray& out_;
    VersioneVCard versione_;
    qsizetype inizio_ = 0;
    qsizetype duePunti_ = 0;
    std::vector<ACapo> aCapo_;
};

// FN's text: "Nome Cognome" without the spaces around it, else the first address or number.
void nomeMostrato(Scheda& s, const Valori& c)
{
    const QStringView nome = c.testo(Campo::Nome), cognome = c.testo(Campo::Cognome);
    const QStringView n = nome.trimmed(), cn = cognome.trimmed();
    if (!n.isEmpty() && !cn.isEmpty()) {
        s.testo(QStringView(n.data(), nome.data() + nome.size()));
        s.testo(u" ");
        s.testo(QStringView(cognome.data(), cn.data() + cn.size()));
        return;
    }
    if (!n.isEmpty() || !cn.isEmpty()) {
        s.testo(n.isEmpty() ? cn : n);
        return;
    }
    for (Campo riserva : {Campo::Email, Campo::Telefono, Campo::Cell})
        if (!c.testo(riserva).isEmpty()) {
            s.testo(c.testo(riserva));
            return;
        }
}

}  // namespace

QByteArray schedaVCard(const Contatto& contatto, VersioneVCard versione)
{
    QByteArray scheda;
    aggiungiSchedaVCard(scheda, VistaContatto(contatto).valori(), versione);
    return scheda;
}

void aggiungiSchedaVCard(QByteArray& out, const Valori& c, VersioneVCard versione)
{
    using Tipo = Valore::Tipo;
    Scheda s(out, versione);
    s.riga("BEGIN:VCARD");
    s.riga(s.v4() ? "VERSION:4.0" : "VERSION:3.0");
    s.apri("PRODID");
    s.byte(kProdId);
    s.chiudi();
    if (!c.uid.isEmpty()) {
        // A URI as it is; any other identity as text.
        const bool uri = c.uid.contains(u':') && std::none_of(c.uid.begin(), c.uid.end(), [](QChar ch) {
                             return ch == u',' || ch == u';' || ch == u'\\' || ch.isSpace();
                         });
        if (uri) {
            s.apri("UID");
            s.grezzo(c.uid);
            s.chiudi();
        } else {
            s.proprieta("UID", c.uid, s.v4() ? ";VALUE=text" : "");
        }
    }
    s.apri("FN");
    nomeMostrato(s, c);
    s.chiudi();
    s.apri("N");
    s.testo(c.testo(Campo::Cognome));
    s.separa();
    s.testo(c.testo(Campo::Nome));
    s.byte(";;;");
    s.chiudi();
    if (c[Campo::DataNasc].tipo == Tipo::Data) {
        const QDate nato = c[Campo::DataNasc].data;
        if (senzaAnno(nato) && s.v4()) {  // 3.0 has no date without a year: Apple's parameter says which year is none
            s.apri("BDAY");
            s.byte("--");
            s.data(nato, FormaData::MeseGiorno);
        } else {
            s.apri("BDAY", senzaAnno(nato) ? ";X-APPLE-OMIT-YEAR=" + QByteArray::number(kAnnoIgnoto) : QByteArray());
            s.data(nato, s.v4() ? FormaData::Compatta : FormaData::Iso);
        }
        s.chiudi();
    }
    if (!c[Campo::Indirizzo].vuoto() || !c[Campo::Citta].vuoto() || !c[Campo::Prov].vuoto() || !c[Campo::Cap].vuoto()) {
        s.apri("ADR");
        s.byte(";;");
        for (Campo parte : {Campo::Indirizzo, Campo::Citta, Campo::Prov, Campo::Cap}) {
            s.testo(c.testo(parte));
            s.separa();
        }
        s.chiudi();
    }
    if (!c[Campo::Telefono].vuoto())
        s.proprieta("TEL", c.testo(Campo::Telefono), s.v4() ? ";VALUE=text;TYPE=voice" : ";TYPE=VOICE");
    if (!c[Campo::Cell].vuoto()) s.proprieta("TEL", c.testo(Campo::Cell), s.v4() ? ";VALUE=text;TYPE=cell" : ";TYPE=CELL");
    if (!c[Campo::Email].vuoto()) s.proprieta("EMAIL", c.testo(Campo::Email), s.v4() ? "" : ";TYPE=INTERNET");
    if (!c[Campo::Commenti].vuoto()) s.proprieta("NOTE", c.testo(Campo::Commenti));
    for (const CampoProprio& proprio : kCampiPropri) {
        const Valore& valore = c[proprio.campo];
        if (valore.vuoto()) continue;
        if (proprio.campo == Campo::DataNasc && valore.tipo == Tipo::Data) continue;  // it is the BDAY
        s.apri(proprio.proprieta);
        if (valore.tipo == Tipo::Data)
            s.data(valore.data, FormaData::Iso);
        else
            s.testo(valore.testo);
        s.chiudi();
    }
    bool vuoti = false;
    for (const DescrizioneCampo& d : campi()) {
        if (c[d.campo].tipo != Tipo::Testo || !c[d.campo].testo.isEmpty()) continue;
        if (vuoti)
            s.byte(",");
        else
            s.apri(kVuoti);
        vuoti = true;
        s.byte(d.colonna);
    }
    if (vuoti) s.chiudi();
    s.riga("END:VCARD");
}

bool sembraVCard(const QByteArray& dati)
{
    const Codifica codifica = rilevaCodifica(dati);
    const QString inizio = decodifica(dati.left(4096), codifica).trimmed();
    return inizio.startsWith(QLatin1String("BEGIN:VCARD"), Qt::CaseInsensitive);
}

// ---- Reading ----

namespace {

struct Parametro {
    QByteArray nome;  // upper case
    QByteArray valore;
};

struct Proprieta {
    int riga = 0;
    QByteArray nome;  // upper case, without its group
    std::vector<Parametro> parametri;
    QByteArray valore;

    QByteArray parametro(const char* cercato) const
    {
        for (const Parametro& p : parametri)
            if (p.nome == cercato) return p.valore;
        return {};
    }
    // The TYPE values, upper case, from TYPE=a,b and TYPE=a;TYPE=b alike.
    QList<QByteArray> tipi() const
    {
        QList<QByteArray> tutti;
        for (const Parametro& p : parametri)
            if (p.nome == "TYPE")
                for (const QByteArray& t : p.valore.split(',')) tutti << t.trimmed().toUpper();
        return tutti;
    }
    // 1 is most preferred; without a preference, last.
    int preferenza() const
    {
        bool ok = false;
        const int pref = parametro("PREF").toInt(&ok);
        if (ok) return pref;
        return tipi().contains("PREF") ? 1 : 101;
    }
};

// A card's property that could not be read: the card is refused with this reason.
struct Illeggibile {
    int riga;  // 0: the card's first line
    QString motivo;
};

int valoreEsadecimale(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

QByteArray daQuotedPrintable(const QByteArray& valore, int riga)
{
    QByteArray out;
    out.reserve(valore.size());
    for (qsizetype i = 0; i < valore.size(); ++i) {
        if (valore[i] != '=') {
            out += valore[i];
            continue;
        }
        const int alto = i + 1 < valore.size() ? valoreEsadecimale(valore[i + 1]) : -1;
        const int basso = i + 2 < valore.size() ? valoreEsadecimale(valore[i + 2]) : -1;
        if (alto < 0 || basso < 0)
            throw Illeggibile{riga, QCoreApplication::translate("brenzola::VCard", "quoted-printable non valido («%1»)")
                                        .arg(QString::fromLatin1(valore.mid(i, 3)))};
        out += char(alto * 16 + basso);
        i += 2;
    }
    return out;
}

// Splits at separators that are not escaped by a backslash.
QStringList dividi(const QString& valore, QChar separatore)
{
    QStringList parti;
    QString parte;
    for (qsizetype i = 0; i < valore.size(); ++i) {
        if (valore[i] == u'\\' && i + 1 < valore.size()) {
            parte += valore[i];
            parte += valore[++i];
        } else if (valore[i] == separatore) {
            parti << parte;
            parte.clear();
        } else {
            parte += valore[i];
        }
    }
    parti << parte;
    return parti;
}

class LettoreScheda {
public:
    LettoreScheda(const std::vector<Proprieta>& proprieta, QMap<QString, int>& ignorate)
        : proprieta_(proprieta),
          ignorate_(ignorate)
    {
        for (const Proprieta& p : proprieta)
            if (p.nome == "VERSION") v21_ = p.valore.trimmed() == "2.1";
    }

    QStringList avvisi() const
    {
        QStringList avvisi = avvisi_;
        avvisi.removeDuplicates();  // a value is read more than once
        return avvisi;
    }

    Contatto contatto()
    {
        Compilazione c;
        leggiNomi(c);
        leggiTelefoni(c, "TEL");
        leggiTelefoni(c, "EMAIL");
        leggiIndirizzi(c);
        std::vector<QString> vuoti;
        for (const Proprieta& p : proprieta_) {
            if (p.nome == "BDAY") {
                dataO(c, Campo::DataNasc, p, compleanno(p));
            } else if (p.nome == "NOTE") {
                const QString nota = testo(p);
                if (c.vuoto(Campo::Commenti))
                    c.commenti(nota);
                else
                    c.altro(QStringLiteral("Nota"), nota);
            } else if (p.nome == "UID") {
                uid_ = testo(p).trimmed();
            } else if (p.nome == kVuoti) {
                for (const QString& colonna : testo(p).split(u',')) vuoti.push_back(colonna.trimmed());
            } else if (const CampoProprio* proprio = campoProprio(p.nome)) {
                const QString valore = testo(p);
                if (descrizione(proprio->campo).data)
                    dataO(c, proprio->campo, p, dataScritta(valore));
                else
                    c.aggiungi(proprio->campo, valore);
            } else if (!usata(p.nome)) {
                ++ignorate_[QString::fromLatin1(p.nome)];
            }
        }
        Contatto contatto = c.contatto();
        contatto.uid = uid_;
        if (const QString motivo = troppoLungo(contatto); !motivo.isEmpty()) throw Illeggibile{0, motivo};
        for (const DescrizioneCampo& d : campi())
            if (!d.data && contatto[d.campo].isNull()
                && std::find(vuoti.begin(), vuoti.end(), QLatin1String(d.colonna)) != vuoti.end())
                contatto[d.campo] = QStringLiteral("");  // not Null
        return contatto;
    }

private:
    static const CampoProprio* campoProprio(const QByteArray& nome)
    {
        for (const CampoProprio& proprio : kCampiPropri)
            if (nome == proprio.proprieta) return &proprio;
        return nullptr;
    }

    static bool usata(const QByteArray& nome)
    {
        for (const char* n : {"BEGIN", "END", "VERSION", "PRODID", "N", "FN", "ORG", "TEL", "EMAIL", "ADR"})
            if (nome == n) return true;
        return false;
    }

    // The value as text: decoded from its transfer encoding and character set; escapes
    // resolved, except in a structured value, which is split first.
    QString grezzo(const Proprieta& p) const
    {
        QByteArray byte = p.valore;
        const QByteArray codifica = p.parametro("ENCODING").toUpper();
        if (codifica == "QUOTED-PRINTABLE") byte = daQuotedPrintable(byte, p.riga);
        const QByteArray charset = p.parametro("CHARSET");
        if (!charset.isEmpty()) {
            const auto testo = decodificaCharset(byte, QString::fromLatin1(charset));
            if (!testo)
                throw Illeggibile{p.riga, QCoreApplication::translate("brenzola::VCard", "il testo non è nel set di caratteri %1")
                                              .arg(QString::fromLatin1(charset))};
            return *testo;
        }
        if (utf8Valido(byte)) return QString::fromUtf8(byte);
        avvisi_ << QCoreApplication::translate("brenzola::VCard", "riga %1: il testo non è in UTF-8: letto come Windows-1252")
                       .arg(p.riga);
        return decodifica(byte, Codifica::Windows1252);
    }

    // Backslash escapes undone; each \n becomes the line break the card recorded for it.
    QString senzaEscape(const QString& valore, const QStringList& aCapo, qsizetype& prossimo) const
    {
        if (!valore.contains(u'\\')) return valore;  // most values have nothing to undo
        QString out;
        out.reserve(valore.size());
        for (qsizetype i = 0; i < valore.size(); ++i) {
            const QChar c = valore[i];
            if (c != u'\\' || i + 1 == valore.size()) {
                out += c;
                continue;
            }
            const QChar dopo = valore[i + 1];
            if (v21_ && dopo != u';' && dopo != u'\\') {  // 2.1 escapes the separator, and writers the backslash too
                out += c;
                continue;
            }
            ++i;
            if (dopo == u'n' || dopo == u'N') {
                const QString tipo = aCapo.isEmpty() ? QStringLiteral("LF") : aCapo.value(prossimo, aCapo.back());
                ++prossimo;
                out += tipo == u"CRLF" ? QStringLiteral("\r\n") : tipo == u"CR" ? QStringLiteral("\r") : QStringLiteral("\n");
            } else {
                out += dopo;
            }
        }
        return out;
    }

    QStringList componenti(const Proprieta& p) const
    {
        const QStringList aCapo = QString::fromLatin1(p.parametro(kACapo)).split(u',', Qt::SkipEmptyParts);
        qsizetype prossimo = 0;
        QStringList parti;
        for (const QString& parte : dividi(grezzo(p), u';')) parti << senzaEscape(parte, aCapo, prossimo);
        return parti;
    }

    QString testo(const Proprieta& p) const
    {
        const QStringList aCapo = QString::fromLatin1(p.parametro(kACapo)).split(u',', Qt::SkipEmptyParts);
        qsizetype prossimo = 0;
        return senzaEscape(grezzo(p), aCapo, prossimo);
    }

    // A date property: in its field when it is a date, else kept in the comments, noted.
    void dataO(Compilazione& c, Campo campo, const Proprieta& p, QDate data)
    {
        if (data.isValid()) {
            c.aggiungi(campo, data);
            return;
        }
        const QString valore = testo(p).trimmed();
        const QString etichetta = QString::fromUtf8(descrizione(campo).etichetta);
        c.altro(etichetta, valore);
        avvisi_ << QCoreApplication::translate("brenzola::VCard", "riga %1: «%2» in %3 non è una data: è nei commenti")
                       .arg(p.riga)
                       .arg(valore, etichettaMostrata(descrizione(campo)));
    }

    // A date, or a month and day without a year (--0203, or Apple's year to omit).
    QDate compleanno(const Proprieta& p) const
    {
        QDate d = compleannoScritto(testo(p));
        if (d.isValid() && !p.parametro("X-APPLE-OMIT-YEAR").isEmpty()) d = QDate(kAnnoIgnoto, d.month(), d.day());
        return d;
    }

    void leggiNomi(Compilazione& c) const
    {
        const Proprieta* n = nullptr;
        const Proprieta* fn = nullptr;
        const Proprieta* org = nullptr;
        for (const Proprieta& p : proprieta_) {
            if (p.nome == "N" && !n) n = &p;
            if (p.nome == "FN" && !fn) fn = &p;
            if (p.nome == "ORG" && !org) org = &p;
        }
        bool haNome = false;
        if (n) {
            const QStringList parti = componenti(*n);
            const QString cognome = parti.value(0).trimmed();
            const QString nome = QStringList{parti.value(1), parti.value(2)}.join(u' ').trimmed();
            haNome = !cognome.isEmpty() || !nome.isEmpty();
            c.aggiungi(Campo::Cognome, parti.value(0));
            c.aggiungi(Campo::Nome, parti.value(2).isEmpty() ? parti.value(1) : parti.value(1) + u' ' + parti.value(2));
            const QString titolo = QStringList{parti.value(3), parti.value(4)}.join(u' ').trimmed();
            c.altro(QStringLiteral("Titolo"), titolo);
        }
        QStringList unita = org ? componenti(*org) : QStringList();  // company; department; ...
        unita.removeIf([](const QString& u) { return u.trimmed().isEmpty(); });
        const QString azienda = unita.join(QStringLiteral(", ")).trimmed();
        // Without a name, writers put an address or a number in FN: that is no surname.
        if (!haNome && fn && !testo(*fn).trimmed().isEmpty() && !recapito(testo(*fn).trimmed())) {
            c.aggiungi(Campo::Cognome, testo(*fn).trimmed());
            haNome = true;
        }
        if (!haNome && !azienda.isEmpty())
            c.aggiungi(Campo::Cognome, azienda);
        else
            c.altro(QStringLiteral("Azienda"), azienda);
    }

    bool recapito(const QString& valore) const
    {
        for (const Proprieta& p : proprieta_)
            if ((p.nome == "EMAIL" || p.nome == "TEL") && testo(p).trimmed() == valore) return true;
        return false;
    }

    static QString etichettaTipi(const QString& base, const QList<QByteArray>& tipi)
    {
        QStringList detti;
        for (const QByteArray& tipo : tipi) {
            if (tipo == "PREF" || tipo == "VOICE" || tipo == "CELL" || tipo == "INTERNET" || tipo.isEmpty()) continue;
            detti << (tipo == "WORK"   ? QStringLiteral("lavoro")
                      : tipo == "HOME" ? QStringLiteral("casa")
                                       : QString::fromLatin1(tipo).toLower());
        }
        return detti.isEmpty() ? base : base + QStringLiteral(" (") + detti.join(QStringLiteral(", ")) + u')';
    }

    std::vector<const Proprieta*> perPreferenza(const char* nome) const
    {
        std::vector<const Proprieta*> trovate;
        for (const Proprieta& p : proprieta_)
            if (p.nome == nome) trovate.push_back(&p);
        std::stable_sort(trovate.begin(), trovate.end(),
                         [](const Proprieta* a, const Proprieta* b) { return a->preferenza() < b->preferenza(); });
        return trovate;
    }

    // Telephones (mobiles apart) and e-mail addresses: the preferred one fills the field.
    void leggiTelefoni(Compilazione& c, const char* nome) const
    {
        for (const Proprieta* p : perPreferenza(nome)) {
            const QList<QByteArray> tipi = p->tipi();
            const bool cellulare = tipi.contains("CELL") || tipi.contains("MOBILE");
            const Campo campo = qstrcmp(nome, "EMAIL") == 0 ? Campo::Email : cellulare ? Campo::Cell : Campo::Telefono;
            // As written: spaces at either end are the contact's too. Only a URI's scheme goes.
            QString valore = testo(*p);
            if (valore.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive)) valore = valore.mid(4);
            if (valore.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive)) valore = valore.mid(7);
            c.aggiungi(campo, valore, etichettaTipi(QString::fromUtf8(descrizione(campo).etichetta), tipi));
        }
    }

    void leggiIndirizzi(Compilazione& c) const
    {
        bool primo = true;
        for (const Proprieta* p : perPreferenza("ADR")) {
            const QStringList parti = componenti(*p);
            const QString via = QStringList{parti.value(2), parti.value(1)}.join(QStringLiteral(", "));
            const QString strada = parti.value(1).isEmpty() ? parti.value(2) : via;
            if (!primo) {
                QStringList tutto;
                for (const QString& parte : parti)
                    if (!parte.trimmed().isEmpty()) tutto << parte.trimmed();
                c.altro(etichettaTipi(QStringLiteral("Indirizzo"), p->tipi()), tutto.join(QStringLiteral(", ")));
                continue;
            }
            primo = false;
            c.aggiungi(Campo::Indirizzo, strada);
            c.aggiungi(Campo::Citta, parti.value(3));
            c.aggiungi(Campo::Prov, parti.value(4));
            c.aggiungi(Campo::Cap, parti.value(5));
            c.altro(QStringLiteral("Casella postale"), parti.value(0));
            c.altro(QStringLiteral("Paese"), parti.value(6));
        }
    }

    const std::vector<Proprieta>& proprieta_;
    QMap<QString, int>& ignorate_;
    bool v21_ = false;
    QString uid_;
    mutable QStringList avvisi_;  // noted while reading values, however they are read
};

// NAME;param=value;BARE:value -> a property; false when the line has no colon.
bool analizza(const QByteArray& linea, int riga, Proprieta& p)
{
    qsizetype duePunti = -1;
    bool virgolette = false;
    for (qsizetype i = 0; i < linea.size(); ++i) {
        if (linea[i] == '"')
            virgolette = !virgolette;
        else if (linea[i] == ':' && !virgolette) {
            duePunti = i;
            break;
        }
    }
    if (duePunti < 0) return false;
    p.riga = riga;
    p.valore = linea.mid(duePunti + 1);
    p.parametri.clear();
    const QList<QByteArray> parti = linea.left(duePunti).split(';');
    p.nome = parti.front().trimmed().toUpper();
    if (const qsizetype punto = p.nome.lastIndexOf('.'); punto >= 0) p.nome = p.nome.mid(punto + 1);  // item1.TEL
    for (qsizetype i = 1; i < parti.size(); ++i) {
        const QByteArray parte = parti[i].trimmed();
        const qsizetype uguale = parte.indexOf('=');
        if (uguale < 0) {  // vCard 2.1: TEL;CELL;PREF, ADR;QUOTED-PRINTABLE
            const QByteArray nudo = parte.toUpper();
            const bool codifica =
                nudo == "QUOTED-PRINTABLE" || nudo == "BASE64" || nudo == "8BIT" || nudo == "7BIT" || nudo == "B";
            p.parametri.push_back({codifica ? "ENCODING" : "TYPE", nudo});
            continue;
        }
        QByteArray valore = parte.mid(uguale + 1);
        if (valore.size() >= 2 && valore.startsWith('"') && valore.endsWith('"')) valore = valore.mid(1, valore.size() - 2);
        p.parametri.push_back({parte.left(uguale).trimmed().toUpper(), valore});
    }
    return true;
}

bool richiedeSeguito(const QByteArray& linea)
{
    // A quoted-printable value ending in '=' goes on at the start of the next line.
    if (!linea.endsWith('=')) return false;
    const qsizetype duePunti = linea.indexOf(':');
    return duePunti > 0 && linea.left(duePunti).toUpper().contains("QUOTED-PRINTABLE");
}

QString senzaEnd(int riga)
{
    return QCoreApplication::translate("brenzola::VCard", "riga %1: la scheda iniziata qui non ha END:VCARD").arg(riga);
}

// The cards of a file as its lines come: each card read once its END (or what stands for
// it) is reached.
class LettoreVCard final : public LettoreVoci {
public:
    explicit LettoreVCard(std::unique_ptr<RigheFile> righe) : LettoreVoci(std::move(righe)) {}

    std::optional<Voce> prossima() override
    {
        if (finito_) return std::nullopt;
        Linea linea;
        while (logica(linea)) {
            const QByteArray pulita = linea.testo.trimmed();
            if (pulita.isEmpty() || pulita.startsWith('#')) continue;  // blank, or a comment as Android 2.1 writes
            if (pulita.compare("BEGIN:VCARD", Qt::CaseInsensitive) == 0) {
                std::optional<Voce> senzaFine;
                if (dentro_) senzaFine = chiudi(senzaEnd(voce_.riga));
                dentro_ = trovata_ = true;
                voce_.riga = linea.riga;
                errore_.clear();
                if (senzaFine) return senzaFine;
                continue;
            }
            if (!dentro_)
                return Voce{
                    linea.riga,
                    {},
                    QCoreApplication::translate("brenzola::VCard", "riga %1: testo fuori da una scheda vCard").arg(linea.riga),
                    {}};
            if (pulita.compare("END:VCARD", Qt::CaseInsensitive) == 0) return chiudi(errore_);
            Proprieta p;
            if (!analizza(linea.testo, linea.riga, p)) {
                if (errore_.isEmpty())
                    errore_ = QCoreApplication::translate("brenzola::VCard",
                                                          "riga %1: la riga non è una proprietà vCard (una riga spezzata male?)")
                                  .arg(linea.riga);
                continue;
            }
            proprieta_.push_back(std::move(p));
        }
        finito_ = true;
        if (dentro_) return chiudi(senzaEnd(voce_.riga));
        if (!trovata_)
            throw StoreError(StoreErrorNumber::FileFormat,
                             QCoreApplication::translate("brenzola::VCard", "Il file non contiene schede vCard (BEGIN:VCARD)."));
        return std::nullopt;
    }

private:
    struct Linea {
        int riga = 0;
        QByteArray testo;
    };

    // The next logical line: a physical line starting with a space or a tab continues the
    // one before, and so does any after a quoted-printable soft break. False at the end.
    bool logica(Linea& linea)
    {
        RigheFile::Riga fisica;
        while (righe().leggi(fisica)) {
            if (!attesa_) {
                attesa_ = Linea{fisica.numero, fisica.testo.toByteArray()};
            } else if (richiedeSeguito(attesa_->testo)) {
                attesa_->testo.chop(1);
                attesa_->testo.append(fisica.testo);
            } else if (!fisica.testo.isEmpty() && (fisica.testo[0] == ' ' || fisica.testo[0] == '\t')) {
                attesa_->testo.append(fisica.testo.sliced(1));
            } else {
                linea = std::exchange(*attesa_, Linea{fisica.numero, fisica.testo.toByteArray()});
                return true;
            }
        }
        if (!attesa_) return false;
        linea = std::move(*attesa_);
        attesa_.reset();
        return true;
    }

    // The card read so far, with its contact or why it cannot be read.
    Voce chiudi(const QString& errore)
    {
        Voce voce = std::exchange(voce_, {});
        if (errore.isEmpty()) {
            try {
                LettoreScheda lettore(proprieta_, contaIgnorate());
                voce.contatto = lettore.contatto();
                voce.avvisi = lettore.avvisi();
                if (!voce.contatto.haDati())
                    voce.errore =
                        QCoreApplication::translate("brenzola::VCard", "riga %1: la scheda non contiene dati").arg(voce.riga);
            } catch (const Illeggibile& e) {
                voce.errore =
                    QCoreApplication::translate("brenzola::VCard", "riga %1: %2").arg(e.riga ? e.riga : voce.riga).arg(e.motivo);
            }
        } else {
            voce.errore = errore;
        }
        if (!voce.errore.isEmpty()) voce.contatto = {};
        proprieta_.clear();
        dentro_ = false;
        return voce;
    }

    std::optional<Linea> attesa_;  // read, but the next line may continue it
    bool dentro_ = false;          // between BEGIN and END
    bool trovata_ = false;         // a card began somewhere
    bool finito_ = false;
    Voce voce_;
    std::vector<Proprieta> proprieta_;
    QString errore_;  // why the card being read cannot be
};

}  // namespace

Lettura leggiVCard(const QByteArray& dati)
{
    controllaTesto(dati, true);
    return lettoreVCard(std::make_unique<RigheFile>(inMemoria(dati), std::nullopt, false))->tutte();
}

std::unique_ptr<LettoreVoci> lettoreVCard(std::unique_ptr<RigheFile> righe)
{
    return std::make_unique<LettoreVCard>(std::move(righe));
}

}  // namespace brenzola
