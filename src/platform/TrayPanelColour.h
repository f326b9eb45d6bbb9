#pragma once

#include <QColor>
#include <optional>

class X11Connection;

// The colour an X11 system tray asks its icons to draw in: the foreground of the tray
// protocol's _NET_SYSTEM_TRAY_COLORS on the window that owns _NET_SYSTEM_TRAY_S<screen>
// (panels such as Xfce's, MATE's and GNOME Flashback's publish it). None without X, without
// such a tray, or when the tray publishes no colours.
std::optional<QColor> trayPanelForeground(X11Connection& x11);
