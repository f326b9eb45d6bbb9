#pragma once

#include "model/CompanionPhase.h"

#include <QHashFunctions>
#include <optional>

// The moment of a companion's visit that a picture shows.
struct CompanionMoment {
    CompanionPhase phase = CompanionPhase::asking;
    std::optional<CompanionPhase> response;
    // Seconds into the phase; none draws the phase's still pose (reduced motion, no animation).
    std::optional<double> elapsed;

    bool operator==(const CompanionMoment&) const = default;
};

// The body language of a code-drawn companion at one moment. Every painter reads the same
// pose, so the drop, the sprout and the bears move alike.
struct BuddyPose {
    enum class Eyes { open, blink, happy, sad };
    enum class Mouth { smile, grin, frown, small };

    double lift = 0;     // design units the body rises off the ground (hops, the walk's bob)
    double squash = 0;   // > 0 wider and shorter (landing), < 0 taller (stretching)
    double lean = 0;     // degrees, positive leans to the right
    double stride = 0;   // -1 … 1: which foot is forward in the walk cycle
    double leftArm = 0;  // 0 hanging, 1 raised high
    double rightArm = 0;
    double droop = 0;     // 0 … 1: head lowered, ears and leaves down
    double sparkle = -1;  // 0 … 1 through a burst of celebration sparkles; < 0 none
    bool tear = false;
    Eyes eyes = Eyes::open;
    Mouth mouth = Mouth::smile;

    bool operator==(const BuddyPose&) const = default;
};

size_t qHash(const BuddyPose& pose, size_t seed = 0);

// What the companion does in each phase. Walking art faces left: companions enter from the
// right; the reminder surface mirrors the picture while they leave.
namespace CompanionChoreography {

BuddyPose pose(const CompanionMoment& moment);

// Distinct pictures a second in the phases that are not walks; a walk shows the eight frames
// of its cycle.
inline constexpr double framesPerSecond = 15;
// The moment moved back to the start of the frame it falls in: every time within one frame
// draws the same picture, so a picture drawn once can be shown again.
CompanionMoment frameOf(const CompanionMoment& moment);
// The pose a picture shows at a moment: the pose of its frame, its measures rounded to a
// thousandth so that the same frame in a later loop of the cycle is the very same pose.
BuddyPose framePose(const CompanionMoment& moment);
// The still pictures used on cards: standing, or celebrating when happy.
BuddyPose standing();
BuddyPose celebrating();
// True for the phases in which the companion walks.
bool isWalking(CompanionPhase phase);
// Seconds per walk cycle: a brisk 0.8 s, or a dragging 1.3 s when leaving after a "Not yet".
double walkCycleSeconds(CompanionPhase phase, std::optional<CompanionPhase> response);

}  // namespace CompanionChoreography
