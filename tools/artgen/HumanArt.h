#pragma once

#include "characters/CompanionPose.h"

#include <QPainter>
#include <QRectF>

// Zoze, the human-like sprite companion: a small person with a plum bob, a star clip and a
// violet hoodie, drawn in the same 200 x 240 design box as the code-drawn companions.
namespace HumanArt {
void paint(QPainter& painter, const QRectF& rect, const BuddyPose& pose);
}
