#include "register/elenconomi.h"
#include "register/frmbrenzola.h"
#include "store/funzioni.h"
#include "testsupport.h"
#include "widgets/moduli.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace brenzola;
using namespace brenzola::Funzioni;

namespace {

QStringList entries(const FrmBrenzola& form)
{
    const auto* list = form.findChild<ElencoNomi*>("List1");
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts << list->text(i);
    return texts;
}

QString count(const FrmBrenzola& form) { return form.findChild<QLabel*>("LblNum")->text(); }

}  // namespace

class TestElenco : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { ApplicaImpostazioniItaliane(*qApp); }
    void init();
    void cleanup();

    void loadListsEveryContactInOrder();
    void quickSearchFollowsEveryKeystroke();
    void quickSearchTreatsQuotesAndWildcards();
    void quickSearchBoxTakesAtMost250Characters();
    void azzeraRicercaShowsEveryNamedContact();
    void closingTheWindowClosesTheStore();
    void missingStoreIsReportedAndNothingIsCreated();
    void storeWithoutTheTableIsReported();
    void failingStatementLeavesTheWindowWorking();
    void storeFailuresAreSaidInItalian();
    void aReadOnlyStoreIsSaidAtOnce();

private:
    std::unique_ptr<test::TempStore> store_;
    test::ScriptedDialogs dialogs_;
    std::unique_ptr<FrmBrenzola> form_;
    QLineEdit* ricerca() const { return form_->findChild<QLineEdit*>("TxtRicerca"); }
};

void TestElenco::init()
{
    store_ = std::make_unique<test::TempStore>();
    for (const auto& [cognome, nome] : std::initializer_list<std::pair<const char*, const char*>>{{"Zeta", "Ugo"},
                                                                                                  {"Esposito", "Anna"},
                                                                                                  {"de Luca", "Marco"},
                                                                                                  {"D'Angelo", "Sara"},
                                                                                                  {"Rossi", "Mario"},
                                                                                                  {"Rossi", "Mario"},
                                                                                                  {"Lombardi 50%", "Pia"},
                                                                                                  {"Ferri_Bis", "Ada"},
                                                                                                  {"FerriXBis", "Eva"},
                                                                                                  {"Èrcoli", "Nicolò"}})
        store_->insert({{"Cognome", QString::fromUtf8(cognome)}, {"Nome", QString::fromUtf8(nome)}});
    store_->insert({{"Cognome", "Bianchi"}});  // no first name
    store_->insert({{"Nome", "Senzacognome"}});
    dialogs_.shown.clear();
    form_ = std::make_unique<FrmBrenzola>(dialogs_);
}

void TestElenco::cleanup()
{
    form_.reset();
    ChiudiDatabase();
    store_.reset();
}

void TestElenco::loadListsEveryContactInOrder()
{
    QVERIFY(form_->Form_Load(store_->path()));
    QCOMPARE(entries(*form_),
             (QStringList{" Senzacognome", "Bianchi ", "D'Angelo Sara", "de Luca Marco", "Èrcoli Nicolò", "Esposito Anna",
                          "Ferri_Bis Ada", "FerriXBis Eva", "Lombardi 50% Pia", "Rossi Mario", "Rossi Mario", "Zeta Ugo"}));
    QCOMPARE(count(*form_), QStringLiteral("12"));
    QCOMPARE(Filtro(), QStringLiteral(" "));
    QCOMPARE(form_->idCorrente(), 0);
    QCOMPARE(form_->modificato(), false);
    QVERIFY(form_->findChild<ElencoNomi*>("List1")->selectedRow() < 0);
    QVERIFY(dialogs_.shown.isEmpty());
}

void TestElenco::quickSearchFollowsEveryKeystroke()
{
    QVERIFY(form_->Form_Load(store_->path()));
    form_->show();
    ricerca()->setFocus();
    QTest::keyClicks(ricerca(), "ro");
    QCOMPARE(entries(*form_), (QStringList{"Rossi Mario", "Rossi Mario"}));
    QCOMPARE(count(*form_), QStringLiteral("2"));
    QTest::keyClicks(ricerca(), "x");
    QCOMPARE(entries(*form_), QStringList());
    QCOMPARE(count(*form_), QStringLiteral("0"));
    QTest::keyClick(ricerca(), Qt::Key_Backspace);
    QCOMPARE(count(*form_), QStringLiteral("2"));
    ricerca()->clear();
    // An empty pattern lists every contact that has a surname.
    QCOMPARE(count(*form_), QStringLiteral("11"));
    QCOMPARE(Filtro(), QStringLiteral(" where cognome like '%%' "));
}

void TestElenco::quickSearchTreatsQuotesAndWildcards()
{
    QVERIFY(form_->Form_Load(store_->path()));
    QTest::keyClicks(ricerca(), "D'");
    QCOMPARE(Filtro(), QStringLiteral(" where cognome like '%D''%' "));
    QCOMPARE(entries(*form_), QStringList{"D'Angelo Sara"});
    ricerca()->setText("ÈR");
    QCOMPARE(entries(*form_), QStringList{"Èrcoli Nicolò"});
    ricerca()->setText("ri_b");
    QCOMPARE(entries(*form_), (QStringList{"Ferri_Bis Ada", "FerriXBis Eva"}));
    ricerca()->setText("i 5%");
    QCOMPARE(entries(*form_), QStringList{"Lombardi 50% Pia"});
    ricerca()->setText("%");
    QCOMPARE(count(*form_), QStringLiteral("11"));
    QVERIFY(dialogs_.shown.isEmpty());
}

void TestElenco::quickSearchBoxTakesAtMost250Characters()
{
    QVERIFY(form_->Form_Load(store_->path()));
    QTest::keyClicks(ricerca(), QString(260, u'a'));
    QCOMPARE(ricerca()->text().size(), 250);
    QCOMPARE(count(*form_), QStringLiteral("0"));
}

void TestElenco::azzeraRicercaShowsEveryNamedContact()
{
    QVERIFY(form_->Form_Load(store_->path()));
    ricerca()->setText("Zeta");
    QCOMPARE(count(*form_), QStringLiteral("1"));
    form_->AzzeraRicerca();
    QCOMPARE(ricerca()->text(), QString());
    QCOMPARE(count(*form_), QStringLiteral("11"));
    QCOMPARE(Filtro(), QStringLiteral(" where cognome like '%%' "));
    form_->ElencaTutti();
    QCOMPARE(count(*form_), QStringLiteral("12"));
}

void TestElenco::closingTheWindowClosesTheStore()
{
    QVERIFY(form_->Form_Load(store_->path()));
    form_->show();
    QVERIFY(Connessione());
    QTest::mouseClick(form_->findChild<QPushButton*>("CmdEsci"), Qt::LeftButton);
    QVERIFY(!form_->isVisible());
    QVERIFY(!Connessione());

    // Destroyed without a close (the session ending): the store is released all the same.
    auto other = std::make_unique<FrmBrenzola>(dialogs_);
    QVERIFY(other->Form_Load(store_->path()));
    other.reset();
    QVERIFY(!Connessione());
}

void TestElenco::missingStoreIsReportedAndNothingIsCreated()
{
    QTemporaryDir empty;
    QVERIFY(!form_->Form_Load(Funzioni::PercorsoArchivio(empty.path())));
    QCOMPARE(dialogs_.shown.size(), 1);
    QVERIFY(dialogs_.lastText().contains(QDir::toNativeSeparators(PercorsoArchivio(empty.path()))));
    QVERIFY(dialogs_.lastText().contains(QStringLiteral("Errore 14: il file non si può aprire")));
    QCOMPARE(QDir(empty.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    QVERIFY(!Connessione());
}

void TestElenco::storeWithoutTheTableIsReported()
{
    store_->rows("DROP TABLE Anagrafica");
    QVERIFY(!form_->Form_Load(store_->path()));
    QCOMPARE(dialogs_.shown.size(), 1);
    QVERIFY(dialogs_.lastText().contains(test::onServer() ? QStringLiteral("Errore 3146: nel database del server non c'è "
                                                                           "la tabella Anagrafica")
                                                          : QStringLiteral("Errore 1: no such table")));
}

void TestElenco::failingStatementLeavesTheWindowWorking()
{
    QVERIFY(form_->Form_Load(store_->path()));
    ricerca()->setText("Ro");
    // Another program changes the table under the window and purges the journal, so that
    // the window reads the whole register again.
    store_->rows("ALTER TABLE Anagrafica RENAME COLUMN Cognome TO Famiglia");
    store_->rows("UPDATE Giornale_Stato SET tagliato = tagliato + 1000");
    QTest::keyClicks(ricerca(), "s");
    // A server's list narrows in memory; it reads the store again when another desk writes.
    if (test::onServer()) form_->ElencoCambiatoAltrove();
    QCOMPARE(dialogs_.shown.size(), 1);
    QVERIFY2(dialogs_.lastText().contains(test::onServer() ? QStringLiteral("\n\nErrore 3146: ")
                                                           : QStringLiteral("\n\nErrore 1: no such column")),
             qPrintable(dialogs_.lastText()));
    // What was on screen stays there.
    QCOMPARE(ricerca()->text(), QStringLiteral("Ros"));
    QCOMPARE(entries(*form_), (QStringList{"Rossi Mario", "Rossi Mario"}));
    QVERIFY(Connessione());
}

void TestElenco::storeFailuresAreSaidInItalian()
{
    BRENZOLA_SOLO_FILE("a file that is not a database, and SQLite's own lock");
    // Not a database: a text file where the store should be.
    QTemporaryDir folder;
    QFile text(PercorsoArchivio(folder.path()));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write(QByteArray(4096, 'x'));
    text.close();
    QVERIFY(!form_->Form_Load(text.fileName()));
    QVERIFY2(dialogs_.lastText().contains(QStringLiteral("Errore 26: il file non è un archivio dei contatti")),
             qPrintable(dialogs_.lastText()));

    // Locked: another program holds a write lock while this one saves.
    QVERIFY(form_->Form_Load(store_->path()));
    QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("altro"));
    other.setDatabaseName(store_->path());
    other.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
    QVERIFY(other.open());
    QSqlQuery(QStringLiteral("BEGIN EXCLUSIVE"), other).exec();
    QSqlQuery(QStringLiteral("PRAGMA busy_timeout = 0"), Connessione()->database()).exec();
    form_->findChild<QLineEdit*>(QStringLiteral("TxtCognome"))->setText(QStringLiteral("Nuovo"));
    QTest::mouseClick(form_->findChild<QPushButton*>(QStringLiteral("CmdSalva")), Qt::LeftButton);
    QVERIFY2(dialogs_.lastText().contains(QStringLiteral("Errore 5: l'archivio è bloccato da un altro programma")),
             qPrintable(dialogs_.lastText()));
    QVERIFY(dialogs_.lastText().startsWith(QStringLiteral("Archivio «%1».").arg(QDir::toNativeSeparators(store_->path()))));
    QSqlQuery(QStringLiteral("ROLLBACK"), other).exec();
    other.close();
    other = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("altro"));
}

void TestElenco::aReadOnlyStoreIsSaidAtOnce()
{
    BRENZOLA_SOLO_FILE("the file's permissions");
    // The superuser may write anything: this part runs as nobody, in a child of this test.
    if (::geteuid() == 0) {
        QProcess child;
        child.start(QStringLiteral("setpriv"), {"--reuid=65534", "--regid=65534", "--clear-groups",
                                                QCoreApplication::applicationFilePath(), "aReadOnlyStoreIsSaidAtOnce"});
        QVERIFY(child.waitForFinished(60000));
        QVERIFY2(child.exitCode() == 0, child.readAllStandardOutput().constData());
        return;
    }
    QTemporaryDir folder;
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(QFile::copy(store_->path(), folder.filePath("Brenzola.mdb")));
    QFile::setPermissions(folder.filePath("Brenzola.mdb"), QFile::ReadOwner);
    QVERIFY(form_->Form_Load(folder.filePath("Brenzola.mdb")));
    QVERIFY2(dialogs_.lastText().contains(QStringLiteral("è di sola lettura")), qPrintable(dialogs_.lastText()));
    QVERIFY(!entries(*form_).isEmpty());  // it can still be read

    form_->findChild<QLineEdit*>(QStringLiteral("TxtCognome"))->setText(QStringLiteral("Nuovo"));
    QTest::mouseClick(form_->findChild<QPushButton*>(QStringLiteral("CmdSalva")), Qt::LeftButton);
    QVERIFY2(dialogs_.lastText().contains(QStringLiteral("Errore 8: l'archivio è di sola lettura")),
             qPrintable(dialogs_.lastText()));
}

QTEST_MAIN(TestElenco)
#include "tst_elenco.moc"
