#include "widgets/keyboardtoolbar.h"

#include <QAction>
#include <QActionEvent>
#include <QKeyEvent>
#include <QToolButton>

namespace brenzola {

KeyboardToolBar::KeyboardToolBar(QWidget* parent) : QToolBar(parent) { setFocusPolicy(Qt::TabFocus); }

QAction* KeyboardToolBar::addCommand(const QIcon& icon, const QString& caption, const QKeySequence& shortcut)
{
    QAction* action = addAction(icon, caption);
    action->setShortcut(shortcut);
    action->setToolTip(QStringLiteral("%1 (%2)").arg(caption, shortcut.toString(QKeySequence::NativeText)));
    return action;
}

QList<QToolButton*> KeyboardToolBar::reachableButtons() const
{
    QList<QToolButton*> found;
    for (QAction* action : actions()) {
        auto* button = qobject_cast<QToolButton*>(widgetForAction(action));
        if (button && button->isVisible() && button->isEnabled()) found << button;
    }
    return found;
}

void KeyboardToolBar::actionEvent(QActionEvent* event)
{
    QToolBar::actionEvent(event);
    if (event->type() != QEvent::ActionAdded) return;
    // The buttons themselves stay out of the tab order: the toolbar hands them the focus.
    if (auto* button = qobject_cast<QToolButton*>(widgetForAction(event->action()))) button->installEventFilter(this);
}

void KeyboardToolBar::focusInEvent(QFocusEvent* event)
{
    QToolBar::focusInEvent(event);
    const QList<QToolButton*> buttons = reachableButtons();
    if (buttons.isEmpty()) return;
    if (!buttons.contains(current_)) current_ = buttons.front();
    current_->setFocus(event->reason());
}

void KeyboardToolBar::leave(bool forward)
{
    // Qt may have placed the toolbar's own buttons anywhere after it in the focus chain,
    // so the walk starts from the toolbar and skips everything inside it.
    for (QWidget* widget = forward ? nextInFocusChain() : previousInFocusChain(); widget != this;
         widget = forward ? widget->nextInFocusChain() : widget->previousInFocusChain()) {
        if (isAncestorOf(widget) || !(widget->focusPolicy() & Qt::TabFocus) || !widget->isVisible() || !widget->isEnabled()
            || widget->window() != window())
            continue;
        widget->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return;
    }
}

bool KeyboardToolBar::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress) return QToolBar::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const QList<QToolButton*> buttons = reachableButtons();
    const auto index = buttons.indexOf(qobject_cast<QToolButton*>(watched));
    if (index < 0) return QToolBar::eventFilter(watched, event);
    qsizetype target = -1;
    switch (key->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        target = (index + buttons.size() - 1) % buttons.size();
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        target = (index + 1) % buttons.size();
        break;
    case Qt::Key_Home:
        target = 0;
        break;
    case Qt::Key_End:
        target = buttons.size() - 1;
        break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
        leave(key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier));
        return true;
    default:
        return QToolBar::eventFilter(watched, event);
    }
    current_ = buttons[target];
    current_->setFocus(Qt::OtherFocusReason);
    return true;
}

}  // namespace brenzola
