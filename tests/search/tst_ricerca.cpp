#include "search/frmricerca.h"
#include "store/funzioni.h"
#include "testsupport.h"
#include "widgets/calendarfield.h"
#include "widgets/moduli.h"

#include <QApplication>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

using namespace brenzola;
using namespace brenzola::Funzioni;

namespace {

void type(FrmRicerca& window, const char* name, const QString& text)
{
    auto* box = window.findChild<QLineEdit*>(QLatin1String(name));
    QVERIFY2(box, name);
    box->setFocus();
    for (QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(box, char(c.unicode()));
        else
            box->insert(c);  // the key simulator knows only ASCII
    }
}

void date(FrmRicerca& window, const char* name, const QDate& value)
{
    auto* field = window.findChild<CalendarField*>(QLatin1String(name));
    QVERIFY2(field, name);
    field->setValue(value);
}

void search(FrmRicerca& window) { QTest::mouseClick(window.findChild<QPushButton*>("CmdCerca"), Qt::LeftButton); }

}  // namespace

class TestRicerca : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { ApplicaImpostazioniItaliane(*qApp); }
    void init() { Filtro() = QStringLiteral("prima"); }

    void noCriterionLeavesAnEmptyFilter();
    void textCriteriaDoubleQuotesAndKeepWildcards();
    void criteriaJoinInTheirOwnOrderNotTheTabOrder();
    void datesGoMonthFirst();
    void everyCriterionTogether();
    void esciAndTheCloseBoxLeaveTheFilter();
    void aDateThatIsNotOneIsRefusedNotDropped();
    void boxesKeepTheirLimitsAndTabOrder();
};

void TestRicerca::noCriterionLeavesAnEmptyFilter()
{
    FrmRicerca window;
    window.show();
    search(window);
    QCOMPARE(Filtro(), QString());
    QVERIFY(!window.isVisible());
    QCOMPARE(window.result(), int(QDialog::Accepted));
}

void TestRicerca::textCriteriaDoubleQuotesAndKeepWildcards()
{
    FrmRicerca window;
    type(window, "TxtCognome", "D'Ang%_[x]#");
    search(window);
    QCOMPARE(Filtro(), QStringLiteral(" Cognome like '%D''Ang%_[x]#%'"));

    FrmRicerca blank;
    type(blank, "TxtNome", " ");
    search(blank);
    QCOMPARE(Filtro(), QStringLiteral(" Nome like '% %'"));
}

void TestRicerca::criteriaJoinInTheirOwnOrderNotTheTabOrder()
{
    FrmRicerca window;
    type(window, "TxtCitta", "Forlì");
    type(window, "TxtProv", "FC");
    type(window, "TxtCognome", "Rossi");
    search(window);
    QCOMPARE(Filtro(), QStringLiteral(" Cognome like '%Rossi%' and  Prov like '%FC%' and  Citta like '%Forlì%'"));
}

void TestRicerca::datesGoMonthFirst()
{
    FrmRicerca only;
    date(only, "DtInizioDa", QDate(1900, 12, 25));
    search(only);
    QCOMPARE(Filtro(), QStringLiteral(" DataIn >= #12/25/1900#"));

    FrmRicerca both;
    date(both, "DtInizioA", QDate(2001, 2, 3));
    date(both, "DtInizioDa", QDate(1900, 1, 1));
    search(both);
    QCOMPARE(Filtro(), QStringLiteral(" DataIn >= #01/01/1900# and  DataIn <= #02/03/2001#"));
}

void TestRicerca::everyCriterionTogether()
{
    FrmRicerca window;
    type(window, "TxtCognome", "a");
    type(window, "TxtNome", "b");
    date(window, "DtInizioDa", QDate(2001, 1, 2));
    date(window, "DtInizioA", QDate(2002, 3, 4));
    type(window, "TxtTipoRef", "c");
    type(window, "TxtCitta", "d");
    type(window, "TxtProv", "e");
    type(window, "TxtIndirizzo", "f");
    type(window, "TxtCap", "g");
    type(window, "TxtEmail", "h");
    type(window, "TxtTelefono", "i");
    type(window, "TxtCell", "j");
    date(window, "DtNascDa", QDate(1950, 5, 6));
    date(window, "DtNascA", QDate(1960, 7, 8));
    type(window, "Txtfonte", "k");
    date(window, "DtDataRicontattareDa", QDate(2026, 9, 10));
    date(window, "DtDataRicontattareA", QDate(2027, 11, 12));
    window.findChild<QTextEdit*>("TxtCommenti")->setHtml("<b>l'</b>m");
    search(window);
    QCOMPARE(Filtro(), QStringLiteral(" Cognome like '%a%' and  Nome like '%b%' and  DataIn >= #01/02/2001# and "
                                      " DataIn <= #03/04/2002# and  TipoRef like '%c%' and  Prov like '%e%' and "
                                      " Citta like '%d%' and  Indirizzo like '%f%' and  Cap like '%g%' and "
                                      " Email like '%h%' and  Telefono like '%i%' and  Cell like '%j%' and "
                                      " DataNasc >= #05/06/1950# and  DataNasc <= #07/08/1960# and  Fonte like '%k%' and "
                                      " DataRicont >= #09/10/2026# and  DataRicont <= #11/12/2027# and "
                                      " Commenti like '%l''m%'"));
}

void TestRicerca::esciAndTheCloseBoxLeaveTheFilter()
{
    FrmRicerca window;
    window.show();
    type(window, "TxtCognome", "Rossi");
    QTest::mouseClick(window.findChild<QPushButton*>("CmdSalva"), Qt::LeftButton);
    QVERIFY(!window.isVisible());
    QCOMPARE(Filtro(), QStringLiteral("prima"));

    FrmRicerca closed;
    closed.show();
    type(closed, "TxtCognome", "Rossi");
    closed.close();
    QCOMPARE(Filtro(), QStringLiteral("prima"));
}

void TestRicerca::boxesKeepTheirLimitsAndTabOrder()
{
    FrmRicerca window;
    QCOMPARE(window.windowTitle(), QStringLiteral("Compilare i campi di ricerca che si conoscono:"));
    QVERIFY(window.findChild<QPushButton*>("CmdCerca")->isDefault());
    type(window, "TxtProv", "123456");
    type(window, "TxtCap", "123456");
    type(window, "TxtEmail", QString(260, u'x'));
    QCOMPARE(window.findChild<QLineEdit*>("TxtProv")->text(), QStringLiteral("12345"));
    QCOMPARE(window.findChild<QLineEdit*>("TxtCap")->text(), QStringLiteral("12345"));
    QCOMPARE(window.findChild<QLineEdit*>("TxtEmail")->text().size(), 250);
    QCOMPARE(window.findChild<QLabel*>("Label16")->text(), QStringLiteral("A data ricontattare"));

    const QStringList expected = {"TxtCognome",
                                  "TxtNome",
                                  "DtInizioDa",
                                  "DtInizioA",
                                  "TxtTipoRef",
                                  "TxtCitta",
                                  "TxtProv",
                                  "TxtIndirizzo",
                                  "TxtCap",
                                  "TxtEmail",
                                  "TxtTelefono",
                                  "TxtCell",
                                  "DtNascDa",
                                  "DtNascA",
                                  "DtDataRicontattareDa",
                                  "DtDataRicontattareA",
                                  "Txtfonte",
                                  "TxtCommenti",
                                  "CmdCerca",
                                  "CmdSalva"};
    QStringList order;
    QWidget* widget = window.findChild<QWidget*>("TxtCognome");
    for (int i = 0; i < expected.size(); ++i) {
        order << widget->objectName();
        do widget = widget->nextInFocusChain();
        while (widget->objectName().isEmpty() || widget->focusPolicy() == Qt::NoFocus);
    }
    QCOMPARE(order, expected);
}

void TestRicerca::aDateThatIsNotOneIsRefusedNotDropped()
{
    test::ScriptedDialogs dialogs;
    FrmRicerca window(dialogs);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    type(window, "TxtCognome", "Rossi");
    auto* nascita = window.findChild<CalendarField*>("DtNascA");
    nascita->editor()->setFocus();
    QTest::keyClicks(nascita->editor(), "29/02/2023");
    search(window);
    QCOMPARE(dialogs.lastText(), QStringLiteral("A data Nasc.: «29/02/2023» non è una data: febbraio 2023 ha 28 giorni."));
    QVERIFY(window.isVisible());
    QCOMPARE(Filtro(), QStringLiteral("prima"));

    QTest::keyClick(nascita->editor(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(nascita->editor(), "28/02/2023");
    search(window);
    QCOMPARE(Filtro(), QStringLiteral(" Cognome like '%Rossi%' and  DataNasc <= #02/28/2023#"));
}

QTEST_MAIN(TestRicerca)
#include "tst_ricerca.moc"
