#pragma once

#include "store/UpdateConfiguration.h"
#include "store/UpdateDriving.h"
#include "store/UpdatePreferenceStore.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

// The one object through which the application sees in-app updates: whether they can run in
// this build, the two toggles, a status line and a user-initiated check. Every change of a
// reading below is announced by changed().
class AppUpdateManager : public QObject {
    Q_OBJECT

public:
    using DriverFactory = std::function<std::unique_ptr<UpdateDriving>()>;

    static inline const QString checksKey = QStringLiteral("DWInactiveBuildUpdateChecks");
    static inline const QString downloadsKey = QStringLiteral("DWInactiveBuildUpdateDownloads");

    // Without a factory the manager uses the default driver factory (below) when it starts.
    explicit AppUpdateManager(bool enabled, UpdateConfiguration configuration = UpdateConfiguration::fromBundle(),
                              DriverFactory factory = {}, std::shared_ptr<UpdatePreferenceStore> preferences = nullptr,
                              QObject* parent = nullptr);
    ~AppUpdateManager() override;

    // The shell installs the network driver here once at start-up. Until then the default
    // driver's start() throws "The update service isn't part of this build."
    static void setDefaultDriverFactory(DriverFactory factory);

    bool isAvailable() const { return isAvailable_; }
    bool canCheck() const { return canCheck_; }
    bool canChangePreferences() const { return canChangePreferences_; }
    bool automaticallyChecks() const { return automaticallyChecks_; }
    bool automaticallyDownloads() const { return automaticallyDownloads_; }
    bool allowsAutomaticDownloads() const { return allowsAutomaticDownloads_; }
    std::optional<QDateTime> lastCheck() const { return lastCheck_; }
    QString message() const { return message_; }
    const UpdateConfiguration& configuration() const { return configuration_; }
    bool enabled() const { return enabled_; }

    // The tooltip of every check button and of the menu item.
    QString checkHelp() const;

    // Decides once whether updates run in this build and starts the driver in a signed release.
    void start();
    void checkForUpdates();
    // The only ways the interface changes the toggles.
    void setAutomaticallyChecks(bool on);
    void setAutomaticallyDownloads(bool on);

signals:
    void changed();

private:
    void synchronize();
    void loadSavedPreferences();
    void startReleaseDriver();
    void startWithoutDriver();

    bool isAvailable_ = false;
    bool canCheck_ = false;
    bool canChangePreferences_ = false;
    bool automaticallyChecks_;
    bool automaticallyDownloads_;
    bool allowsAutomaticDownloads_ = true;
    std::optional<QDateTime> lastCheck_;
    QString message_;

    UpdateConfiguration configuration_;
    bool enabled_;
    DriverFactory factory_;
    std::shared_ptr<UpdatePreferenceStore> preferences_;
    std::unique_ptr<UpdateDriving> driver_;
    std::shared_ptr<UpdatePreferenceStore> savedPreferences_;
    bool started_ = false;
};
