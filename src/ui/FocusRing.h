#pragma once

#include <QWidget>

// Whether a control draws its focus ring: only while it has the focus and the user moved the
// focus with the keyboard. A click or a window activation draws none.
inline bool showsFocusRing(const QWidget& control)
{
    return control.hasFocus() && control.window()->testAttribute(Qt::WA_KeyboardFocusChange);
}
