// copia_su_server against a throwaway PostgreSQL: everything kept, or nothing written.
#include "access/accessconversion.h"
#include "store/connection.h"
#include "store/funzioni.h"
#include "testsupport.h"

#include <QDate>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

using namespace brenzola;

namespace {

int copia(const QStringList& arguments, QByteArray* said = nullptr)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral(COPIA_SU_SERVER), arguments);
    if (!process.waitForFinished(120000)) return -1;
    if (said) *said = process.readAll();
    return process.exitCode();
}

// Every row as text, ordered by key: a date as yyyy-MM-dd whichever way it is kept.
QStringList dump(const QString& driver, const QString& database)
{
    QStringList rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(driver, QStringLiteral("dump"));
        db.setDatabaseName(database);
        if (!db.open()) return {QStringLiteral("cannot open")};
        QSqlQuery query(QStringLiteral("SELECT * FROM anagrafica ORDER BY id"), db);
        while (query.next()) {
            QStringList values;
            for (int i = 0; i < query.record().count(); ++i) {
                const QVariant v = query.value(i);
                values << (v.isNull()                       ? QStringLiteral("<null>")
                           : v.typeId() == QMetaType::QDate ? v.toDate().toString(Qt::ISODate)
                                                            : v.toString());
            }
            rows << values.join(u'|');
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("dump"));
    return rows;
}

}  // namespace

class TestCopia : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (!test::onServer()) QSKIP("only against a server");
    }
    void anAccessFileReachesTheServerWhole();
    void aValueTheServerCannotKeepLeavesItAsItWas();
};

void TestCopia::anAccessFileReachesTheServerWhole()
{
    test::TempStore server;  // a database with the table already, to be refused first
    QByteArray said;
    QCOMPARE(copia({QStringLiteral(BRENZOLA_FIXTURES "/access/Brenzola.mdb"), server.path()}, &said), 1);
    QVERIFY2(said.contains("contiene già la tabella Anagrafica"), said.constData());

    const QString empty = QStringLiteral("brenzola_copia");
    server.rows(QStringLiteral("CREATE DATABASE %1").arg(empty));
    const QString target = QStringLiteral("Provider=Brenzola.PostgreSQL;Database=%1").arg(empty);
    QCOMPARE(copia({QStringLiteral(BRENZOLA_FIXTURES "/access/Brenzola.mdb"), target}, &said), 0);
    QVERIFY2(said.contains("Copiati 40 contatti"), said.constData());

    // What the conversion makes of the same file, value for value: keys with their gap,
    // Null and empty text apart, dates, the long memo with its line breaks.
    QTemporaryDir dir;
    convertAccessFile(QStringLiteral(BRENZOLA_FIXTURES "/access/Brenzola.mdb"), dir.filePath(QStringLiteral("a.mdb")));
    const QStringList onServer = dump(QStringLiteral("QPSQL"), empty);
    QCOMPARE(onServer.size(), 40);
    QCOMPARE(onServer, dump(QStringLiteral("QSQLITE"), dir.filePath(QStringLiteral("a.mdb"))));

    // The next contact made there takes the key after the highest.
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("next"));
    db.setDatabaseName(empty);
    QVERIFY(db.open());
    QSqlQuery next(QStringLiteral("INSERT INTO anagrafica (cognome) VALUES ('Nuovo') RETURNING id"), db);
    QVERIFY(next.next());
    QCOMPARE(next.value(0).toLongLong(), 42);
    next = QSqlQuery();
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("next"));
    server.rows(QStringLiteral("DROP DATABASE %1 WITH (FORCE)").arg(empty));
}

void TestCopia::aValueTheServerCannotKeepLeavesItAsItWas()
{
    // A file register with a second contact holding `valore` (SQL) in `colonna`.
    const auto archivio = [](const QTemporaryDir& dir, const char* colonna, const QString& valore) {
        const QString file = dir.filePath(QStringLiteral("Brenzola.mdb"));
        if (QProcess::execute(QStringLiteral(PREPARA_ARCHIVIO), {file}) != 0) return QString();
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fill"));
            db.setDatabaseName(file);
            db.open();
            QSqlQuery(QStringLiteral("INSERT INTO Anagrafica (Cognome, DataNasc) VALUES ('Primo', '2000-01-01')"), db);
            QSqlQuery(
                QStringLiteral("INSERT INTO Anagrafica (Cognome, %1) VALUES ('Strano', %2)").arg(QLatin1String(colonna), valore),
                db);
        }
        QSqlDatabase::removeDatabase(QStringLiteral("fill"));
        return file;
    };
    const QString vuoto = QStringLiteral("Provider=Brenzola.PostgreSQL;Database=brenzola_vuoto");
    struct Caso {
        const char* colonna;
        const char* valore;
        const char* detto;
    };
    for (const Caso& caso : {Caso{"DataNasc", "'2024-02-30'", "il contatto 2 ha in DataNasc «2024-02-30»"},
                             Caso{"DataNasc", "'2024-02-28 10:30:00'", "il contatto 2 ha in DataNasc «2024-02-28 10:30:00»"},
                             Caso{"Commenti", "'a' || char(0) || 'b'", "il contatto 2 ha in Commenti un carattere nullo"}}) {
        QTemporaryDir dir;
        const QString file = archivio(dir, caso.colonna, QLatin1String(caso.valore));
        test::TempStore admin;
        admin.rows(QStringLiteral("CREATE DATABASE brenzola_vuoto"));
        QByteArray said;
        QCOMPARE(copia({file, vuoto}, &said), 1);
        QVERIFY2(said.contains(caso.detto), said.constData());
        QCOMPARE(dump(QStringLiteral("QPSQL"), QStringLiteral("brenzola_vuoto")), QStringList());  // no table at all
        admin.rows(QStringLiteral("DROP DATABASE brenzola_vuoto WITH (FORCE)"));
    }

    // Identities travel: another address book's UID, and the register's own, which the others' are made from.
    QTemporaryDir dir;
    const QString file = archivio(dir, "Uid", QStringLiteral("'urn:uuid:1b4e28ba-2fa1-11d2-883f-0016d3cca427'"));
    test::TempStore admin;
    admin.rows(QStringLiteral("CREATE DATABASE brenzola_vuoto"));
    QCOMPARE(copia({file, vuoto}), 0);
    QCOMPARE(dump(QStringLiteral("QPSQL"), QStringLiteral("brenzola_vuoto")), dump(QStringLiteral("QSQLITE"), file));
    Connection suFile, sulServer;
    suFile.Open(Funzioni::StringaConnessionePer(file));
    sulServer.Open(vuoto);
    QVERIFY(!suFile.identity().isEmpty());
    QCOMPARE(sulServer.identity(), suFile.identity());
    sulServer.Close();
    admin.rows(QStringLiteral("DROP DATABASE brenzola_vuoto WITH (FORCE)"));
}

QTEST_GUILESS_MAIN(TestCopia)
#include "tst_copia.moc"
