// GLib's headers name struct members "signals", which Qt defines as a keyword: they come first.
#include <gio/gio.h>

#include "platform/DoNotDisturbReadings.h"

namespace {

constexpr const char* notificationsSchema = "org.gnome.desktop.notifications";
constexpr const char* bannersKey = "show-banners";

}  // namespace

GSettingsDoNotDisturb::~GSettingsDoNotDisturb()
{
    if (settings_)
        g_object_unref(settings_);
}

FocusAuthorization GSettingsDoNotDisturb::authorization()
{
    if (!probed_)
        probe();
    return settings_ ? FocusAuthorization::authorized : FocusAuthorization::restricted;
}

std::optional<bool> GSettingsDoNotDisturb::isOn()
{
    if (!settings_)
        return std::nullopt;
    return !g_settings_get_boolean(settings_, bannersKey);
}

void GSettingsDoNotDisturb::probe()
{
    probed_ = true;
    if (settings_)
        return;
    GSettingsSchemaSource* schemas = g_settings_schema_source_get_default();
    if (!schemas)
        return;
    GSettingsSchema* schema = g_settings_schema_source_lookup(schemas, notificationsSchema, TRUE);
    if (!schema)
        return;
    if (g_settings_schema_has_key(schema, bannersKey))
        settings_ = g_settings_new_full(schema, nullptr, nullptr);
    g_settings_schema_unref(schema);
}
