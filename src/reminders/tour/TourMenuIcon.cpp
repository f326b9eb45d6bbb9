#include "reminders/tour/TourMenuIcon.h"

#include "characters/AppBrandMark.h"
#include "ui/Palette.h"
#include "ui/ReduceMotion.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace {

constexpr qreal cornerRadius = 8;
constexpr qreal lowOpacity = 0.12;
constexpr qreal swing = 0.24;
constexpr double halfPeriodSeconds = 0.8;

// The reference date the pulse counts from, so every icon drawn at one moment agrees.
const QDateTime& referenceDate()
{
    static const QDateTime reference(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);
    return reference;
}

}  // namespace

TourMenuIcon::TourMenuIcon(QWidget* parent)
    : OnScreenWidget(parent), clock_([] { return QDateTime::currentDateTimeUtc(); })
{
    setAttribute(Qt::WA_TranslucentBackground);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    timer_.setInterval(frameMilliseconds);
    timer_.setTimerType(Qt::CoarseTimer);
    connect(&timer_, &QTimer::timeout, this, qOverload<>(&QWidget::update));
}

void TourMenuIcon::setClock(std::function<QDateTime()> clock)
{
    clock_ = std::move(clock);
    update();
}

qreal TourMenuIcon::pulsingOpacity(double seconds)
{
    return lowOpacity + swing * (std::sin(M_PI * seconds / halfPeriodSeconds) + 1) / 2;
}

qreal TourMenuIcon::highlightOpacity(const QDateTime& date) const
{
    if (ReduceMotion::isOn())
        return steadyOpacity;
    return pulsingOpacity(referenceDate().msecsTo(date) / 1000.0);
}

QSize TourMenuIcon::sizeHint() const
{
    return {markSize + 2 * padding, markSize + 2 * padding};
}

void TourMenuIcon::refreshTimer()
{
    if (isVisible() && !ReduceMotion::isOn())
        timer_.start();
    else
        timer_.stop();
}

void TourMenuIcon::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius, cornerRadius);
    QColor fill = Palette::accent();
    fill.setAlphaF(highlightOpacity(clock_()));
    painter.fillPath(shape, fill);
    QColor outline = Palette::accent();
    outline.setAlphaF(0.65);
    painter.setPen(QPen(outline, 1));
    painter.drawPath(shape);
    if (mark_.isNull() || mark_.devicePixelRatio() != devicePixelRatioF())
        mark_ = AppBrandMark::render(markSize, true, Palette::accent(), devicePixelRatioF());
    painter.drawImage(QPointF(padding, padding), mark_);
}

void TourMenuIcon::onScreenChanged(bool)
{
    refreshTimer();
}
