#pragma once

#include <QVariant>
#include <QWidget>

class QDate;
class QLineEdit;
class QToolButton;

namespace brenzola {

class CalendarPopup;

// A one-line date field that holds either a date or no value (Null). Empty shows no
// text; a date shows as dd/MM/yyyy (MM/dd/yyyy where the language puts the month first,
// Funzioni::FormatoDataMostrata) and can be typed that way, picked from a popup
// calendar, set to today ("&Oggi") or emptied ("Svuota"). It never puts a date of its own
// in place of what it was given or what was typed: a stored value it cannot read is shown
// as it is and kept until the user changes it, and typed text that is not a date stays,
// marked, with the reason in the interface's language, which a screen reader then reads
// as the editor's description (the field's own otherwise).
class CalendarField : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QVariant value READ value WRITE setValue NOTIFY valueChanged USER true)

public:
    explicit CalendarField(QWidget* parent = nullptr);
    ~CalendarField() override;

    // A QDate, or an invalid QVariant when the field holds no date. A stored value the
    // field could not read comes back exactly as it was given while the user leaves it;
    // typed text that is not a date comes back as that text (see isValid).
    QVariant value() const;
    // Takes a QDate, a QDateTime, a date as text (dd/MM/yyyy, d/M/yyyy in any language, or
    // year first as stores keep it), or Null or blank text for no date. Anything else is kept as a
    // stored value the field cannot read.
    void setValue(const QVariant& value);
    // What the field holds as text: a date as it shows one, empty for no date, otherwise
    // the text it shows.
    QString text() const;
    // False while the typed text is not a date; problem() then says why.
    bool isValid() const { return problem_.isEmpty(); }
    QString problem() const { return problem_; }
    // True while it shows a stored value it could not read.
    bool holdsUnreadableValue() const { return unreadable_.isValid() && value_ == unreadable_; }

    QLineEdit* editor() const { return editor_; }
    void showPopup();

Q_SIGNALS:
    void valueChanged();
    // The keyboard focus entered or left the field as a whole (its popup counts as inside).
    void gotFocus();
    void lostFocus();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onFocusMoved(QWidget* current);
    bool contains(QWidget* widget) const;
    // Takes what the editor shows as the field's value.
    void readTypedText();
    void tidyTypedText();
    void setDate(const QDate& date);
    void setHeld(const QVariant& value, const QString& problem);
    void showState();

    QLineEdit* editor_;
    QToolButton* button_;
    CalendarPopup* popup_;
    QVariant value_;
    QVariant unreadable_;  // the stored value it was given and could not read
    QString problem_;      // why the typed text is not a date
    bool focused_ = false;
};

class Dialogs;

// Refuses to go on while a date field of `window` holds text that is not a date: says
// which field and why, and puts the focus there. True when every date field is readable.
bool datesAreValid(QWidget* window, Dialogs& dialogs);

}  // namespace brenzola
