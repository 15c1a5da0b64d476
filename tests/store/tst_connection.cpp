#include "store/connection.h"
#include "store/cronologia.h"
#include "store/funzioni.h"
#include "store/recordset.h"
#include "store/sqlerror.h"
#include "store/storeerror.h"
#include "testsupport.h"

#include <QCryptographicHash>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

#include <new>
#include <stdexcept>

using namespace brenzola;
using namespace brenzola::Funzioni;

namespace {

QByteArray fileDigest(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

QStringList column0(const QString& sql)
{
    Recordset rs;
    rs.Open(sql, Connessione());
    QStringList values;
    for (; !rs.Eof(); rs.MoveNext()) values << rs.Fields(0).toString();
    return values;
}

int storeErrorNumber(const std::function<void()>& work)
{
    try {
        work();
    } catch (const StoreError& error) {
        return error.number();
    }
    return 0;
}

}  // namespace

class TestConnection : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { ChiudiDatabase(); }

    void connectionStringKeepsQuotedPaths();
    void opensAFolderWithSpacesAndSemicolons();
    void missingOrForeignFilesAreReportedAndLeftAlone();
    void closingTwiceDoesNothing();
    void readsRowsByIndexAndByAnyCaseName();
    void joinsTextWithNullAsEmpty();
    void ordersNamesAsAnItalianReaderExpects();
    void comparesTextIgnoringCaseOfAccentedLetters();
    void comparesDatesInOrder();
    void addsAndChangesRowsInOneWrite();
    void refusesWhatTheTableCannotTake();
    void rowsInBulkAreStoredAsOneByOne();
    void aChangeInPlaceNeverUndoesAnotherWrite();
    void aDamagedPageIsAnErrorNotTheEnd();
    void anErasedContactLeavesNoTraceInTheFile();
    void staysAnOrdinarySqliteFile();
    void everyFailureReachesTheUserWithANumber();
    void aServersRefusalSaysWhatToDo();
    void loggingShowsNoContactAtInfoLevel();
};

void TestConnection::connectionStringKeepsQuotedPaths()
{
    const QString path = QStringLiteral("/tmp/a b;c/\"q\"/Brenzola.mdb");
    const QString connection = QStringLiteral("Provider=X;Data Source=") + quoteConnectionValue(path);
    const auto pairs = parseConnectionString(connection);
    QCOMPARE(pairs.value("provider"), QStringLiteral("X"));
    QCOMPARE(pairs.value("data source"), path);
    QCOMPARE(parseConnectionString("Data Source=plain;Provider = Y ").value("provider"), QStringLiteral("Y"));

    // A password written in the string is refused before anything is asked of a server.
    for (const char* chiave : {"Password", "PWD"}) {
        Connection c;
        try {
            c.Open(QStringLiteral("Provider=%1;Host=nessuno.invalid;Database=d;User=u;%2=segreta")
                       .arg(QLatin1String(Connection::kServerProvider), QLatin1String(chiave)));
            QFAIL("opened with a password in the string");
        } catch (const StoreError& e) {
            QCOMPARE(e.number(), StoreErrorNumber::InvalidArgument);
            QVERIFY(e.description().contains(QStringLiteral("~/.pgpass")));
        }
    }
}

void TestConnection::opensAFolderWithSpacesAndSemicolons()
{
    test::TempStore store(QStringLiteral("una cartella; con %20 e #"));
    store.insert({{"Cognome", "Rossi"}, {"Nome", "Anna"}});
    ApriDatabase(store.path());
    QVERIFY(StringaConnessione().contains(QStringLiteral("Data Source=\"") + store.path() + u'"'));
    QCOMPARE(Connessione()->State(), Connection::adStateOpen);
    QCOMPARE(column0("Select Cognome & ' ' & Nome from Anagrafica"), QStringList{"Rossi Anna"});
}

void TestConnection::missingOrForeignFilesAreReportedAndLeftAlone()
{
    QTemporaryDir dir;
    QCOMPARE(storeErrorNumber([&] { ApriDatabase(PercorsoArchivio(dir.path())); }), 14);  // unable to open database file
    QVERIFY(!QFile::exists(PercorsoArchivio(dir.path())));
    QVERIFY(!Connessione());

    QFile foreign(PercorsoArchivio(dir.path()));
    QVERIFY(foreign.open(QIODevice::WriteOnly));
    foreign.write(QByteArray("Standard Jet DB").leftJustified(4096, 'x'));
    foreign.close();
    const QByteArray before = fileDigest(foreign.fileName());
    QCOMPARE(storeErrorNumber([&] { ApriDatabase(PercorsoArchivio(dir.path())); }), 26);  // file is not a database
    QCOMPARE(fileDigest(foreign.fileName()), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"Brenzola.mdb"});
}

void TestConnection::closingTwiceDoesNothing()
{
    test::TempStore store;
    ApriDatabase(store.path());
    ChiudiDatabase();
    QVERIFY(!Connessione());
    ChiudiDatabase();
    QCOMPARE(storeErrorNumber([] { Recordset().Open("select * from Anagrafica", Connessione()); }),
             StoreErrorNumber::ConnectionClosed);
}

void TestConnection::readsRowsByIndexAndByAnyCaseName()
{
    test::TempStore store;
    const qint64 id = store.insert({{"Cognome", "Rossi"}, {"Nome", ""}, {"DataNasc", "1970-03-02"}});
    ApriDatabase(store.path());
    Recordset rs;
    rs.Open(QStringLiteral("Select * from Anagrafica where id =%1").arg(id), Connessione());
    QVERIFY(!rs.Eof());
    QCOMPARE(rs.Fields("ID").toLongLong(), id);
    QCOMPARE(rs.Fields(1).toString(), QStringLiteral("Rossi"));
    QCOMPARE(rs.Fields("cognome"), rs.Fields("COGNOME"));
    QVERIFY(!rs.Fields("nome").isNull());  // the empty text is not Null
    QCOMPARE(rs.Fields("nome").toString(), QString());
    QVERIFY(rs.Fields("DataIn").isNull());
    QCOMPARE(rs.Fields("DataNasc"), QVariant(QDate(1970, 3, 2)));
    QCOMPARE(storeErrorNumber([&] { rs.Fields("Soprannome"); }), StoreErrorNumber::ItemNotFound);
    rs.MoveNext();
    QVERIFY(rs.Eof());
    QCOMPARE(storeErrorNumber([&] { rs.Fields(0); }), StoreErrorNumber::NoCurrentRecord);
}

void TestConnection::joinsTextWithNullAsEmpty()
{
    test::TempStore store;
    store.insert({{"Cognome", "Bianchi"}});
    store.insert({{"Nome", "Solo"}});
    ApriDatabase(store.path());
    QCOMPARE(column0("Select Cognome & ' ' & Nome from Anagrafica"), (QStringList{"Bianchi ", " Solo"}));
    QCOMPARE(column0("Select Nome from Anagrafica where Cognome & ' ' & Nome ='bianchi '").size(), 1);
}

void TestConnection::ordersNamesAsAnItalianReaderExpects()
{
    test::TempStore store;
    for (const char* surname : {"Zeta", "Esposito", "de Luca", "D'Angelo", "Èrcoli", "Ercole", "erba", "Abate", "DE LUCA"})
        store.insert({{"Cognome", QString::fromUtf8(surname)}, {"Nome", "A"}});
    ApriDatabase(store.path());
    // ICU's Italian order, as a server sorts: letters, then accents, then case (lower first).
    QCOMPARE(column0("Select Cognome & ' ' & Nome from Anagrafica  ORDER BY Cognome & ' ' & Nome"),
             (QStringList{"Abate A", "D'Angelo A", "de Luca A", "DE LUCA A", "erba A", "Ercole A", "Èrcoli A", "Esposito A",
                          "Zeta A"}));
}

void TestConnection::comparesTextIgnoringCaseOfAccentedLetters()
{
    test::TempStore store;
    for (const char* surname : {"Èrcoli", "ercoli", "Ùbaldi", "Perù", "Ferri_Bis", "FerriXBis", "Lombardi 50%"})
        store.insert({{"Cognome", QString::fromUtf8(surname)}});
    ApriDatabase(store.path());
    const auto like = [](const char* pattern) {
        QStringList found =
            column0(QStringLiteral("select Cognome from Anagrafica where cognome like '%1'").arg(QString::fromUtf8(pattern)));
        found.sort();
        return found;
    };
    QCOMPARE(like("èr%"), QStringList{"Èrcoli"});
    QCOMPARE(like("%ÙB%"), QStringList{"Ùbaldi"});
    QCOMPARE(like("%Ù"), QStringList{"Perù"});
    QCOMPARE(like("%ri_b%"), (QStringList{"FerriXBis", "Ferri_Bis"}));
    QCOMPARE(like("%0%%"), QStringList{"Lombardi 50%"});
    QCOMPARE(column0("select Cognome from Anagrafica where Cognome = 'ÈRCOLI'"), QStringList{"Èrcoli"});
}

void TestConnection::comparesDatesInOrder()
{
    test::TempStore store;
    store.insert({{"Cognome", "Vecchio"}, {"DataIn", "1900-01-01"}});
    store.insert({{"Cognome", "Nuovo"}, {"DataIn", "2020-02-29"}});
    store.insert({{"Cognome", "Senza"}});
    ApriDatabase(store.path());
    QCOMPARE(column0("select Cognome from Anagrafica where DataIn <= #12/31/1999#"), QStringList{"Vecchio"});
    QCOMPARE(column0("select Cognome from Anagrafica where DataIn >= #02/29/2020# and DataIn <= #02/29/2020#"),
             QStringList{"Nuovo"});
    QCOMPARE(column0("select Cognome from Anagrafica where DataIn >= #01/01/1900#").size(), 2);
}

void TestConnection::addsAndChangesRowsInOneWrite()
{
    test::TempStore store;
    store.insert({{"Cognome", "Primo"}});
    ApriDatabase(store.path());

    Recordset added;
    added.Open("Select * from Anagrafica where id =0", Connessione());
    QVERIFY(added.Eof());
    added.AddNew();
    added.SetField("cognome", "D'Angelo");
    added.SetField("nome", "");
    added.SetField("DataIn", QDate(1900, 1, 1));
    added.SetField("DataNasc", QVariant());
    added.Update();
    const qint64 id = added.Fields("id").toLongLong();
    QCOMPARE(id, 2);

    Recordset changed;
    changed.Open(QStringLiteral("Select * from Anagrafica where id =%1").arg(id), Connessione());
    changed.SetField("Nome", "Anna");
    changed.SetField("DataRicont", "25/12/2026");
    changed.Update();
    QCOMPARE(changed.Fields("id").toLongLong(), id);

    const auto rows = store.rows(
        QStringLiteral("select Cognome, Nome, DataIn, DataNasc, DataRicont, Citta from Anagrafica where id=%1").arg(id));
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0][0].toString(), QStringLiteral("D'Angelo"));
    QCOMPARE(rows[0][1].toString(), QStringLiteral("Anna"));
    QCOMPARE(rows[0][2].toString(), QStringLiteral("1900-01-01"));
    QVERIFY(rows[0][3].isNull());
    QCOMPARE(rows[0][4].toString(), QStringLiteral("2026-12-25"));
    QVERIFY(rows[0][5].isNull());  // a column never assigned stays Null

    Connessione()->Execute(QStringLiteral("Delete from anagrafica where id=%1").arg(id));
    QCOMPARE(store.rows("select count(*) from Anagrafica")[0][0].toInt(), 1);
    // A row deleted meanwhile cannot be changed in place.
    QCOMPARE(storeErrorNumber([&] {
                 changed.SetField("Nome", "Bea");
                 changed.Update();
             }),
             StoreErrorNumber::RowNotFound);
}

void TestConnection::aChangeInPlaceNeverUndoesAnotherWrite()
{
    test::TempStore store;
    const qint64 id = store.insert({{"Cognome", "Rossi"}, {"Telefono", "1"}, {"DataNasc", "2020-3-5"}});
    ApriDatabase(store.path());
    const QString sql = QStringLiteral("Select * from Anagrafica where id =%1").arg(id);
    Recordset first, second;
    first.Open(sql, Connessione());
    second.Open(sql, Connessione());
    QVERIFY(first.Holds(second.StoredValues()));
    QVERIFY(first.StoredValues().back().isNull());  // Null as Null, not empty text
    first.SetField("Telefono", "2");
    first.Update();
    QVERIFY(!second.Holds(first.StoredValues()));

    // The second desk read "1": its write must not land over "2".
    second.SetField("Email", "b@example.it");
    QCOMPARE(storeErrorNumber([&] { second.Update(); }), StoreErrorNumber::RowChanged);
    const auto row = store.rows(QStringLiteral("select Telefono, Email, DataNasc from Anagrafica where id=%1").arg(id))[0];
    QCOMPARE(row[0].toString(), QStringLiteral("2"));
    QVERIFY(row[1].isNull());
    QCOMPARE(row[2].toString(), QStringLiteral("2020-3-5"));  // a column not assigned keeps its bytes

    // The first desk may go on changing what it wrote.
    first.SetField("Email", "a@example.it");
    first.Update();
    QCOMPARE(store.rows(QStringLiteral("select Email from Anagrafica where id=%1").arg(id))[0][0].toString(),
             QStringLiteral("a@example.it"));
}

void TestConnection::aDamagedPageIsAnErrorNotTheEnd()
{
    test::TempStore store;
    store.rows(
        "INSERT INTO Anagrafica (Cognome, Commenti) WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
        "FROM n WHERE i < 3000) SELECT 'Cognome' || i, printf('%.200c', 'x') FROM n");
    const int pageSize = store.rows("PRAGMA page_size")[0][0].toInt();
    const int pages = store.rows("PRAGMA page_count")[0][0].toInt();
    {
        // A leaf page halfway through the table gets a page type no b-tree page has.
        QFile file(store.path());
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.seek(qint64(pages / 2 - 1) * pageSize));
        QVERIFY(file.write(QByteArray(1, '\x00')) == 1);
    }
    ApriDatabase(store.path());
    int rows = 0;
    const int number = storeErrorNumber([&] {
        Recordset rs;
        for (rs.Open("Select * from Anagrafica", Connessione()); !rs.Eof(); rs.MoveNext()) ++rows;
    });
    QCOMPARE(number, 11);  // the engine's "database disk image is malformed"
    QVERIFY(rows > 0 && rows < 3000);
}

void TestConnection::anErasedContactLeavesNoTraceInTheFile()
{
    BRENZOLA_SOLO_FILE("the bytes of a file");
    test::TempStore store;
    const qint64 id = store.insert({{"Cognome", "Segretissimo"}, {"Commenti", "ZXQ-riservato-QXZ"}});
    store.insert({{"Cognome", "Altro"}});
    ApriDatabase(store.path());
    // Changed, deleted (into the bin), then erased from the bin for good.
    Connessione()->Execute(QStringLiteral("Update anagrafica set Telefono = 'ZXQ-numero-QXZ' where id=%1").arg(id));
    Connessione()->Execute(QStringLiteral("Delete from anagrafica where id=%1").arg(id));
    const auto bytes = [&store] {
        QFile file(store.path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    QVERIFY(bytes().contains("ZXQ-riservato-QXZ"));  // still in the bin, restorable
    QCOMPARE(EliminaDefinitivamente(*Connessione(), {id}), 1);
    ChiudiDatabase();
    const QByteArray file = bytes();
    for (const char* traccia : {"Segretissimo", "ZXQ-riservato-QXZ", "ZXQ-numero-QXZ"})
        QVERIFY2(!file.contains(traccia), traccia);
    QVERIFY(file.contains("Altro"));
}

void TestConnection::refusesWhatTheTableCannotTake()
{
    test::TempStore store;
    ApriDatabase(store.path());
    Recordset rs;
    rs.Open("Select * from Anagrafica where id =0", Connessione());
    rs.AddNew();
    QCOMPARE(storeErrorNumber([&] { rs.SetField("DataIn", "31/02/2001"); }), StoreErrorNumber::TypeMismatch);
    QCOMPARE(storeErrorNumber([&] { rs.SetField("Soprannome", "x"); }), StoreErrorNumber::ItemNotFound);
    Recordset list;
    list.Open("Select Cognome & ' ' & Nome from Anagrafica", Connessione());
    QCOMPARE(storeErrorNumber([&] { Recordset().Open("Select * from Nessuna", Connessione()); }), 1);
    QCOMPARE(storeErrorNumber([&] { Connessione()->Execute("Delete from anagrafica where"); }), 1);
}

void TestConnection::rowsInBulkAreStoredAsOneByOne()
{
    test::TempStore store;
    ApriDatabase(store.path());
    BulkInsert righe(Connessione(), QStringLiteral("Anagrafica"),
                     {QStringLiteral("Cognome"), QStringLiteral("Nome"), QStringLiteral("DataIn"), QStringLiteral("DataNasc"),
                      QStringLiteral("Cap"), QStringLiteral("Citta")});
    righe.Add({QStringLiteral("Èrcoli D’Amico"), QStringLiteral(""), QDate(1900, 1, 1), QStringLiteral("25/12/2026"),
               QVariant(qint64(20100)), QVariant()});
    righe.Add({QStringLiteral("Zeta")});  // the columns not given are Null
    righe.Flush();
    const auto rows =
        store.rows(QStringLiteral("select Cognome, Nome, DataIn, DataNasc, Cap, typeof(Cap), Citta, "
                                  "typeof(DataNasc) from Anagrafica order by id"));
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0][0].toString(), QStringLiteral("Èrcoli D’Amico"));
    QVERIFY(!rows[0][1].isNull() && rows[0][1].toString().isEmpty());
    QCOMPARE(rows[0][2].toString(), QStringLiteral("1900-01-01"));
    QCOMPARE(rows[0][3].toString(), QStringLiteral("2026-12-25"));
    QCOMPARE(rows[0][4].toString(), QStringLiteral("20100"));
    QCOMPARE(rows[0][5].toString(), QStringLiteral("text"));  // as a recordset would have stored it
    QVERIFY(rows[0][6].isNull());
    QVERIFY(rows[1][3].isNull());
    QCOMPARE(rows[1][7].toString(), QStringLiteral("null"));

    // Refused as a recordset refuses it, and by the store with its own reason; the rows
    // before stay (a caller wanting all or none writes inside a transaction).
    QCOMPARE(storeErrorNumber([&] {
                 righe.Add({QStringLiteral("X"), QVariant(), QStringLiteral("31/02/2001")});
             }),
             StoreErrorNumber::TypeMismatch);
    store.rows(
        QStringLiteral("CREATE TRIGGER niente_zeta BEFORE INSERT ON Anagrafica WHEN NEW.Cognome = 'Zeta' "
                       "BEGIN SELECT RAISE(ABORT, 'niente Zeta'); END"));
    try {
        righe.Add({QStringLiteral("Zeta")});
        righe.Flush();
        QFAIL("a refused row was taken");
    } catch (const StoreError& e) {
        QVERIFY2(e.description().contains(QStringLiteral("niente Zeta")), qPrintable(e.description()));
    }
    righe.Add({QStringLiteral("Dopo")});  // and the next row goes in
    QCOMPARE(store.rows(QStringLiteral("select count(*) from Anagrafica"))[0][0].toInt(), 3);
}

void TestConnection::staysAnOrdinarySqliteFile()
{
    test::TempStore store;
    ApriDatabase(store.path());
    Connessione()->Execute("Delete from anagrafica where id=1");
    ChiudiDatabase();
    // A plain connection, without the program's functions, can check, read and write it.
    QCOMPARE(store.rows("PRAGMA integrity_check")[0][0].toString(), QStringLiteral("ok"));
    const qint64 id = store.insert({{"Cognome", "Esterno"}, {"DataIn", "2001-02-03"}});
    QCOMPARE(store.rows(QStringLiteral("select Cognome from Anagrafica where id=%1 order by Cognome").arg(id)).size(), 1);
}

// What a handler catches is told to the user with a number and a cause, whatever threw it.
void TestConnection::everyFailureReachesTheUserWithANumber()
{
    const auto caught = [](auto&& lancia) {
        try {
            lancia();
        } catch (...) {
            return ErroreCorrente();
        }
        return StoreError(0, {});
    };
    const StoreError store = caught([] { throw StoreError(StoreErrorNumber::RowChanged, QStringLiteral("cambiato")); });
    QCOMPARE(store.number(), StoreErrorNumber::RowChanged);
    QCOMPARE(store.description(), QStringLiteral("cambiato"));
    QCOMPARE(caught([] { throw std::bad_alloc(); }).number(), StoreErrorNumber::OutOfMemory);
    const StoreError interno = caught([] { throw std::out_of_range("vector::at"); });
    QCOMPARE(interno.number(), StoreErrorNumber::Internal);
    QVERIFY2(interno.description().contains(QStringLiteral("vector::at")), qPrintable(interno.description()));
    QCOMPARE(caught([] { throw 42; }).number(), StoreErrorNumber::Internal);
}

void TestConnection::aServersRefusalSaysWhatToDo()
{
    // libpq's own words for a connection that could not be made, and what the user reads.
    const struct {
        const char* libpq;
        const char* says;
    } casi[] = {
        {"connection to server at \"db\" (10.0.0.5), port 5432 failed: SSL error: certificate verify failed",
         "non è firmato da un'autorità riconosciuta"},
        {"connection to server at \"10.0.0.5\", port 5432 failed: server certificate for \"db.example.it\" does not match "
         "host name \"10.0.0.5\"",
         "intestato a un altro nome"},
        {"connection to server at \"db\" (10.0.0.5), port 5432 failed: root certificate file \"/home/anna/.postgresql/root.crt\" "
         "does not exist\nEither provide the file or change sslmode to disable server certificate verification.",
         "~/.postgresql/root.crt"},
        {"connection to server at \"db\" (10.0.0.5), port 5432 failed: server does not support SSL, but SSL was required",
         "non accetta connessioni cifrate"},
        {"connection to server at \"db\" (10.0.0.5), port 5432 failed: FATAL:  no pg_hba.conf entry for host \"10.0.0.9\", "
         "user \"anna\", database \"brenzola\", no encryption",
         "pg_hba.conf"},
        {"connection to server at \"db\" (10.0.0.5), port 5432 failed: Connection refused\n\tIs the server running on that "
         "host and accepting TCP/IP connections?",
         "non risponde"},
    };
    for (const auto& caso : casi) {
        const StoreError error = serverErrorFrom(QString(), QString::fromUtf8(caso.libpq));
        QCOMPARE(error.number(), StoreErrorNumber::ServerConnection);
        QVERIFY2(error.description().contains(QString::fromUtf8(caso.says)), qPrintable(error.description()));
    }
}

// A user's problem is diagnosed from the log they switch on; at info level it must not
// hand over their contacts, at debug level it shows the statements.
namespace {
QStringList logged;
void keep(QtMsgType, const QMessageLogContext& context, const QString& message)
{
    if (QByteArray(context.category).startsWith("brenzola.")) logged << message;
}
}  // namespace

void TestConnection::loggingShowsNoContactAtInfoLevel()
{
    const auto write = [] {
        test::TempStore store;
        store.insert({{"Cognome", "Primo"}});
        ApriDatabase(store.path());
        Recordset rs;
        rs.Open("Select * from Anagrafica where id =0", Connessione());
        rs.AddNew();
        rs.SetField("Cognome", "Zanzibarotti");
        rs.Update();
        QCOMPARE(column0("Select Cognome from Anagrafica where Cognome = 'Zanzibarotti'"), QStringList{"Zanzibarotti"});
        QVERIFY(storeErrorNumber([] { Connessione()->Execute("UPDATE Anagrafica SET Cognome = 'Zanzibarotti' WHERE"); }) != 0);
        ChiudiDatabase();
    };
    const QtMessageHandler before = qInstallMessageHandler(keep);
    const auto restore = qScopeGuard([before] {
        qInstallMessageHandler(before);
        QLoggingCategory::setFilterRules({});
    });

    write();
    QCOMPARE(logged, QStringList{});  // nothing unless asked for

    QLoggingCategory::setFilterRules(QStringLiteral("brenzola.*.info=true"));
    write();
    QVERIFY(!logged.isEmpty());
    QVERIFY2(logged.filter(QStringLiteral("Zanzibarotti")).isEmpty(), qPrintable(logged.join(u'\n')));

    logged.clear();
    QLoggingCategory::setFilterRules(QStringLiteral("brenzola.*.debug=true"));
    write();
    QVERIFY(!logged.filter(QStringLiteral("Zanzibarotti")).isEmpty());
}

QTEST_GUILESS_MAIN(TestConnection)
#include "tst_connection.moc"
