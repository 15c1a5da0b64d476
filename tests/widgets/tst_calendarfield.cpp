#include "widgets/calendarfield.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDate>
#include <QDateTime>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

using brenzola::CalendarField;

// A window holding the field and a plain line edit to move the focus to.
struct Form {
    QWidget window;
    CalendarField* field;
    QLineEdit* other;

    Form()
    {
        auto* layout = new QVBoxLayout(&window);
        other = new QLineEdit(&window);
        field = new CalendarField(&window);
        layout->addWidget(other);
        layout->addWidget(field);
    }
};

class TestCalendarField : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Form> showForm()
    {
        auto form = std::make_unique<Form>();
        form->window.show();
        form->window.activateWindow();
        if (!QTest::qWaitForWindowActive(&form->window)) return nullptr;
        form->other->setFocus();
        return form;
    }

    // Types into the field as a user would, then moves the focus away.
    static void typeAndLeave(Form& form, const QString& text)
    {
        form.field->setFocus(Qt::TabFocusReason);
        QTest::keyClick(form.field->editor(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(form.field->editor(), Qt::Key_Backspace);
        QTest::keyClicks(form.field->editor(), text);
        form.other->setFocus(Qt::TabFocusReason);
    }

private Q_SLOTS:
    void setValueTakesDates_data()
    {
        QTest::addColumn<QVariant>("input");
        QTest::addColumn<QDate>("expected");
        QTest::newRow("italian text") << QVariant(QStringLiteral("01/01/1900")) << QDate(1900, 1, 1);
        QTest::newRow("short text") << QVariant(QStringLiteral("5/3/1987")) << QDate(1987, 3, 5);
        QTest::newRow("date") << QVariant(QDate(2001, 12, 31)) << QDate(2001, 12, 31);
        QTest::newRow("date and time") << QVariant(QDateTime(QDate(1999, 7, 4), QTime(23, 59))) << QDate(1999, 7, 4);
    }

    void setValueTakesDates()
    {
        QFETCH(QVariant, input);
        QFETCH(QDate, expected);
        CalendarField field;
        field.setValue(input);
        QCOMPARE(field.value().typeId(), QMetaType::QDate);
        QCOMPARE(field.value().toDate(), expected);
        QCOMPARE(field.text(), expected.toString(QStringLiteral("dd/MM/yyyy")));
        QCOMPARE(field.editor()->text(), field.text());
    }

    void setValueEmptiesOrKeepsTheValue()
    {
        CalendarField field;
        QSignalSpy changed(&field, &CalendarField::valueChanged);
        for (const QVariant& empty : {QVariant(), QVariant(QString()), QVariant(QStringLiteral("  "))}) {
            field.setValue(QDate(1950, 6, 1));
            field.setValue(empty);
            QVERIFY(!field.value().isValid());
            QCOMPARE(field.text(), QString());
            QCOMPARE(field.editor()->text(), QString());
        }
        QCOMPARE(changed.count(), 6);

        // A value it cannot read is shown and kept exactly, never replaced by the date it held.
        field.setValue(QStringLiteral("02/03/1940"));
        changed.clear();
        for (const QVariant& bad : {QVariant(QStringLiteral("abc")), QVariant(QStringLiteral("31/02/1940")),
                                    QVariant(QStringLiteral("15.03.2020")), QVariant(qlonglong(43831))}) {
            field.setValue(bad);
            QCOMPARE(field.value(), bad);
            QCOMPARE(field.editor()->text(), bad.toString());
            QVERIFY(field.holdsUnreadableValue());
            QVERIFY(field.isValid());
            QVERIFY(field.editor()->toolTip().contains(bad.toString()));
        }
        QCOMPARE(changed.count(), 4);
        // Year-first forms other tools write are dates.
        for (const char* stored : {"2020-3-5", "2020/03/05", "2020-03-05 10:30:00"}) {
            field.setValue(QString::fromLatin1(stored));
            QCOMPARE(field.value(), QVariant(QDate(2020, 3, 5)));
            QVERIFY(!field.holdsUnreadableValue());
        }
    }

    void valueChangedOnlyOnRealChanges()
    {
        CalendarField field;
        QSignalSpy changed(&field, &CalendarField::valueChanged);
        field.setValue(QVariant());
        QCOMPARE(changed.count(), 0);
        field.setValue(QDate(1900, 1, 1));
        field.setValue(QStringLiteral("01/01/1900"));
        field.setValue(QDateTime(QDate(1900, 1, 1), QTime(12, 0)));
        QCOMPARE(changed.count(), 1);
        field.setValue(QStringLiteral("02/01/1900"));
        QCOMPARE(changed.count(), 2);
    }

    void typingSetsTheDate()
    {
        auto form = showForm();
        QVERIFY(form);
        CalendarField* field = form->field;
        QList<QVariant> reported;
        connect(field, &CalendarField::valueChanged, field, [&] { reported << field->value(); });

        field->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(field->editor(), QStringLiteral("25/12/1900"));
        QCOMPARE(field->value().toDate(), QDate(1900, 12, 25));  // already while focused
        form->other->setFocus(Qt::TabFocusReason);
        QCOMPARE(field->value().toDate(), QDate(1900, 12, 25));
        // While typing, the value is the text so far; the one date ever reported is the typed one.
        reported.removeIf([](const QVariant& value) { return value.typeId() != QMetaType::QDate; });
        QCOMPARE(reported, QList<QVariant>{QDate(1900, 12, 25)});

        typeAndLeave(*form, QStringLiteral("1/2/1903"));
        QCOMPARE(field->value().toDate(), QDate(1903, 2, 1));
        QCOMPARE(field->editor()->text(), QStringLiteral("01/02/1903"));

        // Text that is not a date stays as typed, marked with the reason; no other date replaces it.
        const QList<std::pair<QString, QString>> wrong = {{"31/02/2024", "febbraio 2024 ha 29 giorni"},
                                                          {"29/02/2023", "febbraio 2023 ha 28 giorni"},
                                                          {"07/08/75", "quattro cifre"},
                                                          {"07.08.1975", "gg/mm/aaaa"},
                                                          {"01/13/2020", "il mese va da 1 a 12"}};
        for (const auto& [typed, reason] : wrong) {
            typeAndLeave(*form, typed);
            QCOMPARE(field->editor()->text(), typed);
            QCOMPARE(field->value(), QVariant(typed));
            QVERIFY(!field->isValid());
            QVERIFY2(field->problem().contains(reason), qPrintable(field->problem()));
            QCOMPARE(field->editor()->toolTip(), field->problem());
        }
        typeAndLeave(*form, QStringLiteral("1/2/1903"));
        QVERIFY(field->isValid());
        QVERIFY(field->editor()->toolTip().isEmpty());

        typeAndLeave(*form, QString());
        QVERIFY(!field->value().isValid());
        QCOMPARE(field->text(), QString());
    }

    void focusSignalsCountTheFieldAsAWhole()
    {
        auto form = showForm();
        QVERIFY(form);
        CalendarField* field = form->field;
        QSignalSpy got(field, &CalendarField::gotFocus);
        QSignalSpy lost(field, &CalendarField::lostFocus);

        field->setValue(QDate(1960, 1, 1));
        QCOMPARE(got.count() + lost.count(), 0);

        QTest::keyClick(form->other, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), field->editor());
        QCOMPARE(got.count(), 1);
        QCOMPARE(lost.count(), 0);

        // Tabbing on leaves the field (its button takes no focus).
        QTest::keyClick(field->editor(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), form->other);
        QCOMPARE(got.count(), 1);
        QCOMPARE(lost.count(), 1);

        field->setFocus(Qt::MouseFocusReason);
        form->other->setFocus(Qt::MouseFocusReason);
        QCOMPARE(got.count(), 2);
        QCOMPARE(lost.count(), 2);
    }

    void popupButtonsSetAndEmptyTheField()
    {
        auto form = showForm();
        QVERIFY(form);
        CalendarField* field = form->field;
        field->setFocus(Qt::TabFocusReason);
        QSignalSpy got(field, &CalendarField::gotFocus);
        QSignalSpy lost(field, &CalendarField::lostFocus);

        QTest::keyClick(field->editor(), Qt::Key_F4);
        QWidget* popup = QApplication::activePopupWidget();
        QVERIFY(popup);
        auto* today = popup->findChild<QPushButton*>(QStringLiteral("Oggi"));
        QVERIFY(today);
        QCOMPARE(today->text(), QStringLiteral("&Oggi"));
        QTest::mouseClick(today, Qt::LeftButton);
        QVERIFY(!popup->isVisible());
        QCOMPARE(field->value().toDate(), QDate::currentDate());
        QCOMPARE(QApplication::focusWidget(), field->editor());

        QTest::keyClick(field->editor(), Qt::Key_Down, Qt::AltModifier);
        QCOMPARE(QApplication::activePopupWidget(), popup);
        auto* clear = popup->findChild<QPushButton*>(QStringLiteral("Svuota"));
        QVERIFY(clear);
        QTest::mouseClick(clear, Qt::LeftButton);
        QVERIFY(!popup->isVisible());
        QVERIFY(!field->value().isValid());
        QCOMPARE(field->editor()->text(), QString());

        // Picking a day in the calendar with the keyboard.
        field->setValue(QDate(1900, 1, 1));
        field->showPopup();
        QVERIFY(popup->isVisible());
        auto* calendar = popup->findChild<QCalendarWidget*>(QStringLiteral("Calendario"));
        QVERIFY(calendar);
        QCOMPARE(calendar->selectedDate(), QDate(1900, 1, 1));
        QWidget* inCalendar = QApplication::focusWidget();
        QVERIFY(inCalendar && calendar->isAncestorOf(inCalendar));
        QTest::keyClick(inCalendar, Qt::Key_Right);
        QTest::keyClick(inCalendar, Qt::Key_Return);
        QVERIFY(!popup->isVisible());
        QCOMPARE(field->value().toDate(), QDate(1900, 1, 2));

        QCOMPARE(QApplication::focusWidget(), field->editor());
        QCOMPARE(got.count(), 0);
        QCOMPARE(lost.count(), 0);
    }
};

QTEST_MAIN(TestCalendarField)
#include "tst_calendarfield.moc"
