// Who is the same person: homonyms kept apart, one person written in many ways found, and
// the register's merges kept in the bin.
#include "exchange/doppioni.h"
#include "exchange/scambio.h"
#include "store/connection.h"
#include "store/cronologia.h"
#include "store/funzioni.h"
#include "store/storeddate.h"
#include "store/storeerror.h"
#include "testsupport.h"

#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace brenzola;

namespace {

using Campi = std::initializer_list<std::pair<Campo, QVariant>>;
using Chiavi = std::vector<qint64>;

Contatto contatto(Campi valori)
{
    Contatto c;
    for (const auto& [campo, valore] : valori) c[campo] = valore;
    return c;
}

Contatto persona(const QString& cognome, const QString& nome, Campi altri = {})
{
    Contatto c = contatto(altri);
    c[Campo::Cognome] = cognome;
    c[Campo::Nome] = nome;
    return c;
}

Somiglianza esito(const Contatto& a, const Contatto& b) { return confronta(a, b).esito; }

// A contact as the store holds it, by its key.
QString riga(const test::TempStore& store, qint64 id)
{
    const QStringList righe = store.dump().filter(QRegularExpression(QStringLiteral("^%1\\|").arg(id)));
    return righe.size() == 1 ? righe.front() : QString();
}

}  // namespace

class TestDoppioni : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void onePersonWrittenInManyWaysIsOne_data();
    void onePersonWrittenInManyWaysIsOne();
    void telephonesCompareHoweverWritten_data();
    void telephonesCompareHoweverWritten();
    void aFieldHoldsSeveralNumbersOrAddresses_data();
    void aFieldHoldsSeveralNumbersOrAddresses();
    void homonymsStayApart();
    void birthDatesContradictUnlessOnlyTheYearIsMissing();
    void theIndexGroupsOnlyWhoIsTheSamePerson();
    void aChainOfContactsWithoutBirthDatesJoinsNoTwoBornApart();
    void anAddressSharedByThousandsMakesNoPairs();
    void theIndexCompletesAContactMergedDuringAnImport();
    void mergedContactsGoToTheBinAndComeBack();
    void aStoreWithoutJournalMergesNothing();
};

void TestDoppioni::onePersonWrittenInManyWaysIsOne_data()
{
    QTest::addColumn<QString>("cognome1");
    QTest::addColumn<QString>("nome1");
    QTest::addColumn<QString>("cognome2");
    QTest::addColumn<QString>("nome2");
    QTest::newRow("case") << "ROSSI"
                          << "mario"
                          << "Rossi"
                          << "Mario";
    QTest::newRow("accents") << "Èrcoli"
                             << "Nicolò"
                             << "ercoli"
                             << "NICOLO";
    QTest::newRow("typographic apostrophe") << "D’Angelo"
                                            << "Lucia"
                                            << "D'Angelo"
                                            << "Lucia";
    QTest::newRow("opening quote") << "D‘Angelo"
                                   << "Lucia"
                                   << "d'angelo"
                                   << "lucia";
    QTest::newRow("backtick") << "D`Angelo"
                              << "Lucia"
                              << "D'Angelo"
                              << "Lucia";
    QTest::newRow("acute accent") << "D´Angelo"
                                  << "Lucia"
                                  << "D'Angelo"
                                  << "Lucia";
    QTest::newRow("modifier letter") << "Dʼangelo"
                                     << "Lucia"
                                     << "D'Angelo"
                                     << "Lucia";
    QTest::newRow("space after apostrophe") << "D' Angelo"
                                            << "Lucia"
                                            << "D'Angelo"
                                            << "Lucia";
    QTest::newRow("spaces around apostrophe") << "D ’ Angelo"
                                              << "Lucia"
                                              << "D'Angelo"
                                              << "Lucia";
    QTest::newRow("spacing") << "  De   Luca "
                             << "Anna\tMaria"
                             << "De Luca"
                             << "Anna Maria";
    QTest::newRow("accent and apostrophe") << "Dell’Àcqua"
                                           << "Pò"
                                           << "dell'acqua"
                                           << "PO";
}

void TestDoppioni::onePersonWrittenInManyWaysIsOne()
{
    QFETCH(QString, cognome1);
    QFETCH(QString, nome1);
    QFETCH(QString, cognome2);
    QFETCH(QString, nome2);
    const Contatto a = persona(cognome1, nome1, {{Campo::Cell, QStringLiteral("333 1234567")}});
    const Contatto b = persona(cognome2, nome2, {{Campo::Telefono, QStringLiteral("3331234567")}});
    QCOMPARE(Impronta(a).chiaveNome(), Impronta(b).chiaveNome());
    const Confronto c = confronta(a, b);
    QCOMPARE(c.esito, Somiglianza::Stesso);
    QCOMPARE(c.motivi, (QStringList{"stesso nome", "stesso telefono «333 1234567»"}));
    // Written apart, the name is still one name, but with nothing in common two contacts are two.
    QCOMPARE(esito(persona(cognome1, nome1), persona(cognome2, nome2)), Somiglianza::Diversi);
}

void TestDoppioni::telephonesCompareHoweverWritten_data()
{
    QTest::addColumn<QString>("numero");
    for (const char* numero :
         {"081 123456", "081/123456", "081-123456", "(081) 123456", "081.123456", "+39 081 123456", "0039 081 123456",
          "+39 (081) 123456", "(+39) 081/123456", "0039 081/123456", "081  123456", "  081123456  "})
        QTest::newRow(numero) << QString::fromUtf8(numero);
}

void TestDoppioni::telephonesCompareHoweverWritten()
{
    QFETCH(QString, numero);
    QCOMPARE(telefonoPiano(numero), QStringLiteral("081123456"));
    const Contatto scritto = persona(QStringLiteral("Esposito"), QStringLiteral("Ciro"), {{Campo::Telefono, numero}});
    QCOMPARE(Impronta(scritto).chiaviTelefono(), QStringList{"081123456"});
    const Contatto altro = persona(QStringLiteral("ESPOSITO"), QStringLiteral("Ciro"), {{Campo::Cell, "081 123456"}});
    QCOMPARE(esito(scritto, altro), Somiglianza::Stesso);
    QCOMPARE(confronta(altro, scritto).motivi.last(), QStringLiteral("stesso telefono «081 123456»"));
}

void TestDoppioni::aFieldHoldsSeveralNumbersOrAddresses_data()
{
    QTest::addColumn<QString>("telefono");
    QTest::addColumn<QStringList>("numeri");
    QTest::newRow("slash between numbers") << "06 123456 / 333 1234567" << QStringList{"06123456", "3331234567"};
    QTest::newRow("semicolon") << "06 123456; 333 1234567" << QStringList{"06123456", "3331234567"};
    QTest::newRow("comma") << "06 123456, 333 1234567" << QStringList{"06123456", "3331234567"};
    QTest::newRow("lines") << "06 123456\r\n333 1234567\n" << QStringList{"06123456", "3331234567"};
    QTest::newRow("area code and slash") << "06/123456/333 1234567" << QStringList{"06123456", "3331234567"};
    QTest::newRow("slash before a short ending") << "02 1234567/8" << QStringList{"0212345678"};
    QTest::newRow("international then slash") << "+39 06/123456 / +39 333 1234567" << QStringList{"06123456", "3331234567"};
    QTest::newRow("the same number twice") << "081/123456; +39 081 123456" << QStringList{"081123456"};
    QTest::newRow("too short") << "333; 12345; +39 12" << QStringList{};
    QTest::newRow("empty") << "" << QStringList{};
}

void TestDoppioni::aFieldHoldsSeveralNumbersOrAddresses()
{
    QFETCH(QString, telefono);
    QFETCH(QStringList, numeri);
    QCOMPARE(Impronta(contatto({{Campo::Telefono, telefono}})).chiaviTelefono(), numeri);
    // Cell adds its own, each number once.
    QStringList conCell = numeri;
    conCell << QStringLiteral("3479876543");
    if (!numeri.contains(QStringLiteral("06123456"))) conCell << QStringLiteral("06123456");
    QCOMPARE(Impronta(contatto({{Campo::Telefono, telefono}, {Campo::Cell, "347 9876543 / 06 123456"}})).chiaviTelefono(),
             conCell);

    QCOMPARE(
        Impronta(contatto({{Campo::Email, "Mario Rossi <Mario.Rossi@Example.IT>; info@x.it,\nmailto:a@b.it."}})).chiaviEmail(),
        (QStringList{"mario.rossi@example.it", "info@x.it", "a@b.it"}));
    QCOMPARE(Impronta(contatto({{Campo::Email, "d'angelo@x.it INFO@X.IT info@x.it"}})).chiaviEmail(),
             (QStringList{"d'angelo@x.it", "info@x.it"}));
    QCOMPARE(Impronta(contatto({{Campo::Email, "non ha e-mail"}})).chiaviEmail(), QStringList{});
    QCOMPARE(Impronta(contatto({})).chiaveNome(), QString());
    QCOMPARE(Impronta(persona(QStringLiteral(" D’Angelo "), QString())).chiaveNome(), QStringLiteral("d'angelo\x1f"));
}

void TestDoppioni::homonymsStayApart()
{
    // Three people writing from the company's address: possibly one, not the same.
    const Contatto anna = persona("Verdi", "Anna", {{Campo::Email, "info@verdi-srl.it"}});
    const Contatto marco = persona("Verdi", "Marco", {{Campo::Email, "INFO@verdi-srl.it"}, {Campo::Citta, "Lecco"}});
    const Contatto luca = persona("Neri", "Luca", {{Campo::Email, "info@verdi-srl.it"}});
    Confronto c = confronta(anna, marco);
    QCOMPARE(c.esito, Somiglianza::Possibile);
    QCOMPARE(c.motivi,
             (QStringList{"nomi diversi («Verdi Anna» e «Verdi Marco»)", "stesso indirizzo e-mail «info@verdi-srl.it»"}));
    QCOMPARE(esito(anna, luca), Somiglianza::Possibile);
    QCOMPARE(esito(luca, marco), Somiglianza::Possibile);

    // Two Bianco Francesca of different cities and birth dates: nothing makes them one.
    const Contatto roma = persona(
        "Bianco", "Francesca", {{Campo::Citta, "Roma"}, {Campo::DataNasc, QDate(1971, 5, 2)}, {Campo::Telefono, "06 1234567"}});
    const Contatto bari = persona("BIANCO", "Francesca",
                                  {{Campo::Citta, "Bari"}, {Campo::DataNasc, QDate(1988, 11, 30)}, {Campo::Cell, "06/1234567"}});
    c = confronta(roma, bari);
    QCOMPARE(c.esito, Somiglianza::Diversi);
    QVERIFY2(c.motivi.contains(QStringLiteral("date di nascita diverse")), qPrintable(c.motivi.join(u'|')));
    QVERIFY2(c.motivi.contains(QStringLiteral("stesso telefono «06 1234567»")), qPrintable(c.motivi.join(u'|')));
    // The same name and nothing in common: homonyms are common.
    c = confronta(persona("Bianco", "Francesca", {{Campo::Email, "fb@x.it"}}), persona("Bianco", "Francesca"));
    QCOMPARE(c.esito, Somiglianza::Diversi);
    QCOMPARE(c.motivi, (QStringList{"stesso nome", "nessun indirizzo e-mail né telefono in comune"}));

    // A name missing on one side, or on both, or only the first name: at most possible.
    const Contatto numero = contatto({{Campo::Telefono, "02 8645123"}});
    QCOMPARE(confronta(numero, persona("Rossi", "Mario", {{Campo::Cell, "028645123"}})).motivi.front(),
             QStringLiteral("uno dei due è senza nome"));
    QCOMPARE(esito(numero, persona("Rossi", "Mario", {{Campo::Cell, "028645123"}})), Somiglianza::Possibile);
    QCOMPARE(confronta(numero, numero).esito, Somiglianza::Possibile);
    QCOMPARE(confronta(numero, numero).motivi.front(), QStringLiteral("entrambi senza nome"));
    QCOMPARE(esito(persona("Zeta", "", {{Campo::Email, "ugo@zeta.it"}}), persona("Zeta", "Ugo", {{Campo::Email, "ugo@zeta.it"}})),
             Somiglianza::Possibile);
    QCOMPARE(esito(persona("Rossi", "Maria", {{Campo::Email, "r@x.it"}}), persona("Rossi", "Mario", {{Campo::Email, "r@x.it"}})),
             Somiglianza::Possibile);
    // A surname alone on both sides is a name that agrees.
    QCOMPARE(esito(persona("Farmacia Centrale", "", {{Campo::Telefono, "011 4332211"}}),
                   persona("farmacia  centrale", "", {{Campo::Telefono, "011/4332211"}})),
             Somiglianza::Stesso);
    // Several things in common are all said.
    c = confronta(persona("Rossi", "Mario", {{Campo::Email, "m@x.it"}, {Campo::Telefono, "02 1"}, {Campo::Cell, "333 1234567"}}),
                  persona("Rossi", "Mario", {{Campo::Email, "M@X.it"}, {Campo::Cell, "+393331234567"}}));
    QCOMPARE(c.esito, Somiglianza::Stesso);
    QCOMPARE(c.motivi, (QStringList{"stesso nome", "stesso indirizzo e-mail «m@x.it»", "stesso telefono «333 1234567»"}));
}

void TestDoppioni::birthDatesContradictUnlessOnlyTheYearIsMissing()
{
    const auto nato = [](const QVariant& data) {
        return persona("Rossi", "Mario", {{Campo::Email, "mario@x.it"}, {Campo::DataNasc, data}});
    };
    const QDate marzo(1980, 3, 15);
    QCOMPARE(esito(nato(marzo), nato(marzo)), Somiglianza::Stesso);
    QCOMPARE(esito(nato(marzo), nato(QVariant())), Somiglianza::Stesso);
    QCOMPARE(esito(nato(QString()), nato(marzo)), Somiglianza::Stesso);
    QCOMPARE(esito(nato(marzo), nato(QDate(1981, 3, 15))), Somiglianza::Diversi);
    QCOMPARE(esito(nato(QDate(kAnnoIgnoto, 3, 15)), nato(marzo)), Somiglianza::Stesso);
    QCOMPARE(esito(nato(marzo), nato(QDate(kAnnoIgnoto, 3, 16))), Somiglianza::Diversi);
    QCOMPARE(esito(nato(QDate(kAnnoIgnoto, 2, 29)), nato(QDate(kAnnoIgnoto, 2, 29))), Somiglianza::Stesso);
    // Text a store holds: read as a date when it is one, else compared as text.
    QCOMPARE(esito(nato(QStringLiteral("15/03/1980")), nato(marzo)), Somiglianza::Stesso);
    QCOMPARE(esito(nato(QStringLiteral("--0315")), nato(marzo)), Somiglianza::Stesso);
    QCOMPARE(esito(nato(QStringLiteral("primavera 1980")), nato(QStringLiteral("Primavera  1980"))), Somiglianza::Stesso);
    QCOMPARE(esito(nato(QStringLiteral("primavera 1980")), nato(marzo)), Somiglianza::Diversi);
}

void TestDoppioni::theIndexGroupsOnlyWhoIsTheSamePerson()
{
    IndiceDoppioni indice;
    // The company's address, three people.
    indice.aggiungi(1, persona("Verdi", "Anna", {{Campo::Email, "info@verdi-srl.it"}}));
    indice.aggiungi(2, persona("Verdi", "Marco", {{Campo::Email, "info@verdi-srl.it"}}));
    indice.aggiungi(3, persona("Neri", "Luca", {{Campo::Email, "Info@Verdi-Srl.it"}}));
    // One Rossi Mario written three ways, and a Rossi Maria on his number.
    indice.aggiungi(4, persona("Rossi", "Mario", {{Campo::Telefono, "02/8645123"}}));
    indice.aggiungi(5, persona("ROSSI", "mario", {{Campo::Cell, "+39 02 8645123"}, {Campo::Email, "mario@x.it"}}));
    indice.aggiungi(6, persona("Rossi", "Maria", {{Campo::Telefono, "02 8645123"}}));
    indice.aggiungi(7, persona("Rossi", "Mario", {{Campo::Email, "MARIO@x.it"}}));
    // Three Bianco Francesca on the family's number: two born on different days, one unknown.
    indice.aggiungi(8, persona("Bianco", "Francesca", {{Campo::Telefono, "06 1234567"}, {Campo::DataNasc, QDate(1971, 5, 2)}}));
    indice.aggiungi(9, persona("Bianco", "Francesca", {{Campo::Telefono, "06 1234567"}}));
    indice.aggiungi(10,
                    persona("Bianco", "Francesca", {{Campo::Telefono, "06 1234567"}, {Campo::DataNasc, QDate(1988, 11, 30)}}));
    // Homonyms with nothing in common.
    indice.aggiungi(11, persona("Esposito", "Ciro", {{Campo::Telefono, "081 111111"}}));
    indice.aggiungi(12, persona("Esposito", "Ciro", {{Campo::Telefono, "081 222222"}}));

    const Doppioni doppioni = indice.gruppi();
    QCOMPARE(doppioni.gruppi.size(), size_t(1));
    QCOMPARE(doppioni.gruppi[0].chiavi, (Chiavi{4, 5, 7}));
    QCOMPARE(doppioni.gruppi[0].legami.size(), size_t(2));
    QCOMPARE(doppioni.gruppi[0].perche(7).motivi, (QStringList{"stesso nome", "stesso indirizzo e-mail «mario@x.it»"}));
    QCOMPARE(doppioni.gruppi[0].perche(4).esito, Somiglianza::Stesso);

    QStringList possibili;
    for (const Legame& l : doppioni.possibili) {
        QCOMPARE(l.confronto.esito, Somiglianza::Possibile);
        possibili << QStringLiteral("%1-%2").arg(l.prima).arg(l.seconda);
    }
    // Maria once against Mario's group, not once per contact in it. The Bianco Francesca
    // born on an unknown day could be either of the others: she joins neither, and is
    // asked about once.
    QCOMPARE(possibili, (QStringList{"1-2", "1-3", "2-3", "4-6", "8-9"}));
    QCOMPARE(doppioni.possibili.back().confronto.motivi,
             (QStringList{"stesso nome", "stesso telefono «06 1234567»",
                          "somiglia anche a un contatto con un'altra data di nascita"}));

    // Asked about one contact: the same person, and who may be, in the order remembered.
    const Contatto mario = persona("rossi", "MARIO", {{Campo::Cell, "0039 02 8645123"}});
    QCOMPARE(indice.doppioniDi(mario), (Chiavi{4, 5}));
    const std::vector<Candidato> candidati = indice.candidati(mario);
    QCOMPARE(candidati.size(), size_t(3));
    QCOMPARE(candidati[2].chiave, qint64(6));
    QCOMPARE(candidati[2].confronto.esito, Somiglianza::Possibile);
    QCOMPARE(indice.doppioniDi(persona("Verdi", "Anna", {{Campo::Email, "info@verdi-srl.it"}})), Chiavi{1});
    QCOMPARE(indice.candidati(persona("Verdi", "Giulia", {{Campo::Email, "info@verdi-srl.it"}})).size(), size_t(3));
    QCOMPARE(indice.doppioniDi(persona("Verdi", "Giulia", {{Campo::Email, "info@verdi-srl.it"}})), Chiavi{});
    QCOMPARE(indice.doppioniDi(
                 persona("Bianco", "Francesca", {{Campo::Telefono, "06 1234567"}, {Campo::DataNasc, QDate(1971, 5, 2)}})),
             (Chiavi{8, 9}));
    const Contatto francesca = persona("Bianco", "Francesca", {{Campo::Cell, "06/1234567"}});
    QCOMPARE(indice.doppioniDi(francesca), Chiavi{});
    const std::vector<Candidato> incerti = indice.candidati(francesca);
    QCOMPARE(incerti.size(), size_t(3));
    for (const Candidato& c : incerti) {
        QCOMPARE(c.confronto.esito, Somiglianza::Possibile);
        QCOMPARE(c.confronto.motivi.last(), QStringLiteral("somiglia anche a un contatto con un'altra data di nascita"));
    }
    QVERIFY(indice.candidati(persona("Esposito", "Ciro")).empty());
    QVERIFY(IndiceDoppioni().gruppi().gruppi.empty());
}

void TestDoppioni::aChainOfContactsWithoutBirthDatesJoinsNoTwoBornApart()
{
    // Each shares a number with the next only; the first and the last were born on different days.
    IndiceDoppioni indice;
    indice.aggiungi(1, persona("Conti", "Luca", {{Campo::Telefono, "02 111111"}, {Campo::DataNasc, QDate(1960, 1, 1)}}));
    indice.aggiungi(2, persona("Conti", "Luca", {{Campo::Telefono, "02 111111"}, {Campo::Cell, "333 222222"}}));
    indice.aggiungi(3, persona("Conti", "Luca", {{Campo::Cell, "333 222222"}, {Campo::Email, "luca@conti.it"}}));
    indice.aggiungi(4, persona("Conti", "Luca", {{Campo::Email, "luca@conti.it"}, {Campo::DataNasc, QDate(1990, 1, 1)}}));
    const Doppioni doppioni = indice.gruppi();
    QCOMPARE(doppioni.gruppi.size(), size_t(1));
    QCOMPARE(doppioni.gruppi[0].chiavi, (Chiavi{1, 2, 3}));
    QCOMPARE(doppioni.possibili.size(), size_t(1));
    QCOMPARE(doppioni.possibili[0].prima, qint64(3));
    QCOMPARE(doppioni.possibili[0].seconda, qint64(4));
    QCOMPARE(doppioni.possibili[0].confronto.esito, Somiglianza::Possibile);
    // Born on the same day, written with and without the year: one person.
    indice.aggiungi(5, persona("Conti", "Luca", {{Campo::Telefono, "02 111111"}, {Campo::DataNasc, QDate(kAnnoIgnoto, 1, 1)}}));
    QCOMPARE(indice.gruppi().gruppi[0].chiavi, (Chiavi{1, 2, 3, 5}));
}

void TestDoppioni::anAddressSharedByThousandsMakesNoPairs()
{
    IndiceDoppioni indice;
    constexpr int kPersone = 3000;
    for (int i = 0; i < kPersone; ++i)
        indice.aggiungi(i + 1, persona(QStringLiteral("Persona %1").arg(i), "Anna",
                                       {{Campo::Email, "info@grande.example"}, {Campo::Telefono, "02 9999999"}}));
    indice.aggiungi(kPersone + 1, persona("Gialli", "Ugo", {{Campo::Email, "info@grande.example"}}));
    indice.aggiungi(kPersone + 2, persona("GIALLI", "ugo", {{Campo::Telefono, "02/9999999"}}));
    const Doppioni doppioni = indice.gruppi();
    QCOMPARE(doppioni.possibili.size(), size_t(0));
    QCOMPARE(doppioni.gruppi.size(), size_t(0));  // the two Gialli share nothing but among thousands
    indice.aggiungi(kPersone + 3, persona("Gialli", "Ugo", {{Campo::Cell, "02 9999999"}}));
    const Doppioni ancora = indice.gruppi();
    QCOMPARE(ancora.gruppi.size(), size_t(1));
    QCOMPARE(ancora.gruppi[0].chiavi, (Chiavi{kPersone + 2, kPersone + 3}));
    QVERIFY(indice.candidati(persona("Neri", "Ugo", {{Campo::Email, "info@grande.example"}})).empty());
    QCOMPARE(indice.doppioniDi(persona("Gialli", "Ugo", {{Campo::Email, "info@grande.example"}})), Chiavi{kPersone + 1});

    // Up to kCondivisoDa sharing one number, each pair of different names is possible.
    IndiceDoppioni famiglia;
    for (qint64 i = 1; i <= IndiceDoppioni::kCondivisoDa; ++i)
        famiglia.aggiungi(i, persona("Conti", QStringLiteral("Figlio %1").arg(i), {{Campo::Telefono, "030 123456"}}));
    const qsizetype n = IndiceDoppioni::kCondivisoDa;
    QCOMPARE(qsizetype(famiglia.gruppi().possibili.size()), n * (n - 1) / 2);

    // Thirty Rossi Mario on one address, twenty born on different days: those without a
    // birth date could be any of them, and each is asked about once, not once per homonym.
    IndiceDoppioni omonimi;
    QSet<qint64> senzaData;
    for (qint64 i = 1; i <= 30; ++i) {
        const bool datato = i % 3 != 0;
        omonimi.aggiungi(i, persona("Rossi", "Mario",
                                    {{Campo::Email, "mario.rossi@esempio.example"},
                                     {Campo::DataNasc, datato ? QVariant(QDate(1950, 1, 1).addDays(i)) : QVariant()}}));
        if (!datato) senzaData.insert(i);
    }
    const Doppioni incerti = omonimi.gruppi();
    QCOMPARE(incerti.gruppi.size(), size_t(0));
    QVERIFY(incerti.possibili.size() <= size_t(senzaData.size()));
    QSet<qint64> chiesti;
    for (const Legame& l : incerti.possibili) {
        QVERIFY(senzaData.contains(l.prima) || senzaData.contains(l.seconda));
        chiesti << l.prima << l.seconda;
    }
    for (qint64 id : senzaData) QVERIFY2(chiesti.contains(id), qPrintable(QString::number(id)));
}

void TestDoppioni::theIndexCompletesAContactMergedDuringAnImport()
{
    IndiceDoppioni indice;
    indice.aggiungi(1, persona("Rossi", "Mario", {{Campo::Telefono, "02 8645123"}}));
    // Merged with another during an import: its number and address add up, its name stays.
    indice.aggiungi(1, persona("Bianchi", "Luca", {{Campo::Email, "luca@y.it"}, {Campo::DataNasc, QDate(1970, 1, 2)}}));
    QCOMPARE(indice.doppioniDi(persona("Rossi", "Mario", {{Campo::Email, "LUCA@y.it"}})), Chiavi{1});
    QCOMPARE(indice.doppioniDi(persona("Rossi", "Mario", {{Campo::Telefono, "028645123"}})), Chiavi{1});
    QCOMPARE(indice.doppioniDi(persona("Bianchi", "Luca", {{Campo::Email, "luca@y.it"}})), Chiavi{});
    // It took the birth date it had none of.
    QCOMPARE(indice.doppioniDi(persona("Rossi", "Mario", {{Campo::Email, "luca@y.it"}, {Campo::DataNasc, QDate(1971, 1, 2)}})),
             Chiavi{});
    // One remembered without a name takes the first it is given.
    indice.aggiungi(2, contatto({{Campo::Cell, "347 1111111"}}));
    indice.aggiungi(2, persona("Neri", "Ugo", {}));
    QCOMPARE(indice.doppioniDi(persona("Neri", "Ugo", {{Campo::Cell, "3471111111"}})), Chiavi{2});
    QCOMPARE(indice.gruppi().gruppi.size(), size_t(0));
}

void TestDoppioni::mergedContactsGoToTheBinAndComeBack()
{
    test::TempStore store;
    const qint64 mario = store.insert({{"Cognome", "Rossi"}, {"Nome", "Mario"}, {"Telefono", "081/123456"}});
    const qint64 doppio = store.insert({{"Cognome", "ROSSI"},
                                        {"Nome", "mario"},
                                        {"Cell", "+39 081 123456"},
                                        {"Email", "mario@x.it"},
                                        {"DataNasc", QDate(1958, 3, 21)},
                                        {"Commenti", "Cliente dal 2001."}});
    const qint64 anna = store.insert({{"Cognome", "Verdi"}, {"Nome", "Anna"}, {"Email", "info@verdi-srl.it"}});
    const qint64 marco = store.insert({{"Cognome", "Verdi"}, {"Nome", "Marco"}, {"Email", "info@verdi-srl.it"}});
    store.insert({{"Cognome", "Bianco"},
                  {"Nome", "Francesca"},
                  {"Citta", "Roma"},
                  {"Telefono", "06 1234567"},
                  {"DataNasc", QDate(1971, 5, 2)}});
    store.insert({{"Cognome", "Bianco"},
                  {"Nome", "Francesca"},
                  {"Citta", "Bari"},
                  {"Telefono", "06 1234567"},
                  {"DataNasc", QDate(1988, 11, 30)}});
    auto connection = std::make_unique<Connection>();
    connection->Open(Funzioni::StringaConnessionePer(store.path()));

    const std::optional<Doppioni> doppioni = CercaDoppioni(*connection);
    QVERIFY(doppioni);
    QCOMPARE(doppioni->gruppi.size(), size_t(1));
    QCOMPARE(doppioni->gruppi[0].chiavi, (Chiavi{mario, doppio}));
    QCOMPARE(doppioni->gruppi[0].perche(doppio).motivi, (QStringList{"stesso nome", "stesso telefono «081/123456»"}));
    QCOMPARE(doppioni->possibili.size(), size_t(1));
    QCOMPARE(doppioni->possibili[0].prima, anna);
    QCOMPARE(doppioni->possibili[0].seconda, marco);

    const QString assorbito = riga(store, doppio);
    QVERIFY(!assorbito.isEmpty());
    Unione unione{LeggiContatto(*connection, mario), {}, {LeggiContatto(*connection, doppio)}};
    unione.risultato = unisci(unione.base, unione.assorbiti.front());
    ApplicaUnioni(*connection, {unione});
    QCOMPARE(riga(store, doppio), QString());
    QCOMPARE(LeggiContatto(*connection, mario).testo(Campo::Email), QStringLiteral("mario@x.it"));
    const std::vector<Eliminato> cestino = Cestino(*connection);
    QCOMPARE(cestino.size(), size_t(1));
    QCOMPARE(cestino.front().id, doppio);
    QCOMPARE(cestino.front().nome.simplified(), QStringLiteral("ROSSI mario"));
    QVERIFY(cestino.front().etichetta.startsWith(QStringLiteral("Unione di contatti doppi")));

    RipristinaDalCestino(*connection, {doppio});
    QCOMPARE(riga(store, doppio), assorbito);  // every value as it was, under its key
    QVERIFY(Cestino(*connection).empty());
}

void TestDoppioni::aStoreWithoutJournalMergesNothing()
{
    BRENZOLA_SOLO_FILE("a store's journal can be taken away only by hand, on a file");
    test::TempStore store;
    const qint64 primo = store.insert({{"Cognome", "Rossi"}, {"Nome", "Mario"}, {"Email", "mario@x.it"}});
    const qint64 secondo = store.insert({{"Cognome", "Rossi"}, {"Nome", "Mario"}, {"Email", "mario@x.it"}});
    // The journal taken away, and a table left in the way of adding it again.
    for (const QVariantList& trigger : store.rows(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'trigger'")))
        store.rows(QStringLiteral("DROP TRIGGER \"%1\"").arg(trigger[0].toString()));
    store.rows(QStringLiteral("DROP TABLE Giornale"));
    const QStringList prima = store.dump();
    Connection connection;
    connection.Open(Funzioni::StringaConnessionePer(store.path()));
    QVERIFY(!connection.hasJournal());

    const std::optional<Doppioni> doppioni = CercaDoppioni(connection);
    QCOMPARE(doppioni->gruppi.size(), size_t(1));
    Unione unione{LeggiContatto(connection, primo), {}, {LeggiContatto(connection, secondo)}};
    unione.risultato = unisci(unione.base, unione.assorbiti.front());
    try {
        ApplicaUnioni(connection, {unione});
        QFAIL("merged where the absorbed contact would be lost");
    } catch (const StoreError& e) {
        QCOMPARE(e.number(), StoreErrorNumber::NoJournal);
        QVERIFY2(e.description().contains(QStringLiteral("sarebbero persi")), qPrintable(e.description()));
    }
    QCOMPARE(store.dump(), prima);
}

QTEST_GUILESS_MAIN(TestDoppioni)
#include "tst_doppioni.moc"
