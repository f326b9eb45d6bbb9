#include "ui/FilledCard.h"

#include <QPainter>

FilledCard::FilledCard(const QColor& fill, qreal cornerRadius, QWidget* parent)
    : QWidget(parent), fill_(fill), cornerRadius_(cornerRadius)
{ }

void FilledCard::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill_);
    painter.drawRoundedRect(QRectF(rect()), cornerRadius_, cornerRadius_);
}
