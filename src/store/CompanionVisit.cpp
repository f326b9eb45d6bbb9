#include "store/CompanionVisit.h"

#include "model/CompanionMotion.h"
#include "model/Personality.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int maximumStage = 2;

double secondsBetween(const QDateTime& from, const QDateTime& to)
{
    return double(from.msecsTo(to)) / 1000.0;
}

int breakLengthSeconds(ReminderKind kind, const BreakPreferences& breaks)
{
    return kind == ReminderKind::eyeRest ? breaks.eyeDurationSeconds : breaks.movementDurationMinutes * 60;
}

}  // namespace

bool CompanionVisit::isWaiting() const
{
    return visible_ && (phase_ == CompanionPhase::entering || phase_ == CompanionPhase::asking);
}

int CompanionVisit::breakRemaining(const QDateTime& now) const
{
    if (!breakEndsAt_)
        return 0;
    const qint64 milliseconds = now.msecsTo(*breakEndsAt_);
    return milliseconds <= 0 ? 0 : int((milliseconds + 999) / 1000);
}

void CompanionVisit::beginPhase(CompanionPhase phase, const QDateTime& now)
{
    phase_ = phase;
    phaseStarted_ = now;
    host_.visitChanged();
    host_.phaseBegan();
}

void CompanionVisit::answer(CompanionPhase response, const QDateTime& now)
{
    response_ = response;
    beginPhase(response, now);
}

void CompanionVisit::show(ReminderKind kind, bool isPreview, const std::optional<QString>& companionID,
                          const QDateTime& now)
{
    visible_ = true;
    kind_ = kind;
    id_ = QUuid::createUuid();
    preview_ = isPreview;
    previewCompanionID_ = isPreview ? companionID : std::nullopt;
    stage_ = 0;
    response_.reset();
    breakStartedAt_.reset();
    breakEndsAt_.reset();
    if (!isPreview)
        schedule_.clearTypingDelays(kind);
    beginPhase(CompanionPhase::entering, now);
}

void CompanionVisit::walk(const QDateTime& now)
{
    if (!visible_)
        return;
    if (breakEndsAt_ && now >= *breakEndsAt_) {
        finishBreak(now);
        return;
    }
    const double elapsed = secondsBetween(phaseStarted_, now);
    const auto length = CompanionMotion::duration(phase_, response_);
    switch (phase_) {
    case CompanionPhase::entering:
        if (elapsed >= *length)
            beginPhase(CompanionPhase::asking, now);
        break;
    case CompanionPhase::asking:
        if (kind_ == ReminderKind::water && stage_ < maximumStage
            && elapsed >= retrySeconds(state_.preferences.personality)) {
            ++stage_;
            beginPhase(CompanionPhase::asking, now);
        }
        break;
    case CompanionPhase::celebrating:
    case CompanionPhase::declined:
        if (elapsed >= *length)
            beginPhase(CompanionPhase::leaving, now);
        break;
    case CompanionPhase::leaving:
        if (elapsed >= *length)
            dismiss(now);
        break;
    case CompanionPhase::hidden:
        break;
    }
}

void CompanionVisit::answerYes(const QDateTime& now)
{
    if (!isWaiting())
        return;
    if (isBreak()) {
        startBreak(now);
        return;
    }
    if (!preview_)
        host_.recordDrink();
    answer(CompanionPhase::celebrating, now);
}

void CompanionVisit::celebrateDrink(const QDateTime& now)
{
    if (kind_ == ReminderKind::water && isWaiting())
        answer(CompanionPhase::celebrating, now);
}

void CompanionVisit::decline(const QDateTime& now)
{
    if (!isWaiting())
        return;
    stopBreakWithoutRecord(now);
    if (!preview_) {
        schedule_.postpone(kind_, now);
        host_.saveState();
    }
    answer(CompanionPhase::declined, now);
}

void CompanionVisit::snooze(const QDateTime& now)
{
    if (!preview_ && isWaiting()) {
        schedule_.postpone(kind_, now);
        host_.visitChanged();
        host_.saveState();
    }
    dismiss(now);
}

void CompanionVisit::dismiss(const QDateTime& now)
{
    const bool droppedBreak = stopBreakWithoutRecord(now);
    if (!preview_)
        schedule_.holdBack(now);
    if (droppedBreak)
        host_.saveState();
    phase_ = CompanionPhase::hidden;
    phaseStarted_ = now;
    visible_ = false;
    preview_ = false;
    host_.visitChanged();
    host_.hidePanel();
}

void CompanionVisit::stepAway(const QDateTime& now)
{
    if (visible_ && breakEndsAt_)
        host_.hidePanel();
    else
        dismiss(now);
}

// Ends a running break unrecorded; a saved one is dropped and its kind planned a full interval
// ahead. True when a saved break was dropped.
bool CompanionVisit::stopBreakWithoutRecord(const QDateTime& now)
{
    breakStartedAt_.reset();
    breakEndsAt_.reset();
    host_.visitChanged();
    if (preview_ || !state_.activeBreakKind)
        return false;
    const ReminderKind kind = *state_.activeBreakKind;
    state_.activeBreakKind.reset();
    schedule_.planFromNow(kind, now);
    return true;
}

void CompanionVisit::startBreak(const QDateTime& now)
{
    if (!visible_ || !isBreak() || breakEndsAt_)
        return;
    breakStartedAt_ = now;
    breakEndsAt_ = now.addSecs(breakLengthSeconds(kind_, state_.preferences.breaks));
    host_.visitChanged();
    if (!preview_) {
        state_.activeBreakKind = kind_;
        host_.saveState();
    }
}

void CompanionVisit::skipBreak(const QDateTime& now)
{
    if (!visible_ || !isBreak())
        return;
    if (!preview_) {
        state_.activeBreakKind.reset();
        schedule_.setDeadline(kind_, now.addSecs(schedule_.intervalSeconds(kind_)));
        schedule_.clearTypingDelays(kind_);
        host_.visitChanged();
        host_.saveState();
    }
    dismiss(now);
    schedule_.holdBack(now);
}

void CompanionVisit::extendBreak(int seconds)
{
    if (!breakEndsAt_)
        return;
    breakEndsAt_ = breakEndsAt_->addSecs(std::max(seconds, 1));
    host_.visitChanged();
}

void CompanionVisit::finishBreak(const QDateTime& now)
{
    if (!preview_ && breakStartedAt_ && breakEndsAt_) {
        const int seconds = int(std::lround(secondsBetween(*breakStartedAt_, *breakEndsAt_)));
        state_.breakHistory.append(BreakRecord{QUuid::createUuid(), kind_, *breakStartedAt_, seconds});
        state_.activeBreakKind.reset();
        schedule_.planFromNow(kind_, now);
        schedule_.clearTypingDelays(kind_);
        host_.historyChanged();
        host_.saveState();
    }
    dismiss(now);
}
