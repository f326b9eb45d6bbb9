#include "characters/CompanionView.h"

#include "ui/ReduceMotion.h"

CompanionView::CompanionView(bool animate, QWidget* parent) : OnScreenWidget(parent), animate_(animate)
{
    // At most 60 frames a second: 1/60 s rounded up to whole milliseconds.
    timer_.setInterval(17);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
}

void CompanionView::setAnimate(bool animate)
{
    animate_ = animate;
    refreshTimer();
    update();
}

bool CompanionView::isMoving() const
{
    return animate_ && !ReduceMotion::isOn();
}

void CompanionView::refreshTimer()
{
    const bool run = isVisible() && isMoving() && followsClock();
    if (run && !timer_.isActive())
        timer_.start();
    else if (!run)
        timer_.stop();
}

void CompanionView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintPicture(painter, rect());
}

void CompanionView::onScreenChanged(bool)
{
    refreshTimer();
}
