#pragma once

#include "ui/OnScreenWidget.h"

#include <QPainter>
#include <QTimer>

// Base of the companion pictures: repaints itself about 60 times a second, but only while
// it is visible, allowed to animate, the desktop does not ask for reduced motion and the
// subclass says its picture is changing.
class CompanionView : public OnScreenWidget {
    Q_OBJECT
public:
    void setAnimate(bool animate);
    bool animate() const { return animate_; }
    // True when the picture may move at all right now.
    bool isMoving() const;
    // True while the repaint timer runs (tests look at it).
    bool isTicking() const { return timer_.isActive(); }

    // Draws the picture as the view shows it now into `rect` of any painter: a host that shows
    // the picture itself (mirrored, say) needs no rendering of the widget.
    virtual void paintPicture(QPainter& painter, const QRectF& rect) const = 0;

protected:
    void onScreenChanged(bool onScreen) override;
    CompanionView(bool animate, QWidget* parent);

    // Whether the picture changes with the clock (false when a host drives it with fixed times).
    virtual bool followsClock() const { return true; }
    // Call after any input changes, so the timer starts or stops as needed.
    void refreshTimer();

    void paintEvent(QPaintEvent* event) override;

private:
    bool animate_;
    QTimer timer_;
};
