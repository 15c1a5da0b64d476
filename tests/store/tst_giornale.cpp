// The journal the store keeps of every change, whoever writes: what it records, undo,
// the bin, versions, and the readers that follow it. Runs on a file and on a server.
#include "store/archivio.h"
#include "store/connection.h"
#include "store/cronologia.h"
#include "store/funzioni.h"
#include "store/giornale.h"
#include "store/recordset.h"
#include "store/storeerror.h"
#include "testsupport.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

#include <cstring>
#include <functional>

using namespace brenzola;

namespace {

// Runs the store's own shell (sqlite3 or psql) on it, as another program would.
void shell(const test::TempStore& store, const QString& sql)
{
    QProcess p;
    if (test::onServer())
        p.start(QStringLiteral("psql"),
                {QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("-q"), QStringLiteral("-d"),
                 parseConnectionString(store.path()).value(QStringLiteral("database")), QStringLiteral("-c"), sql});
    else
        p.start(QStringLiteral("sqlite3"), {QStringLiteral("-bail"), store.path(), sql});
    QVERIFY2(p.waitForFinished(30000), qPrintable(p.errorString()));
    QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
}

int errore(const std::function<void()>& lavoro)
{
    try {
        lavoro();
    } catch (const StoreError& e) {
        return e.number();
    }
    return 0;
}

// The child of aKilledUndoLeavesBeforeOrAfter: undoes one operation.
int annullaInUnAltroProcesso(const QString& archivio, qint64 numero)
{
    try {
        Connection c;
        c.Open(Funzioni::StringaConnessionePer(archivio));
        Annulla(c, numero, false);
        return 0;
    } catch (const StoreError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}

}  // namespace

class TestGiornale : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void everyWriterIsJournaledExactly();
    void undoGivesBackEveryByteAndKey();
    void anUndoNeverOverwritesALaterChange();
    void aKilledUndoLeavesBeforeOrAfter();
    void theBinGivesBackAndErases();
    void aVersionComesBackOnlyOverWhatWasSeen();
    void readersFollowTheJournal();
    void aDeskMayReadTheJournalButNeverChangeIt();
    void anEarlierJournalLearnsToKeepTheIdentity();

private:
    Connection& apri();
    qint64 salva(qint64 id, const QString& colonna, const QVariant& valore);

    std::unique_ptr<test::TempStore> store_;
    std::unique_ptr<Connection> connessione_;
};

void TestGiornale::init() { store_ = std::make_unique<test::TempStore>(); }

void TestGiornale::cleanup()
{
    connessione_.reset();
    store_.reset();
}

Connection& TestGiornale::apri()
{
    connessione_ = std::make_unique<Connection>();
    connessione_->Open(Funzioni::StringaConnessionePer(store_->path()));
    return *connessione_;
}

// A save as the main window makes it: one field, one operation.
qint64 TestGiornale::salva(qint64 id, const QString& colonna, const QVariant& valore)
{
    Recordset rs;
    rs.Open(QStringLiteral("Select * from Anagrafica where id =%1").arg(id), connessione_.get());
    rs.SetField(colonna, valore);
    return InOperazione(*connessione_, QStringLiteral("Salvataggio"), [&rs] { rs.Update(); });
}

void TestGiornale::everyWriterIsJournaledExactly()
{
    // Another program, with values a form could never type: Null beside empty text, a bare CR.
    shell(*store_,
          QStringLiteral(
              "INSERT INTO anagrafica (cognome, nome, telefono, commenti) VALUES ('Zeta', NULL, '', "
              "'riga uno' || char(13) || char(10) || 'riga due' || char(13));"
              "UPDATE anagrafica SET nome = 'Ada' WHERE cognome = 'Zeta'; DELETE FROM anagrafica WHERE cognome = 'Zeta';")
              .replace(QStringLiteral("char("), test::onServer() ? QStringLiteral("chr(") : QStringLiteral("char(")));
    Connection& c = apri();
    QVERIFY(c.hasJournal());
    const QString quote = test::onServer() ? QStringLiteral("quote_nullable") : QStringLiteral("quote");
    const auto righe =
        store_->rows(QStringLiteral("SELECT azione, %1(prima_nome), %1(dopo_nome), %1(dopo_telefono), %1(dopo_commenti), "
                                    "o.etichetta, o.chi FROM giornale g JOIN giornale_operazioni o ON o.numero = g.operazione "
                                    "ORDER BY g.numero")
                         .arg(quote));
    QCOMPARE(righe.size(), 3);
    QCOMPARE(righe[0][0].toString().trimmed(), QStringLiteral("I"));
    QCOMPARE(righe[0][2].toString(), QStringLiteral("NULL"));
    QCOMPARE(righe[0][3].toString(), QStringLiteral("''"));
    QVERIFY2(righe[0][4].toString().contains(QStringLiteral("riga uno\r\nriga due\r")), qPrintable(righe[0][4].toString()));
    QCOMPARE(righe[1][0].toString().trimmed(), QStringLiteral("U"));
    QCOMPARE(righe[1][1].toString(), QStringLiteral("NULL"));
    QCOMPARE(righe[1][2].toString(), QStringLiteral("'Ada'"));
    QCOMPARE(righe[2][0].toString().trimmed(), QStringLiteral("D"));
    QCOMPARE(righe[2][1].toString(), QStringLiteral("'Ada'"));
    QCOMPARE(righe[0][5].toString(), QStringLiteral("Modifiche con un altro programma"));
    // On a file the shell is "another program"; a server knows its user.
    QCOMPARE(righe[0][6].toString(),
             test::onServer() ? qEnvironmentVariable("PGUSER", QStringLiteral("postgres")) : QStringLiteral("altro programma"));

    // This program's operation: its label, and who made it.
    const qint64 id = store_->insert({{"Cognome", "Rossi"}});
    const qint64 numero = salva(id, QStringLiteral("Nome"), QStringLiteral("Mario"));
    QVERIFY(numero > 0);
    QCOMPARE(c.ownOperations().back(), numero);
    const auto op = store_->rows(QStringLiteral("SELECT etichetta, chi FROM giornale_operazioni WHERE numero = %1").arg(numero));
    QCOMPARE(op[0][0].toString(), QStringLiteral("Salvataggio"));
    if (!test::onServer()) QVERIFY2(op[0][1].toString().contains(u'@'), qPrintable(op[0][1].toString()));
    // A save that changes nothing makes no operation.
    QCOMPARE(salva(id, QStringLiteral("Nome"), QStringLiteral("Mario")), 0);
}

void TestGiornale::undoGivesBackEveryByteAndKey()
{
    const qint64 a = store_->insert(
        {{"Cognome", "Bianchi"}, {"Nome", QVariant()}, {"Email", ""}, {"Commenti", "a\r\nb"}, {"DataNasc", "1970-01-02"}});
    const qint64 b = store_->insert({{"Cognome", "Verdi"}, {"Telefono", "02 1"}});
    Connection& c = apri();
    const QStringList prima = store_->dump();

    // Several contacts in one operation: one changed, one deleted, one added.
    Operazione op(c, QStringLiteral("Prova"));
    c.Execute(QStringLiteral("Update anagrafica set Nome = 'Anna', Commenti = 'altro' where id=%1").arg(a));
    c.Execute(QStringLiteral("Delete from anagrafica where id=%1").arg(b));
    c.Execute(QStringLiteral("Insert into anagrafica (Cognome) values ('Nuovo')"));
    const qint64 numero = op.Concludi();
    const QStringList dopo = store_->dump();
    QVERIFY(dopo != prima);

    const EsitoAnnullamento esito = Annulla(c, numero, false);
    QCOMPARE(esito.contatti, 3);
    QVERIFY(esito.lasciati.empty());
    QCOMPARE(store_->dump(), prima);
    QVERIFY(std::find(c.ownOperations().begin(), c.ownOperations().end(), numero)
            == c.ownOperations().end());  // no longer this desk's to undo

    // The undo is an operation too: undoing it does the operation again.
    Annulla(c, esito.operazione, false);
    QCOMPARE(store_->dump(), dopo);
    const auto annullamenti =
        store_->rows(QStringLiteral("SELECT annulla FROM giornale_operazioni WHERE numero > %1 ORDER BY numero").arg(numero));
    QCOMPARE(annullamenti.size(), 2);
    QCOMPARE(annullamenti[0][0].toLongLong(), numero);
    QCOMPARE(annullamenti[1][0].toLongLong(), esito.operazione);
}

void TestGiornale::anUndoNeverOverwritesALaterChange()
{
    const qint64 a = store_->insert({{"Cognome", "Alfa"}});
    const qint64 b = store_->insert({{"Cognome", "Beta"}});
    Connection& c = apri();
    Operazione op(c, QStringLiteral("Due contatti"));
    c.Execute(QStringLiteral("Update anagrafica set Nome = 'uno' where id in (%1, %2)").arg(a).arg(b));
    const qint64 numero = op.Concludi();
    shell(*store_, QStringLiteral("UPDATE anagrafica SET telefono = '06 5' WHERE id = %1").arg(b));  // another desk, since

    const QStringList cambiato = store_->dump();
    QCOMPARE(errore([&] { Annulla(c, numero, false); }), StoreErrorNumber::RowChanged);
    QCOMPARE(store_->dump(), cambiato);  // nothing at all
    const std::vector<ContattoCambiato> dopo = CambiatiDopo(c, numero);
    QCOMPARE(dopo.size(), size_t(1));
    QCOMPARE(dopo[0].id, b);
    QCOMPARE(dopo[0].nome, QStringLiteral("Beta uno"));

    const EsitoAnnullamento esito = Annulla(c, numero, true);
    QCOMPARE(esito.contatti, 1);
    QCOMPARE(esito.lasciati.size(), size_t(1));
    QVERIFY(store_->rows(QStringLiteral("SELECT nome FROM anagrafica WHERE id = %1").arg(a))[0][0].isNull());
    const auto beta = store_->rows(QStringLiteral("SELECT nome, telefono FROM anagrafica WHERE id = %1").arg(b))[0];
    QCOMPARE(beta[0].toString(), QStringLiteral("uno"));
    QCOMPARE(beta[1].toString(), QStringLiteral("06 5"));
}

void TestGiornale::aKilledUndoLeavesBeforeOrAfter()
{
    Connection& c = apri();
    const QStringList vuoto = store_->dump();
    qint64 numero = 0;
    {
        Operazione op(c, QStringLiteral("Molti"));
        BulkInsert righe(&c, QStringLiteral("Anagrafica"), {QStringLiteral("Cognome"), QStringLiteral("Commenti")});
        for (int i = 0; i < 20000; ++i) righe.Add({QStringLiteral("Cognome %1").arg(i), QStringLiteral("x").repeated(200)});
        righe.Flush();
        numero = op.Concludi();
    }
    const QStringList pieno = store_->dump();
    connessione_.reset();
    // Killed at several moments of the undo: the store is whole either way.
    bool visto[2] = {false, false};
    for (int attesa : {5, 40, 120, 400, 5000}) {
        QProcess figlio;
        figlio.start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--annulla"), store_->path(), QString::number(numero)});
        QVERIFY(figlio.waitForStarted());
        if (!figlio.waitForFinished(attesa)) {
            figlio.kill();
            figlio.waitForFinished();
        }
        const QStringList ora = store_->dump();
        QVERIFY2(ora == pieno || ora == vuoto, qPrintable(QStringLiteral("%1 contatti dopo %2 ms").arg(ora.size()).arg(attesa)));
        visto[ora == vuoto] = true;
        if (ora == vuoto) break;
    }
    QVERIFY(visto[1]);  // the undo completed once it was left to
}

void TestGiornale::theBinGivesBackAndErases()
{
    const qint64 id = store_->insert({{"Cognome", "Cestinato"},
                                      {"Nome", "Ugo"},
                                      {"Cell", QVariant()},
                                      {"Commenti", "dati\r\npersonali"},
                                      {"Uid", "urn:uuid:6ba7b810-9dad-11d1-80b4-00c04fd430c8"}});  // another address book's
    const qint64 altro = store_->insert({{"Cognome", "Resta"}});
    Connection& c = apri();
    const QStringList prima = store_->dump();
    InOperazione(c, QStringLiteral("Eliminazione"),
                 [&] { c.Execute(QStringLiteral("Delete from anagrafica where id=%1").arg(id)); });

    std::vector<Eliminato> cestino = Cestino(c);
    QCOMPARE(cestino.size(), size_t(1));
    QCOMPARE(cestino[0].id, id);
    QCOMPARE(cestino[0].nome, QStringLiteral("Cestinato Ugo"));
    QCOMPARE(cestino[0].etichetta, QStringLiteral("Eliminazione"));
    QVERIFY(cestino[0].quando.secsTo(QDateTime::currentDateTimeUtc()) < 60);

    QVERIFY(RipristinaDalCestino(c, {id, altro}) > 0);  // one in the register is passed over
    QCOMPARE(store_->dump(), prima);
    QVERIFY(Cestino(c).empty());

    // Deleted again; kept while the bin keeps it, erased once older than that.
    c.Execute(QStringLiteral("Delete from anagrafica where id=%1").arg(id));
    QCOMPARE(EliminaScaduti(c), 0);
    QCOMPARE(Cestino(c).size(), size_t(1));
    const QString storiaDiAltro = QStringLiteral("SELECT count(*) FROM giornale WHERE id = %1").arg(altro);
    const int righeDiAltro = store_->rows(storiaDiAltro)[0][0].toInt();
    QCOMPARE(EliminaDefinitivamente(c, {altro}), 0);  // in the register: never
    ImpostaGiorniCestino(c, 30);
    QCOMPARE(GiorniCestino(c), 30);
    QCOMPARE(EliminaScaduti(c, QDateTime::currentDateTimeUtc().addDays(31)), 1);
    QVERIFY(Cestino(c).empty());
    QCOMPARE(store_->rows(QStringLiteral("SELECT count(*) FROM giornale WHERE id = %1").arg(id))[0][0].toInt(), 0);
    QCOMPARE(store_->rows(storiaDiAltro)[0][0].toInt(), righeDiAltro);
    QCOMPARE(store_->dump().size(), 1);
}

void TestGiornale::aVersionComesBackOnlyOverWhatWasSeen()
{
    const qint64 id = store_->insert({{"Cognome", "Rossi"}, {"Nome", "Mario"}, {"Telefono", "1"}});
    Connection& c = apri();
    salva(id, QStringLiteral("Telefono"), QStringLiteral("2"));
    salva(id, QStringLiteral("Nome"), QStringLiteral("Marco"));
    std::vector<Versione> versioni = CronologiaContatto(c, id);
    QCOMPARE(versioni.size(), size_t(3));  // the insert by another program, two saves
    QCOMPARE(versioni[0].valori[1].toString(), QStringLiteral("Marco"));
    QCOMPARE(versioni[2].valori[ColonneContatto().indexOf(QStringLiteral("telefono"))].toString(), QStringLiteral("1"));
    QCOMPARE(versioni[1].etichetta, QStringLiteral("Salvataggio"));

    // Changed by another program after the history was read: nothing is written.
    shell(*store_, QStringLiteral("UPDATE anagrafica SET cap = '00100' WHERE id = %1").arg(id));
    const QStringList cambiato = store_->dump();
    QCOMPARE(errore([&] { RipristinaVersione(c, id, versioni[2], versioni[0].numero); }), StoreErrorNumber::RowChanged);
    QCOMPARE(store_->dump(), cambiato);

    versioni = CronologiaContatto(c, id);
    QVERIFY(RipristinaVersione(c, id, versioni[3], versioni[0].numero) > 0);
    const auto riga = store_->rows(QStringLiteral("SELECT nome, telefono, cap FROM anagrafica WHERE id = %1").arg(id))[0];
    QCOMPARE(riga[0].toString(), QStringLiteral("Mario"));
    QCOMPARE(riga[1].toString(), QStringLiteral("1"));
    QVERIFY(riga[2].isNull());
}

void TestGiornale::readersFollowTheJournal()
{
    const qint64 a = store_->insert({{"Cognome", "Alfa"}});
    const qint64 b = store_->insert({{"Cognome", "Beta"}});
    Connection& c = apri();
    CursoreGiornale cursore;
    QVERIFY(!cursore.cambiamenti(c));  // the first look reads everything
    QCOMPARE(*cursore.cambiamenti(c), std::vector<qint64>{});
    shell(*store_, QStringLiteral("UPDATE anagrafica SET nome = 'x' WHERE id = %1; DELETE FROM anagrafica WHERE id = %2; "
                                  "UPDATE anagrafica SET nome = 'y' WHERE id = %1")
                       .arg(b)
                       .arg(a));
    QCOMPARE(*cursore.cambiamenti(c), (std::vector<qint64>{a, b}));
    QCOMPARE(*cursore.cambiamenti(c), std::vector<qint64>{});
    // Purged past what it saw: it reads everything again, once.
    shell(*store_, QStringLiteral("UPDATE anagrafica SET nome = 'z' WHERE id = %1").arg(b));
    store_->rows(QStringLiteral("DELETE FROM giornale WHERE numero = (SELECT max(numero) FROM giornale)"));
    QVERIFY(!cursore.cambiamenti(c));
    QCOMPARE(*cursore.cambiamenti(c), std::vector<qint64>{});
    // More changes than a look follows: everything once, then in step again.
    store_->rows(
        QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100001) "
                       "INSERT INTO anagrafica (cognome) SELECT 'Massa' FROM n"));
    QVERIFY(!cursore.cambiamenti(c));
    QCOMPARE(*cursore.cambiamenti(c), std::vector<qint64>{});
    shell(*store_, QStringLiteral("UPDATE anagrafica SET nome = 'w' WHERE id = %1").arg(b));
    QCOMPARE(*cursore.cambiamenti(c), std::vector<qint64>{b});
}

void TestGiornale::aDeskMayReadTheJournalButNeverChangeIt()
{
    if (!test::onServer()) QSKIP("a file has no users");
    store_->rows(QStringLiteral("DROP ROLE IF EXISTS scrivania"));
    store_->rows(QStringLiteral("CREATE ROLE scrivania LOGIN PASSWORD 'x' IN ROLE %1").arg(QLatin1String(kRuoloUtenti)));
    const qint64 id = store_->insert({{"Cognome", "Rossi"}});
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("scrivania"));
        db.setHostName(QStringLiteral("localhost"));
        db.setDatabaseName(parseConnectionString(store_->path()).value(QStringLiteral("database")));
        db.setUserName(QStringLiteral("scrivania"));
        db.setPassword(QStringLiteral("x"));
        QVERIFY2(db.open(), qPrintable(db.lastError().text()));
        const auto riesce = [&db](const QString& sql) { return QSqlQuery(db).exec(sql); };
        QVERIFY(riesce(QStringLiteral("UPDATE anagrafica SET nome = 'Anna' WHERE id = %1").arg(id)));
        QVERIFY(riesce(QStringLiteral("SELECT * FROM giornale")));
        for (const char* vietata : {"DELETE FROM giornale", "UPDATE giornale SET dopo_nome = 'falso'",
                                    "INSERT INTO giornale_operazioni (quando, chi, etichetta, esterna, transazione) VALUES "
                                    "(now(), 'x', 'x', false, '1')",
                                    "UPDATE giornale_operazioni SET chi = 'altri'", "UPDATE giornale_stato SET tagliato = 99",
                                    "TRUNCATE anagrafica", "ALTER TABLE anagrafica DISABLE TRIGGER ALL", "DROP TABLE giornale"})
            QVERIFY2(!riesce(QLatin1String(vietata)), vietata);
        // Erasing goes only through the administrator's function, and only for deleted contacts.
        QVERIFY(riesce(QStringLiteral("SELECT brenzola_elimina_definitivamente('{%1}')").arg(id)));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("scrivania"));
    const auto fatto = store_->rows(QStringLiteral("SELECT o.chi, g.dopo_nome FROM giornale g JOIN giornale_operazioni o "
                                                   "ON o.numero = g.operazione WHERE g.id = %1 ORDER BY g.numero")
                                        .arg(id));
    QCOMPARE(fatto.size(), 2);  // still there: the contact is in the register
    QCOMPARE(fatto[1][0].toString(), QStringLiteral("scrivania"));
    QCOMPARE(fatto[1][1].toString(), QStringLiteral("Anna"));
}

void TestGiornale::anEarlierJournalLearnsToKeepTheIdentity()
{
    const qint64 id = store_->insert({{"Cognome", "Vecchio"}});
    // The register as an earlier version made it: no identities, a journal without them.
    shell(*store_, test::onServer()
                       ? QStringLiteral("DROP INDEX identita; DROP TABLE identita_registro; "
                                        "ALTER TABLE giornale DROP COLUMN prima_uid, DROP COLUMN dopo_uid; "
                                        "ALTER TABLE anagrafica DROP COLUMN uid;")
                       : QStringLiteral("DROP INDEX identita; DROP TABLE Identita_Registro; "
                                        "DROP TRIGGER Giornale_prima_inserimento; DROP TRIGGER Giornale_inserimento; "
                                        "DROP TRIGGER Giornale_prima_modifica; DROP TRIGGER Giornale_modifica; "
                                        "DROP TRIGGER Giornale_prima_chiave; DROP TRIGGER Giornale_chiave; "
                                        "DROP TRIGGER Giornale_prima_eliminazione; DROP TRIGGER Giornale_eliminazione; "
                                        "ALTER TABLE Giornale DROP COLUMN prima_uid; "
                                        "ALTER TABLE Giornale DROP COLUMN dopo_uid; "
                                        "ALTER TABLE Anagrafica DROP COLUMN Uid;"));
    Connection& c = apri();
    QVERIFY(c.hasJournal());
    QCOMPARE(c.identity().size(), 36);
    QVERIFY(ColonneGiornale(c).contains(QStringLiteral("uid")));
    salva(id, QStringLiteral("Uid"), QStringLiteral("urn:uuid:6ba7b810-9dad-11d1-80b4-00c04fd430c8"));
    const std::vector<Versione> versioni = CronologiaContatto(c, id);
    QCOMPARE(versioni.size(), size_t(2));  // made before, and the change that kept the identity
    QCOMPARE(versioni.front().valori.back().toString(), QStringLiteral("urn:uuid:6ba7b810-9dad-11d1-80b4-00c04fd430c8"));
    QVERIFY(versioni.back().valori.back().isNull());
}

int main(int argc, char* argv[])
{
    if (argc == 4 && std::strcmp(argv[1], "--annulla") == 0) {
        QCoreApplication application(argc, argv);
        return annullaInUnAltroProcesso(application.arguments()[2], application.arguments()[3].toLongLong());
    }
    QCoreApplication application(argc, argv);
    TestGiornale test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_giornale.moc"
