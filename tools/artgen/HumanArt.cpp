#include "HumanArt.h"

#include "characters/ArtKit.h"

#include <QPainterPath>

namespace {

const QColor skin(0xF7, 0xCF, 0xAE);
const QColor skinShade(0xE2, 0xA9, 0x86);
const QColor hair(0x4A, 0x2D, 0x6E);
const QColor hairLight(0x6D, 0x48, 0x96);
const QColor hoodie(0x82, 0x63, 0xF2);
const QColor hoodieShade(0x5B, 0x3C, 0xCF);
const QColor hoodieLight(0xA8, 0x92, 0xFF);
const QColor pants(0x2E, 0x3A, 0x5E);
const QColor shoe(0xF6, 0xF3, 0xEA);
const QColor sole(0x9A, 0xE6, 0xD0);
const QColor ink(0x2B, 0x1E, 0x3F);
const QColor star(0xFF, 0xD2, 0x5E);

void paintLeg(QPainter& painter, double x, double raise)
{
    painter.setPen(QPen(pants.darker(125), 2));
    painter.setBrush(pants);
    painter.drawRoundedRect(QRectF(x - 9, 192 - raise, 18, 36), 8, 8);
    painter.setPen(QPen(sole.darker(130), 2));
    painter.setBrush(sole);
    painter.drawRoundedRect(QRectF(x - 15, 224 - raise, 30, 11), 5.5, 5.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(shoe);
    painter.drawRoundedRect(QRectF(x - 14, 220 - raise, 28, 11), 5.5, 5.5);
}

void paintArm(QPainter& painter, QPointF shoulder, double raise, double side)
{
    painter.save();
    painter.translate(shoulder);
    painter.rotate(side * (18 + raise * 140));
    painter.setPen(QPen(hoodieShade, 2));
    painter.setBrush(hoodie);
    painter.drawRoundedRect(QRectF(-9.5, -6, 19, 38), 9, 9);
    painter.setPen(Qt::NoPen);
    painter.setBrush(hoodieLight);
    painter.drawRoundedRect(QRectF(-9, 26, 18, 6), 3, 3);
    painter.setPen(QPen(skinShade, 1.6));
    painter.setBrush(skin);
    painter.drawEllipse(QPointF(0, 38), 8, 8);
    painter.restore();
}

void paintBody(QPainter& painter)
{
    QPainterPath body;
    body.moveTo(74, 142);
    body.lineTo(126, 142);
    body.quadTo(140, 144, 141, 162);
    body.lineTo(143, 194);
    body.quadTo(143, 206, 130, 206);
    body.lineTo(70, 206);
    body.quadTo(57, 206, 57, 194);
    body.lineTo(59, 162);
    body.quadTo(60, 144, 74, 142);
    const QLinearGradient fill = ArtKit::verticalGradient(142, 206, hoodie.lighter(108), hoodieShade);
    painter.setPen(QPen(hoodieShade.darker(115), 2));
    painter.setBrush(fill);
    painter.drawPath(body);
    painter.setPen(Qt::NoPen);
    painter.setBrush(hoodieLight);
    painter.drawRoundedRect(QRectF(80, 176, 40, 20), 8, 8);
    painter.setBrush(hoodie);
    painter.drawRoundedRect(QRectF(84, 180, 32, 12), 5, 5);
    painter.setPen(QPen(QColor(0xF3, 0xF2, 0xEC), 2.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(93, 150), QPointF(91, 166));
    painter.drawLine(QPointF(107, 150), QPointF(109, 166));
}

void paintHair(QPainter& painter, bool front, double droop)
{
    if (!front) {
        const QLinearGradient back = ArtKit::verticalGradient(40, 146, hairLight, hair);
        painter.setPen(QPen(hair.darker(130), 2));
        painter.setBrush(back);
        painter.drawRoundedRect(QRectF(40, 38, 120, 106), 50, 46);
        return;
    }
    QPainterPath bangs;
    bangs.moveTo(44, 98);
    bangs.cubicTo(40, 50, 70, 36, 100, 36);
    bangs.cubicTo(132, 36, 160, 52, 156, 98);
    bangs.quadTo(146, 78, 134, 80);
    bangs.quadTo(124, 66, 110, 78);
    bangs.quadTo(98, 64, 84, 78);
    bangs.quadTo(70, 68, 60, 82);
    bangs.quadTo(50, 84, 44, 98);
    const QLinearGradient fill = ArtKit::verticalGradient(36, 98, hairLight, hair);
    painter.setPen(QPen(hair.darker(130), 2));
    painter.setBrush(fill);
    painter.drawPath(bangs);
    painter.setPen(QPen(QColor(255, 255, 255, 60), 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(QRectF(62, 46, 60, 30), 100 * 16, 50 * 16);
    // A little tuft that springs up when happy and flops when sad.
    QPainterPath tuft;
    tuft.moveTo(98, 38);
    tuft.cubicTo(96, 24 + droop * 12, 110 + droop * 10, 18 + droop * 16, 116 + droop * 8, 24 + droop * 18);
    painter.setPen(QPen(hair, 4, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(tuft);
    ArtKit::paintStar(painter, QPointF(140, 64), 11, star);
    ArtKit::paintStar(painter, QPointF(140, 64), 5, QColor(255, 255, 255, 200));
}

void paintHead(QPainter& painter, const BuddyPose& pose)
{
    paintHair(painter, false, pose.droop);
    const QRadialGradient face = ArtKit::radialGradient(QPointF(88, 86), 70, skin.lighter(105), skin);
    painter.setPen(QPen(skinShade, 2));
    painter.setBrush(face);
    painter.drawEllipse(QPointF(100, 98), 52, 50);
    painter.setBrush(skin);
    painter.drawEllipse(QPointF(47, 104), 7, 9);
    painter.drawEllipse(QPointF(153, 104), 7, 9);

    ArtKit::paintFace(
        painter, pose,
        {{68, 118}, 12, QColor(0xFF, 0x8A, 0x9E, 150), {79, 104}, 8.5, {100, 124}, 14, ink, QPointF(75, 113), 10});
    paintHair(painter, true, pose.droop);
}

}  // namespace

namespace HumanArt {

void paint(QPainter& painter, const QRectF& rect, const BuddyPose& pose)
{
    painter.save();
    ArtKit::enterStage(painter, rect, pose, {110, QRectF(0, 20, 200, 150), QColor(0xB9, 0xA3, 0xFF)}, 170);
    paintLeg(painter, 86, std::max(0.0, pose.stride) * 9 + pose.lift * 0.2);
    paintLeg(painter, 114, std::max(0.0, -pose.stride) * 9 + pose.lift * 0.2);
    paintBody(painter);
    paintArm(painter, QPointF(64, 154), pose.leftArm, 1);
    paintArm(painter, QPointF(136, 154), pose.rightArm, -1);

    painter.translate(0, pose.droop * 8);
    painter.translate(100, 140);
    painter.rotate(pose.droop * -4);
    painter.translate(-100, -140);
    paintHead(painter, pose);
    painter.restore();
}

}  // namespace HumanArt
