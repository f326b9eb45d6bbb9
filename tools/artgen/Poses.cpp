#include "Poses.h"

#include <cmath>
#include <functional>
#include <numbers>

namespace {
double turn(int index, int count)
{
    return std::sin(2 * std::numbers::pi * index / count);
}

// `count` poses, the one at `index` made by `make`.
QList<BuddyPose> series(int count, const std::function<BuddyPose(int index)>& make)
{
    QList<BuddyPose> poses;
    for (int index = 0; index < count; ++index)
        poses.append(make(index));
    return poses;
}
}  // namespace

namespace Poses {

QList<BuddyPose> walk()
{
    return series(8, [](int index) {
        BuddyPose pose = CompanionChoreography::pose({CompanionPhase::entering, std::nullopt, index * 0.1 + 2.0});
        pose.eyes = BuddyPose::Eyes::open;
        return pose;
    });
}

QList<BuddyPose> idle()
{
    return series(4, [](int index) {
        BuddyPose pose;
        pose.squash = 0.018 * turn(index, 4);
        pose.lift = 1.2 * (turn(index, 4) + 1);
        if (index == 3)
            pose.eyes = BuddyPose::Eyes::blink;
        return pose;
    });
}

QList<BuddyPose> celebrate()
{
    return series(6, [](int index) {
        BuddyPose pose = CompanionChoreography::pose({CompanionPhase::celebrating, std::nullopt, index * 0.1 + 0.05});
        pose.sparkle = index / 6.0;
        return pose;
    });
}

QList<BuddyPose> sad(int frames)
{
    return series(frames, [frames](int index) {
        BuddyPose pose = CompanionChoreography::pose({CompanionPhase::declined, std::nullopt, std::nullopt});
        pose.lean = -3 + 2 * turn(index, frames);
        pose.squash = 0.05 + 0.012 * turn(index, frames);
        return pose;
    });
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
