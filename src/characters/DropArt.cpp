#include "characters/DropArt.h"

#include "characters/ArtKit.h"

#include <QPainterPath>

namespace {

const QColor waterTop(0xA6, 0xE1, 0xFF);
const QColor waterBottom(0x3C, 0x8C, 0xE8);
const QColor waterEdge(0x2C, 0x6F, 0xC4);
const QColor footFill(0x4E, 0x9C, 0xEE);
const QColor armFill(0x6C, 0xB8, 0xF5);
const QColor faceInk(0x1D, 0x2F, 0x57);

}  // namespace

namespace DropArt {

void paint(QPainter& painter, const QRectF& rect, const BuddyPose& pose)
{
    painter.save();
    ArtKit::enterStage(painter, rect, pose, {118, QRectF(0, 30, 200, 150), QColor(0x9F, 0xD8, 0xFF)}, 165);
    ArtKit::paintStubbyLimbs(painter, pose, 22, QPointF(40, 170), waterEdge, footFill, armFill);

    // The tip trails behind the lean, like water catching up.
    const QPainterPath body = ArtKit::dropPath(QPointF(100, 40), QPointF(112, 72), 112, QRectF(34, 96, 132, 132),
                                               -pose.lean * 1.6 + pose.droop * 6);
    const QLinearGradient water = ArtKit::verticalGradient(40, 228, waterTop, waterBottom);
    painter.setPen(QPen(waterEdge, 2.4));
    painter.setBrush(water);
    painter.drawPath(body);

    const QRadialGradient glow =
        ArtKit::radialGradient(QPointF(100, 200), 70, QColor(255, 255, 255, 60), QColor(255, 255, 255, 0));
    ArtKit::paintInnerGlow(painter, body, glow, QPointF(100, 214), 70, 40);

    ArtKit::paintShine(painter, QPointF(62, 128), -28, 9, 20, QColor(255, 255, 255, 170));
    painter.drawEllipse(QPointF(70, 100 + pose.droop * 4), 4.5, 4.5);

    painter.translate(0, pose.droop * 7);
    ArtKit::paintFace(
        painter, pose,
        {{64, 178}, 13, QColor(0xFF, 0x8F, 0xB8, 150), {78, 160}, 9, {100, 182}, 16, faceInk, QPointF(74, 170), 11});
    painter.restore();
}

}  // namespace DropArt
