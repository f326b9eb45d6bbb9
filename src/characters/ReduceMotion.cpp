// GLib's headers use the identifier "signals", which Qt defines as a macro: include them first.
#include <gio/gio.h>

#include "characters/ReduceMotion.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace {

struct ReduceMotionState {
    std::optional<bool> override;
    std::optional<bool> cached;
    std::shared_ptr<ReduceMotionSource> source = std::make_shared<DesktopReduceMotion>();
};

ReduceMotionState& state()
{
    static ReduceMotionState shared;
    return shared;
}

}  // namespace

std::optional<bool> DesktopReduceMotion::readGnome()
{
    // g_settings_new aborts the process for a schema that is not installed: look it up first.
    GSettingsSchemaSource* schemas = g_settings_schema_source_get_default();
    if (!schemas)
        return std::nullopt;
    GSettingsSchema* schema = g_settings_schema_source_lookup(schemas, "org.gnome.desktop.interface", TRUE);
    if (!schema)
        return std::nullopt;
    const bool hasKey = g_settings_schema_has_key(schema, "enable-animations");
    g_settings_schema_unref(schema);
    if (!hasKey)
        return std::nullopt;
    GSettings* settings = g_settings_new("org.gnome.desktop.interface");
    const bool animations = g_settings_get_boolean(settings, "enable-animations");
    g_object_unref(settings);
    return !animations;
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

bool DesktopReduceMotion::reduceMotion() const
{
    if (const auto gnome = readGnome())
        return *gnome;
    return readKdeGlobals(kdeGlobalsPath()).value_or(false);
}

bool ReduceMotion::isOn()
{
    ReduceMotionState& shared = state();
    if (shared.override)
        return *shared.override;
    if (!shared.cached)
        shared.cached = shared.source ? shared.source->reduceMotion() : false;
    return *shared.cached;
}

void ReduceMotion::setOverride(std::optional<bool> reduce)
{
    state().override = reduce;
}

void ReduceMotion::setSource(std::shared_ptr<ReduceMotionSource> source)
{
    state().source = std::move(source);
    state().cached.reset();
}
