#pragma once

#include <QWidget>

// Stores `value` in one of `widget`'s fields and queues a repaint, only when the value changes.
template<typename T>
void setAndRepaint(QWidget* widget, T& field, const T& value)
{
    if (field == value)
        return;
    field = value;
    widget->update();
}
