#include "calendarfield.h"
#include "funzioni.h"
#include "moduli.h"
#include "storeerror.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>

using namespace brenzola;
using namespace brenzola::Funzioni;

class TestFunzioni : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { ApplicaImpostazioniItaliane(*qApp); }
    void valoreNonNulloReplacesOnlyNull();
    void formattaDataSqlPutsTheMonthFirst();
    void pulisciCampiEmptiesEveryInputKind();
    void italianSettingsWhateverTheSystem();
};

void TestFunzioni::valoreNonNulloReplacesOnlyNull()
{
    QCOMPARE(ValoreNonNullo(QVariant(), "01/01/1900"), QVariant("01/01/1900"));
    QCOMPARE(ValoreNonNullo(QDate(2001, 2, 3), "01/01/1900"), QVariant(QDate(2001, 2, 3)));
    QCOMPARE(ValoreNonNullo(QString(""), "x"), QVariant(QString("")));
    QCOMPARE(ValoreNonNullo(0, 5), QVariant(0));
    QCOMPARE(ValoreNonNullo(false, true), QVariant(false));
}

void TestFunzioni::formattaDataSqlPutsTheMonthFirst()
{
    QCOMPARE(FormattaDataSql("03/02/1900"), QStringLiteral("02/03/1900"));
    QCOMPARE(FormattaDataSql("25/12/1900"), QStringLiteral("12/25/1900"));
    QCOMPARE(FormattaDataSql("5/1/2024"), QStringLiteral("01/05/2024"));
    QVERIFY_THROWS_EXCEPTION(StoreError, FormattaDataSql("12/25/1900"));
    QVERIFY_THROWS_EXCEPTION(StoreError, FormattaDataSql(""));
}

void TestFunzioni::pulisciCampiEmptiesEveryInputKind()
{
    QWidget window;
    auto* frame = new QWidget(&window);
    auto* text = new QLineEdit("testo", frame);
    auto* combo = new QComboBox(&window);
    combo->setEditable(true);
    combo->setEditText("scelta");
    auto* rich = new QTextEdit(&window);
    rich->setHtml("<b>grassetto</b>");
    auto* date = new CalendarField(frame);
    date->setObjectName("DtNasc");
    date->setValue(QDate(2001, 2, 3));
    auto* undated = new CalendarField(&window);
    undated->setObjectName("Calendario");
    auto* list = new QListWidget(&window);
    list->addItems({"uno", "due"});
    auto* label = new QLabel("7", &window);
    QSignalSpy textChanges(text, &QLineEdit::textChanged);

    PulisciCampi(&window);

    QCOMPARE(text->text(), QString());
    QCOMPARE(textChanges.count(), 1);
    QCOMPARE(combo->currentText(), QString());
    QCOMPARE(rich->toPlainText(), QString());
    QVERIFY(date->value().isNull());
    QCOMPARE(date->text(), QString());
    QCOMPARE(undated->value(), QVariant(QDate(1900, 1, 1)));  // no "Dt" name: only the calendar rule applies
    QCOMPARE(list->count(), 2);
    QCOMPARE(label->text(), QStringLiteral("7"));
}

void TestFunzioni::italianSettingsWhateverTheSystem()
{
    QCOMPARE(QLocale().language(), QLocale::Italian);
    QCOMPARE(QApplication::applicationName(), QStringLiteral("Brenzola"));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Sì"));
}

QTEST_MAIN(TestFunzioni)
#include "tst_funzioni.moc"
