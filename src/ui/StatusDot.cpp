#include "ui/StatusDot.h"

#include "ui/Repaint.h"

#include <QPainter>

StatusDot::StatusDot(int diameter, QWidget* parent) : QWidget(parent)
{
    setFixedSize(diameter, diameter);
}

void StatusDot::setColor(const QColor& color)
{
    setAndRepaint(this, color_, color);
}

void StatusDot::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color_);
    painter.drawEllipse(QRectF(rect()));
}
