#include "updates/UpdateEnvironment.h"

#include "model/AppBundle.h"
#include "store/UpdateDefaults.h"
#include "store/UpdatePreferenceStore.h"
#include "updates/Installation.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>

namespace {

bool infoFlag(const QJsonObject& info, const char* key, bool fallback)
{
    const QJsonValue value = info.value(QLatin1String(key));
    return value.isBool() ? value.toBool() : fallback;
}

// A detached shell waits (at most a minute) for this process to end, so that the new
// version does not meet the old one still running, then starts it.
void relaunchAfterExit(const QString& executable)
{
    const QString script = QStringLiteral(
        "i=0; while kill -0 \"$1\" 2>/dev/null && [ $i -lt 300 ]; do sleep 0.2; i=$((i+1)); done; exec \"$2\"");
    QProcess::startDetached(QStringLiteral("/bin/sh"),
                            {QStringLiteral("-c"), script, QStringLiteral("dewbell-relaunch"),
                             QString::number(QCoreApplication::applicationPid()), executable});
}

}  // namespace

UpdateEnvironment UpdateEnvironment::forThisInstallation()
{
    const QJsonObject info = AppBundle::info();
    UpdateEnvironment environment;
    environment.configuration = UpdateConfiguration(info);
    environment.runningVersion = Installation::versionIn(info);
    environment.installationRoot = Installation::rootOfRunningBinary();
    environment.userDataFolder = AppBundle::privateFolder();
    environment.settingsFile = DefaultsUpdatePreferenceStore::standardSettingsFile();
    environment.downloadFolder =
        QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/dewbell/updates");
    environment.checksByDefault = infoFlag(info, "SUEnableAutomaticChecks", UpdateDefaults::automaticallyChecks);
    environment.downloadsByDefault = infoFlag(info, "SUAutomaticallyUpdate", UpdateDefaults::automaticallyDownloads);
    environment.signedFeedRequired = infoFlag(info, "SURequireSignedFeed", false);
    environment.relaunch = relaunchAfterExit;
    environment.quit = [] { QCoreApplication::quit(); };
    return environment;
}
