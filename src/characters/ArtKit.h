#pragma once

#include "characters/CompanionPose.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <optional>

// Drawing helpers shared by the code-drawn companions. Each companion is designed in a box
// of 200 x 240 units standing on the line y = 236.
namespace ArtKit {

inline constexpr QSizeF designSize{200, 240};
inline constexpr double ground = 236;

// Maps the design box into `rect`, centred, aspect kept.
QTransform fit(const QRectF& rect);

// Where a companion stands: the width of its shadow on the ground, how high it floats even at
// rest, and the box its celebration sparkles rise in, with their tint.
struct Stage {
    double shadowWidth;
    QRectF sparkleBox;
    QColor sparkleTint;
    double hover = 0;
};

// Maps the design box into `rect` and draws what lies behind the companion: its shadow, which
// shrinks as it lifts, and its sparkles.
void setStage(QPainter& painter, const QRectF& rect, const BuddyPose& pose, const Stage& stage);

// Applies lift, squash (about the feet) and lean (about the body's centre).
void applyPose(QPainter& painter, const BuddyPose& pose, double bodyCentreY);
// setStage, then applyPose: for a companion that stands right on its stage.
void enterStage(QPainter& painter, const QRectF& rect, const BuddyPose& pose, const Stage& stage, double bodyCentreY);

void paintShadow(QPainter& painter, double centreX, double width, double lift);
void paintEyes(QPainter& painter, QPointF left, QPointF right, double size, BuddyPose::Eyes eyes, const QColor& ink);
void paintMouth(QPainter& painter, QPointF centre, double width, BuddyPose::Mouth mouth, const QColor& ink);
void paintCheeks(QPainter& painter, QPointF left, QPointF right, double radius, const QColor& blush);
void paintTear(QPainter& painter, QPointF top, double size);

// A face mirrored about the middle of the design box: cheeks, eyes and mouth, and a tear under
// the left eye when the pose is sad (for a face that has one).
struct Face {
    QPointF leftCheek;
    double cheekRadius;
    QColor blush;
    QPointF leftEye;
    double eyeSize;
    QPointF mouth;
    double mouthWidth;
    QColor ink;
    std::optional<QPointF> tear = std::nullopt;
    double tearSize = 0;
};
void paintFace(QPainter& painter, const BuddyPose& pose, const Face& face);
// The round companions' stubby feet and arms, outlined in `edge`: feet `feetSpread` units either
// side of the middle, stepping with the stride, and arms hanging from `leftShoulder` and its
// mirror image, turned up as the pose raises them.
void paintStubbyLimbs(QPainter& painter, const BuddyPose& pose, double feetSpread, QPointF leftShoulder,
                      const QColor& edge, const QColor& footFill, const QColor& armFill);
// Stars and droplets rising around the companion while `phase` runs from 0 to 1.
void paintSparkles(QPainter& painter, const QRectF& around, double phase, const QColor& tint);
// A soft light filling the ellipse at `centre` with radii `rx`, `ry`, seen only inside `body`.
void paintInnerGlow(QPainter& painter, const QPainterPath& body, const QRadialGradient& glow, QPointF centre, double rx,
                    double ry);
// A highlight on a glossy body: an ellipse with radii `rx`, `ry` turned `angle` degrees about
// `centre`. The painter keeps no pen and `color` as its brush, for more highlights.
void paintShine(QPainter& painter, QPointF centre, double angle, double rx, double ry, const QColor& color);
void paintStar(QPainter& painter, QPointF centre, double radius, const QColor& color);
// A four-pointed star with curved sides.
QPainterPath starPath(QPointF centre, double radius);
// A drop standing on its round bottom `bowl`, its point at `tip` pushed `sway` units sideways.
// The sides leave the point through `tipHandle` (and its mirror image) and round into the bowl
// from the height `shoulderY`.
QPainterPath dropPath(QPointF tip, QPointF tipHandle, double shoulderY, const QRectF& bowl, double sway = 0);

// Two-colour gradients: `from` at the top (or the centre), `to` at the bottom (or the rim).
QLinearGradient verticalGradient(double top, double bottom, const QColor& from, const QColor& to);
QRadialGradient radialGradient(QPointF centre, double radius, const QColor& from, const QColor& to);

QColor mix(const QColor& a, const QColor& b, double amount);

}  // namespace ArtKit
