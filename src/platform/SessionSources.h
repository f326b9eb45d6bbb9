#pragma once

#include "platform/SystemReadings.h"

#include <QDBusConnection>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <memory>
#include <vector>

// One property of our own logind session, with its change signals: the lock (the Lock and
// Unlock requests and LockedHint) or whether the session has the screen (Active).
class LogindSessionSource : public QObject, public StateSource {
    Q_OBJECT

public:
    enum class Watched { lock, active };
    LogindSessionSource(QDBusConnection systemBus, Watched watched);
    void start(std::function<void(bool)> deliver) override;

private slots:
    void onLock();
    void onUnlock();
    void onPropertiesChanged(const QString& interface, const QVariantMap& changed, const QStringList& invalidated);

private:
    QString sessionPath();
    QString propertyName() const;
    void readProperty();

    QDBusConnection bus_;
    Watched watched_;
    QString path_;
    std::function<void(bool)> deliver_;
};

// The screen saver's ActiveChanged (freedesktop and GNOME names) on the session bus: the
// screen shield went up or down.
class ScreenSaverSource : public QObject, public StateSource {
    Q_OBJECT

public:
    explicit ScreenSaverSource(QDBusConnection sessionBus);
    void start(std::function<void(bool)> deliver) override;

private slots:
    void onActiveChanged(bool active);

private:
    QDBusConnection bus_;
    std::function<void(bool)> deliver_;
};

// Passes on what any of its sources delivers.
class AnyStateSource : public StateSource {
public:
    explicit AnyStateSource(std::vector<std::unique_ptr<StateSource>> sources);
    void start(std::function<void(bool)> deliver) override;

private:
    std::vector<std::unique_ptr<StateSource>> sources_;
};
