#include "CardFrame.h"

#include "Palette.h"

#include <QPainter>
#include <QPainterPath>

CardFrame::CardFrame(int rowSpacing, QWidget* parent) : QWidget(parent), rows_(new QVBoxLayout(this)) {
    setAttribute(Qt::WA_TranslucentBackground);
    rows_->setContentsMargins(padding, padding, padding, padding);
    rows_->setSpacing(rowSpacing);
    rows_->setSizeConstraint(QLayout::SetNoConstraint);
}

int CardFrame::cardHeight(int width) const {
    rows_->activate();
    return rows_->totalHeightForWidth(width);
}

void CardFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius, cornerRadius);
    painter.fillPath(shape, Palette::background());
    QColor outline = Palette::accent();
    outline.setAlphaF(0.2f);
    painter.setPen(QPen(outline, 1));
    painter.drawPath(shape);
}
