#include "trasparenza.h"

#include <QGuiApplication>
#include <QWidget>

namespace brenzola::tRASPARENZA {

namespace {

// Platforms that draw no window system of their own, so no window can be translucent.
bool platformHasTranslucency()
{
    static const QStringList without = {"offscreen", "minimal", "linuxfb", "vnc", "eglfs"};
    return !without.contains(QGuiApplication::platformName());
}

}  // namespace

int ImpostaTrasparenza(QWidget* finestra, int livello)
{
    if (livello < 0 || livello > 255) return 1;
    if (!finestra) return 2;
    finestra->window()->setWindowOpacity(livello / 255.0);
    return platformHasTranslucency() ? 0 : 2;
}

}  // namespace brenzola::tRASPARENZA
