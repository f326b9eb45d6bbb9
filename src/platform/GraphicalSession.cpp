#include "platform/GraphicalSession.h"

#include <X11/Xlib.h>

namespace GraphicalSession {

namespace {

// A DISPLAY left over from an SSH login names a server that is gone; only a connection tells.
bool xServerAnswers(const QString& display)
{
    if (display.isEmpty())
        return false;
    Display* connection = XOpenDisplay(display.toLocal8Bit().constData());
    if (!connection)
        return false;
    XCloseDisplay(connection);
    return true;
}

}  // namespace

bool isAvailable(const QProcessEnvironment& environment)
{
    // "xcb:option=value" names the plugin before its options.
    const QString platform = environment.value(QStringLiteral("QT_QPA_PLATFORM")).section(QLatin1Char(':'), 0, 0);
    const bool wantsX11 = platform.isEmpty() || platform == QLatin1String("xcb");
    const bool wantsWayland = platform.isEmpty() || platform.startsWith(QLatin1String("wayland"));
    if (!wantsX11 && !wantsWayland)
        return true;
    if (wantsWayland && !environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty())
        return true;
    return wantsX11 && xServerAnswers(environment.value(QStringLiteral("DISPLAY")));
}

}  // namespace GraphicalSession
