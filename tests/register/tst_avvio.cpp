// Where the program finds its store, and what it does when there is none.
#include "register/avvio.h"
#include "store/funzioni.h"
#include "testsupport.h"
#include "widgets/moduli.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <string_view>

using namespace brenzola;

class TestAvvio : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup() { home_.reset(); }

    void theStoreIsTheUsersOwnUnlessAnotherWasChosen();
    void firstStartCreatesOrOpensOnlyWhenAsked();
    void theCommandLineNamesAStoreButNeverCreatesOne();
    void aStoreThatCannotBeOpenedIsNeverADeadEnd();
    void helpAndVersionNeedNoDisplay();
    void aKilledConversionLeavesNothingPastTheNextStart();

private:
    std::unique_ptr<QTemporaryDir> home_;
};

void TestAvvio::init()
{
    // A user of our own: data and settings in a fresh folder.
    home_ = std::make_unique<QTemporaryDir>();
    qputenv("XDG_DATA_HOME", home_->filePath("data").toUtf8());
    qputenv("XDG_CONFIG_HOME", home_->filePath("config").toUtf8());
    Funzioni::ApplicaImpostazioniItaliane(*qApp);
}

void TestAvvio::theStoreIsTheUsersOwnUnlessAnotherWasChosen()
{
    QCOMPARE(Funzioni::ArchivioPersonale(), home_->filePath("data/Brenzola/Brenzola.mdb"));
    QCOMPARE(ArchivioDaUsare(), Funzioni::ArchivioPersonale());
    QSettings(Funzioni::FileImpostazioni(), QSettings::IniFormat).setValue("archivio", "/altrove/Contatti.mdb");
    QCOMPARE(ArchivioDaUsare(), QStringLiteral("/altrove/Contatti.mdb"));
    QCOMPARE(Funzioni::FileImpostazioni(), home_->filePath("config/Brenzola/brenzola.conf"));
}

void TestAvvio::firstStartCreatesOrOpensOnlyWhenAsked()
{
    const QString personale = Funzioni::ArchivioPersonale();
    test::ScriptedDialogs dialogs;
    dialogs.answers = {MsgAnswer::Cancel};
    QCOMPARE(PrimoAvvio(dialogs, personale), QString());
    QVERIFY(!QFileInfo::exists(personale));
    QVERIFY(dialogs.lastText().startsWith(QStringLiteral("Benvenuti in Brenzola.")));
    QCOMPARE(dialogs.shown.front().yesCaption, QStringLiteral("Crea un archivio nuovo"));

    // Opening: a cancelled file choice asks again; the file chosen is remembered once it opened.
    dialogs.answers = {MsgAnswer::No, MsgAnswer::No};
    dialogs.chosenFiles = {QString(), home_->filePath("Vecchio.mdb")};
    QCOMPARE(PrimoAvvio(dialogs, personale), home_->filePath("Vecchio.mdb"));
    QCOMPARE(ArchivioDaUsare(), personale);
    RicordaArchivio(home_->filePath("Vecchio.mdb"));
    QCOMPARE(ArchivioDaUsare(), home_->filePath("Vecchio.mdb"));
    QVERIFY(!QFileInfo::exists(personale));

    // That file gone, the user creates a new one: their own, private, and the default again.
    dialogs.shown.clear();
    dialogs.answers = {MsgAnswer::Yes};
    QCOMPARE(PrimoAvvio(dialogs, ArchivioDaUsare()), personale);
    QVERIFY(dialogs.shown.front().text.contains(QStringLiteral("non si trova più")));
    QVERIFY(QFileInfo::exists(personale));
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
    QCOMPARE(QFile::permissions(personale) & others, QFile::Permissions());  // contacts are personal data
    RicordaArchivio(personale);
    QCOMPARE(ArchivioDaUsare(), personale);
}

void TestAvvio::aStoreThatCannotBeOpenedIsNeverADeadEnd()
{
    // Remembered from an earlier start, now not a store at all (or not readable by this user).
    const QString rotto = home_->filePath("Rotto.mdb");
    QFile file(rotto);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'x'));
    file.close();
    RicordaArchivio(rotto);
    for (const bool leggibile : {true, false}) {
        QFile::setPermissions(rotto, leggibile ? QFile::ReadOwner | QFile::WriteOwner : QFile::WriteOwner);
        if (!leggibile && QFileInfo(rotto).isReadable()) break;  // as root every file is readable
        test::ScriptedDialogs dialogs;
        // The first-start question says why, with the number; the user leaves, and may come back.
        dialogs.answers = {MsgAnswer::Cancel};
        QCOMPARE(AvviaProgramma(dialogs, {"brenzola"}), 1);
        QCOMPARE(dialogs.shown.size(), 1);
        const QString detto = dialogs.lastText();
        QVERIFY2(detto.contains(QStringLiteral("non si può aprire")) && detto.contains(QStringLiteral("Errore "))
                     && detto.contains(QDir::toNativeSeparators(rotto)),
                 qPrintable(detto));
        QCOMPARE(dialogs.shown.front().cancelCaption, QStringLiteral("Esci"));
        QCOMPARE(ArchivioDaUsare(), rotto);

        // Another file that is no store, chosen there: said again, and never remembered.
        dialogs.shown.clear();
        dialogs.answers = {MsgAnswer::No, MsgAnswer::Cancel};
        dialogs.chosenFiles = {rotto};
        QCOMPARE(AvviaProgramma(dialogs, {"brenzola"}), 1);
        QCOMPARE(dialogs.shown.size(), 2);
        QVERIFY(dialogs.lastText().contains(QStringLiteral("non si può aprire")));
    }
}

void TestAvvio::aKilledConversionLeavesNothingPastTheNextStart()
{
    // What a conversion killed half-way left beside its store: the next start clears it.
    test::TempStore store;
    const QString avanzo = QDir(store.folder()).filePath(QStringLiteral(".Brenzola-conversione-Xy12Zw"));
    QVERIFY(QDir().mkpath(avanzo));
    QFile copia(avanzo + QStringLiteral("/Brenzola.mdb"));
    QVERIFY(copia.open(QIODevice::WriteOnly) && copia.write(QByteArray(8192, 'x')) == 8192);
    copia.close();
    test::ScriptedDialogs dialogs;
    QVERIFY(PreparaArchivioAccess(dialogs, nullptr, store.path()));
    QVERIFY(!QFileInfo::exists(avanzo));
    QVERIFY(QFileInfo::exists(store.path()));
    QVERIFY(dialogs.shown.isEmpty());
}

void TestAvvio::helpAndVersionNeedNoDisplay()
{
    QProcess programma;
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    for (const char* nome : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) ambiente.remove(QLatin1String(nome));
    programma.setProcessEnvironment(ambiente);
    for (const char* opzione : {"--help", "--version"}) {
        programma.start(QStringLiteral(BRENZOLA_EXECUTABLE), {QLatin1String(opzione)});
        QVERIFY(programma.waitForFinished(20'000));
        QCOMPARE(programma.exitStatus(), QProcess::NormalExit);
        QCOMPARE(programma.exitCode(), 0);
        QVERIFY(programma.readAllStandardOutput().contains(opzione == std::string_view("--help") ? "--archivio" : "1.0"));
    }
}

void TestAvvio::theCommandLineNamesAStoreButNeverCreatesOne()
{
    test::ScriptedDialogs dialogs;
    const QString mancante = home_->filePath("nessuno.mdb");
    QCOMPARE(AvviaProgramma(dialogs, {"brenzola", "--archivio", mancante}), 1);
    QVERIFY(dialogs.lastText().contains(QDir::toNativeSeparators(mancante)));
    QVERIFY(!QFileInfo::exists(mancante));
    QCOMPARE(AvviaProgramma(dialogs, {"brenzola", "--sconosciuta"}), 2);
    QCOMPARE(AvviaProgramma(dialogs, {"brenzola", "--version"}), 0);

    // Without a store and without an answer, the program leaves having created nothing.
    dialogs.answers = {MsgAnswer::Cancel};
    QCOMPARE(AvviaProgramma(dialogs, {"brenzola"}), 0);
    QVERIFY(!QFileInfo::exists(Funzioni::ArchivioPersonale()));
}

QTEST_MAIN(TestAvvio)
#include "tst_avvio.moc"
