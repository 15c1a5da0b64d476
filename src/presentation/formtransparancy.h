#pragma once

#include <QVariantMap>
#include <QWidget>

class QTimer;

namespace brenzola {

// Fades the window it sits on: every 10 ms it applies TransparencyLevel as the
// window's alpha and adds TransparencyDirection to it, stopping at the bounds; the end
// of a fade-out closes the window. Invisible itself.
class FormTransparancy : public QWidget {
    Q_OBJECT

public:
    explicit FormTransparancy(QWidget* parent);

    int TransparencyDirection() const { return direction_; }
    // Values outside the 16-bit range are refused (StoreError 6) and the old value kept.
    void setTransparencyDirection(int value);
    int TransparencyLevel() const { return level_; }
    void setTransparencyLevel(int value);

    void MakeVisible();
    void MakeInVisible();

    // The control's saved state, as kept in the window's definition.
    void InitProperties();
    void ReadProperties(const QVariantMap& saved);
    QVariantMap WriteProperties() const;

    // One step of the fade; the timer calls it every 10 ms while a fade is under way.
    void Timer1_Timer();
    QTimer* Timer1;

private:
    QWidget* finestra() const;
    void seguiDirezione();

    qint16 level_ = 0;
    qint16 direction_ = 0;
};

}  // namespace brenzola
