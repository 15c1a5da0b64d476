#include "demodata.h"

#include "nomiinventati.h"
#include "store/connection.h"
#include "store/funzioni.h"
#include "store/giornale.h"
#include "store/sqlerror.h"

#include <QDate>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include <algorithm>
#include <iterator>
#include <optional>
#include <vector>

namespace brenzola {
namespace {

using demo::Sequenza;
using demo::Voce;

struct Citta {
    const char* nome;
    const char* prov;
    const char* cap;
};

const Citta kCitta[] = {
    {"Milano", "MI", "20121"},  {"Roma", "RM", "00184"},     {"Napoli", "NA", "80133"},  {"Torino", "TO", "10121"},
    {"Forlì", "FC", "47121"},   {"Cantù", "CO", "22063"},    {"Aosta", "AO", "11100"},   {"Bologna", "BO", "40121"},
    {"Firenze", "FI", "50122"}, {"L'Aquila", "AQ", "67100"}, {"Genova", "GE", "16121"},  {"Palermo", "PA", "90133"},
    {"Bari", "BA", "70122"},    {"Verona", "VR", "37121"},   {"Sanremo", "IM", "18038"}, {"Città di Castello", "PG", "06012"}};

const char* const kVie[] = {"Via Roma",     "Via Garibaldi", "Corso Italia",     "Piazza Duomo",   "Via dell'Indipendenza",
                            "Viale Europa", "Via Mazzini",   "Via XX Settembre", "Vicolo Stretto", "Via Cavour"};
constexpr int kNumeriCivici = 200;
const char* const kTipi[] = {"Cliente", "Fornitore", "Privato", "Azienda", "Collaboratore", ""};
const char* const kFonti[] = {"Passaparola", "Internet", "Fiera", "Giornale", "Telefonata", ""};
const char* const kCommenti[] = {"",
                                 "",
                                 "Richiamare dopo le 18.",
                                 "Interessato all'offerta di primavera.",
                                 "Preferisce essere contattato via e-mail.\nNon chiamare il sabato.",
                                 "Sconto del 10% concordato.",
                                 "Cliente storico: \"sempre puntuale\" nei pagamenti.",
                                 "Conosciuto alla fiera di Forlì; ha chiesto il listino."};

template <typename Array> std::vector<QVariant> valori(const Array& testi)
{
    std::vector<QVariant> fatti;
    for (const char* testo : testi) fatti.emplace_back(QString::fromUtf8(testo));
    return fatti;
}

template <typename Lista> const QVariant& scegli(Sequenza& seq, const Lista& lista)
{
    return lista[size_t(seq.below(int(lista.size())))];
}

// The days of some years as stored ("yyyy-MM-dd"), each text made once.
class Giorni {
public:
    Giorni(int fromYear, int toYear)
    {
        for (QDate giorno(fromYear, 1, 1); giorno.year() <= toYear; giorno = giorno.addDays(1))
            giorni_.emplace_back(giorno.toString(Qt::ISODate));
    }
    QVariant oNull(Sequenza& seq, int percentNull) const { return seq.chance(percentNull) ? QVariant() : scegli(seq, giorni_); }

private:
    std::vector<QVariant> giorni_;
};

// The values a contact takes from short lists, each made once.
struct Tabelle {
    std::vector<QVariant> citta, prov, cap, indirizzi, tipi = valori(kTipi), fonti = valori(kFonti), commenti = valori(kCommenti);
    Giorni inserimento{2000, 2026}, nascita{1940, 2005}, ricontatto{2026, 2027};
    Tabelle()
    {
        for (const Citta& c : kCitta) {
            citta.emplace_back(QString::fromUtf8(c.nome));
            prov.emplace_back(QString::fromLatin1(c.prov));
            cap.emplace_back(QString::fromLatin1(c.cap));
        }
        for (const char* via : kVie)
            for (int numero = 1; numero <= kNumeriCivici; ++numero)
                indirizzi.emplace_back(QString::fromUtf8(via) + u' ' + QString::number(numero));
    }
};

// Appends `count` random digits.
void cifre(Sequenza& seq, char16_t*& fine, int count)
{
    for (int i = 0; i < count; ++i) *fine++ = char16_t(u'0' + seq.below(10));
}

// Rows of Anagrafica inserted a hundred to a statement, whose fixed cost is then paid
// once a hundred rows.
class Inserimento {
public:
    Inserimento(const QSqlDatabase& db, int righe) : query_(db), rimaste_(righe)
    {
        if (rimaste_ > 0) prepara();
    }
    // By position: addBindValue would name every value twice over.
    void aggiungi(const QVariant& valore) { query_.bindValue(posizione_++, valore); }
    void fineRiga()
    {
        if (++pronte_ < righeIstruzione_) return;
        if (!query_.exec()) throw storeErrorFrom(query_);
        rimaste_ -= pronte_;
        pronte_ = 0;
        posizione_ = 0;
        if (rimaste_ > 0 && rimaste_ < righeIstruzione_) prepara();
    }

private:
    void prepara()
    {
        righeIstruzione_ = std::min(rimaste_, kPerIstruzione);
        QString sql = QStringLiteral(
            "INSERT INTO Anagrafica (Cognome, Nome, DataIn, TipoRef, Prov, Citta, Indirizzo, Cap, Email, Telefono, Cell, "
            "DataNasc, Fonte, DataRicont, Commenti) VALUES ");
        for (int i = 0; i < righeIstruzione_; ++i)
            sql += i == 0 ? u"(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)" : u",(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)";
        if (!query_.prepare(sql)) throw storeErrorFrom(query_);
    }

    static constexpr int kPerIstruzione = 100;
    QSqlQuery query_;
    int rimaste_;
    int righeIstruzione_ = 0;
    int pronte_ = 0;
    int posizione_ = 0;
};

// Each contact's surname and first name, as the variety wants them.
class Nominativi {
public:
    explicit Nominativi(Varieta varieta) : varieta_(varieta)
    {
        if (varieta_ == Varieta::Realistica) cognomi_.emplace();
        if (varieta_ != Varieta::Demo) nomi_.emplace();
    }
    const Voce& cognome(Sequenza& seq, int indice)
    {
        switch (varieta_) {
        case Varieta::Demo:
            return demo::CognomiDemo()[size_t(seq.below(int(demo::CognomiDemo().size())))];
        case Varieta::Realistica:
            return cognomi_->estrai(seq);
        case Varieta::Distinti:
            break;
        }
        distinto_ = demo::voce(demo::CognomeInventato(quint64(indice)));
        return distinto_;
    }
    // Null for a contact without a first name.
    const Voce* nome(Sequenza& seq)
    {
        if (seq.chance(4)) return nullptr;
        if (nomi_) return &nomi_->estrai(seq);
        return &demo::NomiDemo()[size_t(seq.below(int(demo::NomiDemo().size())))];
    }

private:
    Varieta varieta_;
    std::optional<demo::CognomiRealistici> cognomi_;
    std::optional<demo::NomiRealistici> nomi_;
    Voce distinto_;
};

// One contact's fields, in the order of the statement's columns.
void aggiungiContatto(Inserimento& riga, Sequenza& seq, const Tabelle& t, const Voce& cognome, const Voce* nome)
{
    const size_t citta = size_t(seq.below(int(std::size(kCitta))));
    riga.aggiungi(cognome.testo);
    riga.aggiungi(nome ? QVariant(nome->testo) : QVariant());
    riga.aggiungi(t.inserimento.oNull(seq, 10));
    riga.aggiungi(scegli(seq, t.tipi));
    riga.aggiungi(t.prov[citta]);
    riga.aggiungi(t.citta[citta]);
    const int via = seq.below(int(std::size(kVie)));
    riga.aggiungi(t.indirizzi[size_t(via * kNumeriCivici + seq.below(kNumeriCivici))]);
    riga.aggiungi(t.cap[citta]);
    if (seq.chance(20)) {
        riga.aggiungi(QVariant());
    } else {
        static constexpr QStringView dominio = u"@esempio.example";
        const QString& primo = nome ? nome->email : QStringLiteral("info");
        QString email;
        email.reserve(primo.size() + 1 + cognome.email.size() + dominio.size());
        email.append(primo).append(u'.').append(cognome.email).append(dominio);
        riga.aggiungi(email);
    }
    char16_t testo[16];
    char16_t* fine = testo;
    *fine++ = u'0';
    const int prefisso = 1 + seq.below(99);
    if (prefisso >= 10) *fine++ = char16_t(u'0' + prefisso / 10);
    *fine++ = char16_t(u'0' + prefisso % 10);
    *fine++ = u' ';
    cifre(seq, fine, 6);
    riga.aggiungi(QString(reinterpret_cast<const QChar*>(testo), fine - testo));
    if (seq.chance(30)) {
        riga.aggiungi(QVariant());
    } else {
        fine = testo;
        *fine++ = u'3';
        // The last seven digits are drawn first, as the demo's contacts always had them.
        char16_t* seconde = fine + 3;
        cifre(seq, seconde, 7);
        cifre(seq, fine, 2);
        *fine++ = u' ';
        riga.aggiungi(QString(reinterpret_cast<const QChar*>(testo), seconde - testo));
    }
    riga.aggiungi(t.nascita.oNull(seq, 15));
    riga.aggiungi(scegli(seq, t.fonti));
    riga.aggiungi(t.ricontatto.oNull(seq, 40));
    riga.aggiungi(scegli(seq, t.commenti));
    riga.fineRiga();
}

}  // namespace

void AggiungiContattiDemo(const QString& archivio, int count, quint64 seed, Varieta varieta)
{
    Connection connection;
    connection.Open(Funzioni::StringaConnessionePer(archivio));
    {
        QSqlDatabase db = connection.database();
        if (connection.engine() == Engine::SQLite) {
            runStatement(db, QStringLiteral("PRAGMA temp_store = MEMORY"));
            // The index on the date to call again takes rows anywhere: with its pages in
            // memory a million contacts are not read back from the file page by page.
            runStatement(db, QStringLiteral("PRAGMA cache_size = -65536"));
        }
        {
            // One operation, which can be undone like any other.
            Operazione operazione(connection, QStringLiteral("Contatti dimostrativi: %1").arg(QuantiContatti(count)));
            {
                const Tabelle tabelle;
                Nominativi nominativi(varieta);
                Inserimento inserimento(db, count);
                Sequenza seq(seed);
                for (int i = 0; i < count; ++i) {
                    const Voce& cognome = nominativi.cognome(seq, i);
                    const Voce* nome = nominativi.nome(seq);
                    aggiungiContatto(inserimento, seq, tabelle, cognome, nome);
                }
            }
            operazione.Concludi();
        }
    }
}

}  // namespace brenzola
