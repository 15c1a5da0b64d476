#include "printing/memorytable.h"
#include "printing/stampe.h"
#include "store/storeerror.h"

#include <QDate>
#include <QTest>

using namespace brenzola;

class TestMemoryTable : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void shapeCommandsAreTheDeclaredOnes();
    void otherCommandsAreRefused_data();
    void otherCommandsAreRefused();
    void rowsKeepTextNullAndOrder();
    void valuesBecomeTextDatesInItalianForm();
    void misuseIsReportedWithItsNumber();
    void listTableHasOneRowPerEntryInListOrder();
};

void TestMemoryTable::shapeCommandsAreTheDeclaredOnes()
{
    QCOMPARE(listShapeCommand(), QStringLiteral("SHAPE APPEND NEW adVarChar(250) AS Nome "));
    QCOMPARE(cardShapeCommand(), QStringLiteral("SHAPE APPEND NEW adVarChar(250) AS cognome, NEW adVarChar(250) AS nome, "
                                                "NEW adVarChar(250) AS data, NEW adVarChar(250) AS tipo_ref, "
                                                "NEW adVarChar(250) AS citta, NEW adVarChar(250) AS indirizzo, "
                                                "NEW adVarChar(250) AS cap, NEW adVarChar(250) AS email, "
                                                "NEW adVarChar(250) AS telefono, NEW adVarChar(250) AS cell, "
                                                "NEW adVarChar(250) AS data_nasc, NEW adVarChar(250) AS fonte, "
                                                "NEW adVarChar(250) AS data_ricontattare, NEW adVarChar(250) AS commenti "));

    const MemoryTable cards(cardShapeCommand());
    QCOMPARE(cards.columns(), QStringList({"cognome", "nome", "data", "tipo_ref", "citta", "indirizzo", "cap", "email",
                                           "telefono", "cell", "data_nasc", "fonte", "data_ricontattare", "commenti"}));
    for (int i = 0; i < cards.columns().size(); ++i) QCOMPARE(cards.declaredSize(i), 250);
    QCOMPARE(cards.columnIndex(QStringLiteral("prov")), -1);
    QCOMPARE(cards.columnIndex(QStringLiteral("id")), -1);
    QCOMPARE(cards.RecordCount(), 0);
    QVERIFY(cards.Eof());

    const MemoryTable list(listShapeCommand());
    QCOMPARE(list.columns(), QStringList{"Nome"});
}

void TestMemoryTable::otherCommandsAreRefused_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("empty") << QString();
    QTest::newRow("no trailing blank") << QStringLiteral("SHAPE APPEND NEW adVarChar(250) AS Nome");
    QTest::newRow("two trailing blanks") << QStringLiteral("SHAPE APPEND NEW adVarChar(250) AS Nome  ");
    QTest::newRow("no APPEND") << QStringLiteral("SHAPE NEW adVarChar(250) AS Nome ");
    QTest::newRow("missing comma") << QStringLiteral("SHAPE APPEND NEW adVarChar(250) AS a NEW adVarChar(250) AS b ");
    QTest::newRow("trailing comma") << QStringLiteral("SHAPE APPEND NEW adVarChar(250) AS a, ");
    QTest::newRow("other type") << QStringLiteral("SHAPE APPEND NEW adInteger AS Nome ");
    QTest::newRow("zero size") << QStringLiteral("SHAPE APPEND NEW adVarChar(0) AS Nome ");
    QTest::newRow("repeated column") << QStringLiteral("SHAPE APPEND NEW adVarChar(250) AS a, NEW adVarChar(9) AS A ");
    QTest::newRow("a query") << QStringLiteral("SHAPE {select * from Anagrafica} ");
}

void TestMemoryTable::otherCommandsAreRefused()
{
    QFETCH(QString, command);
    try {
        MemoryTable table(command);
        QFAIL("accepted");
    } catch (const StoreError& error) {
        QCOMPARE(error.number(), StoreErrorNumber::SyntaxError);
        QVERIFY(!error.description().isEmpty());
    }
}

void TestMemoryTable::rowsKeepTextNullAndOrder()
{
    MemoryTable table(QStringLiteral("SHAPE APPEND NEW adVarChar(250) AS a, NEW adVarChar(250) AS b "));
    const QString longText = QString(u'x').repeated(600) + QStringLiteral("fine");
    const QList<std::pair<QVariant, QVariant>> rows = {
        {QStringLiteral("D'Angelo Niccolò"), QVariant()},
        {QString(), QString(u' ')},
        {longText, QVariant(QMetaType(QMetaType::QString))},  // a Null as the store returns it
    };
    for (const auto& [a, b] : rows) {
        table.AddNew();
        table.SetField(QStringLiteral("A"), a);  // column names in any case
        table.SetField(QStringLiteral("b"), b);
        table.Update();
    }
    QCOMPARE(table.RecordCount(), 3);

    QVERIFY(!table.Eof());
    QCOMPARE(table.Fields(QStringLiteral("a")).toString(), QStringLiteral("D'Angelo Niccolò"));
    QVERIFY(table.Fields(QStringLiteral("b")).isNull());
    table.MoveNext();
    QVERIFY(!table.Fields(0).isNull());  // the empty text is not Null
    QCOMPARE(table.Fields(0).toString(), QString());
    QCOMPARE(table.Fields(1).toString(), QStringLiteral(" "));
    table.MoveNext();
    QCOMPARE(table.Fields(0).toString(), longText);  // kept whole beyond the declared 250
    QVERIFY(table.Fields(1).isNull());
    table.MoveNext();
    QVERIFY(table.Eof());

    table.MoveFirst();
    QCOMPARE(table.Fields(0).toString(), QStringLiteral("D'Angelo Niccolò"));

    // A second AddNew commits the pending row first; a column never set stays Null.
    table.AddNew();
    table.SetField(QStringLiteral("a"), QStringLiteral("uno"));
    table.AddNew();
    table.Update();
    QCOMPARE(table.RecordCount(), 5);
    QCOMPARE(table.value(3, 0).toString(), QStringLiteral("uno"));
    QVERIFY(table.value(4, 0).isNull());
}

void TestMemoryTable::valuesBecomeTextDatesInItalianForm()
{
    QCOMPARE(MemoryTable::asText(QDate(1900, 1, 1)).toString(), QStringLiteral("01/01/1900"));
    QCOMPARE(MemoryTable::asText(QDate(2024, 12, 3)).toString(), QStringLiteral("03/12/2024"));
    QCOMPARE(MemoryTable::asText(QDateTime(QDate(2024, 12, 3), QTime(0, 0))).toString(), QStringLiteral("03/12/2024"));
    QCOMPARE(MemoryTable::asText(QDateTime(QDate(2024, 12, 3), QTime(9, 5, 7))).toString(),
             QStringLiteral("03/12/2024 09:05:07"));
    QCOMPARE(MemoryTable::asText(42).toString(), QStringLiteral("42"));
    QVERIFY(MemoryTable::asText(QVariant(QMetaType(QMetaType::QDate))).isNull());
    QCOMPARE(MemoryTable::asText(QVariant(QMetaType(QMetaType::QDate))).typeId(), QMetaType::UnknownType);
}

void TestMemoryTable::misuseIsReportedWithItsNumber()
{
    MemoryTable table(listShapeCommand());
    const auto number = [](auto&& work) {
        try {
            work();
        } catch (const StoreError& error) {
            return error.number();
        }
        return 0;
    };
    QCOMPARE(number([&] { table.SetField(QStringLiteral("Nome"), QStringLiteral("x")); }),
             StoreErrorNumber::NotUpdatable);  // no AddNew
    table.AddNew();
    QCOMPARE(number([&] { table.SetField(QStringLiteral("Cognome"), QStringLiteral("x")); }), StoreErrorNumber::ItemNotFound);
    table.Update();
    QCOMPARE(number([&] { table.Fields(QStringLiteral("Cognome")); }), StoreErrorNumber::ItemNotFound);
    QCOMPARE(number([&] { table.Fields(1); }), StoreErrorNumber::ItemNotFound);
    table.MoveNext();
    QCOMPARE(number([&] { table.Fields(0); }), StoreErrorNumber::NoCurrentRecord);
    QCOMPARE(number([&] { table.MoveNext(); }), StoreErrorNumber::NoCurrentRecord);
}

void TestMemoryTable::listTableHasOneRowPerEntryInListOrder()
{
    QCOMPARE(listTable({}).RecordCount(), 0);

    const MemoryTable one = listTable({QStringLiteral("Rossi Anna")});
    QCOMPARE(one.RecordCount(), 1);
    QCOMPARE(one.value(0, 0).toString(), QStringLiteral("Rossi Anna"));

    // Not alphabetical on purpose: the table keeps the list's order and text exactly.
    const QStringList entries = {QStringLiteral("Zanetti  Ugo "), QStringLiteral("D'Amico Lucia"), QString(),
                                 QStringLiteral("Àlvaro Pérez"), QStringLiteral("Zanetti  Ugo ")};
    const MemoryTable table = listTable(entries);
    QCOMPARE(table.RecordCount(), entries.size());
    for (int i = 0; i < entries.size(); ++i) QCOMPARE(table.value(i, 0).toString(), entries[i]);

    // More entries than a 16-bit counter can count.
    QStringList many;
    for (int i = 0; i < 40000; ++i) many << QString::number(i);
    const MemoryTable big = listTable(many);
    QCOMPARE(big.RecordCount(), 40000);
    QCOMPARE(big.value(39999, 0).toString(), QStringLiteral("39999"));
}

QTEST_GUILESS_MAIN(TestMemoryTable)
#include "tst_memorytable.moc"
