#include "characters/PhasedCompanion.h"

#include "characters/PhaseClock.h"

PhasedCompanion::PhasedCompanion(CompanionPhase phase, const QDateTime& phaseStarted,
                                 std::optional<CompanionPhase> response, bool animate, std::optional<double> elapsed,
                                 QWidget* parent)
    : CompanionView(animate, parent), phase_(phase), phaseStarted_(phaseStarted), response_(response), elapsed_(elapsed)
{ }

void PhasedCompanion::setPhase(CompanionPhase phase, const QDateTime& phaseStarted,
                               std::optional<CompanionPhase> response)
{
    phase_ = phase;
    phaseStarted_ = phaseStarted;
    response_ = response;
    update();
}

void PhasedCompanion::setElapsed(std::optional<double> seconds)
{
    elapsed_ = seconds;
    refreshTimer();
    update();
}

CompanionMoment PhasedCompanion::moment() const
{
    return {phase_, response_, PhaseClock::elapsed(isMoving(), elapsed_, phaseStarted_)};
}
