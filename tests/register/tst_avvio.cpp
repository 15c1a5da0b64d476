// Where the program finds its store, and what it does when there is none.
#include "register/avvio.h"
#include "store/funzioni.h"
#include "testsupport.h"
#include "widgets/moduli.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace brenzola;

class TestAvvio : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup() { home_.reset(); }

    void theStoreIsTheUsersOwnUnlessAnotherWasChosen();
    void firstStartCreatesOrOpensOnlyWhenAsked();
    void theCommandLineNamesAStoreButNeverCreatesOne();

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

    // Opening: a cancelled file choice asks again; the file chosen is remembered.
    dialogs.answers = {MsgAnswer::No, MsgAnswer::No};
    dialogs.chosenFiles = {QString(), home_->filePath("Vecchio.mdb")};
    QCOMPARE(PrimoAvvio(dialogs, personale), home_->filePath("Vecchio.mdb"));
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
    QCOMPARE(ArchivioDaUsare(), personale);
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
