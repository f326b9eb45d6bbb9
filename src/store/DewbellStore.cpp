#include "store/DewbellStore.h"

#include "store/CarePackage.h"
#include "store/PackLibrary.h"
#include "store/StateFile.h"

#include "model/AppBundle.h"
#include "model/CompanionMotion.h"
#include "model/LocalFiles.h"
#include "model/Personality.h"
#include "model/ReminderClock.h"
#include "model/ReminderGate.h"

#include <QDir>
#include <algorithm>
#include <cmath>

namespace {

constexpr int tickMilliseconds = 1000;
constexpr int cooldownSeconds = 60;
constexpr int snoozeWaterSeconds = 600;
constexpr int snoozeBreakSeconds = 300;
constexpr int pauseSeconds = 3600;
constexpr int typingDelaySeconds = 120;
constexpr int maximumTypingDelays = 3;
constexpr int maximumStage = 2;

const QString delayedWhileTyping = QStringLiteral("Delayed while you work · 2 minutes");
const QString meetingReason = QStringLiteral("Meeting / presentation");
const QString jsonFilter = QStringLiteral("JSON files (*.json)");

int kindIndex(ReminderKind kind)
{
    return static_cast<int>(kind);
}

// The holds the user set up, which the status line words more precisely than the gate.
bool isOwnRule(GateDecision::Cause cause)
{
    using Cause = GateDecision::Cause;
    return cause == Cause::remindersOff || cause == Cause::paused || cause == Cause::focus || cause == Cause::meeting
           || cause == Cause::quietHours;
}

bool isWaiting(CompanionPhase phase)
{
    return phase == CompanionPhase::entering || phase == CompanionPhase::asking;
}

double secondsBetween(const QDateTime& from, const QDateTime& to)
{
    return double(from.msecsTo(to)) / 1000.0;
}

QString charactersFolder(const QString& parent)
{
    return QDir(parent).filePath(QStringLiteral("Characters"));
}

}  // namespace

// Announces changed() once, when the outermost action that made changes ends.
class DewbellStore::ChangeBatch {
public:
    explicit ChangeBatch(DewbellStore* store) : store_(store) { ++store_->batchDepth_; }
    ~ChangeBatch()
    {
        if (--store_->batchDepth_ == 0 && store_->pendingChange_) {
            store_->pendingChange_ = false;
            emit store_->changed();
        }
    }
    ChangeBatch(const ChangeBatch&) = delete;
    ChangeBatch& operator=(const ChangeBatch&) = delete;

private:
    DewbellStore* store_;
};

// Views read today's figures on every tick; with years of history a fresh scan each second
// would cost more than the whole tick, so they are kept until the day or the history changes.
struct DewbellStore::DayCache {
    QDate day;
    quint64 generation = 0;
    QList<Drink> drinks;
    int totalML = 0;
    int breaks = 0;
};

DewbellStore::DewbellStore(std::optional<QString> directory, bool running, bool persistChanges,
                           AppUpdateManager* updates, std::optional<QTimeZone> zone, QObject* parent)
    : QObject(parent),
      directory_(directory.value_or(AppBundle::privateFolder())),
      running_(running),
      persistChanges_(persistChanges),
      zone_(zone.value_or(QTimeZone::systemTimeZone())),
      updates_(updates),
      stateFile_(std::make_unique<StateFile>(directory_, persistChanges)),
      now_(QDateTime::currentDateTimeUtc()),
      phaseStarted_(now_)
{
    if (!updates_) {
        const bool enabled = !directory.has_value() && persistChanges;
        auto preferenceStore =
            enabled ? std::make_shared<DefaultsUpdatePreferenceStore>() : std::shared_ptr<UpdatePreferenceStore>();
        updates_ = new AppUpdateManager(enabled, UpdateConfiguration::fromBundle(), {}, preferenceStore, this);
    } else if (!updates_->parent()) {
        updates_->setParent(this);
    }

    load();
    packs_ = PackLibrary::load(AppBundle::path(QStringLiteral("Characters")), charactersFolder(directory_));

    if (running_) {
        timer_.setInterval(tickMilliseconds);
        timer_.setTimerType(Qt::CoarseTimer);
        connect(&timer_, &QTimer::timeout, this, [this] { tick(QDateTime::currentDateTimeUtc()); });
        timer_.start();
    }
}

DewbellStore::~DewbellStore() = default;

// ---- Published state ----------------------------------------------------------------------------

void DewbellStore::markChanged()
{
    pendingChange_ = true;
    if (batchDepth_ == 0) {
        pendingChange_ = false;
        emit changed();
    }
}

void DewbellStore::touchHistory()
{
    ++historyGeneration_;
    markChanged();
}

void DewbellStore::setState(const SavedState& state)
{
    state_ = state;
    touchHistory();
}

void DewbellStore::mutateState(const std::function<void(SavedState&)>& change)
{
    change(state_);
    touchHistory();
}

void DewbellStore::setPacks(const QList<CharacterPack>& packs)
{
    packs_ = packs;
    markChanged();
}

CharacterPack DewbellStore::companion() const
{
    for (const CharacterPack& pack : packs_) {
        if (pack.id == state_.preferences.companionID)
            return pack;
    }
    return packs_.isEmpty() ? CharacterPack::builtIns().first() : packs_.first();
}

CharacterPack DewbellStore::presentedCompanion() const
{
    if (preview_ && previewCompanionID_) {
        for (const CharacterPack& pack : packs_) {
            if (pack.id == *previewCompanionID_)
                return pack;
        }
    }
    return companion();
}

int DewbellStore::breakRemaining() const
{
    if (!breakEndsAt_)
        return 0;
    const qint64 milliseconds = now_.msecsTo(*breakEndsAt_);
    return milliseconds <= 0 ? 0 : int((milliseconds + 999) / 1000);
}

void DewbellStore::setNotice(const std::optional<QString>& notice)
{
    notice_ = notice;
    markChanged();
}

void DewbellStore::setSelectedPage(const QString& page)
{
    selectedPage_ = page;
    markChanged();
}

void DewbellStore::setTourVisible(bool visible)
{
    ChangeBatch batch(this);
    tourVisible_ = visible;
    markChanged();
    if (!visible && onTourMenuHighlight)
        onTourMenuHighlight(false);
}

void DewbellStore::setSystemFocusDescription(const QString& description)
{
    if (description == systemFocusDescription_)
        return;
    systemFocusDescription_ = description;
    markChanged();
}

void DewbellStore::setSuppressionReason(const std::optional<QString>& reason, GateDecision::Cause cause)
{
    suppressionCause_ = cause;
    if (reason == suppressionReason_)
        return;
    suppressionReason_ = reason;
    markChanged();
}

// ---- Derived values -----------------------------------------------------------------------------

bool DewbellStore::isPaused() const
{
    return !state_.preferences.enabled || (state_.pausedUntil && *state_.pausedUntil > now_);
}

bool DewbellStore::isFocused() const
{
    return state_.focusIndefinite || (state_.focusUntil && *state_.focusUntil > now_);
}

bool DewbellStore::inMeeting() const
{
    return state_.meetingIndefinite || (state_.meetingUntil && *state_.meetingUntil > now_);
}

bool DewbellStore::isQuiet() const
{
    return ReminderClock::isQuiet(now_, state_.preferences, zone_);
}

void DewbellStore::refreshDayCache() const
{
    const QDate day = now_.toTimeZone(zone_).date();
    if (dayCache_ && dayCache_->day == day && dayCache_->generation == historyGeneration_)
        return;
    auto cache = std::make_unique<DayCache>();
    cache->day = day;
    cache->generation = historyGeneration_;
    cache->drinks = ReminderClock::today(state_.drinks, now_, zone_);
    for (const Drink& drink : cache->drinks)
        cache->totalML += drink.ml;
    cache->breaks = int(ReminderClock::today(state_.breakHistory, now_, zone_).size());
    dayCache_ = std::move(cache);
}

QList<Drink> DewbellStore::today() const
{
    refreshDayCache();
    return dayCache_->drinks;
}

int DewbellStore::totalML() const
{
    refreshDayCache();
    return dayCache_->totalML;
}

int DewbellStore::goalML() const
{
    return state_.preferences.dailyGoal * state_.preferences.glassML;
}

double DewbellStore::progress() const
{
    return std::min(1.0, double(totalML()) / double(std::max(goalML(), 1)));
}

int DewbellStore::completedBreaksToday() const
{
    refreshDayCache();
    return dayCache_->breaks;
}

std::optional<UpcomingReminder> DewbellStore::upcomingReminder() const
{
    if (isPaused() || isFocused() || inMeeting() || isQuiet())
        return std::nullopt;
    std::optional<UpcomingReminder> next;
    for (ReminderKind kind : allReminderKinds) {
        const auto date = deadline(kind);
        if (date && (!next || *date < next->date))
            next = UpcomingReminder{kind, *date};
    }
    return next;
}

QString DewbellStore::countdown() const
{
    if (isFocused())
        return QStringLiteral("Focus mode");
    if (inMeeting())
        return QStringLiteral("Protected");
    if (isPaused())
        return QStringLiteral("On pause");
    if (isQuiet())
        return QStringLiteral("Sleepy time");
    const auto next = upcomingReminder();
    const qint64 seconds = next ? now_.msecsTo(next->date) / 1000 : 0;
    if (seconds < 1)
        return QStringLiteral("Any moment");
    return QString::asprintf("%02lld:%02lld", seconds / 60, seconds % 60);
}

QString DewbellStore::timeOfDay(const QDateTime& date) const
{
    return ReminderClock::timeOfDay(date, zone_);
}

QString DewbellStore::status() const
{
    if (isFocused()) {
        if (state_.focusIndefinite || !state_.focusUntil)
            return QStringLiteral("Focus · until you end it");
        return QStringLiteral("Focus until ") + timeOfDay(*state_.focusUntil);
    }
    if (inMeeting())
        return QStringLiteral("Meeting / presentation protection");
    if (suppressionReason_ && !isOwnRule(suppressionCause_))
        return *suppressionReason_;
    if (!state_.preferences.enabled)
        return QStringLiteral("Reminders are off");
    if (isPaused())
        return QStringLiteral("Paused until ") + timeOfDay(*state_.pausedUntil);
    if (isQuiet())
        return QStringLiteral("Quiet hours · sleep well");
    if (reminderVisible_)
        return QStringLiteral("Your little friend is here");
    if (const auto next = upcomingReminder())
        return QStringLiteral("Next hello around ") + timeOfDay(next->date);
    return QStringLiteral("Reminders are off");
}

// ---- Deadlines ----------------------------------------------------------------------------------

std::optional<QDateTime> DewbellStore::deadline(ReminderKind kind) const
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

void DewbellStore::setDeadline(ReminderKind kind, const std::optional<QDateTime>& date)
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
    markChanged();
}

bool DewbellStore::isEnabled(ReminderKind kind) const
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

int DewbellStore::intervalSeconds(ReminderKind kind) const
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

int DewbellStore::breakLengthSeconds(ReminderKind kind) const
{
    const BreakPreferences& breaks = state_.preferences.breaks;
    return kind == ReminderKind::eyeRest ? breaks.eyeDurationSeconds : breaks.movementDurationMinutes * 60;
}

// A full interval from now; the water reminder is also kept out of quiet hours.
void DewbellStore::planKindFromNow(ReminderKind kind)
{
    if (!isEnabled(kind)) {
        setDeadline(kind, std::nullopt);
        return;
    }
    const QDateTime due = now_.addSecs(intervalSeconds(kind));
    setDeadline(kind, kind == ReminderKind::water ? ReminderClock::nextAllowed(due, state_.preferences, zone_) : due);
}

void DewbellStore::planAllFromNow()
{
    for (ReminderKind kind : allReminderKinds)
        planKindFromNow(kind);
}

// Gives every switched-on kind a deadline and a switched-off break kind none; deadlines that
// already passed stay due, so a reminder held back shows as soon as it may.
void DewbellStore::planMissingDeadlines()
{
    for (ReminderKind kind : allReminderKinds) {
        if (!isEnabled(kind))
            setDeadline(kind, std::nullopt);
        else if (!deadline(kind) || !deadline(kind)->isValid())
            planKindFromNow(kind);
    }
    state_.nextDue = ReminderClock::nextAllowed(state_.nextDue, state_.preferences, zone_);
}

void DewbellStore::clearStaleDates()
{
    if (state_.pausedUntil && *state_.pausedUntil <= now_)
        state_.pausedUntil.reset();
    if (state_.focusUntil && *state_.focusUntil <= now_)
        state_.focusUntil.reset();
    if (state_.meetingUntil && *state_.meetingUntil <= now_)
        state_.meetingUntil.reset();
    markChanged();
}

// ---- Persistence --------------------------------------------------------------------------------

void DewbellStore::load()
{
    StateFile::Loaded loaded = stateFile_->load();
    state_ = loaded.state;
    notice_ = loaded.notice;
    state_.preferences = state_.preferences.normalized();
    clearStaleDates();
    // A break cannot outlive the process that timed it, and deadlines that passed while Dewbell
    // was not running start over rather than greeting the user at launch.
    if (state_.activeBreakKind) {
        planKindFromNow(*state_.activeBreakKind);
        state_.activeBreakKind.reset();
    }
    for (ReminderKind kind : allReminderKinds) {
        const auto due = deadline(kind);
        if (due && due->isValid() && *due < now_)
            planKindFromNow(kind);
    }
    planMissingDeadlines();
    ++historyGeneration_;
}

void DewbellStore::save()
{
    if (!persistChanges_)
        return;
    try {
        stateFile_->save(state_);
    } catch (const ImportError& error) {
        setNotice(QStringLiteral("Couldn't save your settings: ") + error.message());
    }
}

// ---- The engine ---------------------------------------------------------------------------------

void DewbellStore::tick(const QDateTime& date)
{
    ChangeBatch batch(this);
    now_ = date;
    markChanged();
    walkPhases();
    const ContextSnapshot context = contextProvider ? contextProvider() : ContextSnapshot{};
    updateContextAvailability(context);
    decideDueReminder(context);
}

void DewbellStore::beginPhase(CompanionPhase phase)
{
    phase_ = phase;
    phaseStarted_ = now_;
    markChanged();
    scheduleEndOfPhase();
}

// The one-second tick alone would end a phase up to a second late; one extra tick lands on time.
void DewbellStore::scheduleEndOfPhase()
{
    const auto seconds = CompanionMotion::duration(phase_, response_);
    if (!running_ || !seconds)
        return;
    const CompanionPhase phase = phase_;
    const QDateTime started = phaseStarted_;
    QTimer::singleShot(int(std::ceil(*seconds * 1000.0)), this, [this, phase, started] {
        if (phase_ == phase && phaseStarted_ == started)
            tick(QDateTime::currentDateTimeUtc());
    });
}

void DewbellStore::walkPhases()
{
    if (!reminderVisible_)
        return;
    if (breakEndsAt_ && now_ >= *breakEndsAt_) {
        finishBreak();
        return;
    }
    const double elapsed = secondsBetween(phaseStarted_, now_);
    const auto length = CompanionMotion::duration(phase_, response_);
    switch (phase_) {
    case CompanionPhase::entering:
        if (elapsed >= *length)
            beginPhase(CompanionPhase::asking);
        break;
    case CompanionPhase::asking:
        if (reminderKind_ == ReminderKind::water && stage_ < maximumStage
            && elapsed >= retrySeconds(state_.preferences.personality)) {
            ++stage_;
            beginPhase(CompanionPhase::asking);
        }
        break;
    case CompanionPhase::celebrating:
    case CompanionPhase::declined:
        if (elapsed >= *length)
            beginPhase(CompanionPhase::leaving);
        break;
    case CompanionPhase::leaving:
        if (elapsed >= *length)
            dismiss();
        break;
    case CompanionPhase::hidden:
        break;
    }
}

void DewbellStore::updateContextAvailability(const ContextSnapshot& context)
{
    const SafeguardPreferences& safeguards = state_.preferences.safeguards;
    QStringList missing;
    if (safeguards.microphoneGuard && !context.microphoneActive)
        missing.append(QStringLiteral("Microphone status unavailable"));
    if (safeguards.pauseWhenIdle && !context.inputIdleSeconds)
        missing.append(QStringLiteral("Away detection unavailable"));
    if (safeguards.flowDelay && !context.recentInputSeconds)
        missing.append(QStringLiteral("Activity status unavailable"));
    const std::optional<QString> availability =
        missing.isEmpty()
            ? std::nullopt
            : std::optional(missing.join(QStringLiteral(" · ")) + QStringLiteral(". Manual protection still works."));
    if (availability != contextAvailability_) {
        contextAvailability_ = availability;
        markChanged();
    }
}

std::optional<ReminderKind> DewbellStore::dueKind() const
{
    std::optional<ReminderKind> due;
    std::optional<QDateTime> earliest;
    for (ReminderKind kind : allReminderKinds) {
        const auto date = deadline(kind);
        if (date && date->isValid() && *date <= now_ && (!earliest || *date < *earliest)) {
            due = kind;
            earliest = date;
        }
    }
    return due;
}

void DewbellStore::decideDueReminder(const ContextSnapshot& context)
{
    const GateDecision decision = ReminderGate::evaluate(now_, state_, context, zone_);
    const bool typing = decision.cause == GateDecision::Cause::typing;
    if (!decision.allowed() && !typing) {
        setSuppressionReason(decision.reason, decision.cause);
        return;
    }
    if (typingDelayUntil_ && now_ >= *typingDelayUntil_)
        typingDelayUntil_.reset();
    if (typingDelayUntil_)
        setSuppressionReason(delayedWhileTyping, GateDecision::Cause::typing);
    else
        setSuppressionReason(std::nullopt);

    if (reminderVisible_ || tourVisible_ || suppressedForAbsence_ || (cooldownUntil_ && now_ < *cooldownUntil_))
        return;
    const auto kind = dueKind();
    if (!kind)
        return;
    if (typing && typingDelays_[kindIndex(*kind)] < maximumTypingDelays)
        deferForTyping(*kind);
    else
        showReminder(false, *kind);
}

void DewbellStore::deferForTyping(ReminderKind kind)
{
    setDeadline(kind, now_.addSecs(typingDelaySeconds));
    ++typingDelays_[kindIndex(kind)];
    typingDelayUntil_ = now_.addSecs(typingDelaySeconds);
    setSuppressionReason(delayedWhileTyping, GateDecision::Cause::typing);
    save();
}

void DewbellStore::clearTypingDelays(ReminderKind kind)
{
    typingDelays_[kindIndex(kind)] = 0;
    typingDelayUntil_.reset();
}

// ---- Reminders ----------------------------------------------------------------------------------

// A preview is judged as if reminders were on, unpaused and outside quiet hours: only real
// reasons to keep quiet (focus, a meeting, a locked screen, the safeguards) hold it back.
// Typing is no such reason: the user has just clicked to see the preview.
bool DewbellStore::previewAllowed()
{
    SavedState judged = state_;
    judged.preferences.enabled = true;
    judged.preferences.quietEnabled = false;
    judged.pausedUntil.reset();
    const ContextSnapshot context = contextProvider ? contextProvider() : ContextSnapshot{};
    const GateDecision decision = ReminderGate::evaluate(now_, judged, context, zone_);
    if (decision.allowed() || decision.cause == GateDecision::Cause::typing)
        return true;
    setSuppressionReason(decision.reason, decision.cause);
    return false;
}

void DewbellStore::showReminder(bool isPreview, ReminderKind kind, std::optional<QString> companionID)
{
    ChangeBatch batch(this);
    if (tourVisible_)
        return;
    if (reminderVisible_) {
        if (onPresent)
            onPresent();
        return;
    }
    if (isPreview && !previewAllowed())
        return;

    reminderVisible_ = true;
    reminderKind_ = kind;
    reminderID_ = QUuid::createUuid();
    preview_ = isPreview;
    previewCompanionID_ = isPreview ? companionID : std::nullopt;
    stage_ = 0;
    response_.reset();
    breakStartedAt_.reset();
    breakEndsAt_.reset();
    if (!isPreview)
        clearTypingDelays(kind);
    beginPhase(CompanionPhase::entering);
    if (state_.preferences.soundEnabled && playSound)
        playSound(QStringLiteral("Pop"));
    if (onPresent)
        onPresent();
}

void DewbellStore::answerYes()
{
    ChangeBatch batch(this);
    if (!reminderVisible_ || !isWaiting(phase_))
        return;
    if (isBreakKind(reminderKind_)) {
        startBreak();
        return;
    }
    if (!preview_)
        recordDrink();
    response_ = CompanionPhase::celebrating;
    beginPhase(CompanionPhase::celebrating);
}

// Water: the next allowed time after ten minutes; a break: five minutes.
void DewbellStore::postpone(ReminderKind kind)
{
    if (kind == ReminderKind::water)
        setDeadline(kind, ReminderClock::nextAllowed(now_.addSecs(snoozeWaterSeconds), state_.preferences, zone_));
    else
        setDeadline(kind, now_.addSecs(snoozeBreakSeconds));
    clearTypingDelays(kind);
}

void DewbellStore::decline()
{
    ChangeBatch batch(this);
    if (!reminderVisible_ || !isWaiting(phase_))
        return;
    stopBreakWithoutRecord();
    if (!preview_) {
        postpone(reminderKind_);
        save();
    }
    response_ = CompanionPhase::declined;
    beginPhase(CompanionPhase::declined);
}

void DewbellStore::snooze()
{
    ChangeBatch batch(this);
    if (!preview_ && reminderVisible_ && isWaiting(phase_)) {
        postpone(reminderKind_);
        save();
    }
    dismiss();
}

void DewbellStore::dismiss()
{
    ChangeBatch batch(this);
    const bool droppedBreak = stopBreakWithoutRecord();
    if (!preview_)
        cooldownUntil_ = now_.addSecs(cooldownSeconds);
    if (droppedBreak)
        save();
    phase_ = CompanionPhase::hidden;
    phaseStarted_ = now_;
    reminderVisible_ = false;
    preview_ = false;
    markChanged();
    if (onDismiss)
        onDismiss();
}

// Ends a running break unrecorded; a saved one is dropped and its kind planned a full interval
// ahead. True when a saved break was dropped.
bool DewbellStore::stopBreakWithoutRecord()
{
    breakStartedAt_.reset();
    breakEndsAt_.reset();
    markChanged();
    if (preview_ || !state_.activeBreakKind)
        return false;
    const ReminderKind kind = *state_.activeBreakKind;
    state_.activeBreakKind.reset();
    planKindFromNow(kind);
    return true;
}

// ---- Breaks -------------------------------------------------------------------------------------

void DewbellStore::startBreak()
{
    ChangeBatch batch(this);
    if (!reminderVisible_ || !isBreakKind(reminderKind_) || breakEndsAt_)
        return;
    breakStartedAt_ = now_;
    breakEndsAt_ = now_.addSecs(breakLengthSeconds(reminderKind_));
    markChanged();
    if (!preview_) {
        state_.activeBreakKind = reminderKind_;
        save();
    }
}

void DewbellStore::skipBreak()
{
    ChangeBatch batch(this);
    if (!reminderVisible_ || !isBreakKind(reminderKind_))
        return;
    if (!preview_) {
        state_.activeBreakKind.reset();
        setDeadline(reminderKind_, now_.addSecs(intervalSeconds(reminderKind_)));
        clearTypingDelays(reminderKind_);
        save();
    }
    dismiss();
    cooldownUntil_ = now_.addSecs(cooldownSeconds);
}

void DewbellStore::extendBreak(int seconds)
{
    if (!breakEndsAt_)
        return;
    breakEndsAt_ = breakEndsAt_->addSecs(std::max(seconds, 1));
    markChanged();
}

void DewbellStore::finishBreak()
{
    ChangeBatch batch(this);
    if (!preview_ && breakStartedAt_ && breakEndsAt_) {
        const int seconds = int(std::lround(secondsBetween(*breakStartedAt_, *breakEndsAt_)));
        state_.breakHistory.append(BreakRecord{QUuid::createUuid(), reminderKind_, *breakStartedAt_, seconds});
        state_.activeBreakKind.reset();
        planKindFromNow(reminderKind_);
        clearTypingDelays(reminderKind_);
        touchHistory();
        save();
    }
    dismiss();
}

// ---- Water --------------------------------------------------------------------------------------

void DewbellStore::recordDrink()
{
    state_.drinks.append(Drink{QUuid::createUuid(), now_, state_.preferences.glassML});
    planKindFromNow(ReminderKind::water);
    clearTypingDelays(ReminderKind::water);
    touchHistory();
    save();
}

void DewbellStore::drink()
{
    ChangeBatch batch(this);
    recordDrink();
    if (reminderVisible_ && reminderKind_ == ReminderKind::water && isWaiting(phase_)) {
        response_ = CompanionPhase::celebrating;
        beginPhase(CompanionPhase::celebrating);
    }
}

void DewbellStore::undo()
{
    ChangeBatch batch(this);
    const QList<Drink> drinks = today();
    if (drinks.isEmpty())
        return;
    const QUuid last = drinks.last().id;
    for (qsizetype index = state_.drinks.size() - 1; index >= 0; --index) {
        if (state_.drinks[index].id == last) {
            state_.drinks.removeAt(index);
            break;
        }
    }
    touchHistory();
    save();
}

// ---- Pause, focus and meetings ------------------------------------------------------------------

void DewbellStore::pause()
{
    ChangeBatch batch(this);
    state_.pausedUntil = now_.addSecs(pauseSeconds);
    markChanged();
    dismiss();
    save();
}

void DewbellStore::resume()
{
    ChangeBatch batch(this);
    state_.preferences.enabled = true;
    state_.pausedUntil.reset();
    planKindFromNow(ReminderKind::water);
    save();
}

void DewbellStore::startFocus(std::optional<int> minutes)
{
    ChangeBatch batch(this);
    if (minutes) {
        const int length = std::clamp(*minutes, PreferenceLimits::minFocusMinutes, PreferenceLimits::maxFocusMinutes);
        state_.focusUntil = now_.addSecs(qint64(length) * 60);
        state_.focusIndefinite = false;
    } else {
        state_.focusUntil.reset();
        state_.focusIndefinite = true;
    }
    markChanged();
    if (reminderVisible_)
        dismiss();
    save();
}

void DewbellStore::startPreferredFocus()
{
    startFocus(state_.preferences.focusMinutes);
}

void DewbellStore::endFocus()
{
    ChangeBatch batch(this);
    state_.focusUntil.reset();
    state_.focusIndefinite = false;
    planMissingDeadlines();
    markChanged();
    save();
    tick(now_);
}

void DewbellStore::startMeeting(std::optional<int> minutes)
{
    ChangeBatch batch(this);
    if (minutes) {
        const int length = std::clamp(*minutes, PreferenceLimits::minFocusMinutes, PreferenceLimits::maxFocusMinutes);
        state_.meetingUntil = now_.addSecs(qint64(length) * 60);
        state_.meetingIndefinite = false;
    } else {
        state_.meetingUntil.reset();
        state_.meetingIndefinite = true;
    }
    markChanged();
    if (reminderVisible_)
        dismiss();
    setSuppressionReason(meetingReason, GateDecision::Cause::meeting);
    save();
}

void DewbellStore::endMeeting()
{
    ChangeBatch batch(this);
    state_.meetingUntil.reset();
    state_.meetingIndefinite = false;
    planMissingDeadlines();
    markChanged();
    save();
    tick(now_);
}

// ---- Absence ------------------------------------------------------------------------------------

void DewbellStore::suppressForSystemAbsence()
{
    ChangeBatch batch(this);
    suppressedForAbsence_ = true;
    if (reminderVisible_ && breakEndsAt_) {
        if (onDismiss)
            onDismiss();
    } else
        dismiss();
}

void DewbellStore::resumeAfterAbsence(const QDateTime& date)
{
    ChangeBatch batch(this);
    now_ = date;
    markChanged();
    if (!reminderVisible_ || !breakEndsAt_) {
        dismiss();
    } else if (now_ >= *breakEndsAt_) {
        finishBreak();
    } else {
        const ContextSnapshot context = contextProvider ? contextProvider() : ContextSnapshot{};
        const GateDecision decision = ReminderGate::evaluate(now_, state_, context, zone_);
        if (decision.allowed() || decision.cause == GateDecision::Cause::typing) {
            if (onPresent)
                onPresent();
        } else {
            dismiss();
        }
    }
    suppressedForAbsence_ = false;
    clearStaleDates();
    planMissingDeadlines();
    save();
}

// ---- Preferences --------------------------------------------------------------------------------

void DewbellStore::update(const std::function<void(Preferences&)>& change)
{
    ChangeBatch batch(this);
    const Preferences before = state_.preferences;
    Preferences edited = before;
    change(edited);
    state_.preferences = edited.normalized();
    markChanged();
    replanAfterPreferenceChange(before);
    if (reminderVisible_ && !preview_ && (!state_.preferences.enabled || isQuiet()))
        dismiss();
    save();
}

void DewbellStore::replanAfterPreferenceChange(const Preferences& before)
{
    const Preferences& after = state_.preferences;
    if ((after.enabled && !before.enabled) || after.intervalMinutes != before.intervalMinutes)
        planKindFromNow(ReminderKind::water);
    else if (after.quietEnabled != before.quietEnabled || after.quietStart != before.quietStart
             || after.quietEnd != before.quietEnd)
        setDeadline(ReminderKind::water, ReminderClock::nextAllowed(state_.nextDue, after, zone_));

    const BreakPreferences& was = before.breaks;
    const BreakPreferences& is = after.breaks;
    if (is.eyeEnabled != was.eyeEnabled || is.eyeIntervalMinutes != was.eyeIntervalMinutes)
        planKindFromNow(ReminderKind::eyeRest);
    if (is.movementEnabled != was.movementEnabled || is.movementIntervalMinutes != was.movementIntervalMinutes)
        planKindFromNow(ReminderKind::movement);
}

// ---- The tour -----------------------------------------------------------------------------------

void DewbellStore::presentTourIfNeeded()
{
    if (state_.tourVersion < 1 && !tourVisible_)
        presentTour();
}

void DewbellStore::presentTour()
{
    ChangeBatch batch(this);
    if (reminderVisible_)
        dismiss();
    if (onTourMenuHighlight)
        onTourMenuHighlight(false);
    tourVisible_ = true;
    markChanged();
}

void DewbellStore::highlightTourMenu(bool highlighted)
{
    if (onTourMenuHighlight)
        onTourMenuHighlight(highlighted && tourVisible_);
}

void DewbellStore::finishTour()
{
    ChangeBatch batch(this);
    tourVisible_ = false;
    markChanged();
    if (onTourMenuHighlight)
        onTourMenuHighlight(false);
    state_.tourVersion = 1;
    planAllFromNow();
    save();
}

void DewbellStore::completeTour(const QString& companionID, int interval, bool quiet, std::optional<int> focusMinutes,
                                std::optional<bool> eyeRest, std::optional<bool> movement,
                                std::optional<QString> recipient, std::optional<bool> useCharacterNicknames)
{
    ChangeBatch batch(this);
    update([&](Preferences& preferences) {
        preferences.companionID = companionID;
        preferences.intervalMinutes = interval;
        preferences.quietEnabled = quiet;
        if (focusMinutes)
            preferences.focusMinutes = *focusMinutes;
        if (eyeRest)
            preferences.breaks.eyeEnabled = *eyeRest;
        if (movement)
            preferences.breaks.movementEnabled = *movement;
        if (useCharacterNicknames)
            preferences.useCharacterNicknames = *useCharacterNicknames;
        if (recipient)
            preferences.recipient = firstCharacters(recipient->trimmed(), PreferenceLimits::maxRecipientLength);
    });
    finishTour();
}

// ---- Files the user picks -----------------------------------------------------------------------

void DewbellStore::selectProtectedApp()
{
    if (!chooseApplication)
        return;
    const auto application = chooseApplication(QStringLiteral("Choose an app to protect"));
    if (!application || application->trimmed().isEmpty())
        return;
    update([&](Preferences& preferences) { preferences.safeguards.protectedApps.append(*application); });
}

void DewbellStore::exportGiftSettings()
{
    if (!chooseSaveLocation)
        return;
    const auto path = chooseSaveLocation(QStringLiteral("Save a little care package"),
                                         QStringLiteral("A little note for you.json"), jsonFilter);
    if (!path)
        return;
    try {
        CarePackage::write(*path, state_.preferences);
        setNotice(QStringLiteral("Care package saved. Send it with the app; they can open it here. "
                                 "Your drink history stays on your computer."));
    } catch (const ImportError& error) {
        setNotice(QStringLiteral("Couldn't save the care package: ") + error.message());
    }
}

void DewbellStore::importGiftSettings()
{
    if (!chooseFileToOpen)
        return;
    const auto path = chooseFileToOpen(QStringLiteral("Open a little care package"), jsonFilter);
    if (!path)
        return;
    ChangeBatch batch(this);
    Preferences received;
    try {
        received = CarePackage::decode(LocalFiles::readBounded(*path, LocalFiles::jsonLimit), state_.preferences);
    } catch (const ImportError& error) {
        setNotice(QStringLiteral("Couldn't open that care package: ") + error.message());
        return;
    }
    update([&](Preferences& preferences) { preferences = received; });
    setNotice(QStringLiteral("Your little care package is here. You can change every setting."));
}

CharacterPack DewbellStore::importPack(const QString& folder)
{
    const CharacterPack pack = PackLibrary::import(folder, packs_, charactersFolder(directory_));
    setPacks(PackLibrary::replacingOrAppending(packs_, pack));
    return pack;
}
