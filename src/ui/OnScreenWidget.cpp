#include "ui/OnScreenWidget.h"

void OnScreenWidget::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    onScreenChanged(true);
}

void OnScreenWidget::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    onScreenChanged(false);
}
