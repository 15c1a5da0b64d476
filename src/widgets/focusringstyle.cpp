#include "widgets/focusringstyle.h"

#include <QPainter>
#include <QStyleOption>

namespace brenzola {

namespace {

void ring(const QStyleOption* option, QPainter* painter)
{
    if (!(option->state & QStyle::State_HasFocus) || !(option->state & QStyle::State_Enabled)) return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(QPen(FocusRingStyle::kRing, 2));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(QRectF(option->rect).adjusted(1, 1, -1, -1));
    painter->restore();
}

}  // namespace

// Dark enough on white and on the quick search's green, and not a colour of the form.
const QColor FocusRingStyle::kRing(0, 84, 196);

void FocusRingStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                   const QWidget* widget) const
{
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    switch (element) {
    case PE_FrameLineEdit:
    case PE_PanelButtonCommand:
    case PE_FrameFocusRect:
    case PE_Frame:
        ring(option, painter);
        break;
    default:
        break;
    }
}

void FocusRingStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                                        const QWidget* widget) const
{
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    if (control == CC_ComboBox || control == CC_SpinBox || control == CC_ToolButton) ring(option, painter);
}

}  // namespace brenzola
