#include "CloudArt.h"

#include "characters/ArtKit.h"

#include <QPainterPath>
#include <cmath>
#include <numbers>

namespace {

QPainterPath cloudShape()
{
    QPainterPath puffs;
    puffs.setFillRule(Qt::WindingFill);
    puffs.addEllipse(QPointF(58, 160), 34, 32);
    puffs.addEllipse(QPointF(88, 124), 40, 40);
    puffs.addEllipse(QPointF(130, 128), 38, 38);
    puffs.addEllipse(QPointF(156, 162), 30, 30);
    puffs.addRoundedRect(QRectF(30, 140, 146, 58), 29, 29);
    return puffs.simplified();
}

void paintRain(QPainter& painter, double phase, double gloom)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    const double columns[] = {62, 88, 114, 140};
    for (int index = 0; index < 4; ++index) {
        const double local = std::fmod(phase + index * 0.37, 1.0);
        QColor drop(0x9F, 0xD8, 0xFF);
        drop.setAlphaF(gloom * std::sin(std::numbers::pi * local));
        painter.setBrush(drop);
        const QPointF top(columns[index], 204 + local * 30);
        QPainterPath tear;
        tear.moveTo(top);
        tear.cubicTo(top + QPointF(2, 4), top + QPointF(4.5, 7), top + QPointF(0, 10));
        tear.cubicTo(top + QPointF(-4.5, 7), top + QPointF(-2, 4), top);
        painter.drawPath(tear);
    }
    painter.restore();
}

}  // namespace

namespace CloudArt {

void paint(QPainter& painter, const QRectF& rect, const BuddyPose& pose, double gloom, double rain)
{
    painter.save();
    ArtKit::setStage(painter, rect, pose, {120, QRectF(0, 40, 200, 130), QColor(0xB9, 0xA3, 0xFF), 30});
    if (gloom > 0)
        paintRain(painter, rain, gloom);

    ArtKit::applyPose(painter, pose, 160);
    painter.translate(0, -14);
    const QColor top = ArtKit::mix(QColor(0xFB, 0xF9, 0xFF), QColor(0xD8, 0xDC, 0xE6), gloom);
    const QColor bottom = ArtKit::mix(QColor(0xC8, 0xBA, 0xF6), QColor(0x9A, 0xA3, 0xB8), gloom);
    const QColor edge = ArtKit::mix(QColor(0x9C, 0x88, 0xE6), QColor(0x78, 0x82, 0x98), gloom);

    for (const double side : {-1.0, 1.0}) {
        const double raise = side < 0 ? pose.leftArm : pose.rightArm;
        painter.save();
        painter.translate(100 + side * 70, 176);
        painter.rotate(-side * (40 + raise * 110));
        painter.setPen(QPen(edge, 2));
        painter.setBrush(bottom);
        painter.drawEllipse(QRectF(-9, -2, 18, 28));
        painter.restore();
    }

    const QPainterPath body = cloudShape();
    const QLinearGradient fill = ArtKit::verticalGradient(84, 198, top, bottom);
    painter.setPen(QPen(edge, 2.4));
    painter.setBrush(fill);
    painter.drawPath(body);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 160));
    painter.drawEllipse(QPointF(76, 108), 14, 8);

    painter.translate(0, pose.droop * 6);
    const QColor ink(0x3A, 0x2C, 0x66);
    ArtKit::paintFace(
        painter, pose,
        {{66, 172}, 12, QColor(0xFF, 0x8F, 0xB8, 140), {82, 156}, 8.5, {100, 176}, 14, ink, QPointF(78, 164), 10});
    painter.restore();
}

}  // namespace CloudArt
