#pragma once

#include <QVariant>
#include <QWidget>

class QDate;
class QLineEdit;
class QToolButton;

namespace brenzola {

class CalendarPopup;

// A one-line date field that holds either a date or no value (Null). Empty shows no
// text; a date shows as dd/MM/yyyy and can be typed that way, picked from a popup
// calendar, set to today ("&Oggi") or emptied ("Svuota").
class CalendarField : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QVariant value READ value WRITE setValue NOTIFY valueChanged USER true)

public:
    explicit CalendarField(QWidget* parent = nullptr);
    ~CalendarField() override;

    // A QDate, or an invalid QVariant when the field holds no date.
    QVariant value() const;
    // Takes a QDate, a QDateTime, a text in dd/MM/yyyy form ("01/01/1900"), or Null or
    // empty text for no date. A text that is no date leaves the field as it was.
    void setValue(const QVariant& value);
    // What the field shows: empty, or the date as dd/MM/yyyy.
    QString text() const;

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
    void commitTypedText();
    void setDate(const QDate& date, bool refreshText);

    QLineEdit* editor_;
    QToolButton* button_;
    CalendarPopup* popup_;
    QVariant value_;
    bool focused_ = false;
};

}  // namespace brenzola
