#include "contattivari.h"

#include "store/connection.h"
#include "store/funzioni.h"
#include "store/sqlerror.h"
#if __has_include("store/giornale.h")
#include "store/giornale.h"
#endif

#include <QDate>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include <cmath>
#include <iterator>
#include <optional>

namespace brenzola::bench {
namespace {

// splitmix64: the same numbers everywhere.
quint64 mescola(quint64 x)
{
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

class Sequenza {
public:
    explicit Sequenza(quint64 seed) : state_(seed) {}
    quint64 next() { return mescola(state_++ * 0x2545F4914F6CDD1DULL); }
    int below(int n) { return int(next() % quint64(n)); }
    double unit() { return double(next() >> 11) / double(1ULL << 53); }
    bool chance(int percent) { return below(100) < percent; }
    template <typename List> const auto& pick(const List& list) { return list[below(int(std::size(list)))]; }
    QVariant dateOrNull(int percentNull, int fromYear, int toYear)
    {
        if (chance(percentNull)) return {};
        const QDate first(fromYear, 1, 1);
        return first.addDays(below(int(first.daysTo(QDate(toYear, 12, 31))) + 1)).toString(QStringLiteral("yyyy-MM-dd"));
    }

private:
    quint64 state_;
};

// The most common surnames, as in the demo data, head the ranking.
const QStringList kComuni = {
    "Rossi",     "Russo",    "Ferrari", "Esposito",   "Bianchi",   "Romano",   "Colombo", "Ricci",    "Marino",    "Greco",
    "Bruno",     "Gallo",    "Conti",   "De Luca",    "de Luca",   "Mancini",  "Costa",   "Giordano", "Rizzo",     "Lombardi",
    "Moretti",   "Barbieri", "Fontana", "Santoro",    "Mariani",   "Rinaldi",  "Caruso",  "Ferrara",  "Galli",     "Martini",
    "Leone",     "Longo",    "Gentile", "Martinelli", "Vitale",    "Lombardo", "Serra",   "Coppola",  "De Santis", "D'Angelo",
    "Marchetti", "Parisi",   "Villa",   "Conte",      "Ferraro",   "Ferri",    "Fabbri",  "Bianco",   "Marini",    "Grasso",
    "Valentini", "Messina",  "Sala",    "D'Amico",    "Dell'Orto", "Èrcoli",   "Ùbaldi",  "Zeta",     "Nicolò",    "Sanfilippo"};

const char* const kAttacchi[] = {"b", "c",  "d",  "f",  "g",  "l",  "m",  "n",  "p",  "r",  "s",  "t",  "v",
                                 "z", "br", "tr", "gr", "st", "ch", "gh", "sc", "pr", "fr", "cr", "gi", "ci"};
const char* const kVocali[] = {"a", "e", "i", "o", "u", "a", "o", "i"};
const char* const kMezzo[] = {"",   "",   "",   "l",  "n",  "r",  "s",  "t",  "ll", "nn",
                              "rr", "ss", "tt", "zz", "cc", "nd", "nt", "rt", "rd", "sc"};
const char* const kFinali[] = {"i",   "o",   "a",    "e",    "ini", "etti", "elli", "one", "ucci", "azzi", "ari", "esi",
                               "ano", "ese", "otti", "ieri", "ato", "ello", "ale",  "ino", "ò",    "à",    "ì"};

const QStringList kNomi = {
    "Mario",     "Luigi",        "Giuseppe",   "Giovanni",   "Antonio",   "Francesco", "Alessandro", "Andrea",   "Marco",
    "Luca",      "Matteo",       "Lorenzo",    "Davide",     "Simone",    "Federico",  "Riccardo",   "Nicolò",   "Niccolò",
    "Gabriele",  "Pietro",       "Anna",       "Maria",      "Giulia",    "Francesca", "Sara",       "Laura",    "Chiara",
    "Martina",   "Giorgia",      "Alessia",    "Elena",      "Valentina", "Silvia",    "Federica",   "Paola",    "Roberta",
    "Lucia",     "Ilaria",       "Benedetta",  "Noemi",      "Élise",     "Zoè",       "Raffaella",  "Carlotta", "Beatrice",
    "Ludovica",  "Vittoria",     "Aurora",     "Emma",       "Sofia",     "Paolo",     "Stefano",    "Roberto",  "Claudio",
    "Massimo",   "Fabio",        "Enrico",     "Carlo",      "Alberto",   "Giorgio",   "Salvatore",  "Vincenzo", "Domenico",
    "Emanuele",  "Tommaso",      "Edoardo",    "Leonardo",   "Filippo",   "Giacomo",   "Mattia",     "Daniela",  "Cristina",
    "Monica",    "Barbara",      "Elisa",      "Serena",     "Alice",     "Greta",     "Camilla",    "Irene",    "Gianluca",
    "Pierluigi", "Maria Grazia", "Anna Maria", "Gian Marco", "Rosa",      "Teresa",    "Giovanna",   "Angela",   "Nadia",
    "Ugo",       "Ivo",          "Ettore",     "Ottavio",    "Dario",     "Elio",      "Ada",        "Olga",     "Ida",
    "Ines"};

struct Citta {
    const char* nome;
    const char* prov;
    const char* cap;
};
const Citta kCitta[] = {
    {"Milano", "MI", "20121"},   {"Roma", "RM", "00184"},     {"Napoli", "NA", "80133"},  {"Torino", "TO", "10121"},
    {"Forlì", "FC", "47121"},    {"Cantù", "CO", "22063"},    {"Aosta", "AO", "11100"},   {"Bologna", "BO", "40121"},
    {"Firenze", "FI", "50122"},  {"L'Aquila", "AQ", "67100"}, {"Genova", "GE", "16121"},  {"Palermo", "PA", "90133"},
    {"Bari", "BA", "70122"},     {"Verona", "VR", "37121"},   {"Sanremo", "IM", "18038"}, {"Città di Castello", "PG", "06012"},
    {"Cagliari", "CA", "09124"}, {"Trento", "TN", "38122"},   {"Lecce", "LE", "73100"},   {"Udine", "UD", "33100"}};
const QStringList kVie = {"Via Roma",     "Via Garibaldi", "Corso Italia",     "Piazza Duomo",   "Via dell'Indipendenza",
                          "Viale Europa", "Via Mazzini",   "Via XX Settembre", "Vicolo Stretto", "Via Cavour"};
const QStringList kTipi = {"Cliente", "Fornitore", "Privato", "Azienda", "Collaboratore", ""};
const QStringList kFonti = {"Passaparola", "Internet", "Fiera", "Giornale", "Telefonata", ""};
const QStringList kCommenti = {"",
                               "",
                               "",
                               "Richiamare dopo le 18.",
                               "Interessato all'offerta di primavera.",
                               "Preferisce essere contattato via e-mail.\nNon chiamare il sabato.",
                               "Sconto del 10% concordato.",
                               "Conosciuto alla fiera di Forlì; ha chiesto il listino."};

QString cifre(Sequenza& seq, int count)
{
    QString text;
    for (int i = 0; i < count; ++i) text += QChar(u'0' + seq.below(10));
    return text;
}

constexpr int kRighePerIstruzione = 100;

QString inserimento(int righe)
{
    QStringList valori;
    for (int i = 0; i < righe; ++i) valori << QStringLiteral("(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
    return QStringLiteral(
               "INSERT INTO Anagrafica (Cognome, Nome, DataIn, TipoRef, Prov, Citta, Indirizzo, Cap, Email, "
               "Telefono, Cell, DataNasc, Fonte, DataRicont, Commenti) VALUES ")
           + valori.join(u',');
}

}  // namespace

QString CognomeVario(quint64 rank)
{
    if (rank < quint64(kComuni.size())) return kComuni[int(rank)];
    Sequenza seq(mescola(rank));
    QString cognome;
    const int sillabe = 2 + seq.below(2);
    for (int s = 0; s < sillabe; ++s) {
        // Some start with a vowel (Esposito, Alberti).
        if (!(s == 0 && seq.chance(12))) cognome += QLatin1String(seq.pick(kAttacchi));
        cognome += QLatin1String(seq.pick(kVocali));
        if (s + 1 < sillabe) cognome += QLatin1String(seq.pick(kMezzo));
    }
    cognome += QString::fromUtf8(seq.pick(kFinali));
    cognome[0] = cognome[0].toUpper();
    const int particella = seq.below(100);
    const bool vocale = QStringLiteral("AEIOU").contains(cognome[0]);
    if (particella < 4)
        cognome.prepend(QStringLiteral("De "));
    else if (particella < 6)
        cognome.prepend(QStringLiteral("Di "));
    else if (particella < 7)
        cognome.prepend(QStringLiteral("Lo "));
    else if (particella < 8)
        cognome.prepend(QStringLiteral("La "));
    else if (particella < 9)
        cognome.prepend(QStringLiteral("de "));
    else if (particella < 12 && vocale)
        cognome.prepend(QStringLiteral("D'"));
    else if (particella < 13 && vocale)
        cognome.prepend(QStringLiteral("Dell'"));
    return cognome;
}

void AggiungiContattiVari(const QString& archivio, int count, quint64 seed)
{
    Connection connection;
    connection.Open(Funzioni::StringaConnessionePer(archivio));
    QSqlDatabase db = connection.database();
#if __has_include("store/giornale.h")
    std::optional<Operazione> operazione;
    operazione.emplace(connection, QStringLiteral("Contatti vari: %1").arg(count));
#else
    connection.BeginTrans();
#endif
    try {
        QSqlQuery piena(db);
        piena.prepare(inserimento(kRighePerIstruzione));
        Sequenza seq(seed);
        // Ranks drawn from a skewed distribution over half as many surnames as contacts:
        // a few very common, most rare (about 375,000 distinct at a million).
        const double pool = std::max(1000.0, count * 0.5);
        std::vector<QVariant> valori;
        valori.reserve(15 * kRighePerIstruzione);
        const auto scrivi = [&](QSqlQuery& query) {
            for (const QVariant& v : valori) query.addBindValue(v);
            if (!query.exec()) throw storeErrorFrom(query);
            valori.clear();
        };
        for (int i = 0; i < count; ++i) {
            const quint64 rank = seq.chance(10) ? quint64(seq.below(int(kComuni.size())))
                                                : quint64(kComuni.size()) + quint64(pool * std::pow(seq.unit(), 2.0));
            const QString cognome = CognomeVario(rank);
            const QVariant nome = seq.chance(4) ? QVariant() : QVariant(seq.pick(kNomi));
            const Citta& citta = kCitta[seq.below(int(std::size(kCitta)))];
            QString email = (nome.isNull() ? QStringLiteral("info") : nome.toString().toLower()) + u'.' + cognome.toLower();
            email.remove(u' ').remove(u'\'');
            valori.push_back(cognome);
            valori.push_back(nome);
            valori.push_back(seq.dateOrNull(10, 2000, 2026));
            valori.push_back(seq.pick(kTipi));
            valori.push_back(QString::fromLatin1(citta.prov));
            valori.push_back(QString::fromUtf8(citta.nome));
            valori.push_back(QStringLiteral("%1 %2").arg(seq.pick(kVie)).arg(1 + seq.below(200)));
            valori.push_back(QString::fromLatin1(citta.cap));
            valori.push_back(seq.chance(20) ? QString() : email + QStringLiteral("@esempio.example"));
            valori.push_back(QStringLiteral("0%1 %2").arg(1 + seq.below(99)).arg(cifre(seq, 6)));
            valori.push_back(seq.chance(30) ? QString() : QStringLiteral("3%1 %2").arg(cifre(seq, 2), cifre(seq, 7)));
            valori.push_back(seq.dateOrNull(15, 1940, 2005));
            valori.push_back(seq.pick(kFonti));
            valori.push_back(seq.dateOrNull(40, 2026, 2027));
            valori.push_back(seq.pick(kCommenti));
            if (valori.size() == size_t(15 * kRighePerIstruzione)) scrivi(piena);
        }
        if (!valori.empty()) {
            QSqlQuery resto(db);
            resto.prepare(inserimento(int(valori.size() / 15)));
            scrivi(resto);
        }
    } catch (...) {
#if !__has_include("store/giornale.h")
        connection.RollbackTrans();
#endif
        throw;
    }
#if __has_include("store/giornale.h")
    operazione->Concludi();
#else
    connection.CommitTrans();
#endif
}

}  // namespace brenzola::bench
