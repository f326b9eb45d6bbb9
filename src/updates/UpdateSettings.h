#pragma once

#include "store/SettingsFile.h"

#include <QDateTime>
#include <QString>
#include <optional>

// What a signed release remembers about updates, in the user's settings file under keys of
// its own: development builds keep their two toggles elsewhere, and neither sees the other's.
class UpdateSettings {
public:
    static inline const QString checksKey = QStringLiteral("ReleaseUpdates/automaticallyChecks");
    static inline const QString downloadsKey = QStringLiteral("ReleaseUpdates/automaticallyDownloads");
    static inline const QString lastCheckKey = QStringLiteral("ReleaseUpdates/lastCheck");
    static inline const QString skippedVersionKey = QStringLiteral("ReleaseUpdates/skippedVersion");

    // `checksByDefault` and `downloadsByDefault` hold until the user changes a toggle.
    UpdateSettings(const QString& settingsFile, bool checksByDefault, bool downloadsByDefault);

    bool automaticallyChecks() const;
    void setAutomaticallyChecks(bool on);
    bool automaticallyDownloads() const;
    void setAutomaticallyDownloads(bool on);
    std::optional<QDateTime> lastCheck() const;
    void setLastCheck(const QDateTime& date);
    QString skippedVersion() const;
    void setSkippedVersion(const QString& version);

private:
    bool flag(const QString& key, bool fallback) const;
    void store(const QString& key, const QVariant& value);

    SettingsFile settings_;
    bool checksByDefault_;
    bool downloadsByDefault_;
};
