#include "access/accessconversion.h"
#include "register/avvio.h"
#include "store/funzioni.h"
#include "store/recordset.h"
#include "store/storeerror.h"
#include "testsupport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cmath>
#include <csignal>
#include <limits>
#include <optional>

using namespace brenzola;
using brenzola::test::ScriptedDialogs;

namespace {

const QString kFixture = QStringLiteral(BRENZOLA_FIXTURES "/access/Brenzola.mdb");
const QString kExpectedCsv = QStringLiteral(BRENZOLA_FIXTURES "/access/Brenzola.expected.csv");
const QString kBackupName = QStringLiteral("Brenzola.access-originale.mdb");

QByteArray readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) qFatal("cannot read %s", qPrintable(path));
    return file.readAll();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) qFatal("cannot write %s", qPrintable(path));
}

QByteArray fixture()
{
    static const QByteArray bytes = readAll(kFixture);
    return bytes;
}

// The fixture with `replacement` written over the bytes at `offset`.
QByteArray patched(qsizetype offset, const QByteArray& replacement)
{
    QByteArray bytes = fixture();
    bytes.replace(offset, replacement.size(), replacement);
    return bytes;
}

QByteArray utf16(const QString& text) { return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2); }

// Where the fixture keeps what the tests change (pages of 4 KB): the table's name in the
// catalog (page 14), two column names in the table definition (page 24), and the comment
// "Preventivo di 1.200 € accettato." as UTF-16 in a data page (page 29).
constexpr qsizetype kTableNameOffset = 59690;
constexpr qsizetype kCognomeOffset = 98787;
constexpr qsizetype kFonteOffset = 98951;
constexpr qsizetype kEuroOffset = 120468;
constexpr qsizetype kDataInTypeOffset = 98454;  // the type byte of DataIn's column descriptor
constexpr char kDoubleType = 0x07;

// Every file and folder under `folder`, hidden ones too, with a hash of each file's bytes.
QMap<QString, QByteArray> snapshot(const QString& folder)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = QDir(folder).relativeFilePath(path);
        if (it.fileInfo().isDir()) {
            entries.insert(name, "<cartella>");
        } else {
            QFile file(path);
            entries.insert(name, file.open(QIODevice::ReadOnly)
                                     ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex()
                                     : QByteArray("<illeggibile>"));
        }
    }
    return entries;
}

// RFC 4180 with one addition the fixture relies on: an unquoted empty field is Null
// (nullopt), a quoted one ("") is the empty text.
QList<QList<std::optional<QString>>> readCsv(const QString& path)
{
    const QString text = QString::fromUtf8(readAll(path));
    QList<QList<std::optional<QString>>> rows;
    QList<std::optional<QString>> row;
    QString field;
    bool quoted = false;
    bool inQuotes = false;
    const auto endField = [&] {
        row << (quoted || !field.isEmpty() ? std::optional<QString>(field) : std::nullopt);
        field.clear();
        quoted = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (inQuotes) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                inQuotes = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            inQuotes = quoted = true;
        } else if (c == u',') {
            endField();
        } else if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            endField();
            rows << row;
            row.clear();
            ++i;
        } else {
            field += c;
        }
    }
    if (!field.isEmpty() || quoted || !row.isEmpty()) {
        endField();
        rows << row;
    }
    return rows;
}

struct StoreContents {
    QStringList columns;
    QList<QVariantList> rows;
    QStringList storageClasses;  // how SQLite holds the non-Null values, "id" excluded
};

StoreContents readStore(const QString& path)
{
    StoreContents contents;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("lettura"));
        db.setDatabaseName(path);
        if (!db.open()) qFatal("cannot open %s", qPrintable(path));
        QSqlQuery query(QStringLiteral("SELECT * FROM Anagrafica ORDER BY id"), db);
        const QSqlRecord record = query.record();
        for (int i = 0; i < record.count(); ++i) contents.columns << record.fieldName(i);
        while (query.next()) {
            QVariantList row;
            for (int i = 0; i < record.count(); ++i) row << query.value(i);
            contents.rows << row;
        }
        for (int i = 1; i < record.count(); ++i) {
            QSqlQuery classes(QStringLiteral("SELECT DISTINCT typeof(%1) FROM Anagrafica").arg(record.fieldName(i)), db);
            while (classes.next())
                if (classes.value(0).toString() != u"null") contents.storageClasses << classes.value(0).toString();
        }
        contents.storageClasses.removeDuplicates();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("lettura"));
    return contents;
}

qlonglong scalar(const QString& path, const QString& sql)
{
    qlonglong value = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("scalare"));
        db.setDatabaseName(path);
        db.open();
        QSqlQuery query(sql, db);
        if (query.next()) value = query.value(0).toLongLong();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("scalare"));
    return value;
}

std::optional<StoreError> failureOf(const std::function<void()>& work)
{
    try {
        work();
    } catch (const StoreError& error) {
        return error;
    }
    return std::nullopt;
}

// A folder holding an Access file under the store's name.
struct AccessFolder {
    QTemporaryDir dir;
    explicit AccessFolder(const QByteArray& bytes = fixture()) { writeAll(store(), bytes); }
    QString path() const { return dir.path(); }
    QString store() const { return Funzioni::PercorsoArchivio(dir.path()); }
};

ConversionOptions quickOptions()
{
    ConversionOptions options;
    options.readerTimeoutMs = 3000;
    return options;
}

// Makes a folder refuse new entries: the immutable flag for root, whom permissions do not
// stop; the permissions for anyone else.
class UnwritableFolder {
public:
    explicit UnwritableFolder(const QString& folder) : folder_(folder)
    {
        if (::geteuid() == 0) {
            immutable_ = setImmutable(true);
        } else {
            ::chmod(QFile::encodeName(folder_).constData(), 0555);
            chmodded_ = true;
        }
    }
    ~UnwritableFolder()
    {
        if (immutable_) setImmutable(false);
        if (chmodded_) ::chmod(QFile::encodeName(folder_).constData(), 0755);
    }
    bool active() const
    {
        QFile probe(QDir(folder_).filePath(QStringLiteral("prova")));
        if (!probe.open(QIODevice::WriteOnly)) return true;
        probe.remove();
        return false;
    }

private:
    bool setImmutable(bool on)
    {
        const int fd = ::open(QFile::encodeName(folder_).constData(), O_RDONLY | O_DIRECTORY);
        if (fd < 0) return false;
        int flags = 0;
        bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (ok) {
            flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
            ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
        return ok;
    }

    QString folder_;
    bool immutable_ = false;
    bool chmodded_ = false;
};

// Files of this process may not grow beyond `bytes` while it lives; writing further fails
// with EFBIG instead of a signal, as on a disk that has filled up.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        savedHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, savedHandler_);
    }

private:
    rlimit saved_{};
    void (*savedHandler_)(int) = nullptr;
};

}  // namespace

class TestAccessConversion : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // The conversion's log goes to the user's data folder: this test's own.
        qputenv("XDG_DATA_HOME", home_.path().toUtf8());
    }
    void filesAreRecognisedByTheirHeader();
    void accessDatesBecomeStoreDates_data();
    void accessDatesBecomeStoreDates();
    void impossibleDatesAreRefused();
    void everyFieldOfTheFixtureIsConverted();
    void keysKeepTheirValuesAndGaps();
    void textBeyondTheBasicPlaneSurvives();
    void columnsMatchInAnyLetterCase();
    void columnDifferencesNeedConsent();
    void incompatibleColumnsBlockTheConversion();
    void startUpDeclinedChangesNothing();
    void startUpAcceptedConvertsAndKeepsTheOriginal();
    void startUpNeverOverwritesAnEarlierBackup();
    void startUpLeavesOtherFilesAlone();
    void brokenAccessFilesChangeNothing_data();
    void brokenAccessFilesChangeNothing();
    void unreadableInputChangesNothing();
    void unwritableFolderChangesNothing();
    void fullDiskChangesNothing();
    void toolConvertsAndReports();
    void theStoreIsAsPrivateAsTheFileAndNoLeftoverStays();
    void whatTheReaderSaidGoesToTheLog();

private:
    QTemporaryDir home_;
};

void TestAccessConversion::filesAreRecognisedByTheirHeader()
{
    QTemporaryDir dir;
    const auto kindOf = [&](const QString& name, const QByteArray& bytes) {
        writeAll(dir.filePath(name), bytes);
        return detectStoreFileKind(dir.filePath(name));
    };
    // Not by name: a renamed Access file is still one, and a store called .mdb is not.
    QCOMPARE(kindOf(QStringLiteral("contatti.dat"), fixture()), StoreFileKind::AccessJet4);
    QByteArray jet3 = fixture().left(4096);
    jet3[0x14] = 0;
    QCOMPARE(kindOf(QStringLiteral("vecchio.mdb"), jet3), StoreFileKind::AccessJet3);
    QByteArray ace = fixture().left(4096);
    ace.replace(4, 15, "Standard ACE DB");
    ace[0x14] = 2;
    QCOMPARE(kindOf(QStringLiteral("nuovo.accdb"), ace), StoreFileKind::AccessAce);
    brenzola::test::TempStore store;
    QCOMPARE(detectStoreFileKind(store.path()), StoreFileKind::SQLite);
    QCOMPARE(kindOf(QStringLiteral("Brenzola.mdb"), "Standard Jet DB, ma solo testo"), StoreFileKind::Other);
    QCOMPARE(kindOf(QStringLiteral("vuoto.mdb"), QByteArray()), StoreFileKind::Other);
    QCOMPARE(detectStoreFileKind(dir.filePath(QStringLiteral("assente.mdb"))), StoreFileKind::Missing);

    const auto folderError = failureOf([&] { detectStoreFileKind(dir.path()); });
    QVERIFY(folderError);
    QVERIFY2(folderError->description().contains(QStringLiteral("cartella")), qPrintable(folderError->description()));
}

void TestAccessConversion::accessDatesBecomeStoreDates_data()
{
    QTest::addColumn<double>("days");
    QTest::addColumn<QString>("stored");
    QTest::newRow("the day Access counts from") << 0.0 << "1899-12-30";
    QTest::newRow("1 January 1900") << 2.0 << "1900-01-01";
    QTest::newRow("29 February 2000") << 36585.0 << "2000-02-29";
    QTest::newRow("29 February 2020") << 43890.0 << "2020-02-29";
    QTest::newRow("noon keeps its time") << 37753.5 << "2003-05-12 12:00:00";
    QTest::newRow("milliseconds") << 37753.0 + 0.25 / 86400 << "2003-05-12 00:00:00.250";
    QTest::newRow("rounding noise is no time") << 37753.0 + 1e-10 << "2003-05-12";
    QTest::newRow("a whisker before midnight") << 36585.9999999999 << "2000-03-01";
    QTest::newRow("before 1899 the time still counts forward") << -1.25 << "1899-12-29 06:00:00";
    QTest::newRow("first day Access knows") << -657434.0 << "0100-01-01";
    QTest::newRow("last day Access knows") << 2958465.0 << "9999-12-31";
}

void TestAccessConversion::accessDatesBecomeStoreDates()
{
    QFETCH(double, days);
    QFETCH(QString, stored);
    QCOMPARE(storeDateFromAccess(days), stored);
}

void TestAccessConversion::impossibleDatesAreRefused()
{
    // Rather than turned into some other date.
    for (double bad : {-657435.0, 2958466.0, std::nan(""), std::numeric_limits<double>::infinity()}) {
        const auto error = failureOf([&] { storeDateFromAccess(bad); });
        QVERIFY2(error && error->number() == StoreErrorNumber::TypeMismatch, qPrintable(QString::number(bad)));
    }
}

void TestAccessConversion::everyFieldOfTheFixtureIsConverted()
{
    QTemporaryDir dir;
    const QString output = dir.filePath(QStringLiteral("convertito.mdb"));
    const ConversionSummary summary = convertAccessFile(kFixture, output);
    QCOMPARE(summary.rowsRead, qint64(40));
    QCOMPARE(summary.rowsWritten, qint64(40));
    QVERIFY(summary.backupPath.isEmpty());
    QCOMPARE(detectStoreFileKind(output), StoreFileKind::SQLite);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("convertito.mdb")});

    const auto csv = readCsv(kExpectedCsv);
    QCOMPARE(csv.size(), 41);
    const StoreContents store = readStore(output);
    QStringList header;
    for (const auto& name : csv.first()) header << name.value_or(QString());
    // Access registers had no identities: the converted contacts take this register's own.
    QCOMPARE(store.columns, header + QStringList{QStringLiteral("Uid")});
    for (const QVariantList& r : store.rows) QVERIFY(r.back().isNull());
    QCOMPARE(scalar(output, QStringLiteral("SELECT count(*) FROM Identita_Registro WHERE length(uuid) = 36")), 1);
    QCOMPARE(store.rows.size(), csv.size() - 1);
    QCOMPARE(store.storageClasses, QStringList{QStringLiteral("text")});

    for (qsizetype r = 1; r < csv.size(); ++r) {
        const auto& expected = csv[r];
        const QVariantList& actual = store.rows[r - 1];
        QCOMPARE(expected.size(), header.size());
        for (qsizetype c = 0; c < header.size(); ++c) {
            const QString where = QStringLiteral("id %1, %2").arg(expected[0].value_or("?"), header[c]);
            if (!expected[c]) {
                QVERIFY2(actual[c].isNull(), qPrintable(where + QStringLiteral(": atteso Null")));
            } else {
                QVERIFY2(!actual[c].isNull(), qPrintable(where + QStringLiteral(": Null inatteso")));
                QVERIFY2(actual[c].toString() == *expected[c],
                         qPrintable(where + QStringLiteral(": «%1» invece di «%2»").arg(actual[c].toString(), *expected[c])));
            }
        }
    }
    // The cases the fixture was made for, named so that a failure says which one broke.
    const auto row = [&](int id) {
        for (const QVariantList& r : store.rows)
            if (r[0].toInt() == id) return r;
        return QVariantList();
    };
    QVERIFY(row(12)[2].isNull());
    QVERIFY(!row(13)[2].isNull() && row(13)[2].toString().isEmpty());
    QCOMPARE(row(15)[3].toString(), QStringLiteral("1900-01-01"));
    QCOMPARE(row(20)[15].toString().size(), 2697);
    QVERIFY(row(20)[15].toString().contains(QStringLiteral("\r\n")));
    QCOMPARE(row(10)[1].toString(), QStringLiteral("Èrcole"));
    QCOMPARE(row(11)[8].toString(), QStringLiteral("00184"));
}

void TestAccessConversion::keysKeepTheirValuesAndGaps()
{
    AccessFolder folder;
    const ConversionSummary summary = convertAccessFile(folder.store(), folder.store());
    QCOMPARE(summary.backupPath, QDir(folder.path()).filePath(kBackupName));
    QCOMPARE(scalar(folder.store(), QStringLiteral("SELECT count(*) FROM Anagrafica")), 40);
    QCOMPARE(scalar(folder.store(), QStringLiteral("SELECT min(id) FROM Anagrafica")), 1);
    QCOMPARE(scalar(folder.store(), QStringLiteral("SELECT max(id) FROM Anagrafica")), 41);
    QCOMPARE(scalar(folder.store(), QStringLiteral("SELECT count(*) FROM Anagrafica WHERE id = 21")), 0);

    Funzioni::ApriDatabase(Funzioni::PercorsoArchivio(folder.path()));
    Recordset added;
    added.Open(QStringLiteral("select * from Anagrafica where id = 0"), Funzioni::Connessione());
    added.AddNew();
    added.SetField(QStringLiteral("Cognome"), QStringLiteral("Nuovo"));
    added.Update();
    QCOMPARE(added.Fields(QStringLiteral("id")).toInt(), 42);
    Funzioni::ChiudiDatabase();
}

void TestAccessConversion::textBeyondTheBasicPlaneSurvives()
{
    // "€ " becomes a surrogate pair: libmdb's own UCS-2 reading would make it "??".
    QTemporaryDir dir;
    writeAll(dir.filePath(QStringLiteral("emoji.mdb")), patched(kEuroOffset, QByteArray("\x3d\xd8\x00\xde", 4)));
    convertAccessFile(dir.filePath(QStringLiteral("emoji.mdb")), dir.filePath(QStringLiteral("out.mdb")));
    const StoreContents store = readStore(dir.filePath(QStringLiteral("out.mdb")));
    QString comment;
    for (const QVariantList& row : store.rows)
        if (row[0].toInt() == 30) comment = row[15].toString();
    QCOMPARE(comment, QStringLiteral("Preventivo di 1.200 \U0001F600accettato."));
}

void TestAccessConversion::columnsMatchInAnyLetterCase()
{
    QTemporaryDir dir;
    const QString input = dir.filePath(QStringLiteral("maiuscole.mdb"));
    writeAll(input, patched(kCognomeOffset, utf16(QStringLiteral("COGNOME"))));
    const AccessSurvey survey = surveyAccessFile(input);
    QCOMPARE(survey.kind, StoreFileKind::AccessJet4);
    QCOMPARE(survey.tableName, QStringLiteral("Anagrafica"));
    QCOMPARE(survey.rowCount, qint64(40));
    QVERIFY(!survey.columnsDiffer());
    QVERIFY(survey.incompatibleColumns.isEmpty());

    const QString output = dir.filePath(QStringLiteral("out.mdb"));
    convertAccessFile(input, output);
    QCOMPARE(scalar(output, QStringLiteral("SELECT count(*) FROM Anagrafica WHERE Cognome IS NOT NULL")), 40);
    QCOMPARE(scalar(output, QStringLiteral("SELECT count(*) FROM Anagrafica WHERE Cognome = 'Rossi' AND id = 1")), 1);
}

void TestAccessConversion::columnDifferencesNeedConsent()
{
    AccessFolder folder(patched(kFonteOffset, utf16(QStringLiteral("Fonti"))));
    const AccessSurvey survey = surveyAccessFile(folder.store());
    QCOMPARE(survey.unknownColumns, QStringList{QStringLiteral("Fonti")});
    QCOMPARE(survey.missingColumns, QStringList{QStringLiteral("Fonte")});
    QVERIFY(survey.describeDifferences().contains(QStringLiteral("Fonti")));

    // Without consent nothing happens; the user is told which columns differ.
    const auto before = snapshot(folder.path());
    const auto refused = failureOf([&] { convertAccessFile(folder.store(), folder.store()); });
    QVERIFY(refused);
    QVERIFY(refused->description().contains(QStringLiteral("Fonte")));
    QCOMPARE(snapshot(folder.path()), before);

    // The question names both columns and defaults to No; with Yes the store's Fonte stays Null.
    ScriptedDialogs dialogs;
    dialogs.answers = {MsgAnswer::Yes};
    QVERIFY(PreparaArchivioAccess(dialogs, nullptr, Funzioni::PercorsoArchivio(folder.path())));
    QCOMPARE(dialogs.shown.size(), 2);
    QVERIFY(dialogs.shown[0].text.contains(QStringLiteral("Fonti")));
    QVERIFY(dialogs.shown[0].text.contains(QStringLiteral("Fonte.")));
    QCOMPARE(dialogs.shown[0].defaultAnswer, MsgAnswer::No);
    QCOMPARE(scalar(folder.store(), QStringLiteral("SELECT count(*) FROM Anagrafica WHERE Fonte IS NULL")), 40);
    QCOMPARE(readAll(QDir(folder.path()).filePath(kBackupName)), patched(kFonteOffset, utf16(QStringLiteral("Fonti"))));
}

void TestAccessConversion::incompatibleColumnsBlockTheConversion()
{
    // DataIn declared as a Double: its values cannot be told to be dates, so nothing is asked.
    AccessFolder folder(patched(kDataInTypeOffset, QByteArray(1, kDoubleType)));
    const AccessSurvey survey = surveyAccessFile(folder.store());
    QCOMPARE(survey.incompatibleColumns, QStringList{QStringLiteral("DataIn (Precisione doppia)")});
    QVERIFY(!survey.columnsDiffer());

    const auto before = snapshot(folder.path());
    ScriptedDialogs dialogs;
    dialogs.answers = {MsgAnswer::Yes};
    QVERIFY(!PreparaArchivioAccess(dialogs, nullptr, Funzioni::PercorsoArchivio(folder.path())));
    QCOMPARE(dialogs.shown.size(), 1);
    QCOMPARE(dialogs.shown[0].icon, MsgIcon::Critical);
    QVERIFY2(dialogs.lastText().contains(QStringLiteral("Errore %1: ").arg(StoreErrorNumber::TypeMismatch)),
             qPrintable(dialogs.lastText()));
    QVERIFY(dialogs.lastText().contains(QStringLiteral("DataIn (Precisione doppia)")));

    ConversionOptions accepting;
    accepting.acceptColumnDifferences = true;
    const auto error = failureOf([&] { convertAccessFile(folder.store(), folder.store(), accepting); });
    QVERIFY(error);
    QCOMPARE(error->number(), StoreErrorNumber::TypeMismatch);
    QCOMPARE(snapshot(folder.path()), before);
}

void TestAccessConversion::startUpDeclinedChangesNothing()
{
    AccessFolder folder;
    const auto before = snapshot(folder.path());
    ScriptedDialogs dialogs;
    dialogs.answers = {MsgAnswer::No};
    QVERIFY(!PreparaArchivioAccess(dialogs, nullptr, Funzioni::PercorsoArchivio(folder.path())));
    QCOMPARE(dialogs.shown.size(), 1);
    const Message& question = dialogs.shown.first();
    QCOMPARE(question.buttons, MsgButtons::YesNo);
    QCOMPARE(question.icon, MsgIcon::Question);
    QCOMPARE(question.defaultAnswer, MsgAnswer::Yes);
    QVERIFY(question.text.contains(QDir::toNativeSeparators(folder.store())));
    QVERIFY(question.text.contains(QStringLiteral("Microsoft Access")));
    QVERIFY(question.text.contains(QStringLiteral("40 contatti")));
    QVERIFY(question.text.contains(kBackupName));
    QCOMPARE(snapshot(folder.path()), before);
}

void TestAccessConversion::startUpAcceptedConvertsAndKeepsTheOriginal()
{
    AccessFolder folder;
    ScriptedDialogs dialogs;
    dialogs.answers = {MsgAnswer::Yes};
    QVERIFY(PreparaArchivioAccess(dialogs, nullptr, Funzioni::PercorsoArchivio(folder.path())));
    QCOMPARE(dialogs.shown.size(), 2);
    QCOMPARE(dialogs.shown[1].icon, MsgIcon::Information);
    QVERIFY(dialogs.shown[1].text.contains(QStringLiteral("40 contatti")));
    QVERIFY(dialogs.shown[1].text.contains(kBackupName));

    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
             (QStringList{kBackupName, QStringLiteral("Brenzola.mdb")}));
    QCOMPARE(readAll(QDir(folder.path()).filePath(kBackupName)), fixture());
    QCOMPARE(detectStoreFileKind(folder.store()), StoreFileKind::SQLite);

    Funzioni::ApriDatabase(Funzioni::PercorsoArchivio(folder.path()));
    Recordset list;
    list.Open(QStringLiteral("select * from Anagrafica order by Cognome"), Funzioni::Connessione());
    int contacts = 0;
    for (; !list.Eof(); list.MoveNext()) ++contacts;
    QCOMPARE(contacts, 40);
    Funzioni::ChiudiDatabase();

    // Next start: the store is the program's own, so nothing is asked.
    ScriptedDialogs again;
    QVERIFY(PreparaArchivioAccess(again, nullptr, Funzioni::PercorsoArchivio(folder.path())));
    QVERIFY(again.shown.isEmpty());
}

void TestAccessConversion::startUpNeverOverwritesAnEarlierBackup()
{
    AccessFolder folder;
    const QString earlier = QDir(folder.path()).filePath(kBackupName);
    writeAll(earlier, "una copia di prima");
    QCOMPARE(accessBackupPath(folder.store()), QDir(folder.path()).filePath(QStringLiteral("Brenzola.access-originale-2.mdb")));
    ScriptedDialogs dialogs;
    dialogs.answers = {MsgAnswer::Yes};
    QVERIFY(PreparaArchivioAccess(dialogs, nullptr, Funzioni::PercorsoArchivio(folder.path())));
    QVERIFY(dialogs.shown[0].text.contains(QStringLiteral("Brenzola.access-originale-2.mdb")));
    QCOMPARE(readAll(earlier), QByteArray("una copia di prima"));
    QCOMPARE(readAll(QDir(folder.path()).filePath(QStringLiteral("Brenzola.access-originale-2.mdb"))), fixture());
}

void TestAccessConversion::startUpLeavesOtherFilesAlone()
{
    {
        brenzola::test::TempStore store;
        ScriptedDialogs dialogs;
        QVERIFY(PreparaArchivioAccess(dialogs, nullptr, store.path()));
        QVERIFY(dialogs.shown.isEmpty());
    }
    {
        QTemporaryDir empty;
        ScriptedDialogs dialogs;
        QVERIFY(PreparaArchivioAccess(dialogs, nullptr, Funzioni::PercorsoArchivio(empty.path())));
        QVERIFY(dialogs.shown.isEmpty());
    }
    {
        // Access 2007 and later: said so, nothing converted, the program ends.
        QByteArray ace = fixture();
        ace.replace(4, 15, "Standard ACE DB");
        ace[0x14] = 2;
        AccessFolder folder(ace);
        const auto before = snapshot(folder.path());
        ScriptedDialogs dialogs;
        dialogs.answers = {MsgAnswer::Yes};
        QVERIFY(!PreparaArchivioAccess(dialogs, nullptr, Funzioni::PercorsoArchivio(folder.path())));
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown[0].icon, MsgIcon::Critical);
        QVERIFY(dialogs.lastText().contains(QStringLiteral("Errore 3343:")));
        QVERIFY(dialogs.lastText().contains(QStringLiteral("Access 2007")));
        QCOMPARE(snapshot(folder.path()), before);
    }
}

void TestAccessConversion::brokenAccessFilesChangeNothing_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("words");
    // How many messages the start-up shows: 1 when the damage shows before the question, 2
    // when it only shows once rows are read. The looping file may do either: libmdb reads
    // uninitialised memory there, so where the loop starts varies.
    QTest::addColumn<QList<int>>("messages");

    QTest::newRow("cut inside a page") << fixture().left(97587) << 3049 << "termina a metà di una pagina" << QList<int>{1};
    QTest::newRow("a single page") << fixture().left(4096) << 3049 << "troppo corto" << QList<int>{1};
    QTest::newRow("only the header page") << fixture().left(2 * 4096) << 3049 << "danneggiato" << QList<int>{1};
    QTest::newRow("catalog cut off") << fixture().left(12 * 4096) << 3049 << "danneggiato" << QList<int>{1};
    // libmdb reads these without complaint, returning fewer rows than the table holds.
    QTest::newRow("all data pages cut off") << fixture().left(25 * 4096) << 3049 << "letti 0 record" << QList<int>{2};
    QTest::newRow("some data pages cut off") << fixture().left(30 * 4096) << 3049 << "danneggiato" << QList<int>{2};
    QTest::newRow("a data page wiped") << patched(29 * 4096, QByteArray(4096, '\0')) << 3049 << "danneggiato" << QList<int>{2};
    QTest::newRow("a data page overwritten")
        << patched(27 * 4096 + 16, QByteArray(4000, '\x5a')) << 3049 << "danneggiato" << QList<int>{2};
    // One byte in the column properties sends libmdb into an endless loop. Whether it does
    // depends on the uninitialised memory libmdb reads, which the address sanitizer's
    // allocator hands out differently: there libmdb reads the file without looping.
#ifndef __SANITIZE_ADDRESS__
    QTest::newRow("a byte that makes libmdb loop")
        << patched(94226, QByteArray(1, '\x2e')) << 3049 << "danneggiato" << QList<int>{1, 2};
#endif
    QTest::newRow("no table Anagrafica") << patched(kTableNameOffset, utf16(QStringLiteral("Anagrafixa"))) << 3078
                                         << "non contiene la tabella Anagrafica" << QList<int>{1};
    QTest::newRow("header only, the rest zeros")
        << fixture().left(4096) + QByteArray(8 * 4096, '\0') << 3049 << "danneggiato" << QList<int>{1};
    // The store would give U+FFFF back as U+FFFD: refused with the reason, not a disk error.
    QTest::newRow("a text the store cannot keep")
        << patched(kEuroOffset, QByteArray("\xff\xff", 2)) << 13 << "U+FFFF" << QList<int>{2};
}

void TestAccessConversion::brokenAccessFilesChangeNothing()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, number);
    QFETCH(QString, words);
    QFETCH(QList<int>, messages);

    AccessFolder folder(bytes);
    const auto before = snapshot(folder.path());

    const auto error = failureOf([&] { convertAccessFile(folder.store(), folder.store(), quickOptions()); });
    QVERIFY2(error, "the conversion did not fail");
    QCOMPARE(error->number(), number);
    QVERIFY2(error->description().contains(words), qPrintable(error->description()));
    // Short and Italian: what the reading library printed is in the log, not here.
    QVERIFY2(error->description().size() < 400, qPrintable(error->description()));
    QVERIFY2(!error->description().contains(QStringLiteral("offset")) && !error->description().contains(QStringLiteral("0x")),
             qPrintable(error->description()));
    QCOMPARE(snapshot(folder.path()), before);

    ScriptedDialogs dialogs;
    dialogs.answers = {MsgAnswer::Yes};
    QVERIFY(!PreparaArchivioAccess(dialogs, nullptr, Funzioni::PercorsoArchivio(folder.path()), quickOptions()));
    QVERIFY2(messages.contains(int(dialogs.shown.size())), qPrintable(QString::number(dialogs.shown.size())));
    QCOMPARE(dialogs.shown.last().icon, MsgIcon::Critical);
    QVERIFY2(dialogs.lastText().contains(QStringLiteral("Errore %1: ").arg(number)), qPrintable(dialogs.lastText()));
    QVERIFY(dialogs.lastText().contains(QStringLiteral("Nessun file è stato modificato")));
    QCOMPARE(snapshot(folder.path()), before);
}

void TestAccessConversion::unreadableInputChangesNothing()
{
    QTemporaryDir dir;
    writeAll(dir.filePath(QStringLiteral("testo.txt")), "non una cartella");
    QDir(dir.path()).mkdir(QStringLiteral("Brenzola.mdb"));
    writeAll(dir.filePath(QStringLiteral("Brenzola.mdb/dentro.txt")), "x");
    const auto before = snapshot(dir.path());
    const QString output = dir.filePath(QStringLiteral("out.mdb"));

    const auto folderAsInput = failureOf([&] { convertAccessFile(dir.filePath(QStringLiteral("Brenzola.mdb")), output); });
    QVERIFY(folderAsInput);
    QVERIFY2(folderAsInput->description().contains(QStringLiteral("cartella")), qPrintable(folderAsInput->description()));

    const auto underAFile = failureOf([&] { convertAccessFile(dir.filePath(QStringLiteral("testo.txt/Brenzola.mdb")), output); });
    QVERIFY(underAFile);
    QCOMPARE(underAFile->number(), ConversionErrorNumber::PathNotFound);

    const auto missing = failureOf([&] { convertAccessFile(dir.filePath(QStringLiteral("assente.mdb")), output); });
    QVERIFY(missing);
    QCOMPARE(missing->number(), ConversionErrorNumber::FileNotFound);

    const auto notAccess = failureOf([&] { convertAccessFile(dir.filePath(QStringLiteral("testo.txt")), output); });
    QVERIFY(notAccess);
    QCOMPARE(notAccess->number(), ConversionErrorNumber::UnrecognizedFormat);
    QCOMPARE(snapshot(dir.path()), before);

    // The store's place taken by a folder: the start-up cannot read it and says so.
    ScriptedDialogs dialogs;
    QVERIFY(!PreparaArchivioAccess(dialogs, nullptr, dir.path()));
    QCOMPARE(dialogs.shown.size(), 1);
    QVERIFY(dialogs.lastText().contains(QStringLiteral("Errore ")));
    QCOMPARE(snapshot(dir.path()), before);
}

void TestAccessConversion::unwritableFolderChangesNothing()
{
    // An output whose folder is a regular file cannot be written anywhere.
    QTemporaryDir dir;
    writeAll(dir.filePath(QStringLiteral("testo.txt")), "non una cartella");
    const auto outside = snapshot(dir.path());
    const auto underAFile =
        failureOf([&] { convertAccessFile(kFixture, dir.filePath(QStringLiteral("testo.txt/Brenzola.mdb"))); });
    QVERIFY(underAFile);
    QCOMPARE(underAFile->number(), ConversionErrorNumber::PathNotFound);
    QCOMPARE(snapshot(dir.path()), outside);

    AccessFolder folder;
    const auto before = snapshot(folder.path());
    UnwritableFolder locked(folder.path());
    if (!locked.active()) QSKIP("this file system lets us write into any folder");
    ScriptedDialogs dialogs;
    dialogs.answers = {MsgAnswer::Yes};
    QVERIFY(!PreparaArchivioAccess(dialogs, nullptr, Funzioni::PercorsoArchivio(folder.path())));
    QCOMPARE(dialogs.shown.size(), 2);
    QVERIFY2(dialogs.lastText().contains(QStringLiteral("Errore %1: ").arg(ConversionErrorNumber::PermissionDenied)),
             qPrintable(dialogs.lastText()));
    QVERIFY(dialogs.lastText().contains(QStringLiteral("Impossibile scrivere nella cartella")));
    QCOMPARE(snapshot(folder.path()), before);
}

void TestAccessConversion::fullDiskChangesNothing()
{
    AccessFolder folder;
    const auto before = snapshot(folder.path());
    ScriptedDialogs dialogs;
    dialogs.answers = {MsgAnswer::Yes};
    bool prepared = true;
    {
        // The converted fixture takes 24 KB; the disk "fills" halfway through.
        FileSizeLimit limit(12 * 1024);
        prepared = PreparaArchivioAccess(dialogs, nullptr, Funzioni::PercorsoArchivio(folder.path()));
    }
    QVERIFY(!prepared);
    QCOMPARE(dialogs.shown.size(), 2);
    QCOMPARE(dialogs.shown.last().icon, MsgIcon::Critical);
    QVERIFY2(dialogs.lastText().contains(QStringLiteral("Scrittura del nuovo archivio non riuscita")),
             qPrintable(dialogs.lastText()));
    QCOMPARE(snapshot(folder.path()), before);
}

void TestAccessConversion::toolConvertsAndReports()
{
    const auto tool = [](const QStringList& arguments, QString* output = nullptr) {
        QProcess process;
        process.start(QStringLiteral(CONVERTI_ACCESS), arguments);
        if (!process.waitForFinished(60000)) return -1;
        if (output) *output = QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
        return process.exitCode();
    };
    QTemporaryDir dir;
    QString text;

    // Into a new file: the input stays as it is and there is no backup.
    const QString copy = dir.filePath(QStringLiteral("nuovo.mdb"));
    QCOMPARE(tool({kFixture, copy}, &text), 0);
    QVERIFY2(text.contains(QStringLiteral("Record letti: 40")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("Record scritti: 40")));
    QVERIFY(!text.contains(QStringLiteral("Copia del file Access originale")));
    QCOMPARE(scalar(copy, QStringLiteral("SELECT count(*) FROM Anagrafica")), 40);

    // An existing output is never overwritten.
    const QByteArray converted = readAll(copy);
    QCOMPARE(tool({kFixture, copy}, &text), 1);
    QVERIFY2(text.contains(QStringLiteral("Errore 58:")), qPrintable(text));
    QCOMPARE(readAll(copy), converted);

    // In place: the Access file gives way and stays as the backup.
    AccessFolder folder;
    QCOMPARE(tool({folder.store(), folder.store()}, &text), 0);
    QVERIFY2(text.contains(QStringLiteral("Copia del file Access originale: ")
                           + QDir::toNativeSeparators(QDir(folder.path()).filePath(kBackupName))),
             qPrintable(text));
    QCOMPARE(readAll(QDir(folder.path()).filePath(kBackupName)), fixture());

    // Column differences are listed, and converted only on request.
    const QString renamed = dir.filePath(QStringLiteral("fonti.mdb"));
    writeAll(renamed, patched(kFonteOffset, utf16(QStringLiteral("Fonti"))));
    QCOMPARE(tool({renamed, dir.filePath(QStringLiteral("a.mdb"))}, &text), 3);
    QVERIFY(text.contains(QStringLiteral("Fonti")));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("a.mdb"))));
    QCOMPARE(tool({QStringLiteral("--accetta-differenze"), renamed, dir.filePath(QStringLiteral("a.mdb"))}, &text), 0);

    QCOMPARE(tool({kFixture}, &text), 2);
    QVERIFY(text.contains(QStringLiteral("Uso:")));
}

void TestAccessConversion::theStoreIsAsPrivateAsTheFileAndNoLeftoverStays()
{
    AccessFolder folder;
    QVERIFY(::chmod(QFile::encodeName(folder.store()).constData(), 0600) == 0);
    // One conversion was killed half-way; another still runs and holds its folder's lock.
    const QString abandoned = folder.dir.filePath(QStringLiteral(".Brenzola-conversione-AbCdEf"));
    const QString running = folder.dir.filePath(QStringLiteral(".Brenzola-conversione-GhIjKl"));
    QVERIFY(QDir().mkpath(abandoned) && QDir().mkpath(running));
    writeAll(abandoned + QStringLiteral("/Brenzola.mdb"), QByteArray(8192, 'x'));
    const int lock = ::open(QFile::encodeName(running).constData(), O_RDONLY | O_DIRECTORY);
    QVERIFY(lock >= 0 && ::flock(lock, LOCK_EX) == 0);

    convertAccessFile(folder.store(), folder.store(), quickOptions());
    struct stat status {};
    QVERIFY(::stat(QFile::encodeName(folder.store()).constData(), &status) == 0);
    QCOMPARE(status.st_mode & 0777, mode_t(0600));
    QVERIFY(!QFileInfo::exists(abandoned));
    QVERIFY(QFileInfo::exists(running));
    ::close(lock);

    // An Access file others could read still gives a store for its owner alone.
    AccessFolder shared;
    QVERIFY(::chmod(QFile::encodeName(shared.store()).constData(), 0644) == 0);
    convertAccessFile(shared.store(), shared.dir.filePath(QStringLiteral("nuovo.mdb")), quickOptions());
    QVERIFY(::stat(QFile::encodeName(shared.dir.filePath(QStringLiteral("nuovo.mdb"))).constData(), &status) == 0);
    QCOMPARE(status.st_mode & 0777, mode_t(0600));
}

void TestAccessConversion::whatTheReaderSaidGoesToTheLog()
{
    AccessFolder folder(fixture().left(12 * 4096));  // the catalog cut off: the library complains
    QFile::remove(QDir(home_.path()).filePath(QStringLiteral("Brenzola/conversione.log")));
    const auto error = failureOf([&] { convertAccessFile(folder.store(), folder.store(), quickOptions()); });
    QVERIFY(error);
    const QString log = QDir(home_.path()).filePath(QStringLiteral("Brenzola/conversione.log"));
    QVERIFY2(error->description().endsWith(QStringLiteral("Dettagli tecnici in «%1».").arg(log)),
             qPrintable(error->description()));
    const QByteArray logged = readAll(log);
    QVERIFY(logged.contains(QFile::encodeName(folder.store())));
    QVERIFY(logged.size() > QFile::encodeName(folder.store()).size() + 30);  // the library's own words
}

QTEST_MAIN(TestAccessConversion)
#include "tst_accessconversion.moc"
