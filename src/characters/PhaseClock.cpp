#include "characters/PhaseClock.h"

namespace PhaseClock {

std::optional<double> elapsed(bool moving, std::optional<double> fixedTime, const QDateTime& phaseStarted)
{
    if (!moving)
        return std::nullopt;
    if (fixedTime)
        return std::max(0.0, *fixedTime);
    if (!phaseStarted.isValid())
        return 0.0;
    return std::max<qint64>(0, phaseStarted.msecsTo(QDateTime::currentDateTimeUtc())) / 1000.0;
}

}  // namespace PhaseClock
