#pragma once

class QWidget;

// When a pressed control goes away, Qt hands the keyboard focus to whatever comes next in the
// tab order, and the next key press acts on an unrelated control. These keep it where the user
// expects it.

// Shows `shown` in place of `hidden` (one form of a card for the other). Focus inside `hidden`
// moves to `successor`, the control of `shown` that took the pressed one's place.
void showInPlaceOf(QWidget* shown, QWidget* hidden, QWidget* successor);

// Enables or disables `control`. Disabled while it has the focus, it leaves its window with no
// focused control rather than passing the focus on, and takes the focus back once enabled
// again, unless the user has put it somewhere else meanwhile.
void setEnabledKeepingFocus(QWidget* control, bool enabled);
