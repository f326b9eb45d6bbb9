#include "OrvoArt.h"

#include "characters/ArtKit.h"
#include "characters/BrandMarkArt.h"

#include <QPainterPath>

namespace {

void paintArm(QPainter& painter, QPointF shoulder, double raise, double side)
{
    painter.save();
    painter.translate(shoulder);
    painter.rotate(side * (35 + raise * 120));
    painter.setPen(QPen(QColor(0x5A, 0x3B, 0xC9), 2));
    painter.setBrush(QColor(0x94, 0x78, 0xF4));
    painter.drawRoundedRect(QRectF(-9, -4, 18, 34), 9, 9);
    painter.restore();
}

void paintBell(QPainter& painter)
{
    painter.save();
    painter.translate(62, 100);
    painter.rotate(-18);
    painter.scale(0.5, 0.5);
    painter.translate(-50, -62);
    QLinearGradient gold(50, 44, 50, 86);
    gold.setColorAt(0, QColor(0xFF, 0xF0, 0xB8));
    gold.setColorAt(1, QColor(0xF0, 0xB5, 0x3A));
    painter.setPen(QPen(QColor(0xC0, 0x84, 0x1C), 2.5));
    painter.setBrush(gold);
    painter.drawPath(BrandMarkArt::bell());
    painter.restore();
    ArtKit::paintStar(painter, QPointF(80, 84), 8, QColor(255, 255, 255, 235));
}

}  // namespace

namespace OrvoArt {

void paint(QPainter& painter, const QRectF& rect, const BuddyPose& pose)
{
    painter.save();
    ArtKit::enterStage(painter, rect, pose, {120, QRectF(0, 30, 200, 140), QColor(0xB9, 0xA3, 0xFF)}, 160);
    painter.setPen(QPen(QColor(0x5A, 0x3B, 0xC9), 2));
    painter.setBrush(QColor(0x7C, 0x5D, 0xEE));
    painter.drawEllipse(QPointF(78, 226 - std::max(0.0, pose.stride) * 8), 14, 8);
    painter.drawEllipse(QPointF(122, 226 - std::max(0.0, -pose.stride) * 8), 14, 8);
    paintArm(painter, QPointF(36, 168), pose.leftArm, 1);
    paintArm(painter, QPointF(164, 168), pose.rightArm, -1);

    const QPainterPath drop = ArtKit::dropPath(QPointF(100, 50), QPointF(112, 78), 104, QRectF(28, 80, 144, 144));
    QLinearGradient fill(60, 50, 140, 224);
    fill.setColorAt(0, QColor(0xE2, 0xD8, 0xFF));
    fill.setColorAt(0.45, QColor(0xA7, 0x8D, 0xFA));
    fill.setColorAt(1, QColor(0x6C, 0x4A, 0xE2));
    painter.setPen(QPen(QColor(0x5A, 0x3B, 0xC9), 2.6));
    painter.setBrush(fill);
    painter.drawPath(drop);

    const QRadialGradient glow =
        ArtKit::radialGradient(QPointF(100, 214), 80, QColor(0xFF, 0xD8, 0xF0, 90), QColor(255, 255, 255, 0));
    ArtKit::paintInnerGlow(painter, drop, glow, QPointF(100, 220), 90, 50);
    ArtKit::paintShine(painter, QPointF(140, 122), 30, 7, 16, QColor(255, 255, 255, 120));
    paintBell(painter);

    painter.translate(0, pose.droop * 6);
    ArtKit::paintFace(
        painter, pose,
        {{66, 172}, 14, QColor(0xFF, 0x8F, 0xC0, 160), {78, 152}, 10, {100, 174}, 17, QColor(0x2A, 0x1B, 0x55)});
    painter.restore();
}

}  // namespace OrvoArt
