#pragma once

#include "store/UpdateConfiguration.h"
#include "store/UpdateDriving.h"

#include <QJsonObject>

// An update engine that only remembers what it was told; a check stays under way until the
// test says otherwise.
struct FakeUpdateDriver : UpdateDriving {
    bool checkable = true;
    bool checks = true;
    bool downloads = false;
    bool allowsDownloads = true;
    std::optional<QDateTime> lastChecked;
    QString failure;
    int checksRun = 0;

    bool canCheck() const override { return checkable; }
    bool automaticallyChecks() const override { return checks; }
    void setAutomaticallyChecks(bool on) override { checks = on; }
    bool automaticallyDownloads() const override { return downloads; }
    void setAutomaticallyDownloads(bool on) override { downloads = on; }
    bool allowsAutomaticDownloads() const override { return allowsDownloads; }
    std::optional<QDateTime> lastCheck() const override { return lastChecked; }
    void start() override
    {
        if (!failure.isEmpty())
            throw UpdateStartError(failure.toStdString());
    }
    void check() override
    {
        ++checksRun;
        checkable = false;
    }
};

// A signed release's configuration; `validKey` false spoils the signing key.
inline UpdateConfiguration releaseConfiguration(bool validKey = true,
                                                const QString& distribution = QStringLiteral("developer-id"))
{
    QJsonObject info{
        {QStringLiteral("SUFeedURL"), QStringLiteral("https://updates.example.org/linux/appcast.xml")},
        {QStringLiteral("SUPublicEDKey"),
         validKey ? QStringLiteral("BC3ZuKDniC4gawkpqjspKhba7BfoSogGzeSEEJaYy5Q=") : QStringLiteral("short")},
    };
    if (!distribution.isEmpty())
        info.insert(QStringLiteral("DWDistribution"), distribution);
    return UpdateConfiguration(info);
}
