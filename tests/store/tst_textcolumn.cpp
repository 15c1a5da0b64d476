// The column's searches must find exactly what looking at each text alone finds, on one core
// and on two, wherever the hits fall.
#include "store/textcolumn.h"
#include "testsupport.h"

#include <QRandomGenerator>
#include <QTest>

using namespace brenzola;
using namespace std::string_literals;

class TestTextColumn : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void searchesFindWhatEachTextHolds();
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

QTEST_GUILESS_MAIN(TestTextColumn)
#include "tst_textcolumn.moc"
