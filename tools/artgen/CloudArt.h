#pragma once

#include "characters/CompanionPose.h"

#include <QPainter>
#include <QRectF>

// Nimbi, the movie companion: a fluffy lavender cloud that floats instead of walking.
namespace CloudArt {
// `gloom` (0 … 1) greys the cloud and lets it drizzle; `rain` is the drizzle's phase (0 … 1).
void paint(QPainter& painter, const QRectF& rect, const BuddyPose& pose, double gloom = 0, double rain = 0);
}  // namespace CloudArt
