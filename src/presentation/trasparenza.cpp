#include "presentation/trasparenza.h"

#include <QtGui/qguiapplication_platform.h>
#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

namespace brenzola::tRASPARENZA {

namespace {

constexpr char kAlpha[] = "brenzolaAlpha";

// Only these window systems let a window set its own opacity. A native Wayland window
// cannot, and asking Qt there (or offscreen) only earns a warning per call.
bool platformHasTranslucency()
{
    static const bool has = QStringList{"xcb", "windows", "cocoa"}.contains(QGuiApplication::platformName());
    return has;
}

// Qt queues the X request that changes the opacity property but does not send it: with
// no input arriving the request would wait in the buffer, and the fade never reach the
// screen, until something else (a mouse move) flushed the connection.
void sendToWindowSystem()
{
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) xcb_flush(x11->connection());
}

}  // namespace

int ImpostaTrasparenza(QWidget* finestra, int livello)
{
    if (livello < 0 || livello > 255) return 1;
    if (!finestra) return 2;
    QWidget* window = finestra->window();
    window->setProperty(kAlpha, livello);
    if (!platformHasTranslucency()) return 2;
    window->setWindowOpacity(livello / 255.0);
    sendToWindowSystem();
    return 0;
}

int AlphaApplicato(const QWidget* finestra)
{
    const QVariant alpha = finestra->window()->property(kAlpha);
    return alpha.isValid() ? alpha.toInt() : 255;
}

}  // namespace brenzola::tRASPARENZA
