#include "reminders/CardFrame.h"

#include "ui/Palette.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>

CardFrame::CardFrame(int rowSpacing, QWidget* parent) : QWidget(parent), rows_(new QVBoxLayout(this))
{
    setAttribute(Qt::WA_TranslucentBackground);
    rows_->setContentsMargins(padding, padding, padding, padding);
    rows_->setSpacing(rowSpacing);
    rows_->setSizeConstraint(QLayout::SetNoConstraint);
}

int CardFrame::cardHeight(int width) const
{
    rows_->activate();
    return rows_->totalHeightForWidth(width);
}

// A companion moving next to the card repaints a strip of it many times a second: the shape
// is drawn once per size and copied from then on.
void CardFrame::paintEvent(QPaintEvent* event)
{
    const qreal ratio = devicePixelRatioF();
    if (picture_.size() != size() * ratio || picture_.devicePixelRatio() != ratio)
        picture_ = render(size(), ratio);
    QPainter painter(this);
    const QRect area = event->rect();
    painter.drawImage(area, picture_, QRectF(QPointF(area.topLeft()) * ratio, QSizeF(area.size()) * ratio));
}

QImage CardFrame::render(const QSize& size, qreal ratio)
{
    QImage picture(size * ratio, QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(QPointF(0, 0), QSizeF(size)).adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius,
                         cornerRadius);
    painter.fillPath(shape, Palette::background());
    QColor outline = Palette::accent();
    outline.setAlphaF(0.2f);
    painter.setPen(QPen(outline, 1));
    painter.drawPath(shape);
    return picture;
}
