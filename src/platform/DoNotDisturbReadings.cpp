#include "platform/DoNotDisturbReadings.h"

#include <QDBusMessage>
#include <QDBusVariant>

namespace {

const QString notificationsService = QStringLiteral("org.freedesktop.Notifications");
const QString notificationsPath = QStringLiteral("/org/freedesktop/Notifications");
const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
const QString inhibitedProperty = QStringLiteral("Inhibited");
constexpr int callTimeoutMilliseconds = 500;

// No server at all is "restricted"; a server that will not tell is "denied".
bool serverIsMissing(const QDBusMessage& reply)
{
    const QString error = reply.errorName();
    return error == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown")
           || error == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner")
           || error == QLatin1String("org.freedesktop.DBus.Error.Disconnected");
}

}  // namespace

NotificationsDoNotDisturb::NotificationsDoNotDisturb(QDBusConnection bus) : bus_(std::move(bus))
{ }

FocusAuthorization NotificationsDoNotDisturb::authorization()
{
    if (authorization_ == FocusAuthorization::notDetermined)
        probe();
    return authorization_;
}

std::optional<bool> NotificationsDoNotDisturb::isOn()
{
    return authorization_ == FocusAuthorization::authorized ? inhibited_ : std::nullopt;
}

void NotificationsDoNotDisturb::probe()
{
    if (!bus_.isConnected()) {
        authorization_ = FocusAuthorization::restricted;
        return;
    }
    if (!subscribed_) {
        subscribed_ = bus_.connect(notificationsService, notificationsPath, propertiesInterface,
                                   QStringLiteral("PropertiesChanged"), this,
                                   SLOT(onPropertiesChanged(QString, QVariantMap, QStringList)));
    }
    readInhibited();
}

void NotificationsDoNotDisturb::readInhibited()
{
    QDBusMessage call = QDBusMessage::createMethodCall(notificationsService, notificationsPath, propertiesInterface,
                                                       QStringLiteral("Get"));
    call << notificationsService << inhibitedProperty;
    const QDBusMessage reply = bus_.call(call, QDBus::Block, callTimeoutMilliseconds);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        authorization_ = serverIsMissing(reply) ? FocusAuthorization::restricted : FocusAuthorization::denied;
        inhibited_.reset();
        return;
    }
    const QVariant value = reply.arguments().constFirst().value<QDBusVariant>().variant();
    authorization_ = FocusAuthorization::authorized;
    inhibited_ = value.canConvert<bool>() ? std::optional<bool>(value.toBool()) : std::nullopt;
}

void NotificationsDoNotDisturb::onPropertiesChanged(const QString& interface, const QVariantMap& changed,
                                                    const QStringList& invalidated)
{
    if (interface != notificationsService)
        return;
    if (changed.contains(inhibitedProperty)) {
        authorization_ = FocusAuthorization::authorized;
        inhibited_ = changed.value(inhibitedProperty).toBool();
    } else if (invalidated.contains(inhibitedProperty)) {
        readInhibited();
    }
}

FirstDoNotDisturbReading::FirstDoNotDisturbReading(std::vector<std::unique_ptr<DoNotDisturbReading>> sources)
    : sources_(std::move(sources))
{ }

FocusAuthorization FirstDoNotDisturbReading::authorization()
{
    if (authorization_ == FocusAuthorization::notDetermined)
        probe();
    return authorization_;
}

std::optional<bool> FirstDoNotDisturbReading::isOn()
{
    return followed_ ? followed_->isOn() : std::nullopt;
}

void FirstDoNotDisturbReading::probe()
{
    followed_ = nullptr;
    authorization_ = FocusAuthorization::restricted;
    for (const auto& source : sources_) {
        source->probe();
        const FocusAuthorization found = source->authorization();
        if (found == FocusAuthorization::authorized) {
            followed_ = source.get();
            authorization_ = found;
            return;
        }
        if (found == FocusAuthorization::denied)
            authorization_ = found;
    }
}

std::unique_ptr<DoNotDisturbReading> desktopDoNotDisturb(const QString& currentDesktops, QDBusConnection sessionBus)
{
    auto notifications = std::make_unique<NotificationsDoNotDisturb>(std::move(sessionBus));
    const QStringList desktops = currentDesktops.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    if (!desktops.contains(QStringLiteral("GNOME"), Qt::CaseInsensitive))
        return notifications;
    std::vector<std::unique_ptr<DoNotDisturbReading>> sources;
    sources.push_back(std::make_unique<GSettingsDoNotDisturb>());
    sources.push_back(std::move(notifications));
    return std::make_unique<FirstDoNotDisturbReading>(std::move(sources));
}
