#include "store/SettingsFile.h"

#include "model/LocalFiles.h"

#include <QFileInfo>

SettingsFile::SettingsFile(const QString& path)
{
    if (!LocalFiles::isSpecialFile(path)) {
        settings_.emplace(path, QSettings::IniFormat);
        return;
    }
    refusal_ = QStringLiteral("Your settings file “%1” isn't a regular file, so Dewbell leaves it alone and keeps "
                              "your update choices only until it quits.")
                   .arg(QFileInfo(path).filePath());
}

QVariant SettingsFile::value(const QString& key) const
{
    return settings_ ? settings_->value(key) : held_.value(key);
}

void SettingsFile::setValue(const QString& key, const QVariant& value)
{
    if (!settings_) {
        held_.insert(key, value);
        return;
    }
    settings_->setValue(key, value);
    settings_->sync();
}
