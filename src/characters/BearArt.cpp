#include "characters/BearArt.h"

#include "characters/ArtKit.h"

#include <QPainterPath>

BearLook BearLook::viru()
{
    return {QColor(0xD0, 0xA0, 0x70), QColor(0xA2, 0x72, 0x47),
            QColor(0xF7, 0xE6, 0xCF), QColor(0xF0, 0xB2, 0xA4),
            QColor(0x3E, 0x28, 0x19), QColor(0xFF, 0x8A, 0x7A, 140),
            Neckwear::bell,           QColor(0xA2, 0x8A, 0xF2),
            QColor(0x7B, 0x62, 0xD6), 1.0};
}

BearLook BearLook::vuzo()
{
    return {QColor(0xEF, 0xBE, 0xC2), QColor(0xC8, 0x8C, 0x94),
            QColor(0xFF, 0xF2, 0xF0), QColor(0xF7, 0x97, 0xAD),
            QColor(0x4A, 0x2A, 0x36), QColor(0xFF, 0x7A, 0x9A, 150),
            Neckwear::scarf,          QColor(0x72, 0xD9, 0xBB),
            QColor(0x43, 0xAE, 0x90), 0.88};
}

BearLook BearLook::zuv()
{
    return {QColor(0xF1, 0xEB, 0xE0), QColor(0xC9, 0xBF, 0xB0),
            QColor(0xFF, 0xFB, 0xF4), QColor(0xF5, 0xC0, 0xC8),
            QColor(0x34, 0x3A, 0x52), QColor(0xFF, 0x9E, 0xB5, 150),
            Neckwear::bandana,        QColor(0x6A, 0x93, 0xF0),
            QColor(0x45, 0x6D, 0xCC), 1.0};
}

namespace {

constexpr double bodyCentreY = 180;

QBrush furBrush(const BearLook& look, QPointF centre, double radius)
{
    QRadialGradient fill(centre + QPointF(-radius * 0.35, -radius * 0.45), radius * 1.5);
    fill.setColorAt(0, look.fur.lighter(112));
    fill.setColorAt(0.6, look.fur);
    fill.setColorAt(1, look.furShade);
    return fill;
}

QPen outline(const BearLook& look)
{
    return QPen(look.furShade.darker(115), 2.4);
}

void paintLeg(QPainter& painter, const BearLook& look, double x, double raise)
{
    const QRectF leg(x - 14, 196 - raise, 28, 38);
    painter.setPen(outline(look));
    painter.setBrush(furBrush(look, leg.center(), 20));
    painter.drawRoundedRect(leg, 13, 13);
    painter.setPen(Qt::NoPen);
    painter.setBrush(look.muzzle);
    painter.drawEllipse(QPointF(x, 226 - raise), 7.5, 4.5);
}

void paintArm(QPainter& painter, const BearLook& look, QPointF shoulder, double raise, double side)
{
    painter.save();
    painter.translate(shoulder);
    painter.rotate(side * (22 + raise * 128));
    const QRectF arm(-11, -6, 22, 42);
    painter.setPen(outline(look));
    painter.setBrush(furBrush(look, QPointF(0, 14), 22));
    painter.drawRoundedRect(arm, 11, 11);
    painter.setPen(Qt::NoPen);
    painter.setBrush(look.muzzle);
    painter.drawEllipse(QPointF(0, 28), 6, 5);
    painter.restore();
}

void paintNeckwear(QPainter& painter, const BearLook& look, double swing)
{
    painter.save();
    switch (look.neckwear) {
    case BearLook::Neckwear::bell: {
        QPainterPath ribbon;
        ribbon.moveTo(62, 148);
        ribbon.quadTo(100, 166, 138, 148);
        painter.setPen(QPen(look.neckwearColor, 8, Qt::SolidLine, Qt::RoundCap));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(ribbon);
        const QPointF bell(100 + swing * 3, 165);
        QRadialGradient gold(bell + QPointF(-4, -5), 15);
        gold.setColorAt(0, QColor(0xFF, 0xF0, 0xB0));
        gold.setColorAt(0.5, QColor(0xF5, 0xC4, 0x4E));
        gold.setColorAt(1, QColor(0xC9, 0x8B, 0x1E));
        painter.setPen(QPen(QColor(0xB0, 0x7A, 0x18), 1.6));
        painter.setBrush(gold);
        painter.drawEllipse(bell, 11, 11);
        painter.setPen(QPen(QColor(0x8A, 0x5A, 0x10), 2.2, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(bell + QPointF(-6, 3), bell + QPointF(6, 3));
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x8A, 0x5A, 0x10));
        painter.drawEllipse(bell + QPointF(0, 6.5), 2.6, 2.6);
        painter.setBrush(QColor(255, 255, 255, 200));
        painter.drawEllipse(bell + QPointF(-4, -4.5), 2.6, 2);
        break;
    }
    case BearLook::Neckwear::scarf: {
        QPainterPath tail;
        tail.moveTo(112, 152);
        tail.cubicTo(124 + swing * 4, 170, 120 + swing * 6, 186, 128 + swing * 8, 198);
        tail.lineTo(114 + swing * 8, 202);
        tail.cubicTo(108 + swing * 5, 188, 106, 170, 100, 156);
        tail.closeSubpath();
        painter.setPen(QPen(look.neckwearShade, 1.6));
        painter.setBrush(look.neckwearColor);
        painter.drawPath(tail);
        painter.setPen(QPen(look.neckwearShade, 3, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(113 + swing * 7, 192), QPointF(126 + swing * 8, 189));
        QPainterPath band;
        band.moveTo(58, 142);
        band.quadTo(100, 168, 142, 142);
        band.lineTo(144, 154);
        band.quadTo(100, 182, 56, 154);
        band.closeSubpath();
        painter.setPen(QPen(look.neckwearShade, 1.6));
        painter.setBrush(look.neckwearColor);
        painter.drawPath(band);
        painter.setPen(QPen(look.neckwearShade, 2.6, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(78, 155), QPointF(80, 166));
        painter.drawLine(QPointF(120, 155), QPointF(118, 166));
        break;
    }
    case BearLook::Neckwear::bandana: {
        QPainterPath cloth;
        cloth.moveTo(60, 146);
        cloth.quadTo(100, 162, 140, 146);
        cloth.quadTo(124, 170, 100 + swing * 3, 192);
        cloth.quadTo(76, 170, 60, 146);
        painter.setPen(QPen(look.neckwearShade, 1.8));
        painter.setBrush(look.neckwearColor);
        painter.drawPath(cloth);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 255, 170));
        for (const QPointF dot : {QPointF(86, 160), QPointF(112, 160), QPointF(99, 174)})
            painter.drawEllipse(dot, 2.6, 2.6);
        break;
    }
    }
    painter.restore();
}

void paintEar(QPainter& painter, const BearLook& look, QPointF centre)
{
    painter.setPen(outline(look));
    painter.setBrush(furBrush(look, centre, 22));
    painter.drawEllipse(centre, 21, 21);
    painter.setPen(Qt::NoPen);
    painter.setBrush(look.innerEar);
    painter.drawEllipse(centre + QPointF(0, 2), 11.5, 11);
}

void paintHead(QPainter& painter, const BearLook& look, const BuddyPose& pose)
{
    const QPointF head(100, 100);
    // Ears fold outwards and down as the bear droops.
    for (const double side : {-1.0, 1.0}) {
        painter.save();
        painter.translate(head);
        painter.rotate(side * pose.droop * 22);
        paintEar(painter, look, QPointF(side * 49, -44));
        painter.restore();
    }
    painter.setPen(outline(look));
    painter.setBrush(furBrush(look, head, 60));
    painter.drawEllipse(head, 61, 57);

    painter.setPen(Qt::NoPen);
    painter.setBrush(look.muzzle);
    painter.drawEllipse(QPointF(100, 126), 28, 20);
    ArtKit::paintCheeks(painter, QPointF(56, 124), QPointF(144, 124), 13, look.blush);
    ArtKit::paintEyes(painter, QPointF(73, 104), QPointF(127, 104), 8.5, pose.eyes, look.nose);

    QPainterPath nose;
    nose.moveTo(89, 112);
    nose.quadTo(100, 107, 111, 112);
    nose.quadTo(108, 121, 100, 122);
    nose.quadTo(92, 121, 89, 112);
    painter.setBrush(look.nose);
    painter.drawPath(nose);
    painter.setBrush(QColor(255, 255, 255, 150));
    painter.drawEllipse(QPointF(96, 112.5), 3, 1.6);
    ArtKit::paintMouth(painter, QPointF(100, 130), 15, pose.mouth, look.nose);
    if (pose.tear)
        ArtKit::paintTear(painter, QPointF(69, 112), 11);
}

}  // namespace

namespace BearArt {

void paint(QPainter& painter, const QRectF& rect, const BearLook& look, const BuddyPose& pose)
{
    painter.save();
    ArtKit::setStage(painter, rect, pose, {120, QRectF(0, 20, 200, 150), look.neckwearColor});

    painter.translate(100, ArtKit::ground);
    painter.scale(look.size, look.size);
    painter.translate(-100, -ArtKit::ground);
    ArtKit::applyPose(painter, pose, bodyCentreY);
    paintLeg(painter, look, 76, std::max(0.0, pose.stride) * 9 + pose.lift * 0.25);
    paintLeg(painter, look, 124, std::max(0.0, -pose.stride) * 9 + pose.lift * 0.25);

    painter.setPen(outline(look));
    painter.setBrush(furBrush(look, QPointF(100, bodyCentreY), 50));
    painter.drawEllipse(QPointF(100, bodyCentreY), 50, 44);
    painter.setPen(Qt::NoPen);
    painter.setBrush(look.muzzle);
    painter.drawEllipse(QPointF(100, 190), 29, 25);

    paintArm(painter, look, QPointF(58, 160), pose.leftArm, 1);
    paintArm(painter, look, QPointF(142, 160), pose.rightArm, -1);
    paintNeckwear(painter, look, pose.stride + pose.lean / 5);

    painter.translate(0, pose.droop * 9);
    paintHead(painter, look, pose);
    painter.restore();
}

}  // namespace BearArt
