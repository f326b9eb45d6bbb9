#include "characters/ArtKit.h"

#include <QPainterPath>
#include <cmath>
#include <numbers>

namespace ArtKit {

namespace {

void paintFoot(QPainter& painter, double x, double raise, const QColor& edge, const QColor& fill)
{
    painter.setPen(QPen(edge, 2));
    painter.setBrush(fill);
    painter.drawEllipse(QPointF(x, 228 - raise), 15, 8.5);
}

void paintArm(QPainter& painter, QPointF shoulder, double raise, double side, const QColor& edge, const QColor& fill)
{
    painter.save();
    painter.translate(shoulder);
    painter.rotate(side * (35 + raise * 115));
    painter.setPen(QPen(edge, 2));
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(-8, -4, 16, 30), 8, 8);
    painter.restore();
}

}  // namespace

QTransform fit(const QRectF& rect)
{
    const double scale = std::min(rect.width() / designSize.width(), rect.height() / designSize.height());
    QTransform transform;
    transform.translate(rect.center().x() - designSize.width() * scale / 2,
                        rect.center().y() - designSize.height() * scale / 2);
    transform.scale(scale, scale);
    return transform;
}

void setStage(QPainter& painter, const QRectF& rect, const BuddyPose& pose, const Stage& stage)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setTransform(fit(rect), true);
    paintShadow(painter, designSize.width() / 2, stage.shadowWidth, stage.hover + pose.lift);
    paintSparkles(painter, stage.sparkleBox, pose.sparkle, stage.sparkleTint);
}

void enterStage(QPainter& painter, const QRectF& rect, const BuddyPose& pose, const Stage& stage, double bodyCentreY)
{
    setStage(painter, rect, pose, stage);
    applyPose(painter, pose, bodyCentreY);
}

void applyPose(QPainter& painter, const BuddyPose& pose, double bodyCentreY)
{
    painter.translate(0, -pose.lift);
    painter.translate(designSize.width() / 2, ground);
    painter.scale(1 + pose.squash, 1 - pose.squash);
    painter.translate(-designSize.width() / 2, -ground);
    painter.translate(designSize.width() / 2, bodyCentreY);
    painter.rotate(pose.lean);
    painter.translate(-designSize.width() / 2, -bodyCentreY);
}

void paintShadow(QPainter& painter, double centreX, double width, double lift)
{
    const double shrink = std::clamp(1 - lift / 70, 0.45, 1.0);
    const QRadialGradient shade = radialGradient(QPointF(centreX, ground), width / 2 * shrink,
                                                 QColor(0, 0, 0, qRound(95 * shrink)), QColor(0, 0, 0, 0));
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(shade);
    painter.translate(centreX, ground);
    painter.scale(1, 0.22);
    painter.drawEllipse(QPointF(0, 0), width / 2 * shrink, width / 2 * shrink);
    painter.restore();
}

void paintEyes(QPainter& painter, QPointF left, QPointF right, double size, BuddyPose::Eyes eyes, const QColor& ink)
{
    painter.save();
    for (const QPointF centre : {left, right}) {
        switch (eyes) {
        case BuddyPose::Eyes::open: {
            painter.setPen(Qt::NoPen);
            painter.setBrush(ink);
            painter.drawEllipse(centre, size * 0.8, size);
            painter.setBrush(QColor(255, 255, 255, 235));
            painter.drawEllipse(centre + QPointF(-size * 0.28, -size * 0.38), size * 0.3, size * 0.3);
            painter.drawEllipse(centre + QPointF(size * 0.3, size * 0.3), size * 0.14, size * 0.14);
            break;
        }
        case BuddyPose::Eyes::blink: {
            painter.setPen(QPen(ink, size * 0.38, Qt::SolidLine, Qt::RoundCap));
            painter.setBrush(Qt::NoBrush);
            QPainterPath lid;
            lid.moveTo(centre + QPointF(-size * 0.85, 0));
            lid.quadTo(centre + QPointF(0, size * 0.45), centre + QPointF(size * 0.85, 0));
            painter.drawPath(lid);
            break;
        }
        case BuddyPose::Eyes::happy: {
            painter.setPen(QPen(ink, size * 0.4, Qt::SolidLine, Qt::RoundCap));
            painter.setBrush(Qt::NoBrush);
            QPainterPath arc;
            arc.moveTo(centre + QPointF(-size * 0.85, size * 0.3));
            arc.quadTo(centre + QPointF(0, -size * 0.95), centre + QPointF(size * 0.85, size * 0.3));
            painter.drawPath(arc);
            break;
        }
        case BuddyPose::Eyes::sad: {
            painter.setPen(Qt::NoPen);
            painter.setBrush(ink);
            const QPointF low = centre + QPointF(0, size * 0.25);
            painter.drawEllipse(low, size * 0.7, size * 0.75);
            painter.setBrush(QColor(255, 255, 255, 220));
            painter.drawEllipse(low + QPointF(-size * 0.22, -size * 0.3), size * 0.24, size * 0.24);
            // Brows tilted up towards the middle of the face.
            const double inward = centre.x() < (left.x() + right.x()) / 2 ? 1 : -1;
            painter.setPen(QPen(ink, size * 0.3, Qt::SolidLine, Qt::RoundCap));
            painter.drawLine(centre + QPointF(-inward * size * 0.8, -size * 1.15),
                             centre + QPointF(inward * size * 0.7, -size * 1.6));
            break;
        }
        }
    }
    painter.restore();
}

void paintMouth(QPainter& painter, QPointF centre, double width, BuddyPose::Mouth mouth, const QColor& ink)
{
    painter.save();
    const double half = width / 2;
    QPainterPath path;
    switch (mouth) {
    case BuddyPose::Mouth::smile:
        painter.setPen(QPen(ink, width * 0.16, Qt::SolidLine, Qt::RoundCap));
        painter.setBrush(Qt::NoBrush);
        path.moveTo(centre + QPointF(-half, -width * 0.12));
        path.quadTo(centre + QPointF(0, width * 0.42), centre + QPointF(half, -width * 0.12));
        painter.drawPath(path);
        break;
    case BuddyPose::Mouth::grin: {
        path.moveTo(centre + QPointF(-half, -width * 0.15));
        path.quadTo(centre + QPointF(0, -width * 0.05), centre + QPointF(half, -width * 0.15));
        path.quadTo(centre + QPointF(half * 0.9, width * 0.7), centre + QPointF(0, width * 0.7));
        path.quadTo(centre + QPointF(-half * 0.9, width * 0.7), centre + QPointF(-half, -width * 0.15));
        painter.setPen(Qt::NoPen);
        painter.setBrush(ink);
        painter.drawPath(path);
        painter.setClipPath(path, Qt::IntersectClip);
        painter.setBrush(QColor(0xFF, 0x86, 0x9A));
        painter.drawEllipse(centre + QPointF(0, width * 0.62), half * 0.62, width * 0.3);
        break;
    }
    case BuddyPose::Mouth::frown:
        painter.setPen(QPen(ink, width * 0.16, Qt::SolidLine, Qt::RoundCap));
        painter.setBrush(Qt::NoBrush);
        path.moveTo(centre + QPointF(-half * 0.8, width * 0.2));
        path.quadTo(centre + QPointF(0, -width * 0.22), centre + QPointF(half * 0.8, width * 0.2));
        painter.drawPath(path);
        break;
    case BuddyPose::Mouth::small:
        painter.setPen(Qt::NoPen);
        painter.setBrush(ink);
        painter.drawEllipse(centre, width * 0.22, width * 0.26);
        break;
    }
    painter.restore();
}

void paintCheeks(QPainter& painter, QPointF left, QPointF right, double radius, const QColor& blush)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    for (const QPointF centre : {left, right}) {
        QRadialGradient glow(centre, radius);
        glow.setColorAt(0, blush);
        QColor edge = blush;
        edge.setAlpha(0);
        glow.setColorAt(1, edge);
        painter.setBrush(glow);
        painter.drawEllipse(centre, radius, radius * 0.75);
    }
    painter.restore();
}

void paintTear(QPainter& painter, QPointF top, double size)
{
    QPainterPath tear;
    tear.moveTo(top);
    tear.cubicTo(top + QPointF(size * 0.2, size * 0.5), top + QPointF(size * 0.55, size * 0.9),
                 top + QPointF(0, size * 1.25));
    tear.cubicTo(top + QPointF(-size * 0.55, size * 0.9), top + QPointF(-size * 0.2, size * 0.5), top);
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x9F, 0xD8, 0xFF, 230));
    painter.drawPath(tear);
    painter.setBrush(QColor(255, 255, 255, 200));
    painter.drawEllipse(top + QPointF(-size * 0.12, size * 0.75), size * 0.1, size * 0.16);
    painter.restore();
}

void paintFace(QPainter& painter, const BuddyPose& pose, const Face& face)
{
    const auto mirrored = [](QPointF left) { return QPointF(designSize.width() - left.x(), left.y()); };
    paintCheeks(painter, face.leftCheek, mirrored(face.leftCheek), face.cheekRadius, face.blush);
    paintEyes(painter, face.leftEye, mirrored(face.leftEye), face.eyeSize, pose.eyes, face.ink);
    paintMouth(painter, face.mouth, face.mouthWidth, pose.mouth, face.ink);
    if (pose.tear && face.tear)
        paintTear(painter, *face.tear, face.tearSize);
}

void paintStubbyLimbs(QPainter& painter, const BuddyPose& pose, double feetSpread, QPointF leftShoulder,
                      const QColor& edge, const QColor& footFill, const QColor& armFill)
{
    const double middle = designSize.width() / 2;
    paintFoot(painter, middle - feetSpread, std::max(0.0, pose.stride) * 8, edge, footFill);
    paintFoot(painter, middle + feetSpread, std::max(0.0, -pose.stride) * 8, edge, footFill);
    paintArm(painter, leftShoulder, pose.leftArm, 1, edge, armFill);
    paintArm(painter, QPointF(designSize.width() - leftShoulder.x(), leftShoulder.y()), pose.rightArm, -1, edge,
             armFill);
}

void paintInnerGlow(QPainter& painter, const QPainterPath& body, const QRadialGradient& glow, QPointF centre, double rx,
                    double ry)
{
    painter.save();
    painter.setClipPath(body);
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawEllipse(centre, rx, ry);
    painter.restore();
}

void paintShine(QPainter& painter, QPointF centre, double angle, double rx, double ry, const QColor& color)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.save();
    painter.translate(centre);
    painter.rotate(angle);
    painter.drawEllipse(QPointF(0, 0), rx, ry);
    painter.restore();
}

void paintStar(QPainter& painter, QPointF centre, double radius, const QColor& color)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawPath(starPath(centre, radius));
    painter.restore();
}

QPainterPath starPath(QPointF centre, double radius)
{
    QPainterPath star;
    star.moveTo(centre + QPointF(0, -radius));
    star.quadTo(centre, centre + QPointF(radius, 0));
    star.quadTo(centre, centre + QPointF(0, radius));
    star.quadTo(centre, centre + QPointF(-radius, 0));
    star.quadTo(centre, centre + QPointF(0, -radius));
    return star;
}

QPainterPath dropPath(QPointF tip, QPointF tipHandle, double shoulderY, const QRectF& bowl, double sway)
{
    // The sway moves the point and both handles alike; the left handle mirrors the right one.
    const double tipX = tip.x() + sway;
    const double rightHandleX = tipHandle.x() + sway;
    const double leftHandleX = 2 * tip.x() - tipHandle.x() + sway;
    QPainterPath drop;
    drop.moveTo(tipX, tip.y());
    drop.cubicTo(rightHandleX, tipHandle.y(), bowl.right(), shoulderY, bowl.right(), bowl.center().y());
    drop.arcTo(bowl, 0, -180);
    drop.cubicTo(bowl.left(), shoulderY, leftHandleX, tipHandle.y(), tipX, tip.y());
    drop.closeSubpath();
    return drop;
}

void paintSparkles(QPainter& painter, const QRectF& around, double phase, const QColor& tint)
{
    if (phase < 0)
        return;
    struct Spark {
        double x, y, size, delay;
        bool star;
    };
    static constexpr Spark sparks[] = {
        {0.02, 0.30, 11, 0.0, true}, {0.95, 0.22, 13, 0.15, true}, {0.12, 0.05, 8, 0.35, false},
        {0.86, 0.55, 8, 0.5, true},  {0.05, 0.62, 7, 0.65, false}, {0.78, 0.02, 9, 0.8, false},
    };
    const QColor colours[] = {QColor(0xFF, 0xD8, 0x6B), tint, QColor(0x9F, 0xD8, 0xFF)};
    int index = 0;
    for (const Spark& spark : sparks) {
        const double local = std::fmod(phase + 1 - spark.delay, 1.0);
        const double grow = std::sin(std::numbers::pi * local);
        QColor colour = colours[index++ % 3];
        colour.setAlphaF(std::clamp(grow * 1.3, 0.0, 1.0));
        const QPointF centre(around.left() + spark.x * around.width(),
                             around.top() + spark.y * around.height() - local * 14);
        if (spark.star) {
            paintStar(painter, centre, spark.size * (0.5 + 0.5 * grow), colour);
        } else {
            painter.save();
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour);
            painter.drawEllipse(centre, spark.size * 0.45 * grow + 1, spark.size * 0.45 * grow + 1);
            painter.restore();
        }
    }
}

QLinearGradient verticalGradient(double top, double bottom, const QColor& from, const QColor& to)
{
    QLinearGradient gradient(0, top, 0, bottom);
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    return gradient;
}

QRadialGradient radialGradient(QPointF centre, double radius, const QColor& from, const QColor& to)
{
    QRadialGradient gradient(centre, radius);
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    return gradient;
}

QColor mix(const QColor& a, const QColor& b, double amount)
{
    const double keep = 1 - amount;
    return QColor::fromRgbF(float(a.redF() * keep + b.redF() * amount), float(a.greenF() * keep + b.greenF() * amount),
                            float(a.blueF() * keep + b.blueF() * amount),
                            float(a.alphaF() * keep + b.alphaF() * amount));
}

}  // namespace ArtKit
