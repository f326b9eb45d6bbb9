#pragma once

#include "model/CompanionPhase.h"

#include <optional>

// The companion's timing: how long each timed phase lasts and how it walks.
struct CompanionMotion {
    static constexpr double enteringSeconds = 2.0;
    static constexpr double celebratingSeconds = 4.8;
    static constexpr double declinedSeconds = 3.6;
    static constexpr double leavingSeconds = 2.0;
    // Walking off after "Not yet" is slower: the companion drags its feet.
    static constexpr double sadWalkSeconds = 3.2;
    static constexpr double walkDistance = 320.0;
    static constexpr int walkCycleFrames = 8;

    // Length of a timed phase; none for the phases that wait (hidden, asking).
    static std::optional<double> duration(CompanionPhase phase, std::optional<CompanionPhase> response);

    // Sideways walk offset in points: 320 at the start of entering down to 0,
    // 0 up to 320 while leaving (over 3.2 s after a decline), 0 otherwise.
    static double horizontalOffset(CompanionPhase phase, double elapsed, std::optional<CompanionPhase> response);

    // Frame of the 8-frame walk cycle at this time into a walking phase.
    static int walkFrame(double elapsed, double framesPerSecond = 10.0);
};
