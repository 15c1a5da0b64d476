#include "register/elenconomi.h"
#include "register/frmbrenzola.h"
#include "store/funzioni.h"
#include "testsupport.h"
#include "widgets/calendarfield.h"
#include "widgets/moduli.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

using namespace brenzola;
using namespace brenzola::Funzioni;

class TestToolbar : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { ApplicaImpostazioniItaliane(*qApp); }
    void init();
    void cleanup();

    void advancedSearchNarrowsTheListAndClearsTheForm();
    void advancedSearchAfterAQuickSearchShowsItsOwnResult();
    void searchWithoutCriteriaListsEveryone();
    void leavingTheSearchKeepsTheFilterWithOneWhere();
    void anyTypedTextRunsAndCrossedBoundsFindNothing();
    void dateBoundsMeetTheStoredMissingDateButNeverNull();
    void mostraTuttiAfterAnAdvancedSearch();
    void browsingWrapsAround();
    void esciAsksAboutUnsavedChanges();

private:
    void click(const char* caption);
    QStringList entries() const;
    void searchWith(const std::function<void(QDialog&)>& fill);

    std::unique_ptr<test::TempStore> store_;
    test::ScriptedDialogs dialogs_;
    std::unique_ptr<FrmBrenzola> form_;
    template <typename T> T* child(const char* name) const { return form_->findChild<T*>(QLatin1String(name)); }
};

void TestToolbar::init()
{
    store_ = std::make_unique<test::TempStore>();
    store_->insert({{"Cognome", "Rossi"}, {"Nome", "Anna"}, {"DataIn", "1900-01-01"}, {"Citta", "Forlì"}});
    store_->insert({{"Cognome", "Rossini"}, {"Nome", "Bruno"}, {"DataIn", "2010-05-06"}});
    store_->insert({{"Cognome", "Bianchi"}, {"Nome", "Carla"}});
    store_->insert({{"Nome", "Anonimo"}});
    dialogs_ = test::ScriptedDialogs();
    form_ = std::make_unique<FrmBrenzola>(dialogs_);
    QVERIFY(form_->Form_Load(store_->path()));
    form_->show();
}

void TestToolbar::cleanup()
{
    form_.reset();
    ChiudiDatabase();
    store_.reset();
}

void TestToolbar::click(const char* caption)
{
    auto* toolbar = child<QToolBar>("Tb");
    QAction* action = toolbar->findChild<QAction*>(QLatin1String(caption));
    QVERIFY2(action, caption);
    QTest::mouseClick(toolbar->widgetForAction(action), Qt::LeftButton);
}

QStringList TestToolbar::entries() const
{
    const auto* list = child<ElencoNomi>("List1");
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts << list->text(i);
    return texts;
}

void TestToolbar::searchWith(const std::function<void(QDialog&)>& fill)
{
    dialogs_.onModal = [fill](QDialog& window) {
        fill(window);
        QTest::mouseClick(window.findChild<QPushButton*>("CmdCerca"), Qt::LeftButton);
    };
    click("Ricerca Avanzata");
    dialogs_.onModal = nullptr;
}

void TestToolbar::advancedSearchNarrowsTheListAndClearsTheForm()
{
    child<ElencoNomi>("List1")->setCurrentRow(1);
    QCOMPARE(child<QLineEdit>("TxtCognome")->text(), QStringLiteral("Bianchi"));
    searchWith([](QDialog& window) { window.findChild<QLineEdit*>("TxtCognome")->setText("ssi"); });
    QCOMPARE(dialogs_.modalTitles, QStringList{"Compilare i campi di ricerca che si conoscono:"});
    QCOMPARE(Filtro(), QStringLiteral(" Where  Cognome like '%ssi%'"));
    QCOMPARE(entries(), (QStringList{"Rossi Anna", "Rossini Bruno"}));
    QCOMPARE(child<QLabel>("LblNum")->text(), QStringLiteral("2"));
    QCOMPARE(child<QLineEdit>("TxtCognome")->text(), QString());
    QVERIFY(child<CalendarField>("DtInizio")->value().isNull());
    QCOMPARE(form_->idCorrente(), 0);

    // The next save creates a new contact.
    child<QLineEdit>("TxtCognome")->setText("Verdi");
    QVERIFY(form_->CmdSalva_Click());
    QCOMPARE(store_->rows("select count(*) from Anagrafica")[0][0].toInt(), 5);
}

void TestToolbar::advancedSearchAfterAQuickSearchShowsItsOwnResult()
{
    // The quick-search box is emptied without its search running again over the result.
    child<QLineEdit>("TxtRicerca")->setText("Bia");
    searchWith([](QDialog& window) { window.findChild<QLineEdit*>("TxtCognome")->setText("ssi"); });
    QCOMPARE(child<QLineEdit>("TxtRicerca")->text(), QString());
    QCOMPARE(entries(), (QStringList{"Rossi Anna", "Rossini Bruno"}));
    QCOMPARE(Filtro(), QStringLiteral(" Where  Cognome like '%ssi%'"));
    QCOMPARE(child<QLabel>("LblNum")->text(), QStringLiteral("2"));
}

void TestToolbar::searchWithoutCriteriaListsEveryone()
{
    searchWith([](QDialog&) {});
    QCOMPARE(Filtro(), QString());
    QCOMPARE(entries().size(), 4);
}

void TestToolbar::leavingTheSearchKeepsTheFilterWithOneWhere()
{
    searchWith([](QDialog& window) { window.findChild<QLineEdit*>("TxtNome")->setText("n"); });
    const QString after = Filtro();
    QCOMPARE(after, QStringLiteral(" Where  Nome like '%n%'"));
    bool emptyOnOpening = false;
    dialogs_.onModal = [&](QDialog& window) {
        emptyOnOpening = window.findChild<QLineEdit*>("TxtNome")->text().isEmpty();
        QTest::mouseClick(window.findChild<QPushButton*>("CmdSalva"), Qt::LeftButton);
    };
    click("Ricerca Avanzata");
    QVERIFY(emptyOnOpening);
    QCOMPARE(Filtro(), after);
    QCOMPARE(entries(), (QStringList{" Anonimo", "Rossi Anna", "Rossini Bruno"}));

    Filtro() = QStringLiteral("   wHeRe Cognome like 'B%'");
    dialogs_.onModal = [](QDialog& window) { window.close(); };
    click("Ricerca Avanzata");
    QCOMPARE(Filtro(), QStringLiteral("   wHeRe Cognome like 'B%'"));
    QCOMPARE(entries(), QStringList{"Bianchi Carla"});
}

void TestToolbar::anyTypedTextRunsAndCrossedBoundsFindNothing()
{
    const QString nasty = QStringLiteral("'); drop table Anagrafica; -- [#]%_\"") + QString(200, u'x');
    searchWith([&](QDialog& window) {
        for (auto* box : window.findChildren<QLineEdit*>()) box->setText(nasty);
    });
    QVERIFY(dialogs_.shown.isEmpty());
    QCOMPARE(entries(), QStringList());
    QCOMPARE(store_->rows("select count(*) from Anagrafica")[0][0].toInt(), 4);

    searchWith([](QDialog& window) {
        window.findChild<CalendarField*>("DtInizioDa")->setValue(QDate(2020, 1, 1));
        window.findChild<CalendarField*>("DtInizioA")->setValue(QDate(2000, 1, 1));
    });
    QVERIFY(dialogs_.shown.isEmpty());
    QCOMPARE(child<QLabel>("LblNum")->text(), QStringLiteral("0"));
}

void TestToolbar::dateBoundsMeetTheStoredMissingDateButNeverNull()
{
    searchWith([](QDialog& window) { window.findChild<CalendarField*>("DtInizioA")->setValue(QDate(2000, 1, 1)); });
    QCOMPARE(entries(), QStringList{"Rossi Anna"});
    searchWith([](QDialog& window) { window.findChild<CalendarField*>("DtInizioDa")->setValue(QDate(1900, 1, 2)); });
    QCOMPARE(entries(), QStringList{"Rossini Bruno"});
}

void TestToolbar::mostraTuttiAfterAnAdvancedSearch()
{
    searchWith([](QDialog& window) { window.findChild<QLineEdit*>("TxtCitta")->setText("forl"); });
    QCOMPARE(entries(), QStringList{"Rossi Anna"});
    click("Mostra Tutti");
    QCOMPARE(child<QLineEdit>("TxtRicerca")->text(), QString());
    QCOMPARE(entries(), (QStringList{"Bianchi Carla", "Rossi Anna", "Rossini Bruno"}));
}

void TestToolbar::browsingWrapsAround()
{
    auto* list = child<ElencoNomi>("List1");
    click("Avanti");
    QVERIFY(list->selectedRow() < 0);  // nothing selected: nothing happens
    QCOMPARE(form_->idCorrente(), 0);

    list->setCurrentRow(3);
    QCOMPARE(child<QLineEdit>("TxtCognome")->text(), QStringLiteral("Rossini"));
    click("Avanti");
    QCOMPARE(list->currentRow(), 0);
    QCOMPARE(child<QLineEdit>("TxtNome")->text(), QStringLiteral("Anonimo"));
    click("Indietro");
    QCOMPARE(list->currentRow(), 3);
    QCOMPARE(child<QLineEdit>("TxtCognome")->text(), QStringLiteral("Rossini"));
    click("Indietro");
    QCOMPARE(list->currentRow(), 2);
    QCOMPARE(list->selectionModel()->selectedRows().size(), 1);

    child<QLineEdit>("TxtRicerca")->setText("Bianchi");
    list->setCurrentRow(0);
    child<QLineEdit>("TxtNome")->setText("cambiato per codice");
    click("Avanti");
    QCOMPARE(list->currentRow(), 0);
    QCOMPARE(child<QLineEdit>("TxtNome")->text(), QStringLiteral("Carla"));
}

void TestToolbar::esciAsksAboutUnsavedChanges()
{
    auto* nome = child<QLineEdit>("TxtNome");
    QApplication::setActiveWindow(form_.get());
    nome->setFocus();
    QTest::keyClicks(nome, "Ugo");
    dialogs_.answers = {MsgAnswer::No};
    click("Esci");
    QCOMPARE(dialogs_.shown.size(), 1);
    QCOMPARE(dialogs_.shown[0].text, QStringLiteral("I dati sono stati modificati, si desidera salvare?"));
    QVERIFY(!form_->isVisible());
    QVERIFY(!Connessione());
}

QTEST_MAIN(TestToolbar)
#include "tst_toolbar.moc"
