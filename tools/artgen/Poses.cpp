#include "Poses.h"

#include <cmath>
#include <numbers>

namespace {
double turn(int index, int count)
{
    return std::sin(2 * std::numbers::pi * index / count);
}
}  // namespace

namespace Poses {

QList<BuddyPose> walk()
{
    QList<BuddyPose> poses;
    for (int index = 0; index < 8; ++index) {
        BuddyPose pose = CompanionChoreography::pose({CompanionPhase::entering, std::nullopt, index * 0.1 + 2.0});
        pose.eyes = BuddyPose::Eyes::open;
        poses.append(pose);
    }
    return poses;
}

QList<BuddyPose> idle()
{
    QList<BuddyPose> poses;
    for (int index = 0; index < 4; ++index) {
        BuddyPose pose;
        pose.squash = 0.018 * turn(index, 4);
        pose.lift = 1.2 * (turn(index, 4) + 1);
        if (index == 3)
            pose.eyes = BuddyPose::Eyes::blink;
        poses.append(pose);
    }
    return poses;
}

QList<BuddyPose> celebrate()
{
    QList<BuddyPose> poses;
    for (int index = 0; index < 6; ++index) {
        BuddyPose pose = CompanionChoreography::pose({CompanionPhase::celebrating, std::nullopt, index * 0.1 + 0.05});
        pose.sparkle = index / 6.0;
        poses.append(pose);
    }
    return poses;
}

QList<BuddyPose> sad(int frames)
{
    QList<BuddyPose> poses;
    for (int index = 0; index < frames; ++index) {
        BuddyPose pose = CompanionChoreography::pose({CompanionPhase::declined, std::nullopt, std::nullopt});
        pose.lean = -3 + 2 * turn(index, frames);
        pose.squash = 0.05 + 0.012 * turn(index, frames);
        poses.append(pose);
    }
    return poses;
}

QList<BuddyPose> wellness()
{
    BuddyPose restEyes;
    restEyes.eyes = BuddyPose::Eyes::blink;
    restEyes.leftArm = 0.25;
    restEyes.rightArm = 0.25;
    restEyes.squash = 0.02;

    BuddyPose lookFar;
    lookFar.rightArm = 0.82;
    lookFar.lean = -4;
    lookFar.mouth = BuddyPose::Mouth::small;

    BuddyPose reachUp;
    // Raised to the side rather than straight up, so the hands show beside the head.
    reachUp.leftArm = 0.84;
    reachUp.rightArm = 0.84;
    reachUp.squash = -0.06;
    reachUp.eyes = BuddyPose::Eyes::happy;

    BuddyPose bendLeft = reachUp;
    bendLeft.lean = -13;
    bendLeft.squash = -0.02;
    bendLeft.mouth = BuddyPose::Mouth::grin;

    BuddyPose bendRight = bendLeft;
    bendRight.lean = 13;

    BuddyPose march;
    march.stride = 1;
    march.lift = 6;
    march.leftArm = 0.32;
    march.rightArm = 0.05;
    march.lean = -3;
    march.mouth = BuddyPose::Mouth::grin;

    return {restEyes, lookFar, reachUp, bendLeft, bendRight, march};
}

}  // namespace Poses
