// esporta_contatti, importa_contatti and cerca_doppioni as a batch job runs them.
#include "testsupport.h"

#include <QDate>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace brenzola;

namespace {

struct Esito {
    int stato = -1;
    QString detto;
};

Esito esegui(const char* strumento, const QStringList& argomenti)
{
    QProcess processo;
    processo.setProcessChannelMode(QProcess::MergedChannels);
    processo.start(QStringLiteral(STRUMENTI "/") + QLatin1String(strumento), argomenti);
    if (!processo.waitForFinished(60000)) return {};
    return {processo.exitCode(), QString::fromUtf8(processo.readAll())};
}

int conta(const test::TempStore& store) { return store.rows(QStringLiteral("SELECT count(*) FROM anagrafica"))[0][0].toInt(); }

}  // namespace

class TestStrumentiScambio : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void contactsGoOutAndInAndDuplicatesMerge();
    void pairsThatMayBeTwoPeopleAreListedNeverMerged();
};

void TestStrumentiScambio::contactsGoOutAndInAndDuplicatesMerge()
{
    QTemporaryDir cartella;
    test::TempStore origine(QStringLiteral("origine"));
    origine.insert(
        {{"Cognome", "Rossi"}, {"Nome", "Mario"}, {"Email", "mario.rossi@example.it"}, {"DataNasc", QDate(1958, 3, 21)}});
    origine.insert({{"Cognome", "Rossini"}, {"Nome", ""}, {"Commenti", "Due\r\nrighe"}});
    origine.insert({{"Cognome", "Zeta"}});
    const QString csv = cartella.filePath(QStringLiteral("rossi.csv"));
    Esito esito = esegui("esporta_contatti", {QStringLiteral("--cognome"), QStringLiteral("ross"), origine.path(), csv});
    QCOMPARE(esito.stato, 0);
    QCOMPARE(esito.detto, QStringLiteral("Esportati 2 contatti in %1.\n").arg(csv));

    test::TempStore destinazione(QStringLiteral("destinazione"));
    esito = esegui("importa_contatti", {csv, destinazione.path()});
    QCOMPARE(esito.stato, 0);
    QVERIFY2(esito.detto.contains(QStringLiteral("Colonna «Data Nasc.»: Data Nasc.\n")), qPrintable(esito.detto));
    QVERIFY2(esito.detto.contains(QStringLiteral("Aggiunti: 2\n")), qPrintable(esito.detto));
    QCOMPARE(destinazione.rows(QStringLiteral("SELECT nome, commenti FROM anagrafica WHERE cognome = 'Rossini'"))[0],
             (QVariantList{QStringLiteral(""), QStringLiteral("Due\r\nrighe")}));

    // An unreadable card stops the job unless the others are wanted; duplicates are skipped unless said.
    const QString iphone = QStringLiteral(BRENZOLA_DATI "/scambio/iphone-rotta.vcf");
    esito = esegui("importa_contatti", {iphone, destinazione.path()});
    QCOMPARE(esito.stato, 3);
    QVERIFY2(esito.detto.contains(QStringLiteral("riga 32: la scheda iniziata qui non ha END:VCARD")), qPrintable(esito.detto));
    QCOMPARE(conta(destinazione), 2);
    esito = esegui("importa_contatti", {QStringLiteral("--salta-illeggibili"), iphone, destinazione.path()});
    QCOMPARE(esito.stato, 0);
    QVERIFY2(esito.detto.contains(QStringLiteral("Aggiunti: 1\nUniti a contatti già presenti: 0\nNon importati: 2\n")),
             qPrintable(esito.detto));
    QVERIFY(esito.detto.contains(QStringLiteral("Dati ignorati: PHOTO (1)")));
    esito = esegui("importa_contatti", {QStringLiteral("--salta-illeggibili"), QStringLiteral("--doppioni"),
                                        QStringLiteral("aggiungi"), iphone, destinazione.path()});
    QVERIFY2(esito.detto.contains(QStringLiteral("Aggiunti: 2\n")), qPrintable(esito.detto));
    QCOMPARE(conta(destinazione), 5);
    QCOMPARE(
        esegui("importa_contatti", {QStringLiteral("--doppioni"), QStringLiteral("forse"), iphone, destinazione.path()}).stato,
        2);

    // The two Rossi Mario and the two pharmacies are listed, then merged.
    esito = esegui("cerca_doppioni", {destinazione.path()});
    QCOMPARE(esito.stato, 0);
    QCOMPARE(esito.detto.count(QStringLiteral("Gruppo ")), 2);
    QCOMPARE(conta(destinazione), 5);
    esito = esegui("cerca_doppioni", {QStringLiteral("--unisci"), destinazione.path()});
    QVERIFY2(esito.detto.endsWith(QStringLiteral("Uniti: l'archivio ha 2 contatti in meno.\n")), qPrintable(esito.detto));
    QCOMPARE(conta(destinazione), 3);
    QCOMPARE(destinazione.rows(QStringLiteral("SELECT cell FROM anagrafica WHERE cognome = 'Rossi'"))[0][0].toString(),
             QStringLiteral("+39 347 1234567"));
}

void TestStrumentiScambio::pairsThatMayBeTwoPeopleAreListedNeverMerged()
{
    test::TempStore store;
    store.insert({{"Cognome", "Verdi"}, {"Nome", "Anna"}, {"Email", "info@verdi-srl.it"}});
    store.insert({{"Cognome", "Verdi"}, {"Nome", "Marco"}, {"Email", "info@verdi-srl.it"}});
    store.insert({{"Cognome", "D’Angelo"}, {"Nome", "Lucia"}, {"Telefono", "081/123456"}});
    store.insert({{"Cognome", "D'Angelo"}, {"Nome", "Lucia"}, {"Cell", "+39 081 123456"}});
    store.insert({{"Cognome", "Bianco"}, {"Nome", "Francesca"}, {"Telefono", "06 1234567"}, {"DataNasc", QDate(1971, 5, 2)}});
    store.insert({{"Cognome", "Bianco"}, {"Nome", "Francesca"}, {"Telefono", "06 1234567"}, {"DataNasc", QDate(1988, 11, 30)}});
    Esito esito = esegui("cerca_doppioni", {QStringLiteral("--unisci"), store.path()});
    QCOMPARE(esito.stato, 0);
    const QStringList righe = esito.detto.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(righe.filter(QStringLiteral("Gruppo ")).size(), 1);
    QVERIFY2(esito.detto.contains(QStringLiteral(": stesso nome, stesso telefono «")), qPrintable(esito.detto));
    QCOMPARE(righe.filter(QStringLiteral("Coppia ")),
             QStringList{"Coppia 1: Verdi Anna (id 1) e Verdi Marco (id 2): nomi diversi («Verdi Anna» e «Verdi Marco»), "
                         "stesso indirizzo e-mail «info@verdi-srl.it»"});
    QVERIFY2(esito.detto.endsWith(QStringLiteral("Uniti: l'archivio ha 1 contatto in meno.\n")), qPrintable(esito.detto));
    QCOMPARE(conta(store), 5);
    QCOMPARE(store.rows(QStringLiteral("SELECT count(*) FROM anagrafica WHERE cognome = 'Verdi'"))[0][0].toInt(), 2);
    QCOMPARE(store.rows(QStringLiteral("SELECT count(*) FROM anagrafica WHERE cognome = 'Bianco'"))[0][0].toInt(), 2);
}

QTEST_GUILESS_MAIN(TestStrumentiScambio)
#include "tst_strumentiscambio.moc"
