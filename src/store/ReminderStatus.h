#pragma once

#include "store/ProtectionSpan.h"
#include "store/ReminderSchedule.h"

#include <QDateTime>
#include <QString>
#include <QTimeZone>
#include <optional>

// Everything the countdown and the status line are told from, as the store sees it at `now`.
struct ReminderStatus {
    QDateTime now = {};
    QTimeZone zone = {};
    ProtectionSpan focus = {};
    bool focused = false;
    bool inMeeting = false;
    bool remindersOn = true;
    // Reminders off or a pause running; pausedUntil is the pause's end.
    bool paused = false;
    std::optional<QDateTime> pausedUntil = std::nullopt;
    bool quiet = false;
    bool companionHere = false;
    // Why the gate holds reminders back, when it is not a hold the user set up.
    std::optional<QString> heldBackReason = std::nullopt;
    // None while paused, in focus, in a meeting or in quiet hours.
    std::optional<UpcomingReminder> next = std::nullopt;

    // "Focus mode", "Protected", "On pause", "Sleepy time", "Any moment" or the minutes and
    // seconds to the next reminder ("mm:ss", minutes not capped).
    QString countdown() const;
    // One line on what the reminders are doing, the user's own holds first.
    QString line() const;
};
