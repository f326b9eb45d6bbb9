#pragma once

// On a desktop without a tray, a closed main window leaves Dewbell running with nothing on
// screen. Asked once, when the window first closes: a message box says that reminders keep
// coming and how to open the window again, and lets the user quit instead.
namespace NoTrayNotice {

// True to keep running (also when the box is dismissed), false to quit.
bool keepRunning();

}  // namespace NoTrayNotice
