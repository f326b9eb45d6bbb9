#pragma once

#include "ui/OnScreenWidget.h"

class DewbellStore;
class QGraphicsProxyWidget;
class QGraphicsView;
class ReminderView;

// The whole content of the reminder panel: the reminder canvas (410 x 760) laid out at its own
// size and drawn `scale` times as large, so a small screen shows the same reminder smaller.
// Clicks are mapped back into the canvas, so every control keeps working at any scale.
//
// At full size the canvas is an ordinary child widget, so a walking companion repaints only
// where it was and is. Only a scaled canvas goes through a graphics view, which costs every
// frame a second rendering of what changed.
class ReminderSurface : public OnScreenWidget {
    Q_OBJECT
public:
    explicit ReminderSurface(DewbellStore* store, double scale = 1.0, QWidget* parent = nullptr);

    void setScale(double scale);
    double scale() const { return scale_; }

    // The reminder drawn on the canvas; a new one whenever the scale changes from full size to
    // scaled or back.
    ReminderView* reminderView() const { return view_; }
    // Where a point of the canvas shows, in the surface's coordinates.
    QPoint mapFromCanvas(const QPointF& canvasPoint) const;

    QSize sizeHint() const override;

protected:
    void onScreenChanged(bool onScreen) override;
    // A scaled canvas lives in a scene of its own; it follows the surface on and off the
    // screen, so the companion stops animating while the panel is hidden.

private:
    void hostDirectly();
    void hostScaled();

    DewbellStore* store_;
    ReminderView* view_ = nullptr;
    // Only while the canvas is scaled.
    QGraphicsView* graphics_ = nullptr;
    QGraphicsProxyWidget* proxy_ = nullptr;
    double scale_ = 1.0;
};
