#include "presentation/formtransparancy.h"

#include "presentation/trasparenza.h"
#include "store/storeerror.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdlib>
#include <limits>

namespace brenzola {

using tRASPARENZA::ImpostaTrasparenza;

namespace {

qint16 narrowed(int value)
{
    if (value < std::numeric_limits<qint16>::min() || value > std::numeric_limits<qint16>::max())
        throw StoreError(
            6,
            QCoreApplication::translate("brenzola::FormTransparancy", "Overflow: %1 non sta in un intero a 16 bit.").arg(value));
    return qint16(value);
}

// Keeps the running sums inside 16 bits; the program's own values never get near.
qint16 saturated(int value)
{
    return qint16(std::clamp(value, int(std::numeric_limits<qint16>::min()), int(std::numeric_limits<qint16>::max())));
}

}  // namespace

FormTransparancy::FormTransparancy(QWidget* parent) : QWidget(parent), Timer1(new QTimer(this))
{
    setObjectName(QStringLiteral("FormTransparancy1"));
    hide();
    Timer1->setInterval(10);
    connect(Timer1, &QTimer::timeout, this, &FormTransparancy::Timer1_Timer);
}

void FormTransparancy::setTransparencyDirection(int value)
{
    direction_ = narrowed(value);
    seguiDirezione();
}

void FormTransparancy::seguiDirezione()
{
    // The timer ticks only while a fade is under way: an idle window wakes nobody up.
    if (direction_ != 0 && !Timer1->isActive()) Timer1->start();
}

void FormTransparancy::setTransparencyLevel(int value) { level_ = narrowed(value); }

QWidget* FormTransparancy::finestra() const { return parentWidget() ? parentWidget()->window() : nullptr; }

void FormTransparancy::MakeVisible()
{
    level_ = 0;
    direction_ = 4;
    seguiDirezione();
    ImpostaTrasparenza(finestra(), 0);
    if (QWidget* window = finestra()) {
        window->show();
        window->activateWindow();
        window->setFocus();
    }
}

void FormTransparancy::MakeInVisible()
{
    level_ = 255;
    direction_ = -4;
    seguiDirezione();
    ImpostaTrasparenza(finestra(), 255);
}

void FormTransparancy::InitProperties()
{
    level_ = 0;
    direction_ = 0;
    Timer1->start();
}

void FormTransparancy::ReadProperties(const QVariantMap& saved)
{
    level_ = narrowed(saved.value(QStringLiteral("TransparencyLevel"), 0).toInt());
    direction_ = narrowed(saved.value(QStringLiteral("TransparencyDirection"), 0).toInt());
    // Applied at once, so a window saved nearly transparent opens that way.
    ImpostaTrasparenza(finestra(), level_);
    Timer1->start();
}

QVariantMap FormTransparancy::WriteProperties() const
{
    QVariantMap saved;
    if (level_ != 0) saved.insert(QStringLiteral("TransparencyLevel"), int(level_));
    if (direction_ != 0) saved.insert(QStringLiteral("TransparencyDirection"), int(direction_));
    return saved;
}

void FormTransparancy::Timer1_Timer()
{
    if (direction_ == 0) {
        Timer1->stop();  // the fade has ended; a new direction starts it again
        return;
    }
    const int result = ImpostaTrasparenza(finestra(), level_);
    if (result == 1 && direction_ < 0 && finestra()) finestra()->hide();
    level_ = saturated(level_ + direction_);
    const int step = std::abs(int(direction_));
    if (level_ < step) {
        // Reset before closing: the close may run long code while ticks keep coming.
        direction_ = 0;
        level_ = 0;
        ImpostaTrasparenza(finestra(), 0);
        if (QWidget* window = finestra()) window->close();
    }
    // Only a fade-in ends at the top: a fade-out that starts above 255 keeps going down.
    // The window is then shown at the level it reports, not left a little see-through.
    if (direction_ > 0 && level_ > 255 - direction_) {
        direction_ = 0;
        level_ = 255;
        ImpostaTrasparenza(finestra(), level_);
    }
    if (direction_ == 0) Timer1->stop();
}

}  // namespace brenzola
