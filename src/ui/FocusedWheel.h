#pragma once

class QWidget;

// A wheel turned over `control` changes it only once the user has given it the keyboard focus,
// by clicking or tabbing into it. Until then the wheel scrolls the scroll area that holds the
// control, so reading down a page never changes a setting on the way. The wheel alone never
// gives the control the focus.
void takeWheelOnlyWithFocus(QWidget* control);
