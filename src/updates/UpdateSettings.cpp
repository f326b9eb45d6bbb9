#include "updates/UpdateSettings.h"

UpdateSettings::UpdateSettings(const QString& settingsFile, bool checksByDefault, bool downloadsByDefault)
    : settings_(settingsFile), checksByDefault_(checksByDefault), downloadsByDefault_(downloadsByDefault)
{ }

bool UpdateSettings::flag(const QString& key, bool fallback) const
{
    const QString text = settings_.value(key).toString();
    if (text == QLatin1String("true"))
        return true;
    if (text == QLatin1String("false"))
        return false;
    return fallback;
}

void UpdateSettings::store(const QString& key, const QVariant& value)
{
    settings_.setValue(key, value);
}

bool UpdateSettings::automaticallyChecks() const
{
    return flag(checksKey, checksByDefault_);
}

void UpdateSettings::setAutomaticallyChecks(bool on)
{
    store(checksKey, on);
}

bool UpdateSettings::automaticallyDownloads() const
{
    return flag(downloadsKey, downloadsByDefault_);
}

void UpdateSettings::setAutomaticallyDownloads(bool on)
{
    store(downloadsKey, on);
}

std::optional<QDateTime> UpdateSettings::lastCheck() const
{
    const QDateTime date = QDateTime::fromString(settings_.value(lastCheckKey).toString(), Qt::ISODateWithMs);
    return date.isValid() ? std::optional(date) : std::nullopt;
}

void UpdateSettings::setLastCheck(const QDateTime& date)
{
    store(lastCheckKey, date.toUTC().toString(Qt::ISODateWithMs));
}

QString UpdateSettings::skippedVersion() const
{
    return settings_.value(skippedVersionKey).toString();
}

void UpdateSettings::setSkippedVersion(const QString& version)
{
    store(skippedVersionKey, version);
}
