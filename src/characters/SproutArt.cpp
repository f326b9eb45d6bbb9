#include "characters/SproutArt.h"

#include "characters/ArtKit.h"

#include <QPainterPath>

namespace {

const QColor bodyLight(0xC9, 0xEE, 0x9E);
const QColor bodyDark(0x7C, 0xC3, 0x6A);
const QColor edge(0x4E, 0x97, 0x4C);
const QColor footFill(0x8F, 0xCF, 0x74);
const QColor armFill(0xA5, 0xDB, 0x86);
const QColor leafLight(0x9D, 0xE2, 0x7E);
const QColor leafDark(0x4F, 0xAE, 0x5B);
const QColor faceInk(0x24, 0x3B, 0x2A);

void paintLeaf(QPainter& painter, QPointF base, double angle, double length)
{
    painter.save();
    painter.translate(base);
    painter.rotate(angle);
    QPainterPath leaf;
    leaf.moveTo(0, 0);
    leaf.cubicTo(length * 0.25, -length * 0.45, length * 0.8, -length * 0.42, length, 0);
    leaf.cubicTo(length * 0.8, length * 0.3, length * 0.3, length * 0.32, 0, 0);
    QLinearGradient fill(0, -length * 0.4, length, length * 0.2);
    fill.setColorAt(0, leafLight);
    fill.setColorAt(1, leafDark);
    painter.setPen(QPen(edge, 2));
    painter.setBrush(fill);
    painter.drawPath(leaf);
    painter.setPen(QPen(edge, 1.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(length * 0.1, 0), QPointF(length * 0.8, -length * 0.02));
    painter.restore();
}

}  // namespace

namespace SproutArt {

void paint(QPainter& painter, const QRectF& rect, const BuddyPose& pose)
{
    painter.save();
    ArtKit::enterStage(painter, rect, pose, {124, QRectF(0, 20, 200, 150), QColor(0xFF, 0xB3, 0xC7)}, 166);
    ArtKit::paintStubbyLimbs(painter, pose, 24, QPointF(42, 172), edge, footFill, armFill);

    // Stem and leaves: they sway with the walk and hang when Quelly is sad.
    const double sway = pose.stride * 6 - pose.lean * 0.8;
    const QPointF top(100 + sway * 0.5, 70 + pose.droop * 10);
    QPainterPath stem;
    stem.moveTo(100, 110);
    stem.quadTo(100 + sway * 0.2, 88, top.x(), top.y());
    painter.setPen(QPen(edge, 5, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(stem);
    const double hang = pose.droop * 48;
    const double cheer = (pose.leftArm + pose.rightArm) * 6;
    paintLeaf(painter, top, 205 - hang + sway + cheer, 48);
    paintLeaf(painter, top, -25 + hang + sway - cheer, 48);

    const QRadialGradient fill = ArtKit::radialGradient(QPointF(78, 130), 120, bodyLight, bodyDark);
    painter.setPen(QPen(edge, 2.4));
    painter.setBrush(fill);
    painter.drawEllipse(QPointF(100, 166), 64, 62);

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 120));
    painter.drawEllipse(QPointF(70, 132), 12, 7);

    painter.translate(0, pose.droop * 7);
    ArtKit::paintFace(
        painter, pose,
        {{62, 180}, 13, QColor(0xFF, 0x8F, 0xA8, 150), {78, 162}, 9, {100, 184}, 16, faceInk, QPointF(74, 172), 11});
    painter.restore();
}

}  // namespace SproutArt
