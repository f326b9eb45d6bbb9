#pragma once

#include "characters/CompanionPose.h"

#include <QPainter>
#include <QRectF>

// Quelly, the sprout, drawn by code: a round seedling with two leaves on top.
namespace SproutArt {
void paint(QPainter& painter, const QRectF& rect, const BuddyPose& pose);
}
