#include "platform/CompositorReading.h"

#include <QByteArray>
#include <QGuiApplication>

#include <X11/Xlib.h>

bool DesktopCompositorReading::blendsTranslucency()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return true;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display* display = x11 ? x11->display() : nullptr;
    // An X11 display we cannot ask: cutting the window to its shape is the safe side.
    if (!display)
        return false;
    const QByteArray selection = "_NET_WM_CM_S" + QByteArray::number(DefaultScreen(display));
    const Atom atom = XInternAtom(display, selection.constData(), False);
    return XGetSelectionOwner(display, atom) != None;
}
