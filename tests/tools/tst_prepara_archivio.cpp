#include "testsupport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
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

QStringList column(const QString& path, const QString& sql)
{
    QStringList values;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "column");
        db.setDatabaseName(path);
        db.open();
        QSqlQuery query(sql, db);
        while (query.next()) values << query.value(0).toString();
    }
    QSqlDatabase::removeDatabase("column");
    return values;
}

// Lower case without accents: "Èrcoli" and "ercoli" are the same surname to a reader.
QString folded(const QString& text)
{
    QString plain;
    for (const QChar c : text.toLower().normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing) plain += c;
    return plain;
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
        // The very contacts other tests and earlier stores were made with.
        QCOMPARE(QCryptographicHash::hash(tableDump(first), QCryptographicHash::Sha1).toHex(),
                 QByteArray("af992d0488bc215672ad82069ad5822a7a6a48e0"));
        QVERIFY(scalar(first, "select count(*) from Anagrafica where Nome is null") > 0);
        QVERIFY(scalar(first, "select count(*) from Anagrafica where DataIn is null") > 0);
        QVERIFY(scalar(first, "select count(*) from Anagrafica where DataNasc is null") > 0);
        QVERIFY(scalar(first, "select count(*) from Anagrafica where Cognome like '%''%'") > 0);
        QVERIFY(scalar(first, "select count(*) from Anagrafica where Cognome like 'È%' or Citta = 'Forlì'") > 0);
        QVERIFY(scalar(first, "select count(*) from Anagrafica where Cap like '0%'") > 0);
        QVERIFY(scalar(first, "select count(*) from Anagrafica where Commenti like '%' || char(10) || '%'") > 0);
        QCOMPARE(scalar(first, "select count(*) from Anagrafica where DataIn is not null and DataIn not like '____-__-__'"), 0);
    }

    void realisticDataHasARegistersNames()
    {
        QTemporaryDir dir;
        const QString first = dir.filePath("uno.mdb");
        QCOMPARE(prepara({"--demo", "30000", "--dati", "realistici", first}), 0);
        QCOMPARE(prepara({"--demo", "30000", "--dati", "realistici", dir.filePath("due.mdb")}), 0);
        QCOMPARE(tableDump(first), tableDump(dir.filePath("due.mdb")));
        QCOMPARE(scalar(first, "select count(*) from Anagrafica"), 30000);
        // A long tail of surnames under a few very common ones, the demo's first.
        QVERIFY(scalar(first, "select count(distinct Cognome) from Anagrafica") > 5000);
        QCOMPARE(column(first, "select Cognome from Anagrafica group by Cognome order by count(*) desc limit 1"),
                 QStringList{"Rossi"});
        QVERIFY(scalar(first, "select count(*) from Anagrafica where Cognome = 'Rossi'") > 1000);
        QVERIFY(scalar(first, "select count(distinct Nome) from Anagrafica") > 1000);
        QVERIFY(scalar(first, "select count(*) from Anagrafica where Nome is null") > 0);
        QVERIFY(scalar(first, "select count(*) from Anagrafica where Nome like '% %'") > 0);
        QVERIFY(scalar(first, "select count(*) from Anagrafica where Cognome like '%''%'") > 0);
        QVERIFY(scalar(first,
                       "select count(*) from Anagrafica where Cognome glob '*[àèìòùÈÙ]*' and Cognome not in "
                       "('Èrcoli', 'Ùbaldi', 'Nicolò')")
                > 0);
        QVERIFY(scalar(first, "select count(*) from Anagrafica where Cognome like 'De %' or Cognome like 'Lo %'") > 0);
        QVERIFY(scalar(first,
                       "select count(*) from Anagrafica where instr(Cognome, ' ') > 0 and substr(Cognome, 1, "
                       "instr(Cognome, ' ') - 1) not in ('De', 'Di', 'Lo', 'La', 'de', 'Van', 'van')")
                > 0);
        QVERIFY(scalar(first,
                       "select count(distinct Cognome) from Anagrafica where Cognome in ('Müller', 'Schmidt', "
                       "'Schneider')")
                > 1);
        // E-mail addresses are made of the names.
        for (const QString& row : column(first, "select Cognome || '|' || Email from Anagrafica where Email is not null")) {
            const QString surname = row.section(u'|', 0, 0).toLower().remove(u' ').remove(u'\'');
            QVERIFY2(row.endsWith(u'.' + surname + "@esempio.example"), qPrintable(row));
        }
    }

    void distinctDataGivesEveryContactItsOwnSurname()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("distinti.mdb");
        QCOMPARE(prepara({"--demo", "30000", "--dati", "distinti", path}), 0);
        const QStringList surnames = column(path, "select Cognome from Anagrafica");
        QCOMPARE(surnames.size(), 30000);
        QSet<QString> seen;
        for (const QString& surname : surnames) seen.insert(folded(surname));
        QCOMPARE(seen.size(), surnames.size());
        QVERIFY(scalar(path, "select count(*) from Anagrafica where Cognome like 'D''%' or Cognome like 'Dell''%'") > 0);
        QVERIFY(scalar(path, "select count(*) from Anagrafica where Cognome like 'De %' or Cognome like 'de %'") > 0);
        QVERIFY(scalar(path, "select count(*) from Anagrafica where Cognome glob '*[àèìòùÈÙ]*'") > 0);
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
        QByteArray told;
        QCOMPARE(run(QStringLiteral(PREPARA_ARCHIVIO), {"--demo", "5", "--dati", "vari", dir.filePath("x.mdb")}, {}, &told), 2);
        QVERIFY2(told.contains("--dati") && told.contains("«vari»"), told.constData());
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
