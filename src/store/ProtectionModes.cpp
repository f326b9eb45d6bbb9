#include "store/ProtectionModes.h"

namespace {

constexpr int pauseSeconds = 3600;

// Where each protection lives in the saved state.
struct SavedFields {
    std::optional<QDateTime> SavedState::*until;
    bool SavedState::*indefinite;
};

SavedFields fieldsOf(ProtectionMode protection)
{
    if (protection == ProtectionMode::focus)
        return {&SavedState::focusUntil, &SavedState::focusIndefinite};
    return {&SavedState::meetingUntil, &SavedState::meetingIndefinite};
}

}  // namespace

bool ProtectionModes::isPaused(const QDateTime& now) const
{
    return !state_.preferences.enabled || (state_.pausedUntil && *state_.pausedUntil > now);
}

void ProtectionModes::pauseForAnHour(const QDateTime& now)
{
    state_.pausedUntil = now.addSecs(pauseSeconds);
}

void ProtectionModes::resume()
{
    state_.preferences.enabled = true;
    state_.pausedUntil.reset();
}

ProtectionSpan ProtectionModes::span(ProtectionMode protection) const
{
    const SavedFields fields = fieldsOf(protection);
    return {state_.*fields.until, state_.*fields.indefinite};
}

void ProtectionModes::setSpan(ProtectionMode protection, const ProtectionSpan& span)
{
    const SavedFields fields = fieldsOf(protection);
    state_.*fields.until = span.until;
    state_.*fields.indefinite = span.indefinite;
}

void ProtectionModes::start(ProtectionMode protection, const QDateTime& now, std::optional<int> minutes)
{
    setSpan(protection, ProtectionSpan::starting(now, minutes));
}

void ProtectionModes::clearStale(const QDateTime& now)
{
    if (state_.pausedUntil && *state_.pausedUntil <= now)
        state_.pausedUntil.reset();
    for (ProtectionMode protection : {ProtectionMode::focus, ProtectionMode::meeting}) {
        ProtectionSpan current = span(protection);
        current.clearIfOver(now);
        setSpan(protection, current);
    }
}
