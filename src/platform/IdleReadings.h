#pragma once

#include "platform/SystemReadings.h"
#include "platform/X11Connection.h"

#include <QDBusConnection>

#include <memory>
#include <vector>

// The X server's own idle counter (MIT-SCREEN-SAVER).
class X11IdleReading : public IdleReading {
public:
    explicit X11IdleReading(std::shared_ptr<X11Connection> connection);
    std::optional<double> secondsSinceAnyInput() override;

private:
    std::shared_ptr<X11Connection> connection_;
    bool tried_ = false;
    bool available_ = false;
};

// A desktop service on the session bus that tells its idle time, in its own unit.
class DBusIdleReading : public IdleReading {
public:
    enum class Unit { milliseconds, seconds };
    DBusIdleReading(QDBusConnection bus, QString service, QString path, QString interface, QString method, Unit unit);
    std::optional<double> secondsSinceAnyInput() override;

    // GNOME's Mutter.
    static std::unique_ptr<IdleReading> mutter(const QDBusConnection& bus);
    // The freedesktop screen saver service (KDE and others).
    static std::unique_ptr<IdleReading> screenSaver(const QDBusConnection& bus);

private:
    QDBusConnection bus_;
    QString service_;
    QString path_;
    QString interface_;
    QString method_;
    Unit unit_;
};

// The first source that gives a usable reading; negative, infinite and undefined readings
// count as none.
class FirstIdleReading : public IdleReading {
public:
    explicit FirstIdleReading(std::vector<std::unique_ptr<IdleReading>> sources);
    std::optional<double> secondsSinceAnyInput() override;

private:
    std::vector<std::unique_ptr<IdleReading>> sources_;
};
