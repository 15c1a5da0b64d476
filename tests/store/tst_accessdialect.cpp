#include "store/accessdialect.h"
#include "store/connection.h"
#include "store/funzioni.h"
#include "store/italiantext.h"
#include "store/recordset.h"
#include "store/storeerror.h"
#include "testsupport.h"

#include <QRandomGenerator>
#include <QTest>

using namespace brenzola;

namespace {

const QString kListQuery = QStringLiteral("Select Cognome & ' ' & Nome from Anagrafica %1 ORDER BY Cognome & ' ' & Nome");

QString doubled(QString text) { return text.replace(u'\'', QStringLiteral("''")); }

// Reference for the store's like: `%` any run, `_` any one character, letter case ignored.
bool likeReference(const QString& pattern, const QString& text)
{
    const QString p = pattern.toCaseFolded();
    const QString t = text.toCaseFolded();
    std::function<bool(qsizetype, qsizetype)> match = [&](qsizetype i, qsizetype j) -> bool {
        if (i == p.size()) return j == t.size();
        if (p[i] == u'%') return match(i + 1, j) || (j < t.size() && match(i, j + 1));
        return j < t.size() && (p[i] == u'_' || p[i] == t[j]) && match(i + 1, j + 1);
    };
    return match(0, 0);
}

QStringList listRows(const QString& filter)
{
    Recordset rs;
    rs.Open(kListQuery.arg(filter), Funzioni::Connessione());
    QStringList rows;
    for (; !rs.Eof(); rs.MoveNext()) rows << rs.Fields(0).toString();
    return rows;
}

}  // namespace

class TestAccessDialect : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void translatesTheProgramsStatements_data();
    void translatesTheProgramsStatements();
    void refusesMalformedStatements_data();
    void refusesMalformedStatements();
    void literalContentNeverBecomesSql();
    void quickSearchOverRandomTextMatchesTheReference();
};

void TestAccessDialect::translatesTheProgramsStatements_data()
{
    QTest::addColumn<QString>("access");
    QTest::addColumn<QString>("sqlite");
    QTest::newRow("list query") << kListQuery.arg(QStringLiteral(" "))
                                << QStringLiteral(
                                       "Select (ifnull(Cognome,'') || ' ' || ifnull(Nome,'')) from Anagrafica   "
                                       "ORDER BY (ifnull(Cognome,'') || ' ' || ifnull(Nome,'')) COLLATE BRENZOLA_ITALIANO");
    QTest::newRow("lookup by name") << QStringLiteral("Select * from Anagrafica where Cognome & ' ' & Nome ='D''Angelo Anna'")
                                    << QStringLiteral(
                                           "Select * from Anagrafica where (ifnull(Cognome,'') || ' ' || ifnull(Nome,'')) "
                                           "='D''Angelo Anna' COLLATE BRENZOLA_NOCASE");
    QTest::newRow("key") << QStringLiteral("Delete from anagrafica where id=12")
                         << QStringLiteral("Delete from anagrafica where id=12");
    QTest::newRow("date bounds") << QStringLiteral(" DataIn >= #12/25/1900# and DataIn <= #02/03/2001#")
                                 << QStringLiteral(" DataIn >= '1900-12-25' and DataIn <= '2001-02-03'");
    QTest::newRow("double-quoted text") << QStringLiteral("x = \"it's\"")
                                        << QStringLiteral("x = 'it''s' COLLATE BRENZOLA_NOCASE");
    QTest::newRow("parenthesised operands") << QStringLiteral("select (a) & b & 'x' from t")
                                            << QStringLiteral("select (ifnull((a),'') || ifnull(b,'') || 'x') from t");
    QTest::newRow("call operand") << QStringLiteral("select trim(a) & b from t")
                                  << QStringLiteral("select (ifnull(trim(a),'') || ifnull(b,'')) from t");
    QTest::newRow("order terms") << QStringLiteral("select * from t order by a desc, b")
                                 << QStringLiteral(
                                        "select * from t order by a COLLATE BRENZOLA_ITALIANO desc, b COLLATE BRENZOLA_ITALIANO");
    QTest::newRow("date parts") << QStringLiteral("where Month(DataNasc) * 100 + day(DataNasc) in (229,301)")
                                << QStringLiteral(
                                       "where CAST(substr((DataNasc), 6, 2) AS INTEGER) * 100 + "
                                       "CAST(substr((DataNasc), 9, 2) AS INTEGER) in (229,301)");
    QTest::newRow("assignments are not comparisons")
        << QStringLiteral("Update Anagrafica set Cognome = 'Rossi', Nome='Ada' where Nome = 'ada'")
        << QStringLiteral("Update Anagrafica set Cognome = 'Rossi', Nome='Ada' where Nome = 'ada' COLLATE BRENZOLA_NOCASE");
    QTest::newRow("no comment from symbols") << QStringLiteral("select 5--3") << QStringLiteral("select 5- -3");
    QTest::newRow("NUL inside a literal") << QStringLiteral("x like '%a") + QChar(0) + QStringLiteral("b%'")
                                          << QStringLiteral("x like ('%a' || char(0) || 'b%')");
}

void TestAccessDialect::translatesTheProgramsStatements()
{
    QFETCH(QString, access);
    QFETCH(QString, sqlite);
    QCOMPARE(translateAccessSql(access), sqlite);
}

void TestAccessDialect::refusesMalformedStatements_data()
{
    QTest::addColumn<QString>("access");
    QTest::newRow("open literal") << QStringLiteral("select * from t where a = 'abc");
    QTest::newRow("impossible date") << QStringLiteral("select * from t where d >= #02/30/2001#");
    QTest::newRow("day first") << QStringLiteral("select * from t where d >= #25/12/1900#");
    QTest::newRow("open date") << QStringLiteral("select * from t where d >= #02/03/2001");
    QTest::newRow("dangling join") << QStringLiteral("select a & from t");
    QTest::newRow("open parenthesis") << QStringLiteral("select (a from t");
    QTest::newRow("extra parenthesis") << QStringLiteral("select a) from t");
}

void TestAccessDialect::refusesMalformedStatements()
{
    QFETCH(QString, access);
    try {
        translateAccessSql(access);
        QFAIL("a malformed statement was translated");
    } catch (const StoreError& error) {
        QCOMPARE(error.number(), StoreErrorNumber::SyntaxError);
    }
}

void TestAccessDialect::literalContentNeverBecomesSql()
{
    // Whatever the user types, the translated statement keeps exactly one literal
    // holding exactly that text, and nothing else changes around it.
    const QString alphabet = QStringLiteral("a'\"%_[]#&;-/*()=<>|\\ \t\nÈèàÀ€") + QChar(0);
    QRandomGenerator caso(test::semeCasuale());
    auto* random = &caso;
    for (int round = 0; round < 2000; ++round) {
        QString text;
        const int length = random->bounded(12);
        for (int i = 0; i < length; ++i) text += alphabet[random->bounded(int(alphabet.size()))];
        const QString prefix = QStringLiteral("select * from Anagrafica where cognome like ");
        const QString translated = translateAccessSql(prefix + u'\'' + doubled(text) + u'\'');
        QVERIFY(translated.startsWith(prefix));
        QString literal = translated.mid(prefix.size());
        if (text.contains(QChar(0))) {
            QVERIFY(literal.startsWith(u'(') && literal.endsWith(u')'));
            literal = literal.mid(1, literal.size() - 2).replace(QStringLiteral("' || char(0) || '"), QString(QChar(0)));
        }
        QVERIFY2(literal.startsWith(u'\'') && literal.endsWith(u'\''), qPrintable(translated));
        const QString inner = literal.mid(1, literal.size() - 2);
        QCOMPARE(inner, doubled(text));
    }
}

void TestAccessDialect::quickSearchOverRandomTextMatchesTheReference()
{
    test::TempStore store;
    const QStringList surnames = {"Rossi",    "D'Angelo", "dell'Orto", "Èrcoli", "èrcoli",  "50% Sconto",   "A_B", "a-b",
                                  "Tab\tGiù", "[x]",      "#1",        "Ünal",   "rossini", "O'Neil; drop", "Zeta"};
    for (const QString& surname : surnames) store.insert({{"Cognome", surname}, {"Nome", "N"}});
    Funzioni::ApriDatabase(store.path());

    const QString alphabet = QStringLiteral("a'%_[]#;-\tèÈrRoO ");
    QRandomGenerator caso(test::semeCasuale());
    auto* random = &caso;
    for (int round = 0; round < 400; ++round) {
        QString typed;
        const int length = random->bounded(5);
        for (int i = 0; i < length; ++i) typed += alphabet[random->bounded(int(alphabet.size()))];
        QStringList expected;
        const LikePattern pattern(u'%' + typed + u'%');  // the list's own search in memory
        for (const QString& surname : surnames) {
            const bool matches = likeReference(u'%' + typed + u'%', surname);
            QVERIFY2(pattern.matches(surname) == matches, qPrintable(typed + QStringLiteral(" / ") + surname));
            if (matches) expected << surname + QStringLiteral(" N");
        }
        QStringList found;
        try {
            found = listRows(QStringLiteral(" where cognome like '%") + doubled(typed) + QStringLiteral("%' "));
        } catch (const StoreError& error) {
            QFAIL(qPrintable(QStringLiteral("«%1» broke the statement: %2").arg(typed, error.description())));
        }
        found.sort();
        expected.sort();
        QCOMPARE(found, expected);
    }
    Funzioni::ChiudiDatabase();
}

QTEST_GUILESS_MAIN(TestAccessDialect)
#include "tst_accessdialect.moc"
