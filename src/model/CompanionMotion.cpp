#include "model/CompanionMotion.h"

#include <algorithm>
#include <cmath>

std::optional<double> CompanionMotion::duration(CompanionPhase phase, std::optional<CompanionPhase> response)
{
    switch (phase) {
    case CompanionPhase::entering:
        return enteringSeconds;
    case CompanionPhase::celebrating:
        return celebratingSeconds;
    case CompanionPhase::declined:
        return declinedSeconds;
    case CompanionPhase::leaving:
        return response == CompanionPhase::declined ? sadWalkSeconds : leavingSeconds;
    case CompanionPhase::hidden:
    case CompanionPhase::asking:
        break;
    }
    return std::nullopt;
}

double CompanionMotion::horizontalOffset(CompanionPhase phase, double elapsed, std::optional<CompanionPhase> response)
{
    const bool sadWalk = phase == CompanionPhase::leaving && response == CompanionPhase::declined;
    const double quotient = elapsed / (sadWalk ? sadWalkSeconds : enteringSeconds);
    // NaN fails every comparison, so it lands on 0 together with the non-positive quotients.
    const double progress = quotient > 0 ? std::min(quotient, 1.0) : 0.0;
    switch (phase) {
    case CompanionPhase::entering:
        return (1.0 - progress) * walkDistance;
    case CompanionPhase::leaving:
        return progress * walkDistance;
    default:
        return 0.0;
    }
}

int CompanionMotion::walkFrame(double elapsed, double framesPerSecond)
{
    const double frames = std::floor(std::max(elapsed, 0.0) * framesPerSecond);
    if (!(frames > 0) || !std::isfinite(frames))
        return 0;
    return static_cast<int>(std::fmod(frames, walkCycleFrames));
}
