#pragma once

#include "characters/CompanionPose.h"

#include <QPainter>
#include <QRectF>

// Orvo, Dewbell's mascot: a round, soft dew drop with a little golden bell glinting on it.
namespace OrvoArt {
void paint(QPainter& painter, const QRectF& rect, const BuddyPose& pose);
}
