#include "widgets/calendarfield.h"

#include "store/funzioni.h"
#include "store/storeddate.h"
#include "widgets/dialogs.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

#include <functional>

namespace brenzola {
namespace {

const QRegularExpression kDayMonthYear(QStringLiteral(R"(^\s*(\d{1,2})/(\d{1,2})/(\d+)\s*$)"));
const QColor kNotADate(255, 214, 214);
const QColor kUnreadable(255, 240, 190);

// Typed dates follow the language's order of day and month; text the program is given
// (stored values) is day first, as it always was. Year-first text is taken as well because
// that is how stores keep dates.
bool typedDayFirst() { return Funzioni::FormatoDataMostrata().startsWith(u'd'); }

QDate parseDate(const QString& text, bool dayFirst = true)
{
    if (const auto match = kDayMonthYear.match(text); match.hasMatch() && match.captured(3).size() == 4)
        return QDate(match.captured(3).toInt(), match.captured(dayFirst ? 2 : 1).toInt(),
                     match.captured(dayFirst ? 1 : 2).toInt());
    return dateFromStoredText(text);
}

// Why typed text is not a date, for the user.
QString whyNotADate(const QString& typed)
{
    const QString start = QCoreApplication::translate("brenzola::CalendarField", "«%1» non è una data: ").arg(typed.trimmed());
    const auto match = kDayMonthYear.match(typed);
    const bool dayFirst = typedDayFirst();
    if (!match.hasMatch())
        return start
               + QCoreApplication::translate("brenzola::CalendarField", "va scritta come %1, per esempio %2.")
                     .arg(dayFirst ? QCoreApplication::translate("brenzola::CalendarField", "gg/mm/aaaa")
                                   : QCoreApplication::translate("brenzola::CalendarField", "mm/gg/aaaa"),
                          QDate(1975, 8, 7).toString(Funzioni::FormatoDataMostrata()));
    const int day = match.captured(dayFirst ? 1 : 2).toInt();
    const int month = match.captured(dayFirst ? 2 : 1).toInt();
    const int year = match.captured(3).toInt();
    if (match.captured(3).size() != 4)
        return start + QCoreApplication::translate("brenzola::CalendarField", "l'anno va scritto con quattro cifre.");
    if (month < 1 || month > 12) return start + QCoreApplication::translate("brenzola::CalendarField", "il mese va da 1 a 12.");
    const QDate first(year, month, 1);
    if (!first.isValid())
        return start + QCoreApplication::translate("brenzola::CalendarField", "l'anno %1 non esiste.").arg(year);
    const int days = first.daysInMonth();
    if (day < 1) return start + QCoreApplication::translate("brenzola::CalendarField", "il giorno va da 1 a %1.").arg(days);
    return start
           + QCoreApplication::translate("brenzola::CalendarField", "%1 %2 ha %3 giorni.")
                 .arg(Funzioni::LocaleMostrata().monthName(month))
                 .arg(year)
                 .arg(days);
}

bool isBlank(const QVariant& value) { return value.typeId() == QMetaType::QString && value.toString().trimmed().isEmpty(); }

}  // namespace

// The drop-down part: a separate top-level window, so the field treats it as its own
// when tracking the focus.
class CalendarPopup : public QFrame {
    Q_OBJECT

public:
    explicit CalendarPopup(QWidget* owner, QWidget* dropButton) : QFrame(owner, Qt::Popup), dropButton_(dropButton)
    {
        setObjectName(QStringLiteral("CalendarPopup"));
        setFrameShape(QFrame::StyledPanel);
        setFrameShadow(QFrame::Raised);

        calendar = new QCalendarWidget(this);
        calendar->setObjectName(QStringLiteral("Calendario"));
        calendar->setLocale(Funzioni::LocaleMostrata());
        calendar->setFirstDayOfWeek(Funzioni::LocaleMostrata().firstDayOfWeek());
        calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
        calendar->setDateRange(QDate(100, 1, 1), QDate(9999, 12, 31));

        todayButton = new QPushButton(tr("&Oggi"), this);
        todayButton->setObjectName(QStringLiteral("Oggi"));
        clearButton = new QPushButton(tr("Svuota"), this);
        clearButton->setObjectName(QStringLiteral("Svuota"));

        auto* buttons = new QHBoxLayout;
        buttons->addWidget(todayButton);
        buttons->addStretch();
        buttons->addWidget(clearButton);

        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(2, 2, 2, 2);
        layout->addWidget(calendar);
        layout->addLayout(buttons);
    }

    void popUpUnder(QWidget* anchor)
    {
        const QSize size = sizeHint();
        QPoint position = anchor->mapToGlobal(QPoint(0, anchor->height()));
        if (const QScreen* screen = anchor->screen()) {
            const QRect area = screen->availableGeometry();
            // Open upwards when there is no room below.
            if (position.y() + size.height() > area.bottom() + 1)
                position.setY(anchor->mapToGlobal(QPoint(0, 0)).y() - size.height());
            position.setX(qMax(area.left(), qMin(position.x(), area.right() + 1 - size.width())));
            position.setY(qMax(area.top(), position.y()));
        }
        resize(size);
        move(position);
        calendar->setFocus(Qt::PopupFocusReason);  // taken over by Qt when the popup opens
        show();
    }

    QCalendarWidget* calendar;
    QPushButton* todayButton;
    QPushButton* clearButton;
    std::function<void()> onHidden;

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        // A click on the drop button closes the popup; replaying it would open it again.
        const QPoint onButton = dropButton_->mapFromGlobal(event->globalPosition().toPoint());
        if (dropButton_->rect().contains(onButton)) setAttribute(Qt::WA_NoMouseReplay);
        QFrame::mousePressEvent(event);
    }

    void hideEvent(QHideEvent* event) override
    {
        QFrame::hideEvent(event);
        if (onHidden) onHidden();
    }

private:
    QWidget* dropButton_;
};

CalendarField::CalendarField(QWidget* parent) : QWidget(parent), editor_(new QLineEdit(this)), button_(new QToolButton(this))
{
    button_->setArrowType(Qt::DownArrow);
    button_->setFocusPolicy(Qt::NoFocus);  // the focus stays in the editor while clicking
    button_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    button_->setCursor(Qt::ArrowCursor);
    button_->setAccessibleName(tr("Apri il calendario (F4)"));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(editor_);
    layout->addWidget(button_);

    setSizePolicy(editor_->sizePolicy());
    setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(editor_);
    editor_->installEventFilter(this);

    popup_ = new CalendarPopup(this, button_);
    popup_->onHidden = [this] {
        // Qt normally hands the focus back to the window's focus widget; make sure it
        // lands in the editor rather than nowhere.
        QWidget* focus = QApplication::focusWidget();
        if ((!focus || contains(focus)) && focus != editor_ && isVisible() && window()->isActiveWindow())
            editor_->setFocus(Qt::PopupFocusReason);
    };

    connect(button_, &QToolButton::clicked, this, &CalendarField::showPopup);
    // The value follows what is typed at once, so that a change is never missed.
    connect(editor_, &QLineEdit::textEdited, this, &CalendarField::readTypedText);
    connect(editor_, &QLineEdit::editingFinished, this, &CalendarField::tidyTypedText);

    const auto pick = [this](const QDate& date) {
        popup_->hide();
        setDate(date);
    };
    connect(popup_->calendar, &QCalendarWidget::clicked, this, pick);
    connect(popup_->calendar, &QCalendarWidget::activated, this, pick);
    connect(popup_->todayButton, &QPushButton::clicked, this, [pick] { pick(QDate::currentDate()); });
    connect(popup_->clearButton, &QPushButton::clicked, this, [pick] { pick(QDate()); });

    // The editor's own focus events come first, before the next field hears of its focus;
    // focusChanged, which arrives later, covers moves that start or end in the popup.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* current) { onFocusMoved(current); });
}

CalendarField::~CalendarField()
{
    // Children are destroyed after this object's own members; keep their last focus
    // and editing signals from reaching it.
    disconnect(qApp, nullptr, this, nullptr);
    editor_->disconnect(this);
    editor_->removeEventFilter(this);
    popup_->onHidden = nullptr;
}

QVariant CalendarField::value() const { return value_; }

void CalendarField::setValue(const QVariant& value)
{
    unreadable_ = QVariant();
    QDate date;
    if (value.isNull() || isBlank(value)) {
        date = QDate();
    } else if (value.typeId() == QMetaType::QDate) {
        date = value.toDate();
    } else if (value.typeId() == QMetaType::QDateTime) {
        date = value.toDateTime().date();
    } else if (date = value.typeId() == QMetaType::QString ? parseDate(value.toString()) : QDate(); !date.isValid()) {
        // Shown and kept as it is: putting any date in its place would invent one.
        unreadable_ = value;
        editor_->setText(value.toString());
        setHeld(value, {});
        return;
    }
    setDate(date);
}

QString CalendarField::text() const
{
    if (value_.typeId() == QMetaType::QDate) return value_.toDate().toString(Funzioni::FormatoDataMostrata());
    return value_.isNull() ? QString() : value_.toString();
}

void CalendarField::showPopup()
{
    if (!isEnabled() || popup_->isVisible()) return;
    tidyTypedText();
    // Own the focus before the popup opens, so that closing it gives the focus back here.
    editor_->setFocus(Qt::OtherFocusReason);
    popup_->calendar->setSelectedDate(value_.isValid() ? value_.toDate() : QDate::currentDate());
    popup_->popUpUnder(this);
}

bool CalendarField::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == editor_ && event->type() == QEvent::FocusIn) onFocusMoved(editor_);
    if (watched == editor_ && event->type() == QEvent::FocusOut) onFocusMoved(QApplication::focusWidget());
    if (watched == editor_ && (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const auto modifiers = key->modifiers() & ~Qt::KeypadModifier;
        const bool opens = (key->key() == Qt::Key_F4 && modifiers == Qt::NoModifier)
                           || (key->key() == Qt::Key_Down && modifiers == Qt::AltModifier);
        if (opens) {
            // Claim the key before any window shortcut does, then open on the press itself.
            event->accept();
            if (event->type() == QEvent::KeyPress) showPopup();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CalendarField::onFocusMoved(QWidget* current)
{
    // No focus widget, or one in another window (a message box, another program), is not
    // a move out of the field: only moves within this window and the popup count.
    if (!current) return;
    const bool inside = contains(current);
    if (!inside && current->window() != window()) return;
    if (inside == focused_) return;
    focused_ = inside;
    if (inside) {
        emit gotFocus();
    } else {
        tidyTypedText();
        popup_->hide();
        emit lostFocus();
    }
}

bool CalendarField::contains(QWidget* widget) const
{
    // Walks across window boundaries on purpose: the popup is a window whose parent is this field.
    for (QWidget* w = widget; w; w = w->parentWidget())
        if (w == this) return true;
    return false;
}

void CalendarField::readTypedText()
{
    const QString typed = editor_->text();
    if (unreadable_.isValid() && typed == unreadable_.toString()) {
        setHeld(unreadable_, {});
    } else if (typed.trimmed().isEmpty()) {
        setHeld(QVariant(), {});
    } else if (const QDate date = parseDate(typed, typedDayFirst()); date.isValid()) {
        setHeld(date, {});
    } else {
        setHeld(typed, whyNotADate(typed));
    }
}

void CalendarField::tidyTypedText()
{
    readTypedText();
    if (!problem_.isEmpty()) {
        // Said where the user is looking; the mark and the tooltip stay.
        if (isVisible()) QToolTip::showText(editor_->mapToGlobal(QPoint(0, editor_->height())), problem_, editor_);
    } else if (!holdsUnreadableValue() && editor_->text() != text()) {
        editor_->setText(text());  // 5/3/2020 becomes 05/03/2020
    }
}

void CalendarField::setDate(const QDate& date)
{
    setHeld(date.isValid() ? QVariant(date) : QVariant(), {});
    if (editor_->text() != text()) editor_->setText(text());
}

void CalendarField::setHeld(const QVariant& value, const QString& problem)
{
    const bool changed = value_.isNull() != value.isNull() || value_.typeId() != value.typeId() || value_ != value;
    value_ = value;
    problem_ = problem;
    showState();
    if (changed) emit valueChanged();
}

void CalendarField::showState()
{
    const bool unreadable = problem_.isEmpty() && holdsUnreadableValue();
    if (problem_.isEmpty() && !unreadable) {
        // Most values are plain dates: a palette reset on each would cost more than the load.
        if (editor_->testAttribute(Qt::WA_SetPalette)) editor_->setPalette(QPalette());
        if (!editor_->toolTip().isEmpty()) editor_->setToolTip(QString());
        if (editor_->accessibleDescription() != accessibleDescription())
            editor_->setAccessibleDescription(accessibleDescription());
        return;
    }
    QPalette marked = palette();
    marked.setColor(QPalette::Base, unreadable ? kUnreadable : kNotADate);
    editor_->setPalette(marked);
    editor_->setToolTip(unreadable ? tr("«%1» non è una data riconoscibile: resta com'è memorizzata "
                                        "finché non la si cambia.")
                                         .arg(text())
                                   : problem_);
    editor_->setAccessibleDescription(editor_->toolTip());  // read where the user is, as the mark is seen
}

bool datesAreValid(QWidget* window, Dialogs& dialogs)
{
    for (CalendarField* field : window->findChildren<CalendarField*>()) {
        if (field->isValid()) continue;
        dialogs.MsgBox(window, {QStringLiteral("%1: %2").arg(field->accessibleName(), field->problem()), MsgButtons::Ok,
                                MsgIcon::Information});
        field->setFocus();
        return false;
    }
    return true;
}

}  // namespace brenzola

#include "calendarfield.moc"
