#include "register/elenconomi.h"
#include "register/frmbrenzola.h"
#include "store/funzioni.h"
#include "store/giornale.h"
#include "testsupport.h"
#include "widgets/calendarfield.h"
#include "widgets/moduli.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

using namespace brenzola;
using namespace brenzola::Funzioni;

// The interface in the language the system asks for: the main window's texts, a message,
// dates and numbers. The process starts as on a desktop set to American English (main).
class TestLingua : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void englishComesFromTheUsersLanguages_data();
    void englishComesFromTheUsersLanguages();
    void datesAndNumbersFollowTheLanguage();
    void mainWindowInEnglish();
    void mainWindowInItalian();
    void cleanup();

private:
    std::unique_ptr<test::TempStore> store_;
    test::ScriptedDialogs dialogs_;
    std::unique_ptr<FrmBrenzola> form_;
    QString storedInEnglish_;

    void openForm();
    template <typename T> T* child(const char* name) const { return form_->findChild<T*>(QLatin1String(name)); }
    QString text(const char* button) const { return child<QPushButton>(button)->text(); }
    void click(const char* button) const { QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton); }
    // Types into a field as a user does, and leaves it.
    static void type(QWidget* field, const QString& typed)
    {
        field->setFocus();
        QWidget* focused = QApplication::focusWidget();
        QTest::keyClick(focused, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(focused, Qt::Key_Backspace);
        QTest::keyClicks(focused, typed);
        QTest::keyClick(focused, Qt::Key_Tab);
    }
    // A new contact whose birth date is typed as `typed`; the date as the store keeps it.
    QString saveNewContactBornOn(const QString& typed);
};

void TestLingua::englishComesFromTheUsersLanguages_data()
{
    QTest::addColumn<QStringList>("lingue");
    QTest::addColumn<QString>("inglese");
    QTest::newRow("English first") << QStringList{"en-US", "en", "it-IT"} << "en-US";
    QTest::newRow("English before Italian") << QStringList{"de-DE", "en-GB", "it"} << "en-GB";
    QTest::newRow("Italian first") << QStringList{"it-IT", "en-US"} << QString();
    QTest::newRow("neither") << QStringList{"fr-FR", "de"} << QString();
    QTest::newRow("C locale") << QStringList{"C"} << QString();
    QTest::newRow("none") << QStringList{} << QString();
}

void TestLingua::englishComesFromTheUsersLanguages()
{
    QFETCH(QStringList, lingue);
    QFETCH(QString, inglese);
    QCOMPARE(IngleseVoluto(lingue), inglese);
}

void TestLingua::datesAndNumbersFollowTheLanguage()
{
    const QDate agosto(1975, 8, 7);
    ApplicaImpostazioniLingua(*qApp, {QStringLiteral("en-US")});
    QCOMPARE(FormatoDataMostrata(), QStringLiteral("MM/dd/yyyy"));
    QCOMPARE(ContattiMostrati(1234), QStringLiteral("1,234 contacts"));
    QCOMPARE(ContattiMostrati(1), QStringLiteral("1 contact"));
    ApplicaImpostazioniLingua(*qApp, {QStringLiteral("en-GB")});
    QCOMPARE(FormatoDataMostrata(), QStringLiteral("dd/MM/yyyy"));
    ApplicaImpostazioniLingua(*qApp, {QStringLiteral("it-IT"), QStringLiteral("en-US")});
    QCOMPARE(FormatoDataMostrata(), QStringLiteral("dd/MM/yyyy"));
    QCOMPARE(ContattiMostrati(1234), QStringLiteral("1.234 contatti"));
    QCOMPARE(QuantiContatti(1234), QStringLiteral("1.234 contatti"));  // what the journal keeps
    QCOMPARE(agosto.toString(FormatoDataMostrata()), QStringLiteral("07/08/1975"));
}

void TestLingua::openForm()
{
    store_ = std::make_unique<test::TempStore>();
    store_->insert({{"Cognome", "Bianchi"}, {"Nome", "Anna"}, {"DataNasc", "1980-12-31"}});
    dialogs_.shown.clear();
    dialogs_.answers.clear();
    form_ = std::make_unique<FrmBrenzola>(dialogs_);
    QVERIFY(form_->Form_Load(store_->path()));
    form_->show();
    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
}

void TestLingua::cleanup()
{
    form_.reset();
    ChiudiDatabase();
    store_.reset();
}

QString TestLingua::saveNewContactBornOn(const QString& typed)
{
    click("CmdNuovo");
    type(child<QLineEdit>("TxtCognome"), QStringLiteral("Rossi"));
    type(child<CalendarField>("DtNasc"), typed);
    dialogs_.shown.clear();
    click("CmdSalva");
    const auto rows = store_->rows(QStringLiteral("SELECT DataNasc FROM Anagrafica WHERE id = %1").arg(form_->idCorrente()));
    return rows.isEmpty() || form_->idCorrente() == 0 ? QString() : rows.front().front().toString();
}

void TestLingua::mainWindowInEnglish()
{
    // As the program does at start: the system's languages, here American English.
    QVERIFY2(!IngleseVoluto(QLocale::system().uiLanguages()).isEmpty(), qPrintable(QLocale::system().uiLanguages().join(u',')));
    ApplicaImpostazioniLingua(*qApp, QLocale::system().uiLanguages());
    QCOMPARE(QLocale().language(), QLocale::English);
    openForm();

    const QMap<QString, QString> toolbar{{"Mostra Tutti", "Show All"},
                                         {"Ricerca Avanzata", "Advanced Search"},
                                         {"Indietro", "Back"},
                                         {"Avanti", "Forward"},
                                         {"Esci", "Exit"},
                                         {"Agenda", "Agenda"},
                                         {"Importa", "Import"},
                                         {"Doppioni", "Duplicates"},
                                         {"Esporta", "Export"},
                                         {"Cronologia", "History"},
                                         {"Sincronizza", "Sync"}};
    QStringList seen;
    for (const QAction* action : form_->findChild<QToolBar*>()->actions()) {
        if (action->isSeparator()) continue;
        QCOMPARE(action->text(), toolbar.value(action->objectName(), QStringLiteral("?") + action->objectName()));
        seen << action->objectName();
    }
    QCOMPARE(seen.size(), toolbar.size());
    const QAction* cronologia = form_->findChild<QToolBar*>()->findChild<QAction*>(QStringLiteral("Cronologia"));
    QVERIFY(cronologia && cronologia->menu());
    QCOMPARE(cronologia->menu()->actions().value(0)->text(), QStringLiteral("Undo the last operation"));

    QCOMPARE(text("CmdSalva"), QStringLiteral("Save"));
    QCOMPARE(text("CmdNuovo"), QStringLiteral("New"));
    QCOMPARE(text("CmdElimina"), QStringLiteral("Delete"));
    QCOMPARE(text("CmdStampaElenco"), QStringLiteral("Print Selected List"));
    QCOMPARE(child<QPushButton>("CmdSalva")->toolTip(), QStringLiteral("Save (Ctrl+S)"));
    QCOMPARE(child<QLabel>("Label1")->text(), QStringLiteral("Surname"));
    QCOMPARE(child<QLabel>("Label17")->text(), QStringLiteral("Contacts found:"));
    QCOMPARE(child<QLabel>("Label15")->text(), QStringLiteral("Follow-up date"));

    // The stored date shows the American way, and a date is typed that way.
    auto* list = child<ElencoNomi>("List1");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->rowRect(0).center());
    QCOMPARE(child<CalendarField>("DtNasc")->editor()->text(), QStringLiteral("12/31/1980"));

    // A message through the seam.
    type(child<QLineEdit>("TxtNome"), QStringLiteral("Anna Maria"));
    dialogs_.answers = {MsgAnswer::No};
    click("CmdNuovo");
    QCOMPARE(dialogs_.lastText(), QStringLiteral("The data has been changed. Do you want to save it?"));

    // Day first is not the American way: refused, in English, and nothing is written.
    const QStringList before = store_->dump();
    QCOMPARE(saveNewContactBornOn(QStringLiteral("31/12/1980")), QString());
    QCOMPARE(dialogs_.lastText(), QStringLiteral("Birth date: “31/12/1980” is not a date: the month goes from 1 to 12."));
    QCOMPARE(store_->dump(), before);

    storedInEnglish_ = saveNewContactBornOn(QStringLiteral("08/07/1975"));
    QCOMPARE(dialogs_.lastText(), QStringLiteral("Saved"));
    QCOMPARE(storedInEnglish_, QStringLiteral("1975-08-07"));
    QCOMPARE(child<CalendarField>("DtNasc")->editor()->text(), QStringLiteral("08/07/1975"));
}

void TestLingua::mainWindowInItalian()
{
    ApplicaImpostazioniLingua(*qApp, {QStringLiteral("it-IT"), QStringLiteral("en-US")});
    QCOMPARE(QLocale().language(), QLocale::Italian);
    openForm();
    QCOMPARE(text("CmdSalva"), QStringLiteral("Salva"));
    QCOMPARE(child<QPushButton>("CmdSalva")->toolTip(), QStringLiteral("Salva (Ctrl+S)"));
    QCOMPARE(child<QLabel>("Label1")->text(), QStringLiteral("Cognome"));
    QCOMPARE(form_->findChild<QToolBar*>()->findChild<QAction*>(QStringLiteral("Mostra Tutti"))->text(),
             QStringLiteral("Mostra Tutti"));

    // The same day typed the Italian way is stored exactly as typed in English.
    const QString stored = saveNewContactBornOn(QStringLiteral("07/08/1975"));
    QCOMPARE(dialogs_.lastText(), QStringLiteral("Salvato"));
    QCOMPARE(stored, QStringLiteral("1975-08-07"));
    if (!storedInEnglish_.isEmpty()) QCOMPARE(stored, storedInEnglish_);
    QCOMPARE(child<CalendarField>("DtNasc")->editor()->text(), QStringLiteral("07/08/1975"));
}

int main(int argc, char* argv[])
{
    // A desktop set to American English; the program reads it through QLocale::system().
    qputenv("LANGUAGE", "en_US:en");
    qputenv("LC_ALL", "en_US.UTF-8");
    QApplication application(argc, argv);
    TestLingua test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_lingua.moc"
