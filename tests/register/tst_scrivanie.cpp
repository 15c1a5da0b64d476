// Several desks on one PostgreSQL server: what another desk does shows in the list, saves
// never undo each other across processes, each desk signs in as its own user, and the
// program rides out a server restart. Runs only against a server (pg_virtualenv).
#include "register/elenconomi.h"
#include "register/frmbrenzola.h"
#include "store/archivio.h"
#include "store/funzioni.h"
#include "store/recordset.h"
#include "testsupport.h"
#include "widgets/moduli.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

#include <cstring>

using namespace brenzola;
using namespace brenzola::Funzioni;

namespace {

// The other desk, a process of its own: `--scrivania STORE ID COLUMN VALUE` changes one
// contact through the program's own store code (VALUE "-" deletes it).
int otherDesk(const QStringList& args)
{
    try {
        Connection desk;
        desk.Open(StringaConnessionePer(args[0]));
        if (args[3] == u"-") {
            desk.Execute(QStringLiteral("Delete from anagrafica where id=%1").arg(args[1]));
            return 0;
        }
        Recordset rs;
        rs.Open(QStringLiteral("Select * from Anagrafica where id =%1").arg(args[1]), &desk);
        rs.SetField(args[2], args[3]);
        rs.Update();
        return 0;
    } catch (const StoreError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}

}  // namespace

class TestScrivanie : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void anotherDesksChangesShowWithoutMovingAnything();
    void twoProcessesNeverUndoEachOther();
    void eachDeskSignsInAsItsOwnUserAndMayDoNoMore();
    void aServerRestartIsRiddenOut();
    void anUnreachableServerIsSaidInItalian();

private:
    void otherDeskDoes(const QString& id, const QString& column, const QString& value) const;
    template <typename T = QLineEdit> T* child(const char* name) const { return form_->findChild<T*>(QLatin1String(name)); }
    ElencoNomi* list() const { return child<ElencoNomi>("List1"); }

    std::unique_ptr<test::TempStore> store_;
    test::ScriptedDialogs dialogs_;
    std::unique_ptr<FrmBrenzola> form_;
    qint64 bianchi_ = 0, verdi_ = 0;
};

void TestScrivanie::initTestCase()
{
    if (!test::onServer()) QSKIP("only against a server");
    ApplicaImpostazioniItaliane(*qApp);
}

void TestScrivanie::init()
{
    store_ = std::make_unique<test::TempStore>();
    bianchi_ = store_->insert({{"Cognome", "Bianchi"}, {"Nome", "Anna"}, {"Telefono", "02 1"}});
    verdi_ = store_->insert({{"Cognome", "Verdi"}, {"Nome", "Luca"}});
    store_->insert({{"Cognome", "Rossi"}, {"Nome", "Mario"}});
    dialogs_ = test::ScriptedDialogs();
    form_ = std::make_unique<FrmBrenzola>(dialogs_);
    QVERIFY(form_->Form_Load(store_->path()));
    form_->show();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
}

void TestScrivanie::cleanup()
{
    form_.reset();
    ChiudiDatabase();
    store_.reset();
}

void TestScrivanie::otherDeskDoes(const QString& id, const QString& column, const QString& value) const
{
    QProcess desk;
    desk.start(QCoreApplication::applicationFilePath(), {"--scrivania", store_->path(), id, column, value});
    QVERIFY(desk.waitForFinished(30000));
    QVERIFY2(desk.exitCode() == 0, desk.readAllStandardError().constData());
}

void TestScrivanie::anotherDesksChangesShowWithoutMovingAnything()
{
    list()->setCurrentRow(1);  // Rossi
    QCOMPARE(form_->idCorrente(), store_->rows("SELECT id FROM anagrafica WHERE cognome = 'Rossi'")[0][0].toLongLong());
    auto* telefono = child("TxtTelefono");
    telefono->setFocus();
    QTest::keyClicks(telefono, "333");

    Connection desk;  // another desk: its own session on the server
    desk.Open(store_->path());
    Recordset added;
    added.Open(QStringLiteral("Select * from Anagrafica where id =0"), &desk);
    added.AddNew();
    added.SetField(QStringLiteral("cognome"), QStringLiteral("Abate"));
    added.Update();
    desk.Execute(QStringLiteral("Delete from anagrafica where id=%1").arg(verdi_));

    const QStringList expected = {"Abate ", "Bianchi Anna", "Rossi Mario"};
    QTRY_COMPARE_WITH_TIMEOUT(list()->text(0), QStringLiteral("Abate "), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(list()->count(), 3, 5000);
    QStringList shown;
    for (int i = 0; i < list()->count(); ++i) shown << list()->text(i);
    QCOMPARE(shown, expected);
    QCOMPARE(child<QLabel>("LblNum")->text(), QStringLiteral("3"));
    // The same entry chosen, the typing where it was, nothing asked.
    QCOMPARE(list()->selectionModel()->selectedRows().size(), 1);
    QCOMPARE(list()->text(list()->selectedRow()), QStringLiteral("Rossi Mario"));
    QCOMPARE(QApplication::focusWidget(), telefono);
    QCOMPARE(telefono->text(), QStringLiteral("333"));
    QVERIFY(dialogs_.shown.isEmpty());
}

void TestScrivanie::twoProcessesNeverUndoEachOther()
{
    list()->setCurrentRow(0);  // Bianchi
    QCOMPARE(form_->idCorrente(), bianchi_);
    otherDeskDoes(QString::number(bianchi_), QStringLiteral("Telefono"), QStringLiteral("06 9"));
    QVERIFY(test::modificaCampo(child("TxtEmail"), [this] { child("TxtEmail")->setText(QStringLiteral("anna@example.it")); }));
    dialogs_.answers = {MsgAnswer::Yes};  // Sovrascrivi: this desk's change over theirs
    QVERIFY(form_->CmdSalva_Click());
    const auto row = store_->rows(QStringLiteral("SELECT telefono, email FROM anagrafica WHERE id = %1").arg(bianchi_))[0];
    QCOMPARE(row[0].toString(), QStringLiteral("06 9"));
    QCOMPARE(row[1].toString(), QStringLiteral("anna@example.it"));

    // One desk deletes while the other edits: asked, and saved as new only on Yes.
    otherDeskDoes(QString::number(bianchi_), QStringLiteral("Telefono"), QStringLiteral("-"));
    child("TxtEmail")->setText(QStringLiteral("anna@altrove.it"));
    dialogs_.shown.clear();
    dialogs_.answers = {MsgAnswer::No};
    QVERIFY(!form_->CmdSalva_Click());
    QVERIFY(dialogs_.lastText().contains(QStringLiteral("eliminato")));
    QCOMPARE(store_->rows("SELECT count(*) FROM anagrafica WHERE cognome = 'Bianchi'")[0][0].toInt(), 0);
}

void TestScrivanie::eachDeskSignsInAsItsOwnUserAndMayDoNoMore()
{
    store_->rows(QStringLiteral("CREATE ROLE anna LOGIN PASSWORD 'segreta' IN ROLE %1").arg(QLatin1String(kRuoloUtenti)));
    form_.reset();
    ChiudiDatabase();

    // No password from libpq's means: the program asks, and keeps it for this connection only.
    const QByteArray saved = qgetenv("PGPASSWORD");
    qunsetenv("PGPASSWORD");
    const QString anna = store_->path() + QStringLiteral(";User=anna");
    dialogs_ = test::ScriptedDialogs();
    dialogs_.passwords = {QStringLiteral("sbagliata"), QStringLiteral("segreta")};
    form_ = std::make_unique<FrmBrenzola>(dialogs_);
    const bool loaded = form_->Form_Load(anna);
    qputenv("PGPASSWORD", saved);
    QVERIFY2(loaded, qPrintable(dialogs_.lastText()));
    QCOMPARE(dialogs_.shown.size(), 2);  // asked twice: the first was refused
    QVERIFY(!StringaConnessione().contains(QStringLiteral("segreta")));
    QCOMPARE(list()->count(), 3);

    // Anna reads, changes and deletes contacts, and can do nothing else.
    list()->setCurrentRow(2);
    child("TxtTelefono")->setText(QStringLiteral("011"));
    QVERIFY(form_->CmdSalva_Click());
    QSqlQuery create(Connessione()->database());
    QVERIFY(!create.exec(QStringLiteral("CREATE TABLE altro (x int)")));
    QCOMPARE(create.lastError().nativeErrorCode(), QStringLiteral("42501"));  // insufficient privilege
    QSqlQuery role(Connessione()->database());
    QVERIFY(!role.exec(QStringLiteral("CREATE ROLE mario")));
}

void TestScrivanie::aServerRestartIsRiddenOut()
{
    list()->setCurrentRow(0);
    // The connection cut between reading a contact and writing it: the write fails and
    // says so, nothing is written, and the next statement finds the connection remade.
    {
        Recordset rs;
        rs.Open(QStringLiteral("Select * from Anagrafica where id =%1").arg(bianchi_), Connessione());
        QSqlQuery pid(Connessione()->database());
        QVERIFY(pid.exec(QStringLiteral("SELECT pg_backend_pid()")) && pid.next());
        store_->rows(QStringLiteral("SELECT pg_terminate_backend(%1)").arg(pid.value(0).toLongLong()));
        rs.SetField(QStringLiteral("Telefono"), QStringLiteral("perso"));
        try {
            rs.Update();
            QFAIL("a write on a cut connection reported as done");
        } catch (const StoreError& error) {
            QCOMPARE(error.number(), StoreErrorNumber::ServerConnection);
        }
        QCOMPARE(store_->rows(QStringLiteral("SELECT telefono FROM anagrafica WHERE id = %1").arg(bianchi_))[0][0].toString(),
                 QStringLiteral("02 1"));
    }

    QProcess restart;
    restart.start(QStringLiteral("pg_ctlcluster"), {qEnvironmentVariable("PGVERSION"), QStringLiteral("regress"),
                                                    QStringLiteral("restart"), QStringLiteral("-m"), QStringLiteral("fast")});
    QVERIFY(restart.waitForFinished(60000));
    QVERIFY2(restart.exitCode() == 0, restart.readAllStandardError().constData());

    // Showing every contact only reads: it goes through at once, with no error to dismiss.
    const int shown = list()->count();
    const qsizetype told = dialogs_.shown.size();
    form_->AzzeraRicerca();
    QCOMPARE(dialogs_.shown.size(), told);
    QCOMPARE(list()->count(), shown);

    // The save that finds the connection gone is not reported as done; the edit stays.
    QVERIFY(test::modificaCampo(child("TxtTelefono"), [this] { child("TxtTelefono")->setText(QStringLiteral("02 2")); }));
    QTest::mouseClick(child<QPushButton>("CmdSalva"), Qt::LeftButton);
    if (dialogs_.lastText() != QStringLiteral("Salvato")) {
        QVERIFY2(dialogs_.lastText().contains(QStringLiteral("Errore 3151: la connessione con il server si è interrotta")),
                 qPrintable(dialogs_.lastText()));
        QCOMPARE(child("TxtTelefono")->text(), QStringLiteral("02 2"));
        QCOMPARE(form_->modificato(), true);
        QCOMPARE(store_->rows(QStringLiteral("SELECT telefono FROM anagrafica WHERE id = %1").arg(bianchi_))[0][0].toString(),
                 QStringLiteral("02 1"));
        QTest::mouseClick(child<QPushButton>("CmdSalva"), Qt::LeftButton);  // the program has reconnected
    }
    QCOMPARE(dialogs_.lastText(), QStringLiteral("Salvato"));
    QCOMPARE(store_->rows(QStringLiteral("SELECT telefono FROM anagrafica WHERE id = %1").arg(bianchi_))[0][0].toString(),
             QStringLiteral("02 2"));

    // And other desks' changes still arrive.
    otherDeskDoes(QString::number(verdi_), QStringLiteral("Cognome"), QStringLiteral("Aaron"));
    QTRY_COMPARE_WITH_TIMEOUT(list()->text(0), QStringLiteral("Aaron Luca"), 5000);
}

void TestScrivanie::anUnreachableServerIsSaidInItalian()
{
    form_.reset();
    ChiudiDatabase();
    dialogs_ = test::ScriptedDialogs();
    form_ = std::make_unique<FrmBrenzola>(dialogs_);
    QVERIFY(!form_->Form_Load(store_->path() + QStringLiteral(";Host=127.0.0.1;Port=1")));
    QVERIFY2(dialogs_.lastText().contains(QStringLiteral("Errore 3151: il server dell'archivio non risponde")),
             qPrintable(dialogs_.lastText()));
    // The tests' own server speaks without encryption: asked for it, the refusal is named.
    QVERIFY(!form_->Form_Load(store_->path() + QStringLiteral(";SslMode=require")));
    QVERIFY2(dialogs_.lastText().contains(QStringLiteral("Errore 3151: il server non accetta connessioni cifrate")),
             qPrintable(dialogs_.lastText()));
}

int main(int argc, char* argv[])
{
    if (argc == 6 && std::strcmp(argv[1], "--scrivania") == 0) {
        QCoreApplication application(argc, argv);
        return otherDesk(application.arguments().mid(2));
    }
    QApplication application(argc, argv);
    TestScrivanie test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_scrivanie.moc"
