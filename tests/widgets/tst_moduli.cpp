#include "widgets/calendarfield.h"
#include "widgets/moduli.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>

using namespace brenzola;
using namespace brenzola::Funzioni;

class TestModuli : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { ApplicaImpostazioniItaliane(*qApp); }
    void pulisciCampiEmptiesEveryInputKind();
    void italianSettingsWhateverTheSystem();
};

void TestModuli::pulisciCampiEmptiesEveryInputKind()
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

void TestModuli::italianSettingsWhateverTheSystem()
{
    QCOMPARE(QLocale().language(), QLocale::Italian);
    QCOMPARE(QApplication::applicationName(), QStringLiteral("Brenzola"));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Sì"));
}

QTEST_MAIN(TestModuli)
#include "tst_moduli.moc"
