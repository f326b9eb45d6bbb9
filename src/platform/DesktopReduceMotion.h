#pragma once

#include <QString>
#include <optional>

// The desktop's wish for reduced motion: on Plasma (as XDG_CURRENT_DESKTOP names it) KDE's
// AnimationDurationFactor of 0 in kdeglobals; elsewhere GNOME's org.gnome.desktop.interface
// enable-animations when that schema is installed, else the kdeglobals factor; else motion on.
namespace DesktopReduceMotion {

bool read();

// GNOME's answer, from the gsettings tool; none when the tool or the schema is missing.
std::optional<bool> readGnome();
// KDE's answer from a kdeglobals file; none when the file or the key is missing.
std::optional<bool> readKdeGlobals(const QString& path);
QString kdeGlobalsPath();

}  // namespace DesktopReduceMotion
