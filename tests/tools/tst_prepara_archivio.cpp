#include "testsupport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

int run(const QString& tool, const QStringList& arguments, const QString& folder = {}, QByteArray* output = nullptr)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(tool, arguments);
    if (!process.waitForFinished(60000)) return -1;
    if (output) *output = process.readAllStandardOutput() + process.readAllStandardError();
    return process.exitCode();
}

int prepara(const QStringList& arguments) { return run(QStringLiteral(PREPARA_ARCHIVIO), arguments); }

QByteArray tableDump(const QString& path)
{
    QByteArray dump;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "dump");
        db.setDatabaseName(path);
        db.open();
        QSqlQuery query("select * from Anagrafica order by id", db);
        while (query.next())
            for (int i = 0; i < 16; ++i)
                dump += (query.value(i).isNull() ? QByteArray("<null>") : query.value(i).toString().toUtf8()) + '|';
    }
    QSqlDatabase::removeDatabase("dump");
    return dump;
}

int scalar(const QString& path, const QString& sql)
{
    int value = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "scalar");
        db.setDatabaseName(path);
        db.open();
        QSqlQuery query(sql, db);
        if (query.next()) value = query.value(0).toInt();
    }
    QSqlDatabase::removeDatabase("scalar");
    return value;
}

}  // namespace

class TestPreparaArchivio : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void createsAnEmptyStore()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("Brenzola.mdb");
        QCOMPARE(prepara({path}), 0);
        QCOMPARE(scalar(path, "select count(*) from Anagrafica"), 0);
        QCOMPARE(QFile::permissions(path) & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther),
                 QFile::Permissions());  // personal data: the owner's only
        // The key, the fifteen fields and the identity other address books know a contact by.
        QCOMPARE(scalar(path, "select count(*) from pragma_table_info('Anagrafica')"), 17);
    }

    void demoContactsAreVariedAndRepeatable()
    {
        QTemporaryDir dir;
        const QString first = dir.filePath("uno.mdb");
        const QString second = dir.filePath("due.mdb");
        QCOMPARE(prepara({"--demo", "500", first}), 0);
        QCOMPARE(prepara({"--demo", "500", second}), 0);
        QCOMPARE(scalar(first, "select count(*) from Anagrafica"), 500);
        QCOMPARE(tableDump(first), tableDump(second));
        QVERIFY(scalar(first, "select count(*) from Anagrafica where Nome is null") > 0);
        QVERIFY(scalar(first, "select count(*) from Anagrafica where DataIn is null") > 0);
        QVERIFY(scalar(first, "select count(*) from Anagrafica where DataNasc is null") > 0);
        QVERIFY(scalar(first, "select count(*) from Anagrafica where Cognome like '%''%'") > 0);
        QVERIFY(scalar(first, "select count(*) from Anagrafica where Cognome like 'È%' or Citta = 'Forlì'") > 0);
        QVERIFY(scalar(first, "select count(*) from Anagrafica where Cap like '0%'") > 0);
        QVERIFY(scalar(first, "select count(*) from Anagrafica where Commenti like '%' || char(10) || '%'") > 0);
        QCOMPARE(scalar(first, "select count(*) from Anagrafica where DataIn is not null and DataIn not like '____-__-__'"), 0);
    }

    void refusesToOverwriteAFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("Brenzola.mdb");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("dati preziosi");
        file.close();
        QCOMPARE(prepara({"--demo", "5", path}), 1);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("dati preziosi"));
    }

    void refusesBadArguments()
    {
        QTemporaryDir dir;
        QCOMPARE(prepara({}), 2);
        QCOMPARE(prepara({"--demo", "molti", dir.filePath("x.mdb")}), 2);
        QVERIFY(!QFile::exists(dir.filePath("x.mdb")));

        // Options are never file names, for either tool; a file so named follows "--".
        for (const QString& tool : {QStringLiteral(PREPARA_ARCHIVIO), QStringLiteral(CONVERTI_ACCESS)}) {
            QByteArray said;
            QCOMPARE(run(tool, {"--help"}, dir.path(), &said), 0);
            QVERIFY2(said.startsWith("Uso: "), said.constData());
            QCOMPARE(run(tool, {"--version"}, dir.path(), &said), 0);
            QVERIFY2(said.contains("(Brenzola) 1.0.0"), said.constData());
            QCOMPARE(run(tool, {"--archivio", "a.mdb", "b.mdb"}, dir.path(), &said), 2);
            QVERIFY2(said.contains("opzione sconosciuta «--archivio»") && said.contains("Uso: "), said.constData());
        }
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
        QCOMPARE(run(QStringLiteral(PREPARA_ARCHIVIO), {"--", "-x.mdb"}, dir.path()), 0);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"-x.mdb"});
    }
};

QTEST_GUILESS_MAIN(TestPreparaArchivio)
#include "tst_prepara_archivio.moc"
