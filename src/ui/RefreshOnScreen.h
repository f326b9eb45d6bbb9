#pragma once

#include <QObject>
#include <QWidget>
#include <functional>

// Calls `refresh` each time `view` is shown.
void refreshWhenShown(QWidget* view, std::function<void()> refresh);

// Keeps `view` in step with a source that changes often (the store ticks every second) without
// any work while the view is off screen: `refresh` runs on each `changed` signal of `source`
// while the view is visible, and catches up each time the view is shown.
template<typename Source, typename Signal>
void refreshWhileOnScreen(QWidget* view, Source* source, Signal changed, const std::function<void()>& refresh)
{
    QObject::connect(source, changed, view, [view, refresh] {
        if (view->isVisible())
            refresh();
    });
    refreshWhenShown(view, refresh);
}
