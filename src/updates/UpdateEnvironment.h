#pragma once

#include "store/UpdateConfiguration.h"
#include "updates/UpdateArchive.h"

#include <QDateTime>
#include <QList>
#include <QSslCertificate>
#include <QString>
#include <chrono>
#include <functional>

// Everything the update driver takes from the world around it. The running application uses
// forThisInstallation(); tests hand in their own folders, clock, limits and time-outs.
struct UpdateEnvironment {
    using milliseconds = std::chrono::milliseconds;

    UpdateConfiguration configuration;
    QString runningVersion;
    // The folder holding bin/dewbell and share/dewbell/app.
    QString installationRoot;
    // The user's private folder: never part of an update.
    QString userDataFolder;
    QString settingsFile;
    // Where archives are downloaded to (created readable by the user only).
    QString downloadFolder;
    bool checksByDefault = true;
    bool downloadsByDefault = false;
    // The feed is read only when it carries a signature by the configuration's key over its
    // exact bytes (SURequireSignedFeed).
    bool signedFeedRequired = false;

    // Test-only: certificate authorities trusted instead of the system's store. The
    // application never sets it.
    QList<QSslCertificate> testCertificateAuthorities;

    std::function<QDateTime()> now = [] { return QDateTime::currentDateTimeUtc(); };

    milliseconds stallTimeout{30'000};
    milliseconds feedDeadline{60'000};
    milliseconds archiveDeadline{60 * 60'000};
    // No automatic check runs before this much time has passed since start().
    milliseconds firstAutomaticCheck{10 * 60'000};
    milliseconds automaticCheckPeriod{60 * 60'000};
    qint64 archiveSizeLimit = qint64(256) << 20;
    UpdateArchive::Limits unpackLimits;

    // Starts the installed executable again once this process has ended.
    std::function<void(const QString& executable)> relaunch;
    // Ends the application (which saves the user's state on the way out).
    std::function<void()> quit;

    static UpdateEnvironment forThisInstallation();
};
