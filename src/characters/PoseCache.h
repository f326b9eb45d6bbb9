#pragma once

#include "characters/CompanionPose.h"

#include <QPainter>
#include <QRectF>
#include <QString>
#include <functional>

// Pictures of the companions drawn by code, kept per pose: a walk cycle is drawn once and
// copied onto the screen from then on. The pictures are bounded by budgetKilobytes; the
// least recently shown go first. Main thread only.
class PoseCache {
public:
    // Draws the art of `kind` in `pose` into the rectangle it is given.
    using Drawing = std::function<void(QPainter&, const QRectF&)>;

    // Shows the picture of `kind` in `pose` in `rect`, drawing it with `draw` the first time it
    // is needed at this size and pixel ratio. A painter that scales or rotates is drawn on
    // directly, so the picture stays sharp.
    static void paint(QPainter& painter, const QRectF& rect, const QString& kind, const BuddyPose& pose,
                      const Drawing& draw);

    // How many pictures have been drawn into the cache so far (tests use it to see it at work).
    static int picturesDrawn();
    static void clear();

    // A bear at 250 x 290 takes 283 KiB: the budget holds every frame of a walk on a 2x screen.
    static constexpr int budgetKilobytes = 16 * 1024;
};
