#include "characters/CompanionPose.h"

#include "model/CompanionMotion.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double pi = std::numbers::pi;

double wave(double seconds, double period)
{
    return std::sin(2 * pi * seconds / period);
}

// Blinks for 0.14 s every 3.4 s, so a waiting companion looks alive.
bool blinking(double seconds)
{
    return std::fmod(seconds + 1.1, 3.4) < 0.14;
}

BuddyPose walking(double seconds, double cycle, bool sad)
{
    BuddyPose pose;
    const double step = wave(seconds, cycle);
    pose.stride = step;
    pose.lift = std::abs(step) * (sad ? 3.0 : 6.0);
    pose.squash = -0.025 * std::abs(step);
    pose.lean = sad ? -2.0 : -5.0;
    pose.leftArm = 0.12 + 0.1 * step;
    pose.rightArm = 0.12 - 0.1 * step;
    if (sad) {
        pose.droop = 0.75;
        pose.eyes = BuddyPose::Eyes::sad;
        pose.mouth = BuddyPose::Mouth::frown;
    } else if (blinking(seconds)) {
        pose.eyes = BuddyPose::Eyes::blink;
    }
    return pose;
}

BuddyPose asking(double seconds)
{
    BuddyPose pose;
    pose.squash = 0.018 * wave(seconds, 2.6);
    pose.lift = 1.2 * (wave(seconds, 2.6) + 1);
    // A little wave hello during the first second and a half of asking.
    if (seconds < 1.6) {
        const double fade = std::min(1.0, (1.6 - seconds) / 0.3);
        pose.rightArm = fade * (0.78 + 0.16 * wave(seconds, 0.4));
        pose.lean = fade * 3.0;
        pose.mouth = BuddyPose::Mouth::grin;
    }
    if (blinking(seconds))
        pose.eyes = BuddyPose::Eyes::blink;
    return pose;
}

BuddyPose cheering(double seconds)
{
    BuddyPose pose = CompanionChoreography::celebrating();
    const double hop = std::abs(std::sin(pi * seconds / 0.6));
    pose.lift = 22 * hop;
    // Squashed on landing, stretched at the top of the hop.
    pose.squash = hop < 0.25 ? 0.09 * (1 - hop / 0.25) : -0.04 * hop;
    pose.lean = 4 * wave(seconds, 1.2);
    pose.leftArm = 0.85 + 0.15 * hop;
    pose.rightArm = 0.85 + 0.15 * hop;
    pose.sparkle = std::fmod(seconds, 1.2) / 1.2;
    return pose;
}

// Once the head has dropped, the sigh repeats every sighSeconds, so its pictures are drawn once.
constexpr double sighSeconds = 1.2;

BuddyPose sighing(double seconds)
{
    BuddyPose pose;
    pose.droop = std::min(1.0, seconds / 0.7);
    pose.squash = 0.05 * pose.droop + 0.012 * wave(seconds, sighSeconds);
    pose.lean = -3 * pose.droop + 1.5 * wave(seconds + sighSeconds / 4, sighSeconds);
    pose.eyes = BuddyPose::Eyes::sad;
    pose.mouth = BuddyPose::Mouth::frown;
    pose.tear = seconds > 1.0;
    return pose;
}

BuddyPose sad()
{
    BuddyPose pose;
    pose.droop = 1;
    pose.squash = 0.05;
    pose.lean = -3;
    pose.eyes = BuddyPose::Eyes::sad;
    pose.mouth = BuddyPose::Mouth::frown;
    pose.tear = true;
    return pose;
}

BuddyPose stillPose(const CompanionMoment& moment)
{
    switch (moment.phase) {
    case CompanionPhase::celebrating:
        return CompanionChoreography::celebrating();
    case CompanionPhase::declined:
        return sad();
    case CompanionPhase::leaving:
        return moment.response == CompanionPhase::declined ? sad() : CompanionChoreography::standing();
    case CompanionPhase::hidden:
    case CompanionPhase::entering:
    case CompanionPhase::asking:
        break;
    }
    return CompanionChoreography::standing();
}

// Tiny sums of floating-point error must not push a time into the frame before.
constexpr double frameTolerance = 1e-6;

double startOfFrame(double seconds, double frameSeconds)
{
    return std::floor(seconds / frameSeconds + frameTolerance) * frameSeconds;
}

// Adding 0 turns a rounded -0 into 0, so equal poses hash alike.
double settled(double measure)
{
    return std::round(measure * 1000) / 1000 + 0.0;
}

}  // namespace

size_t qHash(const BuddyPose& pose, size_t seed)
{
    return qHashMulti(seed, pose.lift, pose.squash, pose.lean, pose.stride, pose.leftArm, pose.rightArm, pose.droop,
                      pose.sparkle, pose.tear, int(pose.eyes), int(pose.mouth));
}

namespace CompanionChoreography {

BuddyPose standing()
{
    return {};
}

BuddyPose celebrating()
{
    BuddyPose pose;
    pose.leftArm = 0.9;
    pose.rightArm = 0.9;
    pose.eyes = BuddyPose::Eyes::happy;
    pose.mouth = BuddyPose::Mouth::grin;
    pose.sparkle = 0.35;
    return pose;
}

bool isWalking(CompanionPhase phase)
{
    return phase == CompanionPhase::entering || phase == CompanionPhase::leaving;
}

double walkCycleSeconds(CompanionPhase phase, std::optional<CompanionPhase> response)
{
    return phase == CompanionPhase::leaving && response == CompanionPhase::declined ? 1.3 : 0.8;
}

BuddyPose pose(const CompanionMoment& moment)
{
    if (!moment.elapsed)
        return stillPose(moment);
    const double seconds = std::max(0.0, *moment.elapsed);
    switch (moment.phase) {
    case CompanionPhase::entering:
    case CompanionPhase::leaving:
        return walking(seconds, walkCycleSeconds(moment.phase, moment.response),
                       moment.phase == CompanionPhase::leaving && moment.response == CompanionPhase::declined);
    case CompanionPhase::celebrating:
        return cheering(seconds);
    case CompanionPhase::declined:
        return sighing(seconds);
    case CompanionPhase::hidden:
    case CompanionPhase::asking:
        break;
    }
    return asking(seconds);
}

CompanionMoment frameOf(const CompanionMoment& moment)
{
    if (!moment.elapsed)
        return moment;
    const double seconds = std::max(0.0, *moment.elapsed);
    const double frameSeconds = isWalking(moment.phase)
                                    ? walkCycleSeconds(moment.phase, moment.response) / CompanionMotion::walkCycleFrames
                                    : 1 / framesPerSecond;
    return {moment.phase, moment.response, startOfFrame(seconds, frameSeconds)};
}

BuddyPose framePose(const CompanionMoment& moment)
{
    BuddyPose shown = pose(frameOf(moment));
    for (double* measure : {&shown.lift, &shown.squash, &shown.lean, &shown.stride, &shown.leftArm, &shown.rightArm,
                            &shown.droop, &shown.sparkle})
        *measure = settled(*measure);
    return shown;
}

}  // namespace CompanionChoreography
