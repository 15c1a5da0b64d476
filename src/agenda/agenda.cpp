#include "agenda/agenda.h"

#include "store/connection.h"
#include "store/funzioni.h"
#include "store/giornale.h"
#include "store/italiantext.h"
#include "store/logging.h"
#include "store/recordset.h"
#include "store/storeddate.h"
#include "store/storeerror.h"

#include <QByteArrayView>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QSet>
#include <QStringBuilder>
#include <QStringEncoder>

#include <algorithm>
#include <cstring>
#include <future>
#include <optional>

namespace brenzola {
namespace {

const QDate kNessunaData(1900, 1, 1);

// What the agenda reads of a contact to call, in this order: "Fatto" writes only while the
// contact still holds the same (the key aside). The birth date comes last, for birthdays.
constexpr char kColonne[] = "id, DataRicont, Cognome, Nome, Telefono, Cell, Email, Commenti";
enum Colonna { kId, kData, kCognome, kNome, kTelefono, kCell, kEmail, kCommenti, kNascita, kColonneLette };

QString sqlData(QDate data) { return u'#' + data.toString(QStringLiteral("MM/dd/yyyy")) + u'#'; }

// The year, month and day of yyyy-mm-dd; false for any other text.
bool partiIso(QStringView testo, int& anno, int& mese, int& giorno)
{
    if (testo.size() != 10 || testo[4] != u'-' || testo[7] != u'-') return false;
    const auto numero = [&testo](int da, int cifre, int& valore) {
        valore = 0;
        for (int i = da; i < da + cifre; ++i) {
            const char16_t c = testo[i].unicode();
            if (c < u'0' || c > u'9') return false;
            valore = valore * 10 + (c - u'0');
        }
        return true;
    };
    return numero(0, 4, anno) && numero(5, 2, mese) && numero(8, 2, giorno);
}

// A stored date: yyyy-mm-dd at once, any other form as a recordset reads it.
QDate dataDi(QStringView testo)
{
    if (testo.isEmpty()) return {};
    int anno, mese, giorno;
    if (partiIso(testo, anno, mese, giorno)) return QDate(anno, mese, giorno);
    return dateFromStoredText(testo.toString());
}

// One row as read, each column decoded once: a row view decodes it again whenever asked.
// Null reads as empty text, as the lists show it; telling the two apart would cost another
// call for every column of every row.
struct Letta {
    explicit Letta(const RowView& riga)
    {
        for (int c = kData; c < kColonneLette; ++c) testo[c] = riga.text(c);
    }
    QStringView testo[kColonneLette];
};

// The digest of what Fatto finds unchanged: from a row as read, or as a recordset holds it.
size_t improntaDi(const Letta& riga)
{
    size_t impronta = 0;
    for (int c = kData; c < kNascita; ++c) impronta = qHash(riga.testo[c], impronta);
    return impronta;
}

size_t improntaDi(const QVariantList& memorizzati)
{
    size_t impronta = 0;
    for (int c = kData; c < kNascita; ++c) impronta = qHash(memorizzati.at(c).toString(), impronta);
    return impronta;
}

// Writes the UTF-8 of `testo` at `out`, which has room for three bytes a UTF-16 unit.
char* utf8(char* out, QStringView testo)
{
    qsizetype i = 0;
    for (; i < testo.size() && testo[i].unicode() < 0x80; ++i) *out++ = char(testo[i].unicode());
    if (i == testo.size()) return out;
    QStringEncoder codifica(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    return codifica.appendToBuffer(out, testo.sliced(i));
}

void appendiLunghezza(std::string& out, size_t n)
{
    for (; n >= 0x80; n >>= 7) out += char(0x80 | (n & 0x7f));
    out += char(n);
}

size_t leggiLunghezza(const char*& p)
{
    size_t n = 0;
    for (int spostamento = 0;; spostamento += 7) {
        const auto byte = static_cast<unsigned char>(*p++);
        n |= size_t(byte & 0x7f) << spostamento;
        if (byte < 0x80) return n;
    }
}

// The texts of one row, each as UTF-8 after its length in bytes.
class RigaDiTesti {
public:
    void inizia() { riga_.clear(); }
    // One text; or two, the second after a space.
    void aggiungi(QStringView testo, std::optional<QStringView> dopoUnoSpazio = std::nullopt)
    {
        const size_t serve = size_t(testo.size() + (dopoUnoSpazio ? dopoUnoSpazio->size() + 1 : 0)) * 3;
        if (campo_.size() < serve) campo_.resize(serve);
        char* fine = utf8(campo_.data(), testo);
        if (dopoUnoSpazio) {
            *fine++ = ' ';
            fine = utf8(fine, *dopoUnoSpazio);
        }
        const size_t lunghezza = size_t(fine - campo_.data());
        appendiLunghezza(riga_, lunghezza);
        riga_.append(campo_.data(), lunghezza);
    }
    std::string_view testi() const { return riga_; }

private:
    std::string riga_;
    std::vector<char> campo_;  // only ever grows: not cleared for each text
};

QByteArrayView campo(const char* p, int quale)
{
    for (int t = 0;; ++t) {
        const size_t n = leggiLunghezza(p);
        if (t == quale) return {p, qsizetype(n)};
        p += n;
    }
}

}  // namespace

class ElencoPromemoria::Testi {
public:
    // Keeps one row's texts; returns where they start.
    quint64 aggiungi(std::string_view riga)
    {
        if (blocchi_.empty() || usati_ + riga.size() > capienza_) {
            capienza_ = std::max(kBlocco, riga.size());
            blocchi_.push_back(std::make_unique_for_overwrite<char[]>(capienza_));
            usati_ = 0;
        }
        std::memcpy(blocchi_.back().get() + usati_, riga.data(), riga.size());
        const quint64 dove = quint64(blocchi_.size() - 1) << 32 | quint64(usati_);
        usati_ += riga.size();
        return dove;
    }
    const char* at(quint64 dove) const { return blocchi_[size_t(dove >> 32)].get() + (dove & 0xffffffffu); }
    // Takes the blocks of `altri`; returns what to add to where their rows start.
    quint64 accogli(Testi&& altri)
    {
        const quint64 spostamento = quint64(blocchi_.size()) << 32;
        if (altri.blocchi_.empty()) return spostamento;
        for (auto& blocco : altri.blocchi_) blocchi_.push_back(std::move(blocco));
        usati_ = altri.usati_;
        capienza_ = altri.capienza_;
        return spostamento;
    }

private:
    static constexpr size_t kBlocco = size_t(1) << 20;  // a block never moves: rows point into it
    std::vector<std::unique_ptr<char[]>> blocchi_;
    size_t usati_ = 0;
    size_t capienza_ = 0;
};

ElencoPromemoria::ElencoPromemoria(std::shared_ptr<Testi> testi, std::vector<Riga> righe)
    : testi_(std::move(testi)),
      righe_(std::move(righe))
{
}

QString ElencoPromemoria::testo(qsizetype i, Testo quale) const
{
    const QByteArrayView utf8 = campo(testi_->at(righe_[size_t(i)].testi), quale);
    return QString::fromUtf8(utf8);
}

Promemoria ElencoPromemoria::operator[](qsizetype i) const
{
    const Riga& riga = righe_[size_t(i)];
    const char* testi = testi_->at(riga.testi);
    const auto testo = [testi](Testo quale) { return QString::fromUtf8(campo(testi, quale)); };
    return {riga.id,     testo(Nome),  testo(Telefono), testo(Cell), testo(Email), QDate::fromJulianDay(riga.giorno),
            testo(Nota), riga.impronta};
}

qsizetype ElencoPromemoria::indice(qint64 id) const
{
    const auto trovata = std::find_if(righe_.begin(), righe_.end(), [id](const Riga& riga) { return riga.id == id; });
    return trovata == righe_.end() ? -1 : qsizetype(trovata - righe_.begin());
}

namespace {

using Riga = ElencoPromemoria::Riga;
using Testi = ElencoPromemoria::Testi;

// Orders the rows by date, then by name in the Italian order, as a sorted statement would,
// with the key settling equal names. Each distinct name is ranked once: comparing through
// the collator row by row would take seconds on a long agenda.
void ordina(std::vector<Riga>& righe, const Testi& testi)
{
    QHash<QByteArrayView, qint32> distinti;
    std::vector<QByteArrayView> nomi;
    for (Riga& riga : righe) {
        const QByteArrayView nome = campo(testi.at(riga.testi), ElencoPromemoria::Nome);
        auto trovato = distinti.constFind(nome);
        if (trovato == distinti.constEnd()) {
            trovato = distinti.insert(nome, qint32(nomi.size()));
            nomi.push_back(nome);
        }
        riga.ordine = *trovato;
    }
    distinti = {};

    std::vector<QString> testiNomi;
    testiNomi.reserve(nomi.size());
    for (const QByteArrayView nome : nomi) testiNomi.push_back(QString::fromUtf8(nome));
    const std::vector<uint32_t> rango = italianRanks(std::vector<QStringView>(testiNomi.begin(), testiNomi.end()));
    for (Riga& riga : righe) riga.ordine = rango[size_t(riga.ordine)];

    std::sort(righe.begin(), righe.end(), [](const Riga& a, const Riga& b) {
        if (a.giorno != b.giorno) return a.giorno < b.giorno;
        if (a.ordine != b.ordine) return a.ordine < b.ordine;
        return a.id < b.id;
    });
}

// The days of the week starting today as month * 100 + day; one born on 29 February has
// the birthday on the 28th in other years.
QSet<int> giorniDellaSettimana(QDate oggi)
{
    QSet<int> giorni;
    for (int i = 0; i < kGiorniCompleanni; ++i) {
        const QDate giorno = oggi.addDays(i);
        giorni << giorno.month() * 100 + giorno.day();
        if (giorno.month() == 2 && giorno.day() == 28 && !QDate::isLeapYear(giorno.year())) giorni << 229;
    }
    return giorni;
}

// Which contacts one pass over the register reads: those due up to `ultimo`, and those
// born on one of `giorni` (month * 100 + day). A file keeps dates as text, yyyy-mm-dd
// (or with '/'): there the dates are compared as the text they are, not taken for
// numbers, and the month and day of birth are picked out of the text, which spares two
// conversions for every contact in the register. A server compares real dates.
QString daLeggere(QDate ultimo, const QSet<int>& giorni, Engine engine)
{
    const bool server = engine == Engine::PostgreSQL;
    QStringList nati;
    for (int giorno : giorni) {
        if (server) {
            nati << QString::number(giorno);
            continue;
        }
        const QString mese = QString::number(giorno / 100).rightJustified(2, u'0');
        const QString delGiorno = QString::number(giorno % 100).rightJustified(2, u'0');
        for (const char16_t separatore : {u'-', u'/'}) nati << u'\'' + mese + separatore + delGiorno + u'\'';
    }
    return QStringLiteral("(%1DataRicont > %2 and %1DataRicont <= %3) or %4 in (%5)")
        .arg(server ? QString() : QStringLiteral("+"), sqlData(kNessunaData), sqlData(ultimo),
             server ? QStringLiteral("Month(DataNasc) * 100 + Day(DataNasc)") : QStringLiteral("substr(DataNasc, 6, 5)"),
             nati.join(u','));
}

// The day of the week starting today on which one born on `nato` has the birthday, if any.
QDate compleannoNellaSettimana(QDate nato, QDate oggi)
{
    for (int i = 0; i < kGiorniCompleanni; ++i) {
        const QDate giorno = oggi.addDays(i);
        const bool stessoGiorno = giorno.month() == nato.month() && giorno.day() == nato.day();
        const bool bisestile = nato.month() == 2 && nato.day() == 29 && giorno.month() == 2 && giorno.day() == 28
                               && !QDate::isLeapYear(giorno.year());
        if (stessoGiorno || bisestile) return giorno;
    }
    return {};
}

// What a pass over the register looks for.
struct Richiesta {
    QDate oggi;
    QDate ultimo;         // the last day a contact is due
    QSet<int> settimana;  // the birthdays, as month * 100 + day
};

// What a pass over (part of) the register found.
struct Raccolto {
    std::shared_ptr<Testi> testi = std::make_shared<Testi>();
    std::vector<Riga> righe;
    std::vector<Compleanno> compleanni;
};

void raccogli(Connection& connection, const QString& quali, const Richiesta& richiesta, Raccolto& raccolto)
{
    RigaDiTesti riga;
    const auto promemoria = [&](qint64 id, const Letta& r) {
        const QDate data = dataDi(r.testo[kData]);
        // Text another program stored that is no date, or no date to speak of.
        if (!data.isValid() || data <= kNessunaData || data > richiesta.ultimo) return;
        riga.inizia();
        riga.aggiungi(r.testo[kCognome], r.testo[kNome]);
        riga.aggiungi(r.testo[kTelefono]);
        riga.aggiungi(r.testo[kCell]);
        riga.aggiungi(r.testo[kEmail]);
        // The first line of the comments.
        const QStringView commenti = r.testo[kCommenti];
        const qsizetype a = commenti.indexOf(u'\n'), b = commenti.indexOf(u'\r');
        const qsizetype fine = a < 0 ? b : b < 0 ? a : std::min(a, b);
        riga.aggiungi((fine < 0 ? commenti : commenti.first(fine)).trimmed());
        raccolto.righe.push_back({id, improntaDi(r), raccolto.testi->aggiungi(riga.testi()), qint32(data.toJulianDay()), 0});
    };
    const auto compleanno = [&](qint64 id, const Letta& r) {
        if (r.testo[kNascita].isEmpty()) return;
        int anno, mese, giorno;  // most are no birthday this week: told from the text alone
        if (partiIso(r.testo[kNascita], anno, mese, giorno) && !richiesta.settimana.contains(mese * 100 + giorno)) return;
        const QDate nato = dataDi(r.testo[kNascita]);
        // A birth date yet to come is a typing slip, not a birthday.
        // A birthday without a year is one all the same, at no known age.
        if (!nato.isValid() || (nato <= kNessunaData && !senzaAnno(nato)) || nato > richiesta.oggi) return;
        if (const QDate il = compleannoNellaSettimana(nato, richiesta.oggi); il.isValid())
            raccolto.compleanni.push_back({id, r.testo[kCognome] % u' ' % r.testo[kNome], r.testo[kTelefono].toString(),
                                           r.testo[kCell].toString(), r.testo[kEmail].toString(), nato, il,
                                           senzaAnno(nato) ? 0 : il.year() - nato.year()});
    };
    connection.readRows(QStringLiteral("Select %1, DataNasc from Anagrafica where %2").arg(QLatin1String(kColonne), quali),
                        [&](const RowView& r) {
                            const Letta letta(r);
                            const qint64 id = r.integer(kId);
                            promemoria(id, letta);
                            compleanno(id, letta);
                        });
}

// Birthdays by day, then name; equal names settled by the key, as everywhere else: the same
// agenda lists alike however it was read.
bool primaDi(const Compleanno& a, const Compleanno& b)
{
    if (a.giorno != b.giorno) return a.giorno < b.giorno;
    const int nome = QString::localeAwareCompare(a.nome, b.nome);
    return nome != 0 ? nome < 0 : a.id < b.id;
}

// Below this many keys a file is read by one connection: a second one would cost more
// than it saves.
constexpr qint64 kChiaviPerDue = 10000;

// Reads the contacts due and the birthdays of the week in one pass over the register.
// Birthdays have no index, so the pass is there anyway; and with many due, fetching each
// through the index on the date would jump all over the file. A long register in a file
// is read in two halves at once, each by a connection of its own, on two cores.
void leggi(Connection& connection, Agenda& agenda)
{
    const Richiesta richiesta{agenda.oggi, agenda.oggi.addDays(agenda.giorni), giorniDellaSettimana(agenda.oggi)};
    const QString quali = daLeggere(richiesta.ultimo, richiesta.settimana, connection.engine());
    Raccolto raccolto;
    qint64 chiavi = 0;
    if (connection.engine() == Engine::SQLite)
        connection.readRows(QStringLiteral("Select max(id) from Anagrafica"),
                            [&chiavi](const RowView& r) { chiavi = r.integer(0); });
    if (chiavi >= kChiaviPerDue) {
        const qint64 meta = chiavi / 2;
        const QString archivio = QStringLiteral("Provider=%1;Data Source=%2")
                                     .arg(QLatin1String(Connection::kProvider), quoteConnectionValue(connection.path()));
        auto secondaMeta = std::async(std::launch::async, [&richiesta, archivio, quali, meta] {
            Connection seconda;
            seconda.Open(archivio);
            Raccolto parte;
            raccogli(seconda, QStringLiteral("id > %1 and (%2)").arg(meta).arg(quali), richiesta, parte);
            return parte;
        });
        raccogli(connection, QStringLiteral("id <= %1 and (%2)").arg(meta).arg(quali), richiesta, raccolto);
        Raccolto parte = secondaMeta.get();
        const quint64 spostamento = raccolto.testi->accogli(std::move(*parte.testi));
        for (Riga& riga : parte.righe) riga.testi += spostamento;
        raccolto.righe.insert(raccolto.righe.end(), parte.righe.begin(), parte.righe.end());
        std::move(parte.compleanni.begin(), parte.compleanni.end(), std::back_inserter(raccolto.compleanni));
    } else {
        raccogli(connection, quali, richiesta, raccolto);
    }

    std::vector<Riga>& righe = raccolto.righe;
    ordina(righe, *raccolto.testi);
    const auto primoDel = [&righe](QDate giorno) {
        const qint64 g = giorno.toJulianDay();
        return std::partition_point(righe.begin(), righe.end(), [g](const Riga& r) { return r.giorno < g; });
    };
    const auto diOggi = primoDel(agenda.oggi), domani = primoDel(agenda.oggi.addDays(1));
    agenda.diOggi = ElencoPromemoria(raccolto.testi, std::vector<Riga>(diOggi, domani));
    agenda.prossimi = ElencoPromemoria(raccolto.testi, std::vector<Riga>(domani, righe.end()));
    righe.erase(diOggi, righe.end());  // the overdue ones, often most of them, stay where they are
    agenda.scaduti = ElencoPromemoria(raccolto.testi, std::move(righe));

    agenda.compleanni = std::move(raccolto.compleanni);
    std::sort(agenda.compleanni.begin(), agenda.compleanni.end(), primaDi);
}

}  // namespace

QString Agenda::periodo() const
{
    return QCoreApplication::translate("brenzola::Agenda", "scaduti, oggi e %1, al %2")
        .arg(giorni == 1 ? QCoreApplication::translate("brenzola::Agenda", "domani")
                         : QCoreApplication::translate("brenzola::Agenda", "i prossimi %1 giorni").arg(giorni),
             oggi.toString(Funzioni::FormatoDataMostrata()));
}

Agenda LeggiAgenda(Connection& connection, QDate oggi, int giorni)
{
    Agenda agenda;
    agenda.registro = connection.identity();
    agenda.oggi = oggi;
    agenda.giorni = giorni;
    QElapsedTimer tempo;
    tempo.start();
    leggi(connection, agenda);
    qCInfo(lcAgenda) << "read whole:" << agenda.scaduti.size() << "overdue," << agenda.diOggi.size() << "today,"
                     << agenda.prossimi.size() << "coming," << agenda.compleanni.size() << "birthdays in" << tempo.elapsed()
                     << "ms";
    return agenda;
}

bool AggiornaAgenda(Connection& connection, Agenda& agenda, const std::vector<qint64>& ids)
{
    const size_t righe = size_t(agenda.scaduti.size() + agenda.diOggi.size() + agenda.prossimi.size());
    if (ids.size() > righe / 8 + 1000) {
        qCInfo(lcAgenda) << ids.size() << "contacts changed: read whole instead";
        return false;
    }
    qCDebug(lcAgenda) << "following" << ids.size() << "changed contacts";
    const Richiesta richiesta{agenda.oggi, agenda.oggi.addDays(agenda.giorni), giorniDellaSettimana(agenda.oggi)};
    Raccolto raccolto;
    constexpr size_t kPerLettura = 500;
    for (size_t da = 0; da < ids.size(); da += kPerLettura) {
        QStringList chiavi;
        for (size_t i = da; i < std::min(ids.size(), da + kPerLettura); ++i) chiavi << QString::number(ids[i]);
        raccogli(connection, QStringLiteral("id in (%1)").arg(chiavi.join(u',')), richiesta, raccolto);
    }
    ElencoPromemoria* sezioni[] = {&agenda.scaduti, &agenda.diOggi, &agenda.prossimi};
    std::shared_ptr<Testi> testi = agenda.scaduti.testi_ ? agenda.scaduti.testi_ : std::make_shared<Testi>();
    const quint64 spostamento = testi->accogli(std::move(*raccolto.testi));
    const auto cambiato = [&ids](qint64 id) { return std::binary_search(ids.begin(), ids.end(), id); };
    for (ElencoPromemoria* sezione : sezioni) {
        sezione->testi_ = testi;
        std::erase_if(sezione->righe_, [&](const Riga& riga) { return cambiato(riga.id); });
    }
    // Each in its place: by date, then name in the Italian order, then key, as a reading sorts them.
    thread_local const ItalianOrder italiano;  // opening a collator costs more than the rest
    const auto precede = [&](const Riga& a, const Riga& b) {
        if (a.giorno != b.giorno) return a.giorno < b.giorno;
        const QByteArrayView x = campo(testi->at(a.testi), ElencoPromemoria::Nome);
        const QByteArrayView y = campo(testi->at(b.testi), ElencoPromemoria::Nome);
        const int ordine = italiano.compareUtf8(x.data(), int(x.size()), y.data(), int(y.size()));
        return ordine != 0 ? ordine < 0 : a.id < b.id;
    };
    const qint32 oggi = qint32(agenda.oggi.toJulianDay());
    for (Riga riga : raccolto.righe) {
        riga.testi += spostamento;
        std::vector<Riga>& dove = (riga.giorno < oggi    ? agenda.scaduti
                                   : riga.giorno == oggi ? agenda.diOggi
                                                         : agenda.prossimi)
                                      .righe_;
        dove.insert(std::upper_bound(dove.begin(), dove.end(), riga, precede), riga);
    }
    std::erase_if(agenda.compleanni, [&](const Compleanno& c) { return cambiato(c.id); });
    for (Compleanno& c : raccolto.compleanni)
        agenda.compleanni.insert(std::upper_bound(agenda.compleanni.begin(), agenda.compleanni.end(), c, primaDi), std::move(c));
    return true;
}

bool AgendaUrgente(Connection& connection, QDate oggi)
{
    const QString quali = QStringLiteral("Select DataRicont from Anagrafica where DataRicont > %1 and DataRicont <= %2")
                              .arg(sqlData(kNessunaData), sqlData(oggi));
    bool urgente = false;
    bool altro = false;
    const auto guarda = [&](const RowView& r) {
        const QDate data = r.isNull(0) ? QDate() : dataDi(r.text(0));
        (data.isValid() && data > kNessunaData && data <= oggi ? urgente : altro) = true;
    };
    // The index finds the first at once. Only when that one is text another program stored
    // that is no date do the rest need looking at, as the agenda looks at them.
    connection.readRows(quali + QStringLiteral(" limit 1"), guarda);
    if (urgente || !altro) return urgente;
    connection.readRows(quali, guarda);
    return urgente;
}

void Ricontatta(Connection& connection, const Promemoria& promemoria, const QDate& prossima)
{
    Recordset rs;
    rs.Open(QStringLiteral("Select %1 from Anagrafica where id =%2").arg(QLatin1String(kColonne)).arg(promemoria.id),
            &connection);
    if (rs.Eof())
        throw StoreError(StoreErrorNumber::RowNotFound,
                         QCoreApplication::translate("brenzola::Agenda", "Il contatto «%1» è stato eliminato da un altro utente.")
                             .arg(promemoria.nome.trimmed()));
    if (improntaDi(rs.StoredValues()) != promemoria.impronta)
        throw StoreError(
            StoreErrorNumber::RowChanged,
            QCoreApplication::translate("brenzola::Agenda",
                                        "Il contatto «%1» è stato modificato da un altro utente dopo che l'agenda lo ha letto.")
                .arg(promemoria.nome.trimmed()));
    rs.SetField(QStringLiteral("DataRicont"), prossima.isValid() ? QVariant(prossima) : QVariant());
    // Only if the row still holds what was just read: one statement checks and writes.
    InOperazione(connection, QStringLiteral("Fatto nell'agenda"), [&rs] { rs.Update(); });
}

}  // namespace brenzola
