#include "store/UpdatePreferenceStore.h"

#include <QDir>
#include <QStandardPaths>

DefaultsUpdatePreferenceStore::DefaultsUpdatePreferenceStore(const QString& settingsFile) : defaults_(settingsFile)
{ }

QString DefaultsUpdatePreferenceStore::standardSettingsFile()
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(config).filePath(QStringLiteral("dewbell/dewbell.conf"));
}

std::optional<bool> DefaultsUpdatePreferenceStore::boolForKey(const QString& key)
{
    const QVariant value = defaults_.value(key);
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    // An INI file keeps every value as text; only the words QSettings writes for a Bool count.
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString();
        if (text == QLatin1String("true"))
            return true;
        if (text == QLatin1String("false"))
            return false;
    }
    return std::nullopt;
}

void DefaultsUpdatePreferenceStore::set(bool value, const QString& key)
{
    defaults_.setValue(key, value);
}

MemoryUpdatePreferenceStore::MemoryUpdatePreferenceStore(QHash<QString, bool> initialValues)
    : values(std::move(initialValues))
{ }

std::optional<bool> MemoryUpdatePreferenceStore::boolForKey(const QString& key)
{
    ++reads;
    const auto found = values.constFind(key);
    if (found == values.constEnd())
        return std::nullopt;
    return *found;
}

void MemoryUpdatePreferenceStore::set(bool value, const QString& key)
{
    ++writes;
    values.insert(key, value);
}
