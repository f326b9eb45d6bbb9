// GLib's headers name struct members "signals", which Qt defines as a keyword: they come first.
#include <gio/gio.h>

#include "platform/GSettingsSwitch.h"

GSettingsSwitch::GSettingsSwitch(const char* schema, const char* key) : schema_(schema), key_(key)
{ }

GSettingsSwitch::~GSettingsSwitch()
{
    if (settings_)
        g_object_unref(settings_);
}

bool GSettingsSwitch::open()
{
    if (settings_)
        return true;
    GSettingsSchemaSource* schemas = g_settings_schema_source_get_default();
    if (!schemas)
        return false;
    GSettingsSchema* schema = g_settings_schema_source_lookup(schemas, schema_, TRUE);
    if (!schema)
        return false;
    if (g_settings_schema_has_key(schema, key_))
        settings_ = g_settings_new_full(schema, nullptr, nullptr);
    g_settings_schema_unref(schema);
    return settings_ != nullptr;
}

std::optional<bool> GSettingsSwitch::value() const
{
    if (!settings_)
        return std::nullopt;
    return g_settings_get_boolean(settings_, key_) != FALSE;
}
