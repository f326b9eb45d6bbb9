#pragma once

#include "platform/GSettingsSwitch.h"
#include "platform/SystemReadings.h"

#include <QDBusConnection>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <memory>
#include <vector>

// GNOME's switch: notification banners off means Do Not Disturb.
class GSettingsDoNotDisturb : public DoNotDisturbReading {
public:
    GSettingsDoNotDisturb();
    FocusAuthorization authorization() override;
    std::optional<bool> isOn() override;
    void probe() override;

private:
    GSettingsSwitch banners_;
    bool probed_ = false;
};

// The notification server's Inhibited property (KDE and others), kept up to date from the
// server's change signals.
class NotificationsDoNotDisturb : public QObject, public DoNotDisturbReading {
    Q_OBJECT

public:
    explicit NotificationsDoNotDisturb(QDBusConnection bus);
    FocusAuthorization authorization() override;
    std::optional<bool> isOn() override;
    void probe() override;

private slots:
    void onPropertiesChanged(const QString& interface, const QVariantMap& changed, const QStringList& invalidated);

private:
    void readInhibited();

    QDBusConnection bus_;
    FocusAuthorization authorization_ = FocusAuthorization::notDetermined;
    bool subscribed_ = false;
    std::optional<bool> inhibited_;
};

// Follows the first source that can be read; without one, tells whether some source refused
// (denied) or none exists (restricted).
class FirstDoNotDisturbReading : public DoNotDisturbReading {
public:
    explicit FirstDoNotDisturbReading(std::vector<std::unique_ptr<DoNotDisturbReading>> sources);
    FocusAuthorization authorization() override;
    std::optional<bool> isOn() override;
    void probe() override;

private:
    std::vector<std::unique_ptr<DoNotDisturbReading>> sources_;
    DoNotDisturbReading* followed_ = nullptr;
    FocusAuthorization authorization_ = FocusAuthorization::notDetermined;
};

// The Do Not Disturb of the desktop in use, as XDG_CURRENT_DESKTOP (`currentDesktops`, a
// colon-separated list) names it: on GNOME its banner switch, then the notification server; on
// every other desktop the server's Inhibited alone. GNOME's schema comes with the accessibility
// packages on most desktops, so finding it says nothing about the desktop in use.
std::unique_ptr<DoNotDisturbReading> desktopDoNotDisturb(const QString& currentDesktops, QDBusConnection sessionBus);
