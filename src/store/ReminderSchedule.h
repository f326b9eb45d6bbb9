#pragma once

#include "model/Preferences.h"
#include "model/ReminderKind.h"
#include "model/SavedState.h"

#include <QDateTime>
#include <QTimeZone>
#include <array>
#include <optional>

// The next reminder and when it is due.
struct UpcomingReminder {
    ReminderKind kind = ReminderKind::water;
    QDateTime date;

    bool operator==(const UpcomingReminder&) const = default;
};

// When each kind of reminder is due next. The deadlines live in the saved state; the schedule
// plans them a full interval ahead, keeps the water reminder out of quiet hours, moves them on a
// snooze, and delays a reminder while the user types. In memory only: the typing delays, the
// minute after a dismissal during which nothing shows, and where quiet hours last pushed the
// water reminder from.
class ReminderSchedule {
public:
    ReminderSchedule(SavedState& state, const QTimeZone& zone) : state_(state), zone_(zone) { }

    std::optional<QDateTime> deadline(ReminderKind kind) const;
    // The water deadline is never cleared: none leaves it as it is.
    void setDeadline(ReminderKind kind, const std::optional<QDateTime>& date);
    int intervalSeconds(ReminderKind kind) const;

    // A full interval from now (water: pushed past quiet hours); none for a break kind that is off.
    void planFromNow(ReminderKind kind, const QDateTime& now);
    void planAllFromNow(const QDateTime& now);
    // Gives every switched-on kind a deadline and a switched-off break kind none; deadlines that
    // already passed stay due, so a reminder held back shows as soon as it may.
    void planMissing(const QDateTime& now);
    // At launch a break cannot outlive the process that timed it, and deadlines that passed while
    // Dewbell was not running start over rather than greeting the user at once.
    void planAtLaunch(const QDateTime& now);
    // Re-plans only the kinds whose settings changed from `before`. A water reminder that quiet
    // hours pushed goes back to where it was planned once they no longer hold it, and at most a
    // full interval from now when that place is no longer known (it was pushed before a restart).
    void replanAfterChange(const Preferences& before, const QDateTime& now);
    // Snooze or "Not yet": water at the next allowed time after ten minutes, a break in five.
    void postpone(ReminderKind kind, const QDateTime& now);

    // The kind with the earliest deadline that has come, if any.
    std::optional<ReminderKind> dueKind(const QDateTime& now) const;
    // The kind with the earliest deadline, come or not.
    std::optional<UpcomingReminder> earliest() const;

    // A kind is delayed for typing at most three times in a row.
    bool mayDeferForTyping(ReminderKind kind) const;
    // Moves the kind two minutes on and counts the delay.
    void deferForTyping(ReminderKind kind, const QDateTime& now);
    void clearTypingDelays(ReminderKind kind);
    // True until the last typing delay runs out; one that ran out is forgotten.
    bool typingDelayRuns(const QDateTime& now);

    // Holds every reminder back for a minute after the companion was sent away.
    void holdBack(const QDateTime& now);
    bool isHeldBack(const QDateTime& now) const { return cooldownUntil_ && now < *cooldownUntil_; }

private:
    // What quiet hours did to the water reminder: where it was planned and where it went.
    struct QuietPush {
        QDateTime planned;
        QDateTime pushedTo;
    };

    bool isEnabled(ReminderKind kind) const;
    // Sets the water deadline to `planned`, or past the quiet hours it falls in.
    void planWaterOutsideQuiet(const QDateTime& planned);
    // The water deadline before quiet hours pushed it, while that push still stands.
    std::optional<QDateTime> plannedBeforePush() const;
    void replanWaterForQuietHours(const Preferences& before, const QDateTime& now);

    SavedState& state_;
    QTimeZone zone_;
    std::optional<QDateTime> cooldownUntil_;
    std::array<int, 3> typingDelays_{};
    std::optional<QDateTime> typingDelayUntil_;
    std::optional<QuietPush> quietPush_;
};
