#include "ui/CapsuleProgress.h"

#include "ui/Palette.h"
#include "ui/Repaint.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

CapsuleProgress::CapsuleProgress(QWidget* parent) : QWidget(parent)
{
    setFixedHeight(barHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void CapsuleProgress::setProgress(double progress)
{
    const double clamped = std::isfinite(progress) ? std::clamp(progress, 0.0, 1.0) : 0.0;
    setAndRepaint(this, progress_, clamped);
}

void CapsuleProgress::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const qreal radius = height() / 2.0;
    painter.setBrush(Palette::line());
    painter.drawRoundedRect(QRectF(rect()), radius, radius);
    if (progress_ > 0) {
        painter.setBrush(Palette::accent());
        painter.drawRoundedRect(QRectF(0, 0, width() * progress_, height()), radius, radius);
    }
}
