#include "store/funzioni.h"
#include "store/storeerror.h"

#include <QDate>

#include <QTest>
#include <cerrno>

using namespace brenzola;
using namespace brenzola::Funzioni;

class TestFunzioni : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void valoreNonNulloReplacesOnlyNull();
    void formattaDataSqlPutsTheMonthFirst();
    void aPathWithPercentSignsIsShownAsItIs();
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

QTEST_GUILESS_MAIN(TestFunzioni)
void TestFunzioni::aPathWithPercentSignsIsShownAsItIs()
{
    // A path is the user's text: its "%1" is not a place for the error's number.
    const StoreError error = systemError(ENOENT, QStringLiteral("Impossibile creare il file «/x/a%1b%3/c.db»"));
    QVERIFY2(error.description().contains(QStringLiteral("«/x/a%1b%3/c.db»")), qPrintable(error.description()));
    QVERIFY2(error.description().endsWith(QStringLiteral("(errno %1).").arg(ENOENT)), qPrintable(error.description()));
}

#include "tst_funzioni.moc"
