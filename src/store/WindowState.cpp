#include "store/WindowState.h"

#include <QStringList>

namespace {

bool isOwnRule(GateDecision::Cause cause)
{
    using Cause = GateDecision::Cause;
    return cause == Cause::remindersOff || cause == Cause::paused || cause == Cause::focus || cause == Cause::meeting
           || cause == Cause::quietHours;
}

std::optional<QString> missingReadings(const SafeguardPreferences& safeguards, const ContextSnapshot& context)
{
    QStringList missing;
    if (safeguards.microphoneGuard && !context.microphoneActive)
        missing.append(QStringLiteral("Microphone status unavailable"));
    if (safeguards.pauseWhenIdle && !context.inputIdleSeconds)
        missing.append(QStringLiteral("Away detection unavailable"));
    if (safeguards.flowDelay && !context.recentInputSeconds)
        missing.append(QStringLiteral("Activity status unavailable"));
    if (missing.isEmpty())
        return std::nullopt;
    return missing.join(QStringLiteral(" · ")) + QStringLiteral(". Manual protection still works.");
}

}  // namespace

bool WindowState::setSystemFocusDescription(const QString& description)
{
    if (description == systemFocusDescription_)
        return false;
    systemFocusDescription_ = description;
    return true;
}

std::optional<QString> WindowState::reasonForStatus() const
{
    if (isOwnRule(suppressionCause_))
        return std::nullopt;
    return suppressionReason_;
}

bool WindowState::setSuppression(const std::optional<QString>& reason, GateDecision::Cause cause)
{
    suppressionCause_ = cause;
    if (reason == suppressionReason_)
        return false;
    suppressionReason_ = reason;
    return true;
}

bool WindowState::setContextAvailability(const SafeguardPreferences& safeguards, const ContextSnapshot& context)
{
    const std::optional<QString> availability = missingReadings(safeguards, context);
    if (availability == contextAvailability_)
        return false;
    contextAvailability_ = availability;
    return true;
}
