// cronologia as a batch job or an administrator runs it, on stores written the way the
// program and other programs write them.
#include "store/connection.h"
#include "store/cronologia.h"
#include "store/funzioni.h"
#include "store/giornale.h"
#include "store/recordset.h"
#include "testsupport.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTest>

using namespace brenzola;

namespace {

struct Esito {
    int stato = -1;
    QString out;
    QString err;
};

Esito cronologia(const QStringList& argomenti)
{
    QProcess processo;
    processo.start(QStringLiteral(CRONOLOGIA), argomenti);
    if (!processo.waitForFinished(60000)) return {};
    return {processo.exitCode(), QString::fromUtf8(processo.readAllStandardOutput()),
            QString::fromUtf8(processo.readAllStandardError())};
}

// The number each line begins with.
QList<qint64> numeri(const QString& elenco)
{
    QList<qint64> n;
    for (const QString& riga : elenco.split(u'\n', Qt::SkipEmptyParts)) n << riga.section(u' ', 0, 0).toLongLong();
    return n;
}

QList<qint64> colonna(const test::TempStore& store, const QString& sql)
{
    QList<qint64> n;
    for (const QVariantList& riga : store.rows(sql)) n << riga[0].toLongLong();
    return n;
}

void esegui(Connection& c, const QString& etichetta, const QString& sql)
{
    InOperazione(c, etichetta, [&] { c.Execute(sql); });
}

}  // namespace

class TestCronologia : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void listingsFollowTheJournalNewestFirst();
    void undoIsRefusedOverLaterChangesThenDoneInPart();
    void theBinGivesBackAndErasesOnlyDeletedContacts();
    void usageErrorsDoNothing();
    void aStoreWithoutJournalSaysWhy();
};

void TestCronologia::listingsFollowTheJournalNewestFirst()
{
    test::TempStore store;
    Connection c;
    c.Open(Funzioni::StringaConnessionePer(store.path()));
    Recordset rs;
    rs.Open(QStringLiteral("Select * from Anagrafica where id =0"), &c);
    rs.AddNew();
    rs.SetField(QStringLiteral("Cognome"), QStringLiteral("Rossi"));
    rs.SetField(QStringLiteral("Nome"), QStringLiteral("Mario"));
    rs.SetField(QStringLiteral("DataNasc"), QDate(1958, 3, 21));
    InOperazione(c, QStringLiteral("Salvataggio"), [&rs] { rs.Update(); });
    const qint64 rossi = rs.Fields(QStringLiteral("id")).toLongLong();
    // More operations than one page of the journal's reading.
    for (int i = 0; i < 230; ++i)
        esegui(c, QStringLiteral("Passo %1").arg(i),
               QStringLiteral("Update Anagrafica set Commenti='%1' where id=%2").arg(i).arg(rossi));
    store.rows(QStringLiteral("UPDATE anagrafica SET nome = 'riga' || '\n' || 'due' WHERE id = %1").arg(rossi));

    Esito esito = cronologia({store.path()});
    QCOMPARE(esito.stato, 0);
    QCOMPARE(numeri(esito.out), colonna(store, QStringLiteral("SELECT numero FROM giornale_operazioni ORDER BY numero DESC")));
    const QStringList righe = esito.out.split(u'\n');
    QVERIFY2(QRegularExpression(
                 QStringLiteral("^\\d+  \\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d  .+  Salvataggio  1 contatto: Rossi Mario$"))
                 .match(righe[righe.size() - 2])
                 .hasMatch(),
             qPrintable(righe[righe.size() - 2]));
    // What another program wrote stays on its line.
    QVERIFY2(righe[0].endsWith(QStringLiteral("1 contatto: Rossi riga\\ndue")), qPrintable(righe[0]));

    esito = cronologia({QStringLiteral("--contatto"), QString::number(rossi), store.path()});
    QCOMPARE(esito.stato, 0);
    QCOMPARE(numeri(esito.out),
             colonna(store, QStringLiteral("SELECT numero FROM giornale WHERE id = %1 ORDER BY numero DESC").arg(rossi)));
    QVERIFY2(esito.out.section(u'\n', 1, 1).contains(QStringLiteral("Passo 229")), qPrintable(esito.out.section(u'\n', 0, 1)));
    QVERIFY2(
        esito.out.contains(QStringLiteral("Salvataggio (operazione 1)  Cognome «Rossi», Nome «Mario», DataNasc 21/03/1958\n")),
        qPrintable(esito.out.right(200)));
}

void TestCronologia::undoIsRefusedOverLaterChangesThenDoneInPart()
{
    test::TempStore store;
    store.insert({{"Cognome", "Bianchi"}, {"Nome", "Anna"}});
    const qint64 verdi = store.insert({{"Cognome", "Verdi %2"}, {"Nome", "Luca"}});
    Connection c;
    c.Open(Funzioni::StringaConnessionePer(store.path()));
    esegui(c, QStringLiteral("Correzione"), QStringLiteral("Update Anagrafica set Nome = Nome & '!'"));
    const qint64 numero = colonna(store, QStringLiteral("SELECT max(numero) FROM giornale_operazioni"))[0];
    store.rows(QStringLiteral("UPDATE anagrafica SET nome = 'Altro' WHERE id = %1").arg(verdi));
    const auto nomi = [&store] { return store.rows(QStringLiteral("SELECT nome FROM anagrafica ORDER BY id")); };
    const QList<QVariantList> prima = nomi();

    Esito esito = cronologia({QStringLiteral("--annulla"), QString::number(numero), store.path()});
    QCOMPARE(esito.stato, 3);
    QVERIFY2(
        esito.err.contains(QStringLiteral("Verdi %2 Altro (chiave ") + QString::number(verdi) + QStringLiteral("): cambiato da "))
            && esito.err.contains(QStringLiteral("--forza-parziale")) && !esito.err.contains(QStringLiteral("Bianchi")),
        qPrintable(esito.err));
    QCOMPARE(nomi(), prima);

    esito = cronologia({QStringLiteral("--annulla"), QString::number(numero), QStringLiteral("--forza-parziale"), store.path()});
    QCOMPARE(esito.stato, 0);
    QVERIFY2(esito.out.startsWith(QStringLiteral("Annullata l'operazione %1 con l'operazione ").arg(numero)),
             qPrintable(esito.out));
    QVERIFY2(esito.out.contains(QStringLiteral("Verdi %2 Altro (chiave ") + QString::number(verdi) + u')'),
             qPrintable(esito.out));
    QCOMPARE(nomi(), (QList<QVariantList>{{QStringLiteral("Anna")}, {QStringLiteral("Altro")}}));

    // Undone, it is not undone again over its own undo.
    esito = cronologia({QStringLiteral("--annulla"), QString::number(numero), store.path()});
    QCOMPARE(esito.stato, 1);
    QVERIFY2(esito.err.startsWith(QStringLiteral("Errore 3251: L'operazione %1 è già stata annullata").arg(numero)),
             qPrintable(esito.err));
    QVERIFY(cronologia({store.path()})
                .out.contains(QStringLiteral("Correzione  2 contatti: Bianchi Anna!, Verdi %2 Luca!  annullata")));
}

void TestCronologia::theBinGivesBackAndErasesOnlyDeletedContacts()
{
    test::TempStore store;
    const qint64 zeta = store.insert({{"Cognome", "Zeta"},
                                      {"Nome", ""},
                                      {"Telefono", QVariant()},
                                      {"Cell", "347 1"},
                                      {"DataIn", QDate(1900, 1, 1)},
                                      {"Commenti", "Due\r\nrighe"}});
    const qint64 resta = store.insert({{"Cognome", "Resta"}});
    const QString tutto = QStringLiteral("SELECT * FROM anagrafica WHERE id = %1").arg(zeta);
    const QVariantList comEra = store.rows(tutto)[0];
    Connection c;
    c.Open(Funzioni::StringaConnessionePer(store.path()));
    esegui(c, QStringLiteral("Eliminazione"), QStringLiteral("Delete from Anagrafica where id=%1").arg(zeta));

    Esito esito = cronologia({QStringLiteral("--cestino"), store.path()});
    QCOMPARE(esito.stato, 0);
    QVERIFY2(esito.out.startsWith(QStringLiteral("%1  Zeta  eliminato il ").arg(zeta)), qPrintable(esito.out));
    QVERIFY(esito.out.contains(QStringLiteral(" nell'operazione ")) && esito.out.endsWith(QStringLiteral(" (Eliminazione)\n")));

    esito = cronologia({QStringLiteral("--ripristina"), QString::number(zeta), store.path()});
    QCOMPARE(esito.stato, 0);
    const QVariantList ora = store.rows(tutto)[0];
    QCOMPARE(ora, comEra);
    for (qsizetype i = 0; i < ora.size(); ++i) QCOMPARE(ora[i].isNull(), comEra[i].isNull());
    const qsizetype operazioni = store.rows(QStringLiteral("SELECT numero FROM giornale_operazioni")).size();
    esito = cronologia({QStringLiteral("--ripristina"), QString::number(zeta), store.path()});
    QCOMPARE(esito.stato, 1);
    QVERIFY2(esito.err.startsWith(QStringLiteral("Errore 3265: Il contatto %1 è ancora nell'archivio").arg(zeta)),
             qPrintable(esito.err));
    QCOMPARE(store.rows(QStringLiteral("SELECT numero FROM giornale_operazioni")).size(), operazioni);

    // Erasing takes only a deleted contact, with all its history.
    const QString storia = QStringLiteral("SELECT count(*) FROM giornale WHERE id = %1");
    for (const qint64 id : {resta, qint64(9999)})
        QCOMPARE(cronologia({QStringLiteral("--elimina-definitivamente"), QString::number(id), store.path()}).stato, 1);
    QCOMPARE(colonna(store, storia.arg(resta)), QList<qint64>{1});
    store.rows(QStringLiteral("DELETE FROM anagrafica WHERE id = %1").arg(resta));
    esito = cronologia({QStringLiteral("--elimina-definitivamente"), QString::number(resta), store.path()});
    QCOMPARE(esito.stato, 0);
    Connection d;
    d.Open(Funzioni::StringaConnessionePer(store.path()));
    QVERIFY2(esito.out.endsWith(CosaRestaDopoLaCancellazione(d) + u'\n'), qPrintable(esito.out));
    QCOMPARE(colonna(store, storia.arg(resta)), QList<qint64>{0});
    QCOMPARE(cronologia({QStringLiteral("--cestino"), store.path()}).out, QStringLiteral("Il cestino è vuoto.\n"));
    QCOMPARE(colonna(store, storia.arg(zeta)), QList<qint64>{3});
}

void TestCronologia::usageErrorsDoNothing()
{
    test::TempStore store;
    const qint64 id = store.insert({{"Cognome", "Uno"}});
    store.rows(QStringLiteral("DELETE FROM anagrafica WHERE id = %1").arg(id));
    const QString a = store.path(), chiave = QString::number(id), ripristina = QStringLiteral("--ripristina");
    for (const QStringList& argomenti : QList<QStringList>{{QStringLiteral("--cestino"), ripristina, chiave, a},
                                                           {QStringLiteral("--forza-parziale"), a},
                                                           {ripristina, QStringLiteral("uno"), a},
                                                           {ripristina, chiave, ripristina, chiave, a},
                                                           {a, a}}) {
        const Esito esito = cronologia(argomenti);
        QVERIFY2(esito.stato == 2 && esito.err.contains(QStringLiteral("Uso: cronologia ")),
                 qPrintable(argomenti.join(u' ') + esito.err));
    }
    QVERIFY(store.rows(QStringLiteral("SELECT id FROM anagrafica")).isEmpty());
}

void TestCronologia::aStoreWithoutJournalSaysWhy()
{
    BRENZOLA_SOLO_FILE("a table made by hand on a file");
    test::TempStore store;
    store.rows(QStringLiteral("DROP TABLE anagrafica"));
    store.rows(QStringLiteral("CREATE TABLE anagrafica (id INTEGER PRIMARY KEY, cognome TEXT)"));
    const Esito esito = cronologia({store.path()});
    QCOMPARE(esito.stato, 1);
    QVERIFY2(esito.err.startsWith(QStringLiteral("Errore 3078: L'archivio non tiene il registro delle modifiche")),
             qPrintable(esito.err));
}

QTEST_GUILESS_MAIN(TestCronologia)
#include "tst_cronologia.moc"
