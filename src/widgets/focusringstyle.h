#pragma once

#include <QProxyStyle>

namespace brenzola {

// The application's style with a focus that cannot be missed: the control that has the
// keyboard is ringed in a strong colour, two pixels wide, whatever the style draws.
class FocusRingStyle : public QProxyStyle {
public:
    static const QColor kRing;

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget = nullptr) const override;
};

}  // namespace brenzola
