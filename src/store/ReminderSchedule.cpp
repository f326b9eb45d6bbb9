#include "store/ReminderSchedule.h"

#include "model/ReminderClock.h"

namespace {

constexpr int cooldownSeconds = 60;
constexpr int snoozeWaterSeconds = 600;
constexpr int snoozeBreakSeconds = 300;
constexpr int typingDelaySeconds = 120;
constexpr int maximumTypingDelays = 3;

int kindIndex(ReminderKind kind)
{
    return static_cast<int>(kind);
}

}  // namespace

std::optional<QDateTime> ReminderSchedule::deadline(ReminderKind kind) const
{
    switch (kind) {
    case ReminderKind::water:
        return state_.nextDue;
    case ReminderKind::eyeRest:
        return state_.nextEyeDue;
    case ReminderKind::movement:
        return state_.nextMovementDue;
    }
    return std::nullopt;
}

void ReminderSchedule::setDeadline(ReminderKind kind, const std::optional<QDateTime>& date)
{
    switch (kind) {
    case ReminderKind::water:
        if (date)
            state_.nextDue = *date;
        break;
    case ReminderKind::eyeRest:
        state_.nextEyeDue = date;
        break;
    case ReminderKind::movement:
        state_.nextMovementDue = date;
        break;
    }
}

bool ReminderSchedule::isEnabled(ReminderKind kind) const
{
    switch (kind) {
    case ReminderKind::water:
        return true;
    case ReminderKind::eyeRest:
        return state_.preferences.breaks.eyeEnabled;
    case ReminderKind::movement:
        return state_.preferences.breaks.movementEnabled;
    }
    return false;
}

int ReminderSchedule::intervalSeconds(ReminderKind kind) const
{
    const Preferences& preferences = state_.preferences;
    switch (kind) {
    case ReminderKind::water:
        return preferences.intervalMinutes * 60;
    case ReminderKind::eyeRest:
        return preferences.breaks.eyeIntervalMinutes * 60;
    case ReminderKind::movement:
        return preferences.breaks.movementIntervalMinutes * 60;
    }
    return 0;
}

void ReminderSchedule::planFromNow(ReminderKind kind, const QDateTime& now)
{
    if (!isEnabled(kind)) {
        setDeadline(kind, std::nullopt);
        return;
    }
    const QDateTime due = now.addSecs(intervalSeconds(kind));
    if (kind == ReminderKind::water)
        planWaterOutsideQuiet(due);
    else
        setDeadline(kind, due);
}

void ReminderSchedule::planWaterOutsideQuiet(const QDateTime& planned)
{
    const QDateTime allowed = ReminderClock::nextAllowed(planned, state_.preferences, zone_);
    state_.nextDue = allowed;
    if (allowed != planned)
        quietPush_ = QuietPush{planned, allowed};
    else
        quietPush_.reset();
}

// Anything else that moved the deadline since (a snooze, a typing delay, a drink) ends the push.
std::optional<QDateTime> ReminderSchedule::plannedBeforePush() const
{
    if (quietPush_ && quietPush_->pushedTo == state_.nextDue)
        return quietPush_->planned;
    return std::nullopt;
}

void ReminderSchedule::planAllFromNow(const QDateTime& now)
{
    for (ReminderKind kind : allReminderKinds)
        planFromNow(kind, now);
}

void ReminderSchedule::planMissing(const QDateTime& now)
{
    for (ReminderKind kind : allReminderKinds) {
        if (!isEnabled(kind))
            setDeadline(kind, std::nullopt);
        else if (!deadline(kind) || !deadline(kind)->isValid())
            planFromNow(kind, now);
    }
    planWaterOutsideQuiet(plannedBeforePush().value_or(state_.nextDue));
}

void ReminderSchedule::planAtLaunch(const QDateTime& now)
{
    if (state_.activeBreakKind) {
        planFromNow(*state_.activeBreakKind, now);
        state_.activeBreakKind.reset();
    }
    for (ReminderKind kind : allReminderKinds) {
        const auto due = deadline(kind);
        if (due && due->isValid() && *due < now)
            planFromNow(kind, now);
    }
    planMissing(now);
}

void ReminderSchedule::replanAfterChange(const Preferences& before, const QDateTime& now)
{
    const Preferences& after = state_.preferences;
    if ((after.enabled && !before.enabled) || after.intervalMinutes != before.intervalMinutes)
        planFromNow(ReminderKind::water, now);
    else if (after.quietEnabled != before.quietEnabled || after.quietStart != before.quietStart
             || after.quietEnd != before.quietEnd)
        replanWaterForQuietHours(before, now);

    const BreakPreferences& was = before.breaks;
    const BreakPreferences& is = after.breaks;
    if (is.eyeEnabled != was.eyeEnabled || is.eyeIntervalMinutes != was.eyeIntervalMinutes)
        planFromNow(ReminderKind::eyeRest, now);
    if (is.movementEnabled != was.movementEnabled || is.movementIntervalMinutes != was.movementIntervalMinutes)
        planFromNow(ReminderKind::movement, now);
}

void ReminderSchedule::replanWaterForQuietHours(const Preferences& before, const QDateTime& now)
{
    QDateTime planned = plannedBeforePush().value_or(state_.nextDue);
    // A deadline at the very end of the old quiet hours was pushed there, from a place that is
    // no longer known: a full interval from now is as late as it may come.
    const bool endedOldQuietHours =
        !ReminderClock::isQuiet(planned, before, zone_) && ReminderClock::isQuiet(planned.addSecs(-1), before, zone_);
    if (!plannedBeforePush() && endedOldQuietHours)
        planned = std::min(planned, now.addSecs(intervalSeconds(ReminderKind::water)));
    planWaterOutsideQuiet(planned);
}

void ReminderSchedule::postpone(ReminderKind kind, const QDateTime& now)
{
    if (kind == ReminderKind::water)
        planWaterOutsideQuiet(now.addSecs(snoozeWaterSeconds));
    else
        setDeadline(kind, now.addSecs(snoozeBreakSeconds));
    clearTypingDelays(kind);
}

std::optional<ReminderKind> ReminderSchedule::dueKind(const QDateTime& now) const
{
    std::optional<ReminderKind> due;
    std::optional<QDateTime> earliestDue;
    for (ReminderKind kind : allReminderKinds) {
        const auto date = deadline(kind);
        if (date && date->isValid() && *date <= now && (!earliestDue || *date < *earliestDue)) {
            due = kind;
            earliestDue = date;
        }
    }
    return due;
}

std::optional<UpcomingReminder> ReminderSchedule::earliest() const
{
    std::optional<UpcomingReminder> next;
    for (ReminderKind kind : allReminderKinds) {
        const auto date = deadline(kind);
        if (date && date->isValid() && (!next || *date < next->date))
            next = UpcomingReminder{kind, *date};
    }
    return next;
}

bool ReminderSchedule::mayDeferForTyping(ReminderKind kind) const
{
    return typingDelays_[kindIndex(kind)] < maximumTypingDelays;
}

void ReminderSchedule::deferForTyping(ReminderKind kind, const QDateTime& now)
{
    setDeadline(kind, now.addSecs(typingDelaySeconds));
    ++typingDelays_[kindIndex(kind)];
    typingDelayUntil_ = now.addSecs(typingDelaySeconds);
}

void ReminderSchedule::clearTypingDelays(ReminderKind kind)
{
    typingDelays_[kindIndex(kind)] = 0;
    typingDelayUntil_.reset();
}

bool ReminderSchedule::typingDelayRuns(const QDateTime& now)
{
    if (typingDelayUntil_ && now >= *typingDelayUntil_)
        typingDelayUntil_.reset();
    return typingDelayUntil_.has_value();
}

void ReminderSchedule::holdBack(const QDateTime& now)
{
    cooldownUntil_ = now.addSecs(cooldownSeconds);
}
