#pragma once

#include <QPointer>
#include <QToolBar>

class QToolButton;

namespace brenzola {

// A toolbar that is one stop in the tab order, as on a desktop: Tab enters it on the
// button it was left from, the arrow keys (and Home, End) move between its buttons, Space
// presses the one with the focus, Tab and Shift+Tab leave it. A click leaves the focus
// where it was.
class KeyboardToolBar : public QToolBar {
    Q_OBJECT

public:
    explicit KeyboardToolBar(QWidget* parent = nullptr);

    // Adds a command with a shortcut, shown in its tooltip as desktops do: "Avanti (Alt+Destra)".
    QAction* addCommand(const QIcon& icon, const QString& caption, const QKeySequence& shortcut);

protected:
    void actionEvent(QActionEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QToolButton*> reachableButtons() const;
    // Gives the focus to the first tab stop after (or before) the toolbar.
    void leave(bool forward);

    QPointer<QToolButton> current_;
};

}  // namespace brenzola
