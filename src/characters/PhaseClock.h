#pragma once

#include <QDateTime>
#include <optional>

namespace PhaseClock {

// The seconds into a phase that a companion draws: none (the still pose) when it may not
// move, else the fixed time when one is given, else the time since the phase started.
std::optional<double> elapsed(bool moving, std::optional<double> fixedTime, const QDateTime& phaseStarted);

}  // namespace PhaseClock
