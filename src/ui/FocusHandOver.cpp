#include "ui/FocusHandOver.h"

#include <QWidget>

namespace {

// Set on a control that gave up the focus when it was disabled.
const char* const focusReturns = "focusReturnsWhenEnabled";

// The window's focus widget is kept while the window is inactive, unlike QWidget::hasFocus().
bool holdsFocus(const QWidget* control)
{
    return control->window()->focusWidget() == control;
}

}  // namespace

void showInPlaceOf(QWidget* shown, QWidget* hidden, QWidget* successor)
{
    const QWidget* focused = hidden->window()->focusWidget();
    const bool focusInside = focused && hidden->isAncestorOf(focused);
    shown->show();
    if (focusInside)
        successor->setFocus(Qt::OtherFocusReason);
    hidden->hide();
}

void setEnabledKeepingFocus(QWidget* control, bool enabled)
{
    if (!enabled && holdsFocus(control)) {
        control->clearFocus();
        control->setProperty(focusReturns, true);
    }
    control->setEnabled(enabled);
    if (enabled && control->property(focusReturns).toBool()) {
        control->setProperty(focusReturns, {});
        if (!control->window()->focusWidget())
            control->setFocus(Qt::OtherFocusReason);
    }
}
