#pragma once

#include <QProcessEnvironment>

// Whether the process can open a window at all. Without one, Qt's platform plugin ends the
// process with an abort and several lines about reinstalling; Dewbell asks first and says
// plainly what it needs.
namespace GraphicalSession {

// True when the environment names a display that can be reached: an X server that answers
// (DISPLAY), a Wayland socket (WAYLAND_DISPLAY), or a Qt platform of its own choosing
// (QT_QPA_PLATFORM other than xcb or wayland, such as offscreen).
bool isAvailable(const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());

// The one line printed when there is none.
inline constexpr const char* missingMessage =
    "Dewbell needs a graphical session (an X11 or Wayland desktop), and none was found.\n";

}  // namespace GraphicalSession
