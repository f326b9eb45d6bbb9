#pragma once

#include "characters/CompanionPose.h"

#include <QColor>
#include <QPainter>
#include <QRectF>

// How one bear looks. The code-drawn bears share one body and differ in colours and in what
// they wear around the neck.
struct BearLook {
    enum class Neckwear { bell, scarf, bandana };

    QColor fur;
    QColor furShade;
    QColor muzzle;  // muzzle and belly
    QColor innerEar;
    QColor nose;  // nose, eyes and mouth
    QColor blush;
    Neckwear neckwear = Neckwear::bell;
    QColor neckwearColor;
    QColor neckwearShade;
    double size = 1.0;  // drawn at this fraction of the design box, standing on the same ground

    static BearLook viru();  // a big caramel bear with a little golden bell on a lilac ribbon
    static BearLook vuzo();  // a small pink bear in a mint scarf
    static BearLook zuv();   // a cream bear in a blue bandana (drawn into its pose sheet)
};

namespace BearArt {

// Draws the bear in `rect` (aspect kept, centred) in the given pose.
void paint(QPainter& painter, const QRectF& rect, const BearLook& look, const BuddyPose& pose);

}  // namespace BearArt
