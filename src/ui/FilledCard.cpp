#include "ui/FilledCard.h"

#include <QPainter>

FilledCard::FilledCard(const QColor& fill, qreal cornerRadius, QWidget* parent)
    : QWidget(parent), fill_(fill), cornerRadius_(cornerRadius)
{ }

void FilledCard::setOutline(const QColor& outline)
{
    if (outline_ == outline)
        return;
    outline_ = outline;
    update();
}

void FilledCard::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill_);
    painter.drawRoundedRect(QRectF(rect()), cornerRadius_, cornerRadius_);
    if (outline_.isValid()) {
        painter.setPen(QPen(outline_, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius_, cornerRadius_);
    }
}
