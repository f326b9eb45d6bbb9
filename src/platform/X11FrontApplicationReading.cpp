#include "platform/X11FrontApplicationReading.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstring>

namespace {

// Long enough for any identifier; a longer value is cut, never read past.
constexpr long propertyLengthIn32BitUnits = 256;

QString withoutDesktopSuffix(QString identifier)
{
    if (identifier.endsWith(QLatin1String(".desktop")))
        identifier.chop(int(sizeof(".desktop") - 1));
    return identifier;
}

}  // namespace

X11FrontApplicationReading::X11FrontApplicationReading(std::shared_ptr<X11Connection> connection,
                                                       DesktopFileIndex index)
    : connection_(std::move(connection)), index_(std::move(index))
{ }

std::optional<QString> X11FrontApplicationReading::frontApplicationID()
{
    if (!subscription_.ready(*connection_, [this](Display* display) { return subscribe(display); }))
        return std::nullopt;
    if (stale_) {
        identifier_ = identifierOf(activeWindow());
        stale_ = false;
    }
    return identifier_;
}

bool X11FrontApplicationReading::subscribe(Display* display)
{
    activeWindowAtom_ = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
    gtkApplicationAtom_ = XInternAtom(display, "_GTK_APPLICATION_ID", False);
    kdeDesktopFileAtom_ = XInternAtom(display, "_KDE_NET_WM_DESKTOP_FILE", False);
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, DefaultRootWindow(display), &attributes);
    XSelectInput(display, DefaultRootWindow(display), attributes.your_event_mask | PropertyChangeMask);
    connection_->addEventHandler([this](XEvent& event) {
        if (event.type == PropertyNotify && event.xproperty.atom == activeWindowAtom_)
            stale_ = true;
    });
    return true;
}

unsigned long X11FrontApplicationReading::activeWindow()
{
    const QByteArray data = property(connection_->rootWindow(), activeWindowAtom_, 32);
    if (data.size() < qsizetype(sizeof(long)))
        return 0;
    long window = 0;
    std::memcpy(&window, data.constData(), sizeof(long));
    return static_cast<unsigned long>(window);
}

std::optional<QString> X11FrontApplicationReading::identifierOf(unsigned long window)
{
    if (window == 0)
        return std::nullopt;
    for (unsigned long atom : {gtkApplicationAtom_, kdeDesktopFileAtom_}) {
        const QByteArray value = property(window, atom, 8);
        if (!value.isEmpty())
            return withoutDesktopSuffix(QString::fromUtf8(value));
    }
    XClassHint hint{};
    if (!XGetClassHint(connection_->display(), window, &hint))
        return std::nullopt;
    const QString instance = QString::fromLocal8Bit(hint.res_name);
    const QString windowClass = QString::fromLocal8Bit(hint.res_class);
    if (hint.res_name)
        XFree(hint.res_name);
    if (hint.res_class)
        XFree(hint.res_class);
    return index_.identifier(windowClass, instance);
}

// The property's bytes as Xlib hands them over (32-bit items come as longs); empty when the
// window is gone, lacks the property or holds another format.
QByteArray X11FrontApplicationReading::property(unsigned long window, unsigned long atom, int wantedFormat)
{
    Atom type = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long bytesAfter = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(connection_->display(), window, atom, 0, propertyLengthIn32BitUnits, False,
                                          AnyPropertyType, &type, &format, &items, &bytesAfter, &data);
    QByteArray value;
    if (status == Success && data && format == wantedFormat) {
        const std::size_t itemSize = format == 32 ? sizeof(long) : std::size_t(format / 8);
        value = QByteArray(reinterpret_cast<const char*>(data), qsizetype(items * itemSize));
    }
    if (data)
        XFree(data);
    return value;
}
