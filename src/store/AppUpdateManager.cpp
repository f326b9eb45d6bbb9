#include "store/AppUpdateManager.h"

#include "store/UpdateDefaults.h"

#include <QPointer>

namespace {

// Stands in until the shell installs the network driver: the build has no update service.
class UnavailableUpdateDriver : public UpdateDriving {
public:
    bool canCheck() const override { return false; }
    bool automaticallyChecks() const override { return UpdateDefaults::automaticallyChecks; }
    void setAutomaticallyChecks(bool) override { }
    bool automaticallyDownloads() const override { return UpdateDefaults::automaticallyDownloads; }
    void setAutomaticallyDownloads(bool) override { }
    bool allowsAutomaticDownloads() const override { return false; }
    std::optional<QDateTime> lastCheck() const override { return std::nullopt; }
    void start() override { throw UpdateStartError("The update service isn't part of this build."); }
    void check() override { }
};

AppUpdateManager::DriverFactory& defaultDriverFactory()
{
    static AppUpdateManager::DriverFactory factory = [] { return std::make_unique<UnavailableUpdateDriver>(); };
    return factory;
}

}  // namespace

AppUpdateManager::AppUpdateManager(bool enabled, UpdateConfiguration configuration, DriverFactory factory,
                                   std::shared_ptr<UpdatePreferenceStore> preferences, QObject* parent)
    : QObject(parent),
      automaticallyChecks_(UpdateDefaults::automaticallyChecks),
      automaticallyDownloads_(UpdateDefaults::automaticallyDownloads),
      message_(enabled ? QStringLiteral("Update service has not started.")
                       : QStringLiteral("Updates are inactive in previews and tests.")),
      configuration_(std::move(configuration)),
      enabled_(enabled),
      factory_(factory ? std::move(factory) : [] { return defaultDriverFactory()(); }),
      preferences_(std::move(preferences))
{ }

AppUpdateManager::~AppUpdateManager()
{
    if (driver_)
        driver_->onChange = nullptr;
}

void AppUpdateManager::setDefaultDriverFactory(DriverFactory factory)
{
    defaultDriverFactory() = std::move(factory);
}

void AppUpdateManager::start()
{
    if (!enabled_ || driver_)
        return;
    if (configuration_.releaseBuild)
        startReleaseDriver();
    else
        startWithoutDriver();
    emit changed();
}

void AppUpdateManager::startReleaseDriver()
{
    if (!configuration_.isValid()) {
        message_ = QStringLiteral("This build has no valid update feed or signing key.");
        return;
    }
    driver_ = factory_();
    QPointer<AppUpdateManager> self(this);
    driver_->onChange = [self] {
        if (self) {
            self->synchronize();
            emit self->changed();
        }
    };
    try {
        driver_->start();
    } catch (const std::exception& error) {
        driver_->onChange = nullptr;
        driver_.reset();
        message_ = QStringLiteral("Updates could not start: ") + QString::fromUtf8(error.what());
        return;
    }
    isAvailable_ = true;
    message_ = QStringLiteral("Updates are checked securely through Orvo Builds.");
    synchronize();
}

void AppUpdateManager::startWithoutDriver()
{
    if (started_)
        return;
    started_ = true;
    if (!preferences_) {
        message_ =
            QStringLiteral("Updates are inactive in development builds. Nothing is checked, downloaded or installed.");
        return;
    }
    savedPreferences_ = preferences_;
    canChangePreferences_ = true;
    loadSavedPreferences();
    message_ = QStringLiteral(
        "Updates are inactive in development builds: they aren’t connected to the release feed, so nothing is "
        "checked, downloaded or installed. These choices are saved for development builds only; signed releases "
        "keep their own.");
}

void AppUpdateManager::synchronize()
{
    if (!driver_)
        return;
    canCheck_ = isAvailable_ && driver_->canCheck();
    canChangePreferences_ = isAvailable_;
    automaticallyChecks_ = driver_->automaticallyChecks();
    automaticallyDownloads_ = driver_->automaticallyDownloads();
    allowsAutomaticDownloads_ = driver_->allowsAutomaticDownloads();
    lastCheck_ = driver_->lastCheck();
}

void AppUpdateManager::loadSavedPreferences()
{
    if (!savedPreferences_)
        return;
    const bool checks = savedPreferences_->boolForKey(checksKey).value_or(true);
    automaticallyChecks_ = checks;
    allowsAutomaticDownloads_ = checks;
    automaticallyDownloads_ = checks && savedPreferences_->boolForKey(downloadsKey).value_or(false);
}

void AppUpdateManager::checkForUpdates()
{
    if (!isAvailable_ || !driver_ || !driver_->canCheck())
        return;
    driver_->check();
    synchronize();
    emit changed();
}

void AppUpdateManager::setAutomaticallyChecks(bool on)
{
    if (savedPreferences_) {
        savedPreferences_->set(on, checksKey);
        loadSavedPreferences();
    } else if (isAvailable_ && driver_) {
        driver_->setAutomaticallyChecks(on);
        synchronize();
    } else {
        return;
    }
    emit changed();
}

void AppUpdateManager::setAutomaticallyDownloads(bool on)
{
    if (savedPreferences_) {
        if (!allowsAutomaticDownloads_)
            return;
        savedPreferences_->set(on, downloadsKey);
        loadSavedPreferences();
    } else if (isAvailable_ && driver_ && driver_->allowsAutomaticDownloads()) {
        driver_->setAutomaticallyDownloads(on);
        synchronize();
    } else {
        return;
    }
    emit changed();
}

QString AppUpdateManager::checkHelp() const
{
    if (canCheck_)
        return QStringLiteral("Check for a new version of Dewbell.");
    if (isAvailable_)
        return QStringLiteral("An update check is already in progress.");
    if (enabled_ && !configuration_.releaseBuild)
        return QStringLiteral("Unavailable in development builds: they aren’t connected to the release update feed.");
    return message_;
}
