#include "platform/TrayPanelColour.h"

#include "platform/X11Connection.h"

#include <QByteArray>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

// Foreground, error, warning and success, each as red, green and blue of 16 bits.
constexpr long colourValues = 12;

}  // namespace

std::optional<QColor> trayPanelForeground(X11Connection& x11)
{
    Display* display = x11.display();
    if (!display)
        return std::nullopt;
    const QByteArray selection = "_NET_SYSTEM_TRAY_S" + QByteArray::number(DefaultScreen(display));
    const Window tray = XGetSelectionOwner(display, XInternAtom(display, selection.constData(), False));
    if (tray == None)
        return std::nullopt;
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, tray, XInternAtom(display, "_NET_SYSTEM_TRAY_COLORS", False), 0,
                                          colourValues, False, XA_CARDINAL, &type, &format, &count, &remaining, &data);
    std::optional<QColor> foreground;
    // Xlib hands 32-bit properties over as longs.
    if (status == Success && type == XA_CARDINAL && format == 32 && count >= 3) {
        const auto* values = reinterpret_cast<const unsigned long*>(data);
        foreground = QColor::fromRgba64(quint16(values[0]), quint16(values[1]), quint16(values[2]));
    }
    if (data)
        XFree(data);
    return foreground;
}
