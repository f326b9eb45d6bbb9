#pragma once

#include <QWidget>

class DewbellStore;
class QGraphicsProxyWidget;
class QGraphicsScene;
class QGraphicsView;
class ReminderView;

// The whole content of the reminder panel: the reminder canvas (410 x 760) laid out at its own
// size and drawn `scale` times as large, so a small screen shows the same reminder smaller.
// Clicks are mapped back into the canvas, so every control keeps working at any scale.
class ReminderSurface : public QWidget {
    Q_OBJECT
public:
    explicit ReminderSurface(DewbellStore* store, double scale = 1.0, QWidget* parent = nullptr);

    void setScale(double scale);
    double scale() const { return scale_; }

    // The reminder drawn on the canvas.
    ReminderView* reminderView() const { return view_; }
    // The view that draws the canvas: what its viewport paints is what changes on screen.
    QGraphicsView* canvasView() const { return graphics_; }

    QSize sizeHint() const override;

protected:
    // The canvas lives in a scene of its own; it follows the surface on and off the screen, so
    // the companion stops animating while the panel is hidden.
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    ReminderView* view_;
    QGraphicsScene* scene_;
    QGraphicsProxyWidget* proxy_;
    QGraphicsView* graphics_;
    double scale_ = 1.0;
};
