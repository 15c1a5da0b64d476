#include "demodata.h"

#include "store/connection.h"
#include "store/funzioni.h"
#include "store/giornale.h"
#include "store/sqlerror.h"

#include <QDate>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace brenzola {
namespace {

const QStringList kCognomi = {
    "Rossi",     "Russo",    "Ferrari", "Esposito",   "Bianchi",   "Romano",   "Colombo", "Ricci",    "Marino",    "Greco",
    "Bruno",     "Gallo",    "Conti",   "De Luca",    "de Luca",   "Mancini",  "Costa",   "Giordano", "Rizzo",     "Lombardi",
    "Moretti",   "Barbieri", "Fontana", "Santoro",    "Mariani",   "Rinaldi",  "Caruso",  "Ferrara",  "Galli",     "Martini",
    "Leone",     "Longo",    "Gentile", "Martinelli", "Vitale",    "Lombardo", "Serra",   "Coppola",  "De Santis", "D'Angelo",
    "Marchetti", "Parisi",   "Villa",   "Conte",      "Ferraro",   "Ferri",    "Fabbri",  "Bianco",   "Marini",    "Grasso",
    "Valentini", "Messina",  "Sala",    "D'Amico",    "Dell'Orto", "Èrcoli",   "Ùbaldi",  "Zeta",     "Nicolò",    "Sanfilippo"};

const QStringList kNomi = {
    "Mario",  "Luigi",     "Giuseppe",  "Giovanni",  "Antonio",  "Francesco", "Alessandro", "Andrea",  "Marco",     "Luca",
    "Matteo", "Lorenzo",   "Davide",    "Simone",    "Federico", "Riccardo",  "Nicolò",     "Niccolò", "Gabriele",  "Pietro",
    "Anna",   "Maria",     "Giulia",    "Francesca", "Sara",     "Laura",     "Chiara",     "Martina", "Giorgia",   "Alessia",
    "Elena",  "Valentina", "Silvia",    "Federica",  "Paola",    "Roberta",   "Lucia",      "Ilaria",  "Benedetta", "Noemi",
    "Élise",  "Zoè",       "Raffaella", "Carlotta",  "Beatrice", "Ludovica",  "Vittoria",   "Aurora",  "Emma",      "Sofia"};

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

const QStringList kVie = {"Via Roma",     "Via Garibaldi", "Corso Italia",     "Piazza Duomo",   "Via dell'Indipendenza",
                          "Viale Europa", "Via Mazzini",   "Via XX Settembre", "Vicolo Stretto", "Via Cavour"};
const QStringList kTipi = {"Cliente", "Fornitore", "Privato", "Azienda", "Collaboratore", ""};
const QStringList kFonti = {"Passaparola", "Internet", "Fiera", "Giornale", "Telefonata", ""};
const QStringList kCommenti = {"",
                               "",
                               "Richiamare dopo le 18.",
                               "Interessato all'offerta di primavera.",
                               "Preferisce essere contattato via e-mail.\nNon chiamare il sabato.",
                               "Sconto del 10% concordato.",
                               "Cliente storico: \"sempre puntuale\" nei pagamenti.",
                               "Conosciuto alla fiera di Forlì; ha chiesto il listino."};

// splitmix64: the same numbers on every platform and compiler, unlike <random>'s distributions.
class Sequenza {
public:
    explicit Sequenza(quint64 seed) : state_(seed) {}
    quint64 next()
    {
        quint64 z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int below(int n) { return int(next() % quint64(n)); }
    bool chance(int percent) { return below(100) < percent; }
    template <typename List> const auto& pick(const List& list) { return list[below(int(list.size()))]; }
    QVariant dateOrNull(int percentNull, int fromYear, int toYear)
    {
        if (chance(percentNull)) return {};
        const QDate first(fromYear, 1, 1);
        return first.addDays(below(int(first.daysTo(QDate(toYear, 12, 31))) + 1)).toString(QStringLiteral("yyyy-MM-dd"));
    }

private:
    quint64 state_;
};

QString digits(Sequenza& seq, int count)
{
    QString text;
    for (int i = 0; i < count; ++i) text += QChar(u'0' + seq.below(10));
    return text;
}

}  // namespace

void AggiungiContattiDemo(const QString& archivio, int count, quint64 seed)
{
    Connection connection;
    connection.Open(Funzioni::StringaConnessionePer(archivio));
    {
        QSqlDatabase db = connection.database();
        if (connection.engine() == Engine::SQLite) runStatement(db, QStringLiteral("PRAGMA temp_store = MEMORY"));
        {
            // One operation, which can be undone like any other.
            Operazione operazione(connection, QStringLiteral("Contatti dimostrativi: %1").arg(QuantiContatti(count)));
            QSqlQuery insert(db);
            insert.prepare(
                QStringLiteral("INSERT INTO Anagrafica (Cognome, Nome, DataIn, TipoRef, Prov, Citta, Indirizzo, Cap, Email, "
                               "Telefono, Cell, DataNasc, Fonte, DataRicont, Commenti) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
            Sequenza seq(seed);
            for (int i = 0; i < count; ++i) {
                const QString cognome = seq.pick(kCognomi);
                const QVariant nome = seq.chance(4) ? QVariant() : QVariant(seq.pick(kNomi));
                const Citta& citta = kCitta[seq.below(int(std::size(kCitta)))];
                QString email = (nome.isNull() ? QStringLiteral("info") : nome.toString().toLower()) + u'.' + cognome.toLower();
                email.remove(u' ').remove(u'\'');
                insert.addBindValue(cognome);
                insert.addBindValue(nome);
                insert.addBindValue(seq.dateOrNull(10, 2000, 2026));
                insert.addBindValue(seq.pick(kTipi));
                insert.addBindValue(QString::fromLatin1(citta.prov));
                insert.addBindValue(QString::fromUtf8(citta.nome));
                insert.addBindValue(QStringLiteral("%1 %2").arg(seq.pick(kVie)).arg(1 + seq.below(200)));
                insert.addBindValue(QString::fromLatin1(citta.cap));
                insert.addBindValue(seq.chance(20) ? QString() : email + QStringLiteral("@esempio.example"));
                insert.addBindValue(QStringLiteral("0%1 %2").arg(1 + seq.below(99)).arg(digits(seq, 6)));
                insert.addBindValue(seq.chance(30) ? QString() : QStringLiteral("3%1 %2").arg(digits(seq, 2), digits(seq, 7)));
                insert.addBindValue(seq.dateOrNull(15, 1940, 2005));
                insert.addBindValue(seq.pick(kFonti));
                insert.addBindValue(seq.dateOrNull(40, 2026, 2027));
                insert.addBindValue(seq.pick(kCommenti));
                if (!insert.exec()) throw storeErrorFrom(insert);
            }
            operazione.Concludi();
        }
    }
}

}  // namespace brenzola
