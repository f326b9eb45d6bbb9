#include "platform/DesktopReduceMotion.h"

#include "model/LocalFiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>

namespace {

// A desktop that has not answered by then counts as one without the setting.
constexpr int answerMilliseconds = 1000;

}  // namespace

bool DesktopReduceMotion::read()
{
    const std::optional<bool> kde = readKdeGlobals(kdeGlobalsPath());
    // GNOME's schema is installed on most desktops: on Plasma its default would hide the user's choice.
    const QStringList desktops = qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':'));
    if (kde && desktops.contains(QStringLiteral("KDE"), Qt::CaseInsensitive))
        return *kde;
    if (const auto gnome = readGnome())
        return *gnome;
    return kde.value_or(false);
}

// Asked through a short-lived gsettings: GSettings in this process would start three GLib
// threads (its main loop, D-Bus and dconf workers) that stay for good, while the question
// comes only when a reminder or the window opens.
std::optional<bool> DesktopReduceMotion::readGnome()
{
    QProcess gsettings;
    gsettings.setStandardErrorFile(QProcess::nullDevice());
    gsettings.start(
        QStringLiteral("gsettings"),
        {QStringLiteral("get"), QStringLiteral("org.gnome.desktop.interface"), QStringLiteral("enable-animations")},
        QIODevice::ReadOnly);
    if (!gsettings.waitForFinished(answerMilliseconds)) {
        gsettings.kill();
        gsettings.waitForFinished();
        return std::nullopt;
    }
    if (gsettings.exitStatus() != QProcess::NormalExit || gsettings.exitCode() != 0)
        return std::nullopt;
    const QByteArray enabled = gsettings.readAllStandardOutput().trimmed();
    if (enabled == "true")
        return false;
    if (enabled == "false")
        return true;
    return std::nullopt;
}

std::optional<bool> DesktopReduceMotion::readKdeGlobals(const QString& path)
{
    // QSettings opens the file as it is made: a FIFO there would never answer.
    if (path.isEmpty() || !QFile::exists(path) || LocalFiles::isSpecialFile(path))
        return std::nullopt;
    QSettings globals(path, QSettings::IniFormat);
    const QVariant factor = globals.value(QStringLiteral("KDE/AnimationDurationFactor"));
    if (!factor.isValid())
        return std::nullopt;
    bool ok = false;
    const double value = factor.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return value == 0.0;
}

QString DesktopReduceMotion::kdeGlobalsPath()
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return config.isEmpty() ? QString() : QDir(config).filePath(QStringLiteral("kdeglobals"));
}
