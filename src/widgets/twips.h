#pragma once

#include <QRect>
#include <QWidget>

namespace brenzola {

// Window geometry is given in twips (1/1440 inch); 15 twips make a pixel at 96 dpi.
inline int twips(const QWidget* widget, int value) { return qRound(value * widget->logicalDpiX() / 1440.0); }

inline void placeInTwips(QWidget* widget, int left, int top, int width, int height)
{
    widget->setGeometry(QRect(twips(widget, left), twips(widget, top), twips(widget, width), twips(widget, height)));
}

}  // namespace brenzola
