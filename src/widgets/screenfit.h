#pragma once

#include <QSize>

class QWidget;

namespace brenzola {

// Gives a window a page of its designed size to lay its controls on. The window shows
// the page whole when it has the room, stretches it when larger, and scrolls it when a
// small screen (or a large display scale) leaves it less room than the design.
QWidget* addDesignedPage(QWidget* window, QSize designed);

// Keeps a top-level window, title bar and borders included, inside the available area
// of its screen when it opens: centred where it fits, shrunk to the area where it does
// not; beside `accanto` instead, when given and the screen has room for both. Once open,
// the window is the user's to move.
void keepOnScreen(QWidget* window, const QWidget* accanto = nullptr);

}  // namespace brenzola
