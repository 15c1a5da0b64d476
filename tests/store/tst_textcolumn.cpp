// The names index's machinery for texts: the column's searches must find exactly what looking
// at each text alone finds, on one core and on two, wherever the hits fall; the table of
// numbers must give each text one number however it grows; the lower case in UTF-8 must be
// the one the rest of the program uses, wherever a letter outside ASCII stands.
#include "store/italiantext.h"
#include "store/numeripertesto.h"
#include "store/textcolumn.h"
#include "testsupport.h"

#include <QRandomGenerator>
#include <QTest>

#include <unordered_map>

using namespace brenzola;
using namespace std::string_literals;

class TestTextColumn : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void searchesFindWhatEachTextHolds();
    void eachTextKeepsOneNumber();
    void lowerCaseInUtf8IsTheProgramsLowerCase();
};

void TestTextColumn::searchesFindWhatEachTextHolds()
{
    QRandomGenerator caso(test::semeCasuale(25));
    // Short texts of few letters, so that hits are dense, rare and everything between; some
    // empty, some with a 0 of their own. Past 1 MiB the search runs on two cores.
    for (const int quanti : {1, 70, 300000}) {
        TextColumn column;
        std::vector<std::string> testi;
        for (int i = 0; i < quanti; ++i) {
            std::string testo;
            const int lunghezza = caso.bounded(7);
            for (int k = 0; k < lunghezza; ++k) testo.push_back("abc\xc3\xa8\0"[caso.bounded(6)]);
            QCOMPARE(column.append(testo), uint32_t(i));
            std::replace(testo.begin(), testo.end(), '\0', '\1');
            testi.push_back(testo);
        }
        QCOMPARE(column.size(), size_t(quanti));
        for (const std::string& parte : {"a"s, "ab"s, "cab"s, "abca"s, ""s, "\xc3\xa8"s, "\1"s}) {
            const TextColumn::Bits trovati = column.containing(parte);
            for (int i = 0; i < quanti; ++i) {
                const bool atteso = testi[size_t(i)].find(parte) != std::string::npos;
                if (TextColumn::has(trovati, size_t(i)) != atteso || column[size_t(i)] != testi[size_t(i)])
                    QFAIL(qPrintable(
                        QStringLiteral("text %1 of %2, part %3").arg(i).arg(quanti).arg(QString::fromStdString(parte))));
            }
        }
    }
}

void TestTextColumn::eachTextKeepsOneNumber()
{
    QRandomGenerator caso(test::semeCasuale(25));
    // 300,000 draws among about 60,000 texts: most come back, many differ only past their
    // eighth byte, and the table grows from nothing, placing what it holds again each time,
    // then once more to a size given ahead, as a register's start does.
    std::vector<std::string> testi;
    std::unordered_map<std::string, uint32_t> attesi;
    NumeriPerTesto numeri;
    const auto testoDi = [&testi](uint32_t n) { return std::string_view(testi[n]); };
    for (int i = 0; i < 300000; ++i) {
        if (i == 100000) numeri.allarga(250000, uint32_t(testi.size()), testoDi);
        const uint32_t scelta = caso.bounded(60000);
        const std::string testo = "prefisso" + std::to_string(scelta % 7 == 0 ? scelta % 10 : scelta);
        const auto [atteso, nuovo] = attesi.try_emplace(testo, uint32_t(testi.size()));
        const uint32_t numero = numeri.numero(testo, uint32_t(testi.size()), testoDi);
        if (numero != atteso->second)
            QFAIL(qPrintable(QStringLiteral("draw %1: %2 numbered %3, expected %4")
                                 .arg(i)
                                 .arg(QString::fromStdString(testo))
                                 .arg(numero)
                                 .arg(atteso->second)));
        if (nuovo) testi.push_back(testo);
    }
    QVERIFY(testi.size() > 40000);
}

void TestTextColumn::lowerCaseInUtf8IsTheProgramsLowerCase()
{
    // A letter outside ASCII at every place of the first and second eight bytes, and past them.
    for (const QString& lettera : {QStringLiteral("È"), QStringLiteral("İ"), QStringLiteral("ß"), QStringLiteral("Ω")})
        for (int posto = 0; posto <= 20; ++posto) {
            QString testo = QStringLiteral("DeLLa ROVERE d'AMICO").left(posto) + lettera + QStringLiteral("XyZ");
            std::u16string atteso;
            lowerCase(testo, atteso);
            std::string minuscolo = "già qui:";
            appendLowerCaseUtf8(testo.toStdString(), minuscolo);
            QCOMPARE(QString::fromStdString(minuscolo), QStringLiteral("già qui:") + QString::fromStdU16String(atteso));
            QCOMPARE(isAscii(testo.toStdString()), false);
            QCOMPARE(isAscii(testo.left(posto).toStdString()), true);
        }
}

QTEST_GUILESS_MAIN(TestTextColumn)
#include "tst_textcolumn.moc"
