#include "platform/SessionSources.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>

namespace {

const QString logindService = QStringLiteral("org.freedesktop.login1");
const QString sessionInterface = QStringLiteral("org.freedesktop.login1.Session");
const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
constexpr int callTimeoutMilliseconds = 1000;

}  // namespace

LogindSessionSource::LogindSessionSource(QDBusConnection systemBus, Watched watched)
    : bus_(std::move(systemBus)), watched_(watched)
{ }

void LogindSessionSource::start(std::function<void(bool)> deliver)
{
    deliver_ = std::move(deliver);
    path_ = sessionPath();
    if (path_.isEmpty())
        return;
    bus_.connect(logindService, path_, propertiesInterface, QStringLiteral("PropertiesChanged"), this,
                 SLOT(onPropertiesChanged(QString, QVariantMap, QStringList)));
    if (watched_ == Watched::lock) {
        bus_.connect(logindService, path_, sessionInterface, QStringLiteral("Lock"), this, SLOT(onLock()));
        bus_.connect(logindService, path_, sessionInterface, QStringLiteral("Unlock"), this, SLOT(onUnlock()));
    }
}

// Our session: the one logind started us in, else the one it counts as the user's display.
QString LogindSessionSource::sessionPath()
{
    if (!bus_.isConnected())
        return {};
    const QString sessionID = qEnvironmentVariable("XDG_SESSION_ID", QStringLiteral("auto"));
    QDBusMessage call =
        QDBusMessage::createMethodCall(logindService, QStringLiteral("/org/freedesktop/login1"),
                                       QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("GetSession"));
    call << sessionID;
    const QDBusMessage reply = bus_.call(call, QDBus::Block, callTimeoutMilliseconds);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return reply.arguments().constFirst().value<QDBusObjectPath>().path();
}

QString LogindSessionSource::propertyName() const
{
    return watched_ == Watched::lock ? QStringLiteral("LockedHint") : QStringLiteral("Active");
}

void LogindSessionSource::onLock()
{
    deliver_(true);
}

void LogindSessionSource::onUnlock()
{
    deliver_(false);
}

void LogindSessionSource::onPropertiesChanged(const QString& interface, const QVariantMap& changed,
                                              const QStringList& invalidated)
{
    if (interface != sessionInterface)
        return;
    if (changed.contains(propertyName()))
        deliver_(changed.value(propertyName()).toBool());
    else if (invalidated.contains(propertyName()))
        readProperty();
}

// logind may announce a change without its value; the value is then asked for explicitly.
void LogindSessionSource::readProperty()
{
    QDBusMessage call =
        QDBusMessage::createMethodCall(logindService, path_, propertiesInterface, QStringLiteral("Get"));
    call << sessionInterface << propertyName();
    const QDBusMessage reply = bus_.call(call, QDBus::Block, callTimeoutMilliseconds);
    if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
        deliver_(reply.arguments().constFirst().value<QDBusVariant>().variant().toBool());
}

ScreenSaverSource::ScreenSaverSource(QDBusConnection sessionBus) : bus_(std::move(sessionBus))
{ }

void ScreenSaverSource::start(std::function<void(bool)> deliver)
{
    deliver_ = std::move(deliver);
    if (!bus_.isConnected())
        return;
    for (const QString& interface :
         {QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("org.gnome.ScreenSaver")})
        bus_.connect(QString(), QString(), interface, QStringLiteral("ActiveChanged"), this,
                     SLOT(onActiveChanged(bool)));
}

void ScreenSaverSource::onActiveChanged(bool active)
{
    deliver_(active);
}

AnyStateSource::AnyStateSource(std::vector<std::unique_ptr<StateSource>> sources) : sources_(std::move(sources))
{ }

void AnyStateSource::start(std::function<void(bool)> deliver)
{
    for (const auto& source : sources_)
        source->start(deliver);
}
