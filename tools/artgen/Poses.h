#pragma once

#include "characters/CompanionPose.h"

#include <QList>

// The poses baked into sprite sheets, sampled from the same choreography the code-drawn
// companions follow, with the idle, sad and wellness loops made to repeat seamlessly.
namespace Poses {
QList<BuddyPose> walk();               // 8 frames at 10 per second: one walk cycle
QList<BuddyPose> idle();               // 4 frames: breathing, then a blink
QList<BuddyPose> celebrate();          // 6 frames at 10 per second: one hop
QList<BuddyPose> sad(int frames = 4);  // a slow sway with a tear, one sway per loop
QList<BuddyPose> wellness();           // 6 frames: 0-1 resting the eyes, 2-5 moving
}  // namespace Poses
