#include "exchange/doppioni.h"

#include "store/storeddate.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <cstdint>
#include <numeric>

namespace brenzola {
namespace {

bool apostrofo(QChar c)
{
    switch (c.unicode()) {
    case u'\'':
    case u'`':
    case 0x00B4:  // ´
    case 0x02BC:  // ʼ
    case 0x2018:  // ‘
    case 0x2019:  // ’
        return true;
    default:
        return false;
    }
}

// The digits that tell a number: an international "+" read as "00", Italy's own prefix
// taken off, so that +39 and 0039 numbers compare with those written without.
QString cifreDi(const QString& testo)
{
    QString cifre;
    bool internazionale = false;
    for (const QChar c : testo) {
        if (c == u'+' && cifre.isEmpty()) internazionale = true;
        if (c.isDigit()) cifre += QChar(u'0' + c.digitValue());
    }
    if (internazionale) cifre.prepend(QLatin1String("00"));
    if (cifre.startsWith(QLatin1String("0039"))) cifre.remove(0, 4);
    return cifre;
}

constexpr qsizetype kCifreMinime = 6;

// The non-empty runs of `testo` between characters that `separa`.
template <typename Separa> std::vector<QStringView> parti(QStringView testo, Separa&& separa)
{
    std::vector<QStringView> trovate;
    qsizetype inizio = 0;
    for (qsizetype i = 0; i <= testo.size(); ++i)
        if (i == testo.size() || separa(testo[i])) {
            if (i > inizio) trovate.push_back(testo.sliced(inizio, i - inizio));
            inizio = i + 1;
        }
    return trovate;
}

// The numbers of a telephone field: several are written one a line, or between ';' ',' or
// '/'. A slash parts two numbers only when both sides are whole ones: "081/123456" is one.
QStringList numeri(const QString& campo)
{
    QStringList numeri;
    const auto tieni = [&numeri](const QString& numero) {
        if (!numero.trimmed().isEmpty()) numeri << numero.simplified();
    };
    const auto separatore = [](QChar c) { return c == u';' || c == u',' || c == u'\r' || c == u'\n'; };
    for (const QStringView parte : parti(campo, separatore)) {
        const QList<QStringView> pezzi = parte.split(u'/');
        QString numero = pezzi.front().toString();
        for (qsizetype i = 1; i < pezzi.size(); ++i) {
            const QString pezzo = pezzi[i].toString();
            if (cifreDi(numero).size() >= kCifreMinime && cifreDi(pezzo).size() >= kCifreMinime) {
                tieni(numero);
                numero = pezzo;
            } else {
                numero += u'/' + pezzo;
            }
        }
        tieni(numero);
    }
    return numeri;
}

// The addresses of an e-mail field, however they are separated or wrapped ("Mario
// <mario@x.it>", "mailto:a@b.it"): each run of characters between separators with an "@"
// that has something on both sides, less any final dots.
QStringList indirizzi(const QString& campo)
{
    const auto separa = [](QChar c) {
        const char16_t u = c.unicode();
        return u == u' ' || (u >= 0x09 && u <= 0x0D) || QStringView(u"<>;,:\"()[]").contains(c);
    };
    QStringList trovati;
    for (QStringView parola : parti(campo, separa)) {
        bool interna = false;
        for (qsizetype i = 1; i + 1 < parola.size() && !interna; ++i) interna = parola[i] == u'@';
        if (!interna) continue;
        while (parola.endsWith(u'.')) parola.chop(1);
        trovati << parola.toString();
    }
    return trovati;
}

void aggiungiRecapito(std::vector<Impronta::Recapito>& recapiti, const Impronta::Recapito& nuovo)
{
    if (nuovo.chiave.isEmpty()) return;
    if (std::none_of(recapiti.begin(), recapiti.end(), [&nuovo](const auto& r) { return r.chiave == nuovo.chiave; }))
        recapiti.push_back(nuovo);
}

// A birth date as compared: a date, or what a store holds that is not one.
QVariant nascitaDi(const QVariant& valore)
{
    if (valore.typeId() == QMetaType::QDate) return valore.toDate().isValid() ? valore : QVariant();
    const QString testo = valore.toString().trimmed();
    if (testo.isEmpty()) return {};
    if (const QDate data = compleannoScritto(testo); data.isValid()) return data;
    return nomePiano(testo);
}

// A birthday without a year agrees with any date on the same day of the year.
bool stessaNascita(const QVariant& a, const QVariant& b)
{
    if (a.typeId() != b.typeId()) return false;
    if (a.typeId() != QMetaType::QDate) return a == b;
    const QDate da = a.toDate(), db = b.toDate();
    if (senzaAnno(da) || senzaAnno(db)) return da.month() == db.month() && da.day() == db.day();
    return da == db;
}

// The birth dates of contacts that would be one person, each once.
class Nascite {
public:
    bool concordano(const QVariant& nascita) const
    {
        return nascita.isNull()
               || std::all_of(date_.begin(), date_.end(), [&nascita](const QVariant& d) { return stessaNascita(d, nascita); });
    }
    bool concordano(const Nascite& altre) const
    {
        return std::all_of(altre.date_.begin(), altre.date_.end(), [this](const QVariant& d) { return concordano(d); });
    }
    void aggiungi(const QVariant& nascita)
    {
        const auto uguale = [&nascita](const QVariant& d) { return d.typeId() == nascita.typeId() && d == nascita; };
        if (!nascita.isNull() && std::none_of(date_.begin(), date_.end(), uguale)) date_.push_back(nascita);
    }
    void aggiungi(const Nascite& altre)
    {
        for (const QVariant& d : altre.date_) aggiungi(d);
    }

private:
    std::vector<QVariant> date_;
};

}  // namespace

QString motivoConteso()
{
    return QCoreApplication::translate("brenzola::Doppioni", "somiglia anche a un contatto con un'altra data di nascita");
}

namespace {

bool haRecapito(const std::vector<Impronta::Recapito>& recapiti, const QString& chiave)
{
    return std::any_of(recapiti.begin(), recapiti.end(), [&chiave](const auto& r) { return r.chiave == chiave; });
}

QStringList chiaviDi(const std::vector<Impronta::Recapito>& recapiti)
{
    QStringList chiavi;
    for (const Impronta::Recapito& r : recapiti) chiavi << r.chiave;
    return chiavi;
}

bool stessoNome(const Impronta& a, const Impronta& b) { return !a.senzaNome() && a.cognome == b.cognome && a.nome == b.nome; }

bool nascitaDiversa(const Impronta& a, const Impronta& b)
{
    return !a.nascita.isNull() && !b.nascita.isNull() && !stessaNascita(a.nascita, b.nascita);
}

// The verdict of confronta without its reasons, for the many pairs an index weighs.
Somiglianza esitoDi(const Impronta& a, const Impronta& b)
{
    const auto comune = [](const std::vector<Impronta::Recapito>& di, const std::vector<Impronta::Recapito>& in) {
        return std::any_of(di.begin(), di.end(), [&in](const Impronta::Recapito& r) { return haRecapito(in, r.chiave); });
    };
    if ((!comune(a.email, b.email) && !comune(a.telefoni, b.telefoni)) || nascitaDiversa(a, b)) return Somiglianza::Diversi;
    return stessoNome(a, b) ? Somiglianza::Stesso : Somiglianza::Possibile;
}

}  // namespace

QString nomePiano(const QString& testo)
{
    // Most names are plain ASCII, which has no accents to take off.
    const bool ascii = std::all_of(testo.cbegin(), testo.cend(), [](QChar c) { return c.unicode() < 0x80; });
    QString piano;
    piano.reserve(testo.size());
    for (const QChar c : ascii ? testo : testo.normalized(QString::NormalizationForm_D)) {
        if (c.category() == QChar::Mark_NonSpacing) continue;
        piano += apostrofo(c) ? QChar(u'\'') : c;
    }
    piano = (ascii ? piano.toLower() : piano.toCaseFolded()).simplified();
    return piano.replace(QLatin1String(" '"), QLatin1String("'")).replace(QLatin1String("' "), QLatin1String("'"));
}

QString telefonoPiano(const QString& testo)
{
    const QString cifre = cifreDi(testo);
    return cifre.size() >= kCifreMinime ? cifre : QString();
}

Impronta::Impronta(const Contatto& c)
    : cognome(nomePiano(c.testo(Campo::Cognome))),
      nome(nomePiano(c.testo(Campo::Nome))),
      scritto(c.nomeCompleto().simplified()),
      nascita(nascitaDi(c[Campo::DataNasc]))
{
    for (const QString& indirizzo : indirizzi(c.testo(Campo::Email)))
        aggiungiRecapito(email, {indirizzo.toCaseFolded(), indirizzo});
    for (Campo campo : {Campo::Telefono, Campo::Cell})
        for (const QString& numero : numeri(c.testo(campo))) aggiungiRecapito(telefoni, {telefonoPiano(numero), numero});
}

void Impronta::completa(const Impronta& altra)
{
    if (senzaNome()) {
        cognome = altra.cognome;
        nome = altra.nome;
        scritto = altra.scritto;
    }
    if (nascita.isNull()) nascita = altra.nascita;
    for (const Recapito& r : altra.email) aggiungiRecapito(email, r);
    for (const Recapito& r : altra.telefoni) aggiungiRecapito(telefoni, r);
}

QString Impronta::chiaveNome() const { return senzaNome() ? QString() : cognome + u'\x1f' + nome; }
QStringList Impronta::chiaviEmail() const { return chiaviDi(email); }
QStringList Impronta::chiaviTelefono() const { return chiaviDi(telefoni); }

Confronto confronta(const Contatto& a, const Contatto& b) { return confronta(Impronta(a), Impronta(b)); }

Confronto confronta(const Impronta& a, const Impronta& b)
{
    Confronto confronto{esitoDi(a, b), {}};
    QStringList& motivi = confronto.motivi;
    if (stessoNome(a, b))
        motivi << QCoreApplication::translate("brenzola::Doppioni", "stesso nome");
    else if (a.senzaNome() && b.senzaNome())
        motivi << QCoreApplication::translate("brenzola::Doppioni", "entrambi senza nome");
    else if (a.senzaNome() || b.senzaNome())
        motivi << QCoreApplication::translate("brenzola::Doppioni", "uno dei due è senza nome");
    else
        motivi << QCoreApplication::translate("brenzola::Doppioni", "nomi diversi («%1» e «%2»)").arg(a.scritto, b.scritto);
    const qsizetype nome = motivi.size();
    for (const Impronta::Recapito& r : a.email)
        if (haRecapito(b.email, r.chiave))
            motivi << QCoreApplication::translate("brenzola::Doppioni", "stesso indirizzo e-mail «%1»").arg(r.scritto);
    for (const Impronta::Recapito& r : a.telefoni)
        if (haRecapito(b.telefoni, r.chiave))
            motivi << QCoreApplication::translate("brenzola::Doppioni", "stesso telefono «%1»").arg(r.scritto);
    if (motivi.size() == nome)
        motivi << QCoreApplication::translate("brenzola::Doppioni", "nessun indirizzo e-mail né telefono in comune");
    if (nascitaDiversa(a, b)) motivi << QCoreApplication::translate("brenzola::Doppioni", "date di nascita diverse");
    return confronto;
}

const Confronto& GruppoDoppioni::perche(qint64 chiave) const
{
    static const Confronto nessuno;
    const auto legame = std::find_if(legami.begin(), legami.end(),
                                     [chiave](const Legame& l) { return l.prima == chiave || l.seconda == chiave; });
    return legame == legami.end() ? nessuno : legame->confronto;
}

void IndiceDoppioni::indicizza(size_t posto, const QString& chiave, QHash<QString, std::vector<size_t>>& indice)
{
    // Kept ascending: a contact completed later goes back to its own place.
    auto& chi = indice[chiave];
    const auto dove = std::lower_bound(chi.begin(), chi.end(), posto);
    if (dove == chi.end() || *dove != posto) chi.insert(dove, posto);
}

void IndiceDoppioni::aggiungi(qint64 chiave, const Contatto& contatto)
{
    const Impronta impronta(contatto);
    size_t posto = ordine_.size();
    if (const auto noto = posto_.constFind(chiave); noto != posto_.cend()) {
        posto = *noto;
        impronte_[posto].completa(impronta);
    } else {
        posto_.insert(chiave, posto);
        ordine_.push_back(chiave);
        impronte_.push_back(impronta);
    }
    const Impronta& nota = impronte_[posto];
    if (const QString nome = nota.chiaveNome(); !nome.isEmpty()) indicizza(posto, nome, perNome_);
    for (const Impronta::Recapito& r : nota.email) indicizza(posto, r.chiave, perEmail_);
    for (const Impronta::Recapito& r : nota.telefoni) indicizza(posto, r.chiave, perTelefono_);
}

std::vector<size_t> IndiceDoppioni::vicini(const Impronta& impronta, size_t limite) const
{
    std::vector<size_t> trovati;
    const auto omonimi = perNome_.constFind(impronta.chiaveNome());
    const auto raccogli = [&](const std::vector<Impronta::Recapito>& recapiti,
                              const QHash<QString, std::vector<size_t>>& indice) {
        for (const Impronta::Recapito& r : recapiti) {
            const auto chi = indice.constFind(r.chiave);
            if (chi == indice.cend()) continue;
            if (qsizetype(chi->size()) <= kCondivisoDa) {
                for (size_t posto : *chi)
                    if (posto < limite) trovati.push_back(posto);
            } else if (omonimi != perNome_.cend()) {
                for (size_t posto : *omonimi)
                    if (posto < limite && std::binary_search(chi->begin(), chi->end(), posto)) trovati.push_back(posto);
            }
        }
    };
    raccogli(impronta.email, perEmail_);
    raccogli(impronta.telefoni, perTelefono_);
    std::sort(trovati.begin(), trovati.end());
    trovati.erase(std::unique(trovati.begin(), trovati.end()), trovati.end());
    return trovati;
}

std::vector<Candidato> giudica(const Impronta& impronta, const std::vector<std::pair<qint64, const Impronta*>>& vicini)
{
    std::vector<Candidato> candidati;
    Nascite stessi;
    bool conteso = false;
    for (const auto& [chiave, vicino] : vicini) {
        Confronto c = confronta(*vicino, impronta);
        if (c.esito == Somiglianza::Diversi) continue;
        if (c.esito == Somiglianza::Stesso) {
            conteso = conteso || !stessi.concordano(vicino->nascita);
            stessi.aggiungi(vicino->nascita);
        }
        candidati.push_back({chiave, std::move(c)});
    }
    if (conteso) {
        for (Candidato& c : candidati) {
            if (c.confronto.esito != Somiglianza::Stesso) continue;
            c.confronto.esito = Somiglianza::Possibile;
            c.confronto.motivi << motivoConteso();
        }
    }
    return candidati;
}

std::vector<Candidato> IndiceDoppioni::candidati(const Contatto& contatto) const
{
    const Impronta impronta(contatto);
    std::vector<std::pair<qint64, const Impronta*>> vicini;
    for (size_t posto : this->vicini(impronta, ordine_.size())) vicini.emplace_back(ordine_[posto], &impronte_[posto]);
    return giudica(impronta, vicini);
}

std::vector<qint64> IndiceDoppioni::doppioniDi(const Contatto& contatto) const
{
    std::vector<qint64> stessi;
    for (const Candidato& c : candidati(contatto))
        if (c.confronto.esito == Somiglianza::Stesso) stessi.push_back(c.chiave);
    return stessi;
}

Doppioni IndiceDoppioni::gruppi() const
{
    const size_t n = ordine_.size();
    struct Coppia {
        size_t prima, seconda;
        Somiglianza esito;
        bool contesa = false;  // the same person, were it not that one of them resembles another as much
    };
    std::vector<Coppia> coppie;
    for (size_t i = 0; i < n; ++i)
        for (size_t p : vicini(impronte_[i], i))
            if (const Somiglianza esito = esitoDi(impronte_[p], impronte_[i]); esito != Somiglianza::Diversi)
                coppie.push_back({p, i, esito});

    // A contact that is the same as two born on different days could be either: it joins
    // neither, and is listed once as a possible pair.
    std::vector<Nascite> diChiSomiglia(n);
    std::vector<bool> conteso(n, false);
    const auto somiglia = [&](size_t chi, size_t a) {
        const QVariant& nascita = impronte_[a].nascita;
        if (!diChiSomiglia[chi].concordano(nascita)) conteso[chi] = true;
        diChiSomiglia[chi].aggiungi(nascita);
    };
    for (const Coppia& c : coppie) {
        if (c.esito != Somiglianza::Stesso) continue;
        somiglia(c.prima, c.seconda);
        somiglia(c.seconda, c.prima);
    }

    // Union-find over the positions; no link joins two groups whose birth dates differ,
    // which a chain of contacts without one could otherwise do.
    std::vector<size_t> capo(n);
    std::iota(capo.begin(), capo.end(), size_t(0));
    const auto trova = [&capo](size_t i) {
        while (capo[i] != i) i = capo[i] = capo[capo[i]];
        return i;
    };
    std::vector<Nascite> nascite(n);
    for (size_t i = 0; i < n; ++i) nascite[i].aggiungi(impronte_[i].nascita);
    std::vector<Coppia> legami, possibili;
    std::vector<bool> chiesto(n, false);  // a contested contact is asked about once, not with each it resembles
    for (Coppia& c : coppie) {
        if (c.esito == Somiglianza::Stesso) {
            const size_t ra = trova(c.prima), rb = trova(c.seconda);
            if (ra == rb) continue;
            const bool incerta = conteso[c.prima] || conteso[c.seconda];
            if (!incerta && nascite[ra].concordano(nascite[rb])) {
                capo[std::max(ra, rb)] = std::min(ra, rb);
                nascite[std::min(ra, rb)].aggiungi(nascite[std::max(ra, rb)]);
                legami.push_back(c);
                continue;
            }
            if (incerta) {
                const bool nuova = (conteso[c.prima] && !chiesto[c.prima]) || (conteso[c.seconda] && !chiesto[c.seconda]);
                if (!nuova) continue;
                chiesto[c.prima] = chiesto[c.prima] || conteso[c.prima];
                chiesto[c.seconda] = chiesto[c.seconda] || conteso[c.seconda];
            }
            c.contesa = true;
        }
        possibili.push_back(c);
    }
    // The reasons, only for the pairs that are told.
    const auto legame = [this](const Coppia& c) {
        Legame l{ordine_[c.prima], ordine_[c.seconda], confronta(impronte_[c.prima], impronte_[c.seconda])};
        if (c.contesa) {
            l.confronto.esito = Somiglianza::Possibile;
            l.confronto.motivi << motivoConteso();
        }
        return l;
    };

    Doppioni doppioni;
    std::vector<size_t> membri(n, 0);
    for (size_t i = 0; i < n; ++i) ++membri[trova(i)];
    std::vector<size_t> gruppoDi(n, SIZE_MAX);  // by root
    for (size_t i = 0; i < n; ++i) {
        const size_t r = trova(i);
        if (membri[r] < 2) continue;
        if (gruppoDi[r] == SIZE_MAX) {
            gruppoDi[r] = doppioni.gruppi.size();
            doppioni.gruppi.emplace_back();
        }
        doppioni.gruppi[gruppoDi[r]].chiavi.push_back(ordine_[i]);
    }
    for (const Coppia& c : legami) doppioni.gruppi[gruppoDi[trova(c.prima)]].legami.push_back(legame(c));
    // Between two groups (or a group and a contact) the first pair speaks for all.
    QSet<std::pair<size_t, size_t>> chiesti;
    for (const Coppia& c : possibili) {
        const size_t ra = trova(c.prima), rb = trova(c.seconda);
        const std::pair<size_t, size_t> quali(std::min(ra, rb), std::max(ra, rb));
        if (ra == rb || chiesti.contains(quali)) continue;
        chiesti.insert(quali);
        doppioni.possibili.push_back(legame(c));
    }
    return doppioni;
}

namespace {

// Two values that say the same thing: the same date, or texts equal but for case, accents
// and spacing (and, for telephones, everything but the digits).
bool stessaCosa(Campo campo, const QVariant& a, const QVariant& b)
{
    if (a.typeId() == QMetaType::QDate || b.typeId() == QMetaType::QDate) return a == b;
    if (campo == Campo::Telefono || campo == Campo::Cell) {
        const QString pa = telefonoPiano(a.toString()), pb = telefonoPiano(b.toString());
        if (!pa.isEmpty() || !pb.isEmpty()) return pa == pb;
    }
    QString ta = nomePiano(a.toString()), tb = nomePiano(b.toString());
    return ta.remove(u' ') == tb.remove(u' ');
}

QString fineRigaDi(const QString& testo)
{
    if (testo.contains(QLatin1String("\r\n"))) return QStringLiteral("\r\n");
    if (testo.contains(u'\r')) return QStringLiteral("\r");
    return QStringLiteral("\n");
}

}  // namespace

Contatto unisci(const Contatto& base, const Contatto& altro)
{
    Contatto unito = base;
    QStringList aggiunte;
    for (const DescrizioneCampo& d : campi()) {
        if (d.campo == Campo::Commenti || altro.vuoto(d.campo)) continue;
        if (unito.vuoto(d.campo)) {
            unito[d.campo] = altro[d.campo];
        } else if (!stessaCosa(d.campo, unito[d.campo], altro[d.campo])) {
            aggiunte << QString::fromUtf8(d.etichetta) + QStringLiteral(": ")
                            + (d.data ? dataComeTesto(altro[d.campo]) : altro.testo(d.campo));
        }
    }
    QString commenti = base.testo(Campo::Commenti);
    const QString suoi = altro.testo(Campo::Commenti);
    const QString a = fineRigaDi(commenti.isEmpty() ? suoi : commenti);
    const auto accoda = [&](const QString& testo, const QString& staccato) {
        if (testo.isEmpty()) return;
        commenti = commenti.isEmpty() ? testo : commenti + staccato + testo;
    };
    static const QRegularExpression aCapo(QStringLiteral("\r\n|\r|\n"));
    if (!suoi.trimmed().isEmpty() && !nomePiano(commenti).contains(nomePiano(suoi)))
        accoda(QString(suoi).replace(aCapo, a), a + a);
    aggiunte.removeIf([&commenti](const QString& riga) { return commenti.contains(riga); });
    if (!aggiunte.isEmpty()) accoda(aggiunte.join(a), a + a);
    if (commenti != base.testo(Campo::Commenti)) unito[Campo::Commenti] = commenti;
    return unito;
}

Contatto aggiorna(const Contatto& esistente, const Contatto& nuovo)
{
    Contatto aggiornato = esistente;
    for (const DescrizioneCampo& d : campi())
        if (!nuovo.vuoto(d.campo)) aggiornato[d.campo] = nuovo[d.campo];
    return aggiornato;
}

}  // namespace brenzola
