#include "widgets/accessibility.h"
#include "widgets/calendarfield.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

using namespace brenzola;

namespace {

// What a screen reader hears for the control.
QString heard(QWidget* control, QAccessible::Text text) { return QAccessible::queryAccessibleInterface(control)->text(text); }

}  // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void controlsAreNamedByTheirLabelsAndTooltips();
    void aDateFieldIsReadWhereTheFocusIs();
};

void TestAccessibility::controlsAreNamedByTheirLabelsAndTooltips()
{
    QWidget window;
    auto* panel = new QWidget(&window);  // a label names its control whatever holds them
    auto* surname = new QLineEdit(panel);
    (new QLabel(QStringLiteral("&Cognome e R&&D :"), &window))->setBuddy(surname);
    auto* named = new QLineEdit(&window);
    named->setAccessibleName(QStringLiteral("Già nominato"));
    (new QLabel(QStringLiteral("Etichetta:"), &window))->setBuddy(named);
    auto* picture = new QPushButton(&window);
    picture->setToolTip(QStringLiteral("Cerca"));
    auto* arrow = new QPushButton(QStringLiteral(">|"), &window);
    arrow->setToolTip(QStringLiteral("Ultima pagina"));
    auto* worded = new QPushButton(QStringLiteral("&Salva"), &window);
    worded->setToolTip(QStringLiteral("Salva (Ctrl+S)"));
    auto* page = new QSpinBox(&window);
    page->setToolTip(QStringLiteral("Pagina"));

    nameForScreenReaders(&window);
    QCOMPARE(heard(surname, QAccessible::Name), QStringLiteral("Cognome e R&D"));
    QCOMPARE(heard(named, QAccessible::Name), QStringLiteral("Già nominato"));
    QCOMPARE(heard(picture, QAccessible::Name), QStringLiteral("Cerca"));
    QCOMPARE(heard(arrow, QAccessible::Name), QStringLiteral("Ultima pagina"));
    QCOMPARE(heard(worded, QAccessible::Name), QStringLiteral("Salva"));
    QCOMPARE(heard(worded, QAccessible::Description), QStringLiteral("Salva (Ctrl+S)"));
    QCOMPARE(heard(page, QAccessible::Name), QStringLiteral("Pagina"));
}

void TestAccessibility::aDateFieldIsReadWhereTheFocusIs()
{
    QWidget window;
    auto* birth = new CalendarField(&window);
    birth->setAccessibleDescription(QStringLiteral("La data di nascita"));
    (new QLabel(QStringLiteral("Data Nasc."), &window))->setBuddy(birth);
    nameForScreenReaders(&window);
    QLineEdit* editor = birth->editor();
    QCOMPARE(heard(editor, QAccessible::Name), QStringLiteral("Data Nasc."));
    QCOMPARE(heard(editor, QAccessible::Description), QStringLiteral("La data di nascita"));
    QVERIFY(!heard(birth->findChild<QAbstractButton*>(), QAccessible::Name).isEmpty());

    // Text that is not a date: the reason is read, as the mark is seen; then the field again.
    editor->setText(QStringLiteral("31/02/2020"));
    emit editor->textEdited(editor->text());
    QVERIFY(!birth->isValid());
    QCOMPARE(heard(editor, QAccessible::Description), birth->problem());
    birth->setValue(QDate(2020, 2, 29));
    QCOMPARE(heard(editor, QAccessible::Description), QStringLiteral("La data di nascita"));
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
