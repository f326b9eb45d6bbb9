#pragma once

#include "model/ContextSnapshot.h"
#include "model/SavedState.h"

#include <QDateTime>
#include <QString>
#include <QTimeZone>

struct GateDecision {
    // Why reminders are held back; `typing` is the one cause the store may defer past.
    enum class Cause {
        none,
        locked,
        asleep,
        remindersOff,
        paused,
        focus,
        meeting,
        quietHours,
        away,
        microphone,
        mirroring,
        protectedApp,
        systemFocus,
        typing,
    };

    Cause cause = Cause::none;
    QString reason;  // one line for the interface; empty when allowed

    bool allowed() const { return cause == Cause::none; }
    static GateDecision allow() { return {}; }
    static GateDecision suppress(Cause cause, const QString& reason) { return {cause, reason}; }

    bool operator==(const GateDecision&) const = default;
};

struct ReminderGate {
    // Seconds since a key press or click below which the user counts as typing in flow.
    static constexpr double typingWindowSeconds = 5.0;

    static GateDecision evaluate(const QDateTime& now, const SavedState& state, const ContextSnapshot& context,
                                 const QTimeZone& zone = QTimeZone::systemTimeZone());
};
