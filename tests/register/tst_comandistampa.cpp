#include "printing/ui/reportpreview.h"
#include "register/elenconomi.h"
#include "register/frmbrenzola.h"
#include "store/funzioni.h"
#include "testsupport.h"
#include "widgets/moduli.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace brenzola;
using namespace brenzola::Funzioni;

namespace {

// The texts of one control on every page of a previewed report.
QStringList printed(const ReportPages& pages, const char* control)
{
    QStringList texts;
    for (const ReportPage& page : pages.pages)
        for (const PlacedItem& item : page.items)
            if (item.control == QLatin1String(control)) texts << item.text;
    return texts;
}

}  // namespace

class TestComandiStampa : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { ApplicaImpostazioniItaliane(*qApp); }
    void init();
    void cleanup();

    void listPrintShowsTheNamesListedWithTheirTotal();
    void cardsFollowTheListsFilterInStoreOrder();
    void singleCardIsTheStoredContact();

private:
    void click(const char* button);

    std::unique_ptr<test::TempStore> store_;
    test::ScriptedDialogs dialogs_;
    std::unique_ptr<FrmBrenzola> form_;
    ReportPages shown_;
};

void TestComandiStampa::init()
{
    store_ = std::make_unique<test::TempStore>();
    store_->insert({{"Cognome", "Zeta"}, {"Nome", "Ugo"}, {"Prov", "MI"}});
    store_->insert({{"Cognome", "Rossi"}, {"Nome", "Anna"}, {"DataIn", "1900-01-01"}});
    store_->insert({{"Cognome", "Rossini"}, {"Nome", "Bruno"}});
    dialogs_ = test::ScriptedDialogs();
    dialogs_.onModal = [this](QDialog& window) {
        if (auto* preview = qobject_cast<ReportPreview*>(&window)) shown_ = preview->pages();
    };
    form_ = std::make_unique<FrmBrenzola>(dialogs_);
    QVERIFY(form_->Form_Load(store_->path()));
}

void TestComandiStampa::cleanup()
{
    form_.reset();
    ChiudiDatabase();
    store_.reset();
    shown_ = {};
}

void TestComandiStampa::click(const char* button)
{
    QTest::mouseClick(form_->findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
}

void TestComandiStampa::listPrintShowsTheNamesListedWithTheirTotal()
{
    form_->findChild<QLineEdit*>("TxtRicerca")->setText("ross");
    click("CmdStampaElenco");
    QCOMPARE(TotaleElenco(), 2.0);
    QCOMPARE(dialogs_.modalTitles, QStringList{"Stampa Elenco"});
    QCOMPARE(printed(shown_, "TextBox3"), (QStringList{"Rossi Anna", "Rossini Bruno"}));
    QCOMPARE(printed(shown_, "LblTot"), QStringList{"(Totale: 2)"});
}

void TestComandiStampa::cardsFollowTheListsFilterInStoreOrder()
{
    click("CmdStampaSchede");
    QCOMPARE(dialogs_.modalTitles, QStringList{"Stampa Dettaglio"});
    QCOMPARE(printed(shown_, "TextBox3"), (QStringList{"Zeta", "Rossi", "Rossini"}));
    QVERIFY(!printed(shown_, "TextBox6").isEmpty());
    QCOMPARE(printed(shown_, "TextBox6")[1], QStringLiteral("01/01/1900"));
    for (const ReportPage& page : shown_.pages)
        for (const PlacedItem& item : page.items) QVERIFY(item.text != u"MI");  // no province

    form_->findChild<QLineEdit*>("TxtRicerca")->setText("ross");
    click("CmdStampaSchede");
    QCOMPARE(printed(shown_, "TextBox3"), (QStringList{"Rossi", "Rossini"}));
}

void TestComandiStampa::singleCardIsTheStoredContact()
{
    click("CmdStampa");  // nothing on screen: a report without cards
    QCOMPARE(dialogs_.modalTitles, QStringList{"Stampa Dettaglio"});
    QCOMPARE(printed(shown_, "TextBox3"), QStringList());

    form_->findChild<ElencoNomi*>("List1")->setCurrentRow(2);
    form_->findChild<QLineEdit*>("TxtNome")->setText("non salvato");
    click("CmdStampa");
    QCOMPARE(printed(shown_, "TextBox3"), QStringList{"Zeta"});
    QCOMPARE(printed(shown_, "TextBox1"), QStringList{"Ugo"});

    store_->rows("DROP TABLE Anagrafica");
    dialogs_.modalTitles.clear();
    click("CmdStampa");
    QVERIFY(dialogs_.lastText().contains(test::onServer() ? QStringLiteral("\n\nErrore 3146: nel database del server")
                                                          : QStringLiteral("\n\nErrore 1: no such table")));
    QVERIFY(dialogs_.modalTitles.isEmpty());
    QVERIFY(form_->isEnabled());
}

QTEST_MAIN(TestComandiStampa)
#include "tst_comandistampa.moc"
