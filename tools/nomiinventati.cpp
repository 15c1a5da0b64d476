#include "nomiinventati.h"

#include <QSet>
#include <QStringList>

#include <algorithm>
#include <iterator>
#include <tuple>

namespace brenzola::demo {
namespace {

const char* const kCognomiDemo[] = {
    "Rossi",     "Russo",    "Ferrari", "Esposito",   "Bianchi",   "Romano",   "Colombo", "Ricci",    "Marino",    "Greco",
    "Bruno",     "Gallo",    "Conti",   "De Luca",    "de Luca",   "Mancini",  "Costa",   "Giordano", "Rizzo",     "Lombardi",
    "Moretti",   "Barbieri", "Fontana", "Santoro",    "Mariani",   "Rinaldi",  "Caruso",  "Ferrara",  "Galli",     "Martini",
    "Leone",     "Longo",    "Gentile", "Martinelli", "Vitale",    "Lombardo", "Serra",   "Coppola",  "De Santis", "D'Angelo",
    "Marchetti", "Parisi",   "Villa",   "Conte",      "Ferraro",   "Ferri",    "Fabbri",  "Bianco",   "Marini",    "Grasso",
    "Valentini", "Messina",  "Sala",    "D'Amico",    "Dell'Orto", "Èrcoli",   "Ùbaldi",  "Zeta",     "Nicolò",    "Sanfilippo"};

// The demo's first names head the Italian ones.
const char* const kNomiItaliani[] = {
    "Mario",      "Luigi",    "Giuseppe",   "Giovanni",  "Antonio",    "Francesco", "Alessandro",    "Andrea",     "Marco",
    "Luca",       "Matteo",   "Lorenzo",    "Davide",    "Simone",     "Federico",  "Riccardo",      "Nicolò",     "Niccolò",
    "Gabriele",   "Pietro",   "Anna",       "Maria",     "Giulia",     "Francesca", "Sara",          "Laura",      "Chiara",
    "Martina",    "Giorgia",  "Alessia",    "Elena",     "Valentina",  "Silvia",    "Federica",      "Paola",      "Roberta",
    "Lucia",      "Ilaria",   "Benedetta",  "Noemi",     "Élise",      "Zoè",       "Raffaella",     "Carlotta",   "Beatrice",
    "Ludovica",   "Vittoria", "Aurora",     "Emma",      "Sofia",      "Paolo",     "Stefano",       "Roberto",    "Claudio",
    "Massimo",    "Fabio",    "Enrico",     "Carlo",     "Alberto",    "Giorgio",   "Salvatore",     "Vincenzo",   "Domenico",
    "Emanuele",   "Tommaso",  "Edoardo",    "Leonardo",  "Filippo",    "Giacomo",   "Mattia",        "Daniela",    "Cristina",
    "Monica",     "Barbara",  "Elisa",      "Serena",    "Alice",      "Greta",     "Camilla",       "Irene",      "Gianluca",
    "Pierluigi",  "Rosa",     "Teresa",     "Giovanna",  "Angela",     "Nadia",     "Ugo",           "Ivo",        "Ettore",
    "Ottavio",    "Dario",    "Elio",       "Ada",       "Olga",       "Ida",       "Ines",          "Sergio",     "Bruno",
    "Franco",     "Gianni",   "Maurizio",   "Fabrizio",  "Michele",    "Daniele",   "Diego",         "Alessio",    "Christian",
    "Cristian",   "Manuel",   "Samuele",    "Nicola",    "Raffaele",   "Gennaro",   "Ciro",          "Pasquale",   "Angelo",
    "Luciano",    "Renato",   "Umberto",    "Aldo",      "Arturo",     "Ernesto",   "Guido",         "Piero",      "Silvio",
    "Walter",     "Valerio",  "Vittorio",   "Emilio",    "Adriano",    "Cesare",    "Corrado",       "Rocco",      "Santo",
    "Saverio",    "Gaetano",  "Carmine",    "Cosimo",    "Orazio",     "Ruggero",   "Tiziano",       "Luciana",    "Patrizia",
    "Antonella",  "Manuela",  "Simona",     "Stefania",  "Rita",       "Carla",     "Marisa",        "Giuliana",   "Franca",
    "Graziella",  "Grazia",   "Loredana",   "Marina",    "Michela",    "Nicoletta", "Ornella",       "Rosanna",    "Sabrina",
    "Tiziana",    "Veronica", "Viviana",    "Arianna",   "Caterina",   "Debora",    "Eleonora",      "Erica",      "Fabiana",
    "Gloria",     "Jessica",  "Letizia",    "Lisa",      "Margherita", "Marta",     "Miriam",        "Morena",     "Rebecca",
    "Ginevra",    "Bianca",   "Matilde",    "Gaia",      "Nicole",     "Asia",      "Anita",         "Cecilia",    "Agnese",
    "Adele",      "Amalia",   "Assunta",    "Carmela",   "Concetta",   "Filomena",  "Immacolata",    "Nunzia",     "Pina",
    "Rosaria",    "Vincenza", "Agata",      "Luisa",     "Mirella",    "Piera",     "Sonia",         "Tina",       "Lia",
    "Livia",      "Licia",    "Giada",      "Vanessa",   "Ester",      "Liliana",   "Lorena",        "Ottavia",    "Emanuela",
    "Gabriella",  "Isabella", "Mattea",     "Vera",      "Iolanda",    "Albertina", "Fiorella",      "Lucrezia",   "Violetta",
    "Annalisa",   "Annarita", "Gianfranco", "Gianpaolo", "Giancarlo",  "Pierpaolo", "Pierfrancesco", "Mariangela", "Mariarosa",
    "Marialuisa", "Maurilio", "Fiorenzo",   "Gualtiero", "Ilario",     "Lino",      "Nello",         "Oreste",     "Osvaldo",
    "Primo",      "Remo",     "Sandro",     "Tullio",    "Ezio",       "Italo",     "Attilio",       "Benito",     "Bernardo",
    "Biagio",     "Calogero", "Carmelo",    "Crescenzo", "Egidio",     "Eugenio",   "Fausto",        "Felice",     "Ferdinando",
    "Gerardo",    "Gino",     "Graziano",   "Ignazio",   "Lamberto",   "Leandro",   "Marcello",      "Mauro",      "Nazareno",
    "Omar",       "Oscar",    "Raimondo",   "Rodolfo",   "Romano",     "Rosario",   "Sebastiano",    "Teodoro",    "Valentino",
    "Zaccaria"};
const char* const kNomiStranieri[] = {
    "Mohamed", "Ahmed",    "Fatima",   "Aisha",    "Youssef", "Omar",   "Ali",       "Hassan",   "Karim",     "Leila",
    "Yasmine", "Ion",      "Elena",    "Andrei",   "Mihai",   "Ioana",  "Alexandru", "Daniel",   "Adrian",    "Olena",
    "Olga",    "Natalia",  "Svetlana", "Ivan",     "Dmitri",  "Sergei", "Anastasia", "Piotr",    "Katarzyna", "Agnieszka",
    "Tomasz",  "Wojciech", "Zoë",      "José",     "María",   "Juan",   "Carlos",    "Lucía",    "Javier",    "Ana",
    "João",    "Inês",     "Gonçalo",  "Jean",     "Pierre",  "Marie",  "Hélène",    "François", "Chloé",     "Noël",
    "Thomas",  "Anne",     "Hans",     "Jürgen",   "Jörg",    "Günter", "Uwe",       "Sabine",   "Ursula",    "Klaus",
    "John",    "Michael",  "David",    "James",    "Sarah",   "Emily",  "Kevin",     "Brian",    "Siobhán",   "Seán",
    "Wei",     "Li",       "Jing",     "Xiaoming", "Mei",     "Minh",   "Thi",       "Huong",    "Anh",       "Priya",
    "Raj",     "Arjun",    "Deepak",   "Sunita",   "Björn",   "Åsa",    "Søren",     "Ørjan",    "Ingrid",    "Sigrid",
    "Nils",    "Kemal",    "Ayşe",     "Emre",     "Mehmet",  "Zeynep", "Blerta",    "Arben",    "Edona",     "Kwame",
    "Amadou",  "Fatou",    "Moussa",   "Aminata",  "Chidi",   "Ngozi"};

// Real double names are built from these: "Maria Grazia", "Gian Marco", "Pier Paolo".
const char* const kPrimiFemminili[] = {"Maria", "Anna", "Rosa", "Lucia", "Paola", "Carla"};
const char* const kPrimiMaschili[] = {"Gian", "Pier", "Giovanni", "Carlo", "Luigi", "Angelo"};
const char* const kDiminutiviFemminili[] = {"ina", "etta", "uccia", "ella", "uzza", "iella"};
const char* const kDiminutiviMaschili[] = {"ino", "etto", "uccio", "ello", "uzzo", "iello"};

const char* const kCognomiStranieri[] = {
    "Müller",      "Schmidt",   "Schneider",    "Fischer",   "Weber",     "Meyer",      "Wagner",    "Becker",       "Hoffmann",
    "Schäfer",     "Koch",      "Bauer",        "Richter",   "Klein",     "Wolf",       "Schröder",  "Neumann",      "Schwarz",
    "Krüger",      "Huber",     "Gruber",       "Köhler",    "O'Brien",   "O'Connor",   "O'Neill",   "Smith",        "Johnson",
    "Williams",    "Brown",     "Taylor",       "Wilson",    "MacDonald", "García",     "Fernández", "González",     "Rodríguez",
    "López",       "Martínez",  "Sánchez",      "Pérez",     "Gómez",     "Jiménez",    "Muñoz",     "Álvarez",      "Gutiérrez",
    "Peña",        "Dubois",    "Durand",       "Lefèvre",   "Moreau",    "Laurent",    "Girard",    "Bonnet",       "François",
    "Mercier",     "Nguyen",    "Tran",         "Pham",      "Wang",      "Li",         "Zhang",     "Liu",          "Chen",
    "Yang",        "Huang",     "Zhao",         "Kowalski",  "Nowak",     "Wiśniewski", "Wójcik",    "Kowalczyk",    "Kamiński",
    "Lewandowski", "Zieliński", "Popescu",      "Ionescu",   "Popa",      "Ødegaard",   "Hansen",    "Johansen",     "Olsen",
    "Larsen",      "Nielsen",   "Jensen",       "Andersson", "Johansson", "Karlsson",   "Virtanen",  "Korhonen",     "Mäkinen",
    "Silva",       "Santos",    "Ferreira",     "Pereira",   "Oliveira",  "Rodrigues",  "Gonçalves", "Horvat",       "Kovačević",
    "Novak",       "Dvořák",    "Svoboda",      "Nagy",      "Kovács",    "Szabó",      "Tóth",      "Papadopoulos", "Yılmaz",
    "Kaya",        "Demir",     "Şahin",        "Çelik",     "Ivanov",    "Petrov",     "Smirnov",   "Hoxha",        "Shehu",
    "Kaur",        "Singh",     "Patel",        "Kumar",     "Mohamed",   "Ahmed",      "Hassan",    "Diallo",       "Traoré",
    "Ndiaye",      "Diop",      "Van der Berg", "van Dijk",  "de Jong",   "Janssens",   "Peeters",   "Øberg",        "Ström"};

// The letters of an invented surname: a start, a vowel, middles each a consonant group and
// a vowel, and an ending. Starts and groups are consonants only and vowels single, so the
// surname splits back into its parts one way only: different numbers, different surnames.
const char* const kInizi[] = {"",  "B", "C",  "D",  "F",  "G",  "L",  "M",  "N",  "P",  "R",  "S",  "T",
                              "V", "Z", "Br", "Tr", "Gr", "St", "Ch", "Sc", "Pr", "Fr", "Cr", "Bl", "Pl"};
const char* const kVocali[] = {"a", "e", "i", "o", "u"};
const char* const kGruppi[] = {"l",  "n",  "r",  "s",  "t",  "ll", "nn", "rr", "ss", "tt", "zz", "cc", "nd", "nt", "rt",
                               "rd", "sc", "ch", "gn", "lt", "st", "mb", "v",  "d",  "g",  "m",  "p",  "b",  "c",  "z"};
const char* const kFinali[] = {"tti", "lli", "ni",  "ri",  "si",  "zzi", "cci", "ssi", "no",  "lo",  "ro",  "to",
                               "llo", "tto", "nna", "ssa", "ra",  "na",  "te",  "ne",  "le",  "de",  "di",  "chi",
                               "ghi", "sco", "sca", "ndo", "nte", "nti", "rdi", "rti", "lti", "ppi", "ggi", "gno"};

template <typename Array> constexpr quint64 quanti(const Array& array) { return quint64(std::size(array)); }

// A bijection of the number's low 20 bits, so that neighbouring numbers look unrelated while
// numbers below a million still make short surnames.
quint64 rimescola(quint64 numero)
{
    constexpr quint64 maschera = (1ULL << 20) - 1;
    quint64 x = numero & maschera;
    x = (x * 0x9E3B5ULL) & maschera;
    x ^= x >> 11;
    x = (x * 0x5BD1FULL) & maschera;
    x ^= x >> 9;
    return (numero & ~maschera) | x;
}

QChar accentata(QChar vocale)
{
    switch (vocale.unicode()) {
    case u'a':
        return u'à';
    case u'e':
        return u'è';
    case u'i':
        return u'ì';
    case u'o':
        return u'ò';
    case u'u':
        return u'ù';
    case u'E':
        return u'È';
    case u'U':
        return u'Ù';
    default:
        return vocale;
    }
}

std::vector<Voce> voci(const QStringList& testi)
{
    std::vector<Voce> fatte;
    fatte.reserve(size_t(testi.size()));
    for (const QString& testo : testi) fatte.push_back(voce(testo));
    return fatte;
}

QStringList nomiRealistici()
{
    QStringList nomi;
    QSet<QString> visti;
    const auto aggiungi = [&](const QString& nome) {
        if (!visti.contains(nome)) {
            visti.insert(nome);
            nomi << nome;
        }
    };
    // Variants and double names of the Italian ones, as women's (-a) and men's (-o) names.
    QStringList femminili, maschili;
    for (const char* nome : kNomiItaliani) {
        const QString testo = QString::fromUtf8(nome);
        aggiungi(testo);
        if (testo.endsWith(u'a'))
            femminili << testo;
        else if (testo.endsWith(u'o'))
            maschili << testo;
    }
    for (const char* nome : kNomiStranieri) aggiungi(QString::fromUtf8(nome));
    static_assert(std::size(kPrimiFemminili) == std::size(kPrimiMaschili));
    static_assert(std::size(kDiminutiviFemminili) == std::size(kDiminutiviMaschili));
    for (const auto& [primi, secondi, diminutivi] : {std::tuple(kPrimiFemminili, &femminili, kDiminutiviFemminili),
                                                     std::tuple(kPrimiMaschili, &maschili, kDiminutiviMaschili)}) {
        for (size_t p = 0; p < std::size(kPrimiFemminili); ++p) {
            const QString primo = QString::fromUtf8(primi[p]);
            for (const QString& secondo : secondi->mid(0, 60))
                if (!secondo.startsWith(primo)) aggiungi(primo + u' ' + secondo);
        }
        for (const QString& nome : *secondi)
            for (size_t d = 0; d < std::size(kDiminutiviFemminili); ++d) aggiungi(nome.chopped(1) + QLatin1String(diminutivi[d]));
    }
    return nomi;
}

}  // namespace

quint64 mescola(quint64 x)
{
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

Voce voce(const QString& testo)
{
    QString email = testo.toLower();
    email.remove(u' ').remove(u'\'');
    return {testo, email};
}

RangoZipf::RangoZipf(int ranghi)
{
    cumulati_.reserve(size_t(ranghi));
    quint64 totale = 0;
    for (int r = 0; r < ranghi; ++r) cumulati_.push_back(totale += (1ULL << 40) / quint64(r + 1));
}

int RangoZipf::estrai(Sequenza& seq) const
{
    const quint64 punto = seq.next() % cumulati_.back();
    return int(std::upper_bound(cumulati_.begin(), cumulati_.end(), punto) - cumulati_.begin());
}

QString CognomeInventato(quint64 numero)
{
    quint64 n = rimescola(numero);
    QString cognome;
    const quint64 finale = n % quanti(kFinali);
    n /= quanti(kFinali);
    const quint64 inizio = n % quanti(kInizi);
    cognome += QLatin1String(kInizi[inizio]);
    n /= quanti(kInizi);
    cognome += QLatin1String(kVocali[n % quanti(kVocali)]);
    n /= quanti(kVocali);
    // The middles count in bijective numeration: every number has exactly one spelling.
    // Each is turned by what came before it, or the last would mostly be the first middle.
    constexpr quint64 medi = quanti(kGruppi) * quanti(kVocali);
    quint64 giro = finale * 41 + inizio * 17;
    while (n > 0) {
        --n;
        const quint64 medio = (n + giro) % medi;
        giro = giro * 7 + medio;
        cognome += QLatin1String(kGruppi[medio % quanti(kGruppi)]);
        cognome += QLatin1String(kVocali[medio / quanti(kGruppi)]);
        n /= medi;
    }
    cognome += QLatin1String(kFinali[finale]);
    cognome[0] = cognome[0].toUpper();

    // Decorations that leave the letters underneath alone: particles end in a space or an
    // apostrophe, which the invented letters never hold.
    const quint64 h = mescola(numero);
    const int scelta = int(h % 100);
    const bool vocale = QStringLiteral("AEIOU").contains(cognome[0]);
    if ((h >> 8) % 100 < 3) cognome.back() = accentata(cognome.back());
    if (scelta < 4)
        cognome.prepend(QStringLiteral("De "));
    else if (scelta < 6)
        cognome.prepend(QStringLiteral("Di "));
    else if (scelta < 7)
        cognome.prepend(QStringLiteral("Lo "));
    else if (scelta < 8)
        cognome.prepend(QStringLiteral("La "));
    else if (scelta < 9)
        cognome.prepend(QStringLiteral("de "));
    else if (scelta < 16 && vocale)
        cognome.prepend(QStringLiteral("D'"));
    else if (scelta < 19 && vocale)
        cognome.prepend(QStringLiteral("Dell'"));
    else if (scelta < 40 && vocale)
        cognome[0] = accentata(cognome[0]);
    return cognome;
}

const std::vector<Voce>& CognomiDemo()
{
    static const std::vector<Voce> cognomi = [] {
        QStringList testi;
        for (const char* cognome : kCognomiDemo) testi << QString::fromUtf8(cognome);
        return voci(testi);
    }();
    return cognomi;
}

const std::vector<Voce>& NomiDemo()
{
    static const std::vector<Voce> nomi = [] {
        QStringList testi;
        for (size_t i = 0; i < 50; ++i) testi << QString::fromUtf8(kNomiItaliani[i]);
        return voci(testi);
    }();
    return nomi;
}

CognomiRealistici::CognomiRealistici() : ranghi_(kRanghi), fatti_(size_t(kRanghi)) {}

const Voce& CognomiRealistici::estrai(Sequenza& seq)
{
    const int rango = ranghi_.estrai(seq);
    Voce& fatto = fatti_[size_t(rango)];
    if (!fatto.testo.isEmpty()) return fatto;
    const std::vector<Voce>& comuni = CognomiDemo();
    // The foreign surnames fall among the common ranks, a few hundred apart.
    constexpr int primoStraniero = 100, passo = 97;
    const int straniero = (rango - primoStraniero) / passo;
    if (rango < int(comuni.size()))
        fatto = comuni[size_t(rango)];
    else if (rango >= primoStraniero && (rango - primoStraniero) % passo == 0 && straniero < int(std::size(kCognomiStranieri)))
        fatto = voce(QString::fromUtf8(kCognomiStranieri[straniero]));
    else if (const quint64 h = mescola(quint64(rango) ^ 0xD0991E); h % 100 < 3)
        fatto = voce(CognomeInventato(quint64(rango)) + u' ' + comuni[(h >> 8) % comuni.size()].testo);
    else
        fatto = voce(CognomeInventato(quint64(rango)));
    return fatto;
}

NomiRealistici::NomiRealistici() : nomi_(voci(nomiRealistici())), ranghi_(int(nomi_.size())) {}

}  // namespace brenzola::demo
