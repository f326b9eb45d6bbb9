#include "platform/IdleReadings.h"

#include <QDBusMessage>

#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

#include <cmath>

namespace {

// A session service that does not answer soon is treated as absent for this reading.
constexpr int callTimeoutMilliseconds = 250;

bool usable(double seconds)
{
    return std::isfinite(seconds) && seconds >= 0;
}

}  // namespace

X11IdleReading::X11IdleReading(std::shared_ptr<X11Connection> connection) : connection_(std::move(connection))
{ }

std::optional<double> X11IdleReading::secondsSinceAnyInput()
{
    Display* display = connection_->display();
    if (!tried_) {
        tried_ = true;
        int firstEvent = 0;
        int firstError = 0;
        available_ = display && XScreenSaverQueryExtension(display, &firstEvent, &firstError);
    }
    if (!available_)
        return std::nullopt;
    XScreenSaverInfo info{};
    if (!XScreenSaverQueryInfo(display, DefaultRootWindow(display), &info))
        return std::nullopt;
    return info.idle / 1000.0;
}

DBusIdleReading::DBusIdleReading(QDBusConnection bus, QString service, QString path, QString interface, QString method,
                                 Unit unit)
    : bus_(std::move(bus)),
      service_(std::move(service)),
      path_(std::move(path)),
      interface_(std::move(interface)),
      method_(std::move(method)),
      unit_(unit)
{ }

std::unique_ptr<IdleReading> DBusIdleReading::mutter(const QDBusConnection& bus)
{
    return std::make_unique<DBusIdleReading>(
        bus, QStringLiteral("org.gnome.Mutter.IdleMonitor"), QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core"),
        QStringLiteral("org.gnome.Mutter.IdleMonitor"), QStringLiteral("GetIdletime"), Unit::milliseconds);
}

std::unique_ptr<IdleReading> DBusIdleReading::screenSaver(const QDBusConnection& bus)
{
    return std::make_unique<DBusIdleReading>(
        bus, QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("/org/freedesktop/ScreenSaver"),
        QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("GetSessionIdleTime"), Unit::seconds);
}

std::optional<double> DBusIdleReading::secondsSinceAnyInput()
{
    if (!bus_.isConnected())
        return std::nullopt;
    const QDBusMessage call = QDBusMessage::createMethodCall(service_, path_, interface_, method_);
    const QDBusMessage reply = bus_.call(call, QDBus::Block, callTimeoutMilliseconds);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return std::nullopt;
    bool isNumber = false;
    const double value = reply.arguments().constFirst().toDouble(&isNumber);
    if (!isNumber)
        return std::nullopt;
    return unit_ == Unit::milliseconds ? value / 1000.0 : value;
}

FirstIdleReading::FirstIdleReading(std::vector<std::unique_ptr<IdleReading>> sources) : sources_(std::move(sources))
{ }

std::optional<double> FirstIdleReading::secondsSinceAnyInput()
{
    for (const auto& source : sources_) {
        const std::optional<double> seconds = source->secondsSinceAnyInput();
        if (seconds && usable(*seconds))
            return seconds;
    }
    return std::nullopt;
}
