#include "window/HeroPicture.h"

#include "characters/BuddyView.h"
#include "ui/Palette.h"

#include <QPainter>

namespace {
constexpr QSize frame{260, 270};
constexpr QSize pictureSize{237, 255};
constexpr qreal discDiameter = 208;
constexpr qreal ringDiameter = 244;
}  // namespace

HeroPicture::HeroPicture(const CharacterPack& pack, QWidget* parent)
    : QWidget(parent), buddy_(new BuddyView(pack, false, false, this)), tint_(Color(pack.tint))
{
    setFixedSize(frame);
    buddy_->setFixedSize(pictureSize);
    buddy_->move((frame.width() - pictureSize.width()) / 2, (frame.height() - pictureSize.height()) / 2);
}

void HeroPicture::setPack(const CharacterPack& pack)
{
    if (buddy_->pack() != pack)
        buddy_->setPack(pack);
    const QColor tint = Color(pack.tint);
    if (tint != tint_) {
        tint_ = tint;
        update();
    }
}

void HeroPicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre = QRectF(rect()).center();
    QColor disc = tint_;
    disc.setAlphaF(0.07);
    painter.setPen(Qt::NoPen);
    painter.setBrush(disc);
    painter.drawEllipse(centre, discDiameter / 2, discDiameter / 2);
    QColor ring = tint_;
    ring.setAlphaF(0.08);
    painter.setPen(QPen(ring, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, ringDiameter / 2, ringDiameter / 2);
}
