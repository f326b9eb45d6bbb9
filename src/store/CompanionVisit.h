#pragma once

#include "store/ReminderSchedule.h"

#include "model/CompanionPhase.h"
#include "model/ReminderKind.h"
#include "model/SavedState.h"

#include <QDateTime>
#include <QString>
#include <QUuid>
#include <optional>

// What the visit asks of the store around it.
class VisitHost {
public:
    virtual ~VisitHost() = default;
    // A value the views show changed.
    virtual void visitChanged() = 0;
    virtual void saveState() = 0;
    // A break was added to the history.
    virtual void historyChanged() = 0;
    // "Yes" to a water reminder logs a drink.
    virtual void recordDrink() = 0;
    // The companion left: hide the reminder panel.
    virtual void hidePanel() = 0;
    // A phase began; one that has a length should end on time.
    virtual void phaseBegan() = 0;
};

// The companion's visit on the reminder panel: the reminder it brings, the phase it is in and
// since when, the user's answer, how often it asked again, and the break under way. The visit
// itself lives in memory; what it leads to (a break recorded, a deadline moved) goes into the
// saved state and the schedule, and the host saves it. A preview records nothing.
class CompanionVisit {
public:
    CompanionVisit(SavedState& state, ReminderSchedule& schedule, VisitHost& host, const QDateTime& now)
        : state_(state), schedule_(schedule), host_(host), phaseStarted_(now)
    { }

    bool visible() const { return visible_; }
    ReminderKind kind() const { return kind_; }
    bool isBreak() const { return kind_ != ReminderKind::water; }
    QUuid id() const { return id_; }
    CompanionPhase phase() const { return phase_; }
    QDateTime phaseStarted() const { return phaseStarted_; }
    std::optional<CompanionPhase> response() const { return response_; }
    int stage() const { return stage_; }
    bool preview() const { return preview_; }
    std::optional<QString> previewCompanionID() const { return previewCompanionID_; }
    std::optional<QDateTime> breakEndsAt() const { return breakEndsAt_; }
    // On screen and still waiting for an answer.
    bool isWaiting() const;
    // Whole seconds from `now` to the end of the break, rounded up, never below 0.
    int breakRemaining(const QDateTime& now) const;

    // A new reminder walks in.
    void show(ReminderKind kind, bool isPreview, const std::optional<QString>& companionID, const QDateTime& now);
    // Moves on once the current phase has run its length; an unanswered water reminder asks
    // again after the personality's retry time, at most twice; a break ends when its time is up.
    void walk(const QDateTime& now);

    void answerYes(const QDateTime& now);
    // A drink logged elsewhere answers a water reminder that is waiting.
    void celebrateDrink(const QDateTime& now);
    void decline(const QDateTime& now);
    void snooze(const QDateTime& now);
    // Hides the companion; unless a preview, holds reminders back for a minute and drops a
    // running break unrecorded.
    void dismiss(const QDateTime& now);
    // The user went away: a running break goes on behind the hidden panel, anything else leaves.
    void stepAway(const QDateTime& now);

    void startBreak(const QDateTime& now);
    void skipBreak(const QDateTime& now);
    // Moves a running break's end later by at least a second.
    void extendBreak(int seconds);
    // Records the break that ran and hides the companion.
    void finishBreak(const QDateTime& now);

private:
    void beginPhase(CompanionPhase phase, const QDateTime& now);
    void answer(CompanionPhase response, const QDateTime& now);
    bool stopBreakWithoutRecord(const QDateTime& now);

    SavedState& state_;
    ReminderSchedule& schedule_;
    VisitHost& host_;

    bool visible_ = false;
    ReminderKind kind_ = ReminderKind::water;
    QUuid id_;
    CompanionPhase phase_ = CompanionPhase::hidden;
    QDateTime phaseStarted_;
    std::optional<CompanionPhase> response_;
    int stage_ = 0;
    bool preview_ = false;
    std::optional<QString> previewCompanionID_;
    std::optional<QDateTime> breakStartedAt_;
    std::optional<QDateTime> breakEndsAt_;
};
