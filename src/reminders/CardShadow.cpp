#include "reminders/CardShadow.h"

#include "reminders/CardFrame.h"

#include <QGraphicsBlurEffect>
#include <QGraphicsPathItem>
#include <QGraphicsScene>
#include <QPainter>
#include <QPainterPath>

namespace {
// Room around the card for the blur to fade out in.
constexpr int margin = 2 * CardShadow::softness;
}  // namespace

void CardShadow::paint(QPainter& painter, const QRect& card)
{
    if (card.isEmpty())
        return;
    if (card.size() != cardSize_) {
        picture_ = render(card.size());
        cardSize_ = card.size();
    }
    painter.drawImage(card.topLeft() + QPoint(-margin, drop - margin), picture_);
}

QImage CardShadow::render(const QSize& card)
{
    QPainterPath shape;
    shape.addRoundedRect(QRectF(QPointF(margin, margin), QSizeF(card)), CardFrame::cornerRadius,
                         CardFrame::cornerRadius);
    QGraphicsScene scene;
    auto* item = scene.addPath(shape, Qt::NoPen, QColor(0, 0, 0, 51));
    auto* blur = new QGraphicsBlurEffect;
    blur->setBlurRadius(2 * softness);
    blur->setBlurHints(QGraphicsBlurEffect::QualityHint);
    item->setGraphicsEffect(blur);

    const QRect bounds(QPoint(0, 0), card + QSize(2 * margin, 2 * margin));
    QImage picture(bounds.size(), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    scene.render(&painter, bounds, bounds);
    return picture;
}
