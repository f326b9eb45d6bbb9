#pragma once

#include <QHash>
#include <QSettings>
#include <QString>
#include <QVariant>
#include <optional>

// The user's settings file (INI). QSettings opens it as soon as it is made, so it is made only
// on a regular file or on none yet: a FIFO or a device in its place would hold Dewbell up for
// ever. Then the values live in memory until Dewbell quits, the file is left alone, and
// refusal() says so.
class SettingsFile {
public:
    explicit SettingsFile(const QString& path);

    QVariant value(const QString& key) const;
    // Written to the file at once.
    void setValue(const QString& key, const QVariant& value);

    std::optional<QString> refusal() const { return refusal_; }

private:
    std::optional<QSettings> settings_;
    QHash<QString, QVariant> held_;
    std::optional<QString> refusal_;
};
