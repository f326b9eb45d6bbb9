#include "ui/FilledCard.h"

#include "ui/Repaint.h"

void paintCard(QPainter& painter, const QRectF& rect, const QColor& fill, const QColor& outline, qreal cornerRadius)
{
    if (fill.isValid()) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawRoundedRect(rect, cornerRadius, cornerRadius);
    }
    painter.setBrush(Qt::NoBrush);
    if (outline.isValid()) {
        painter.setPen(QPen(outline, 1));
        painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius, cornerRadius);
    }
}

FilledCard::FilledCard(const QColor& fill, qreal cornerRadius, QWidget* parent)
    : QWidget(parent), fill_(fill), cornerRadius_(cornerRadius)
{ }

void FilledCard::setOutline(const QColor& outline)
{
    setAndRepaint(this, outline_, outline);
}

void FilledCard::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    paintCard(painter, rect(), fill_, outline_, cornerRadius_);
}
