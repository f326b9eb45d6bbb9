#pragma once

#include "characters/CompanionPose.h"

#include <QPainter>
#include <QRectF>

// Pemmy, the water drop ("bloop"), drawn by code.
namespace DropArt {
void paint(QPainter& painter, const QRectF& rect, const BuddyPose& pose);
}
