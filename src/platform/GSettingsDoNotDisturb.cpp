#include "platform/DoNotDisturbReadings.h"

GSettingsDoNotDisturb::GSettingsDoNotDisturb() : banners_("org.gnome.desktop.notifications", "show-banners")
{ }

FocusAuthorization GSettingsDoNotDisturb::authorization()
{
    if (!probed_)
        probe();
    return banners_.isOpen() ? FocusAuthorization::authorized : FocusAuthorization::restricted;
}

std::optional<bool> GSettingsDoNotDisturb::isOn()
{
    const std::optional<bool> bannersShown = banners_.value();
    if (!bannersShown)
        return std::nullopt;
    return !*bannersShown;
}

void GSettingsDoNotDisturb::probe()
{
    probed_ = true;
    banners_.open();
}
