#include "model/ReminderGate.h"

#include "model/ReminderClock.h"

namespace {

using Cause = GateDecision::Cause;

bool isLater(const std::optional<QDateTime>& date, const QDateTime& now)
{
    return date && *date > now;
}

bool isTrue(const std::optional<bool>& reading)
{
    return reading.value_or(false);
}

// The user's own protection and the calendar, in the order they win.
GateDecision ownRules(const QDateTime& now, const SavedState& state, const QTimeZone& zone)
{
    const Preferences& preferences = state.preferences;
    if (!preferences.enabled)
        return GateDecision::suppress(Cause::remindersOff, QStringLiteral("Reminders are off"));
    if (isLater(state.pausedUntil, now))
        return GateDecision::suppress(Cause::paused, QStringLiteral("On pause"));
    if (state.focusIndefinite || isLater(state.focusUntil, now))
        return GateDecision::suppress(Cause::focus, QStringLiteral("Focus mode"));
    if (state.meetingIndefinite || isLater(state.meetingUntil, now))
        return GateDecision::suppress(Cause::meeting, QStringLiteral("Meeting / presentation"));
    if (preferences.quietEnabled && ReminderClock::isQuiet(now, preferences, zone))
        return GateDecision::suppress(Cause::quietHours, QStringLiteral("Quiet hours · sleep well"));
    return GateDecision::allow();
}

// The safeguards the user switched on; an absent reading never holds a reminder back.
GateDecision safeguards(const SafeguardPreferences& guard, const ContextSnapshot& context)
{
    const double idleLimitSeconds = double(guard.idleMinutes) * 60.0;
    if (guard.pauseWhenIdle && context.inputIdleSeconds && *context.inputIdleSeconds >= idleLimitSeconds)
        return GateDecision::suppress(Cause::away, QStringLiteral("Away from the keyboard · waiting for you"));
    if (guard.microphoneGuard && isTrue(context.microphoneActive))
        return GateDecision::suppress(Cause::microphone, QStringLiteral("Microphone in use · staying quiet"));
    if (guard.mirrorGuard && context.screenMirrored)
        return GateDecision::suppress(Cause::mirroring, QStringLiteral("Screen mirrored · staying off the big screen"));
    const QString frontmost = context.frontmostBundleID.value_or(QString());
    if (!frontmost.isEmpty() && guard.protectedApps.contains(frontmost))
        return GateDecision::suppress(Cause::protectedApp, QStringLiteral("Protected app in front"));
    if (guard.followSystemFocus && isTrue(context.systemFocused))
        return GateDecision::suppress(Cause::systemFocus, QStringLiteral("Do Not Disturb is on"));
    if (guard.flowDelay && context.recentInputSeconds
        && *context.recentInputSeconds < ReminderGate::typingWindowSeconds)
        return GateDecision::suppress(Cause::typing, QStringLiteral("Delayed while you work · 2 minutes"));
    return GateDecision::allow();
}

}  // namespace

GateDecision ReminderGate::evaluate(const QDateTime& now, const SavedState& state, const ContextSnapshot& context,
                                    const QTimeZone& zone)
{
    if (context.isLocked)
        return GateDecision::suppress(Cause::locked, QStringLiteral("Screen locked · waiting for you"));
    if (context.isSleeping)
        return GateDecision::suppress(Cause::asleep, QStringLiteral("Sleeping · see you soon"));
    if (const GateDecision own = ownRules(now, state, zone); !own.allowed())
        return own;
    return safeguards(state.preferences.safeguards, context);
}
