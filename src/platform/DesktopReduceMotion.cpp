#include "platform/DesktopReduceMotion.h"

#include "platform/GSettingsSwitch.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

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

std::optional<bool> DesktopReduceMotion::readGnome()
{
    GSettingsSwitch animations("org.gnome.desktop.interface", "enable-animations");
    if (!animations.open())
        return std::nullopt;
    return !*animations.value();
}

std::optional<bool> DesktopReduceMotion::readKdeGlobals(const QString& path)
{
    if (path.isEmpty() || !QFile::exists(path))
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
