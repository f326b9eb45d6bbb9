#include "store/DewbellStore.h"

#include "store/PackLibrary.h"

#include "model/AppBundle.h"
#include "model/CompanionMotion.h"
#include "model/Personality.h"
#include "model/ReminderClock.h"
#include "model/ReminderGate.h"

#include <cmath>

namespace {

constexpr int tickMilliseconds = 1000;

const QString delayedWhileTyping = QStringLiteral("Delayed while you work · 2 minutes");
const QString meetingReason = QStringLiteral("Meeting / presentation");

// The typing safeguard only delays a reminder; every other reason holds it back.
bool mayShow(const GateDecision& decision)
{
    return decision.allowed() || decision.cause == GateDecision::Cause::typing;
}

}  // namespace

DewbellStore::DewbellStore(const StoreOptions& options, QObject* parent)
    : QObject(parent),
      directory_(options.directory.value_or(AppBundle::privateFolder())),
      running_(options.running),
      persistChanges_(options.persistChanges),
      zone_(options.zone.value_or(QTimeZone::systemTimeZone())),
      updates_(options.updates),
      now_(options.openedAt.value_or(QDateTime::currentDateTimeUtc())),
      saving_({.directory = directory_, .persistChanges = persistChanges_, .stateFile = options.stateFile}, state_,
              now_, changes_, *this)
{
    std::optional<QString> settingsRefusal;
    if (!updates_) {
        const bool enabled = !options.directory.has_value() && persistChanges_;
        auto preferenceStore = enabled ? std::make_shared<DefaultsUpdatePreferenceStore>() : nullptr;
        settingsRefusal = preferenceStore ? preferenceStore->refusal() : std::nullopt;
        updates_ = new AppUpdateManager(enabled, UpdateConfiguration::fromBundle(), {}, preferenceStore, this);
    } else if (!updates_->parent()) {
        updates_->setParent(this);
    }

    load();
    loadPacks();
    if (settingsRefusal)
        window_.notice = window_.notice ? *window_.notice + QLatin1Char(' ') + *settingsRefusal : *settingsRefusal;

    if (running_) {
        timer_.setInterval(tickMilliseconds);
        timer_.setTimerType(Qt::CoarseTimer);
        connect(&timer_, &QTimer::timeout, this, [this] {
            tick(QDateTime::currentDateTimeUtc());
            emit secondPassed();
        });
        timer_.start();
    }
}

DewbellStore::~DewbellStore()
{
    if (hasUnsavedEdits())
        saveAndWait();
}

// ---- Published state ----------------------------------------------------------------------------

void DewbellStore::historyChanged()
{
    tally_.historyChanged();
    markChanged();
}

void DewbellStore::setState(const SavedState& state)
{
    state_ = state;
    historyChanged();
}

void DewbellStore::mutateState(const std::function<void(SavedState&)>& change)
{
    change(state_);
    historyChanged();
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
    if (visit_.preview() && visit_.previewCompanionID()) {
        for (const CharacterPack& pack : packs_) {
            if (pack.id == *visit_.previewCompanionID())
                return pack;
        }
    }
    return companion();
}

void DewbellStore::setNotice(const std::optional<QString>& notice)
{
    window_.notice = notice;
    markChanged();
}

void DewbellStore::setSelectedPage(const QString& page)
{
    window_.selectedPage = page;
    markChanged();
}

void DewbellStore::setTourVisible(bool visible)
{
    ChangeBatcher::Batch batch(changes_);
    window_.tourVisible = visible;
    markChanged();
    if (!visible && onTourMenuHighlight)
        onTourMenuHighlight(false);
}

void DewbellStore::setSystemFocusDescription(const QString& description)
{
    if (window_.setSystemFocusDescription(description))
        markChanged();
}

void DewbellStore::setSuppressionReason(const std::optional<QString>& reason, GateDecision::Cause cause)
{
    if (window_.setSuppression(reason, cause))
        markChanged();
}

// ---- Derived values -----------------------------------------------------------------------------

std::optional<UpcomingReminder> DewbellStore::upcomingReminder() const
{
    if (isPaused() || isFocused() || inMeeting() || isQuiet())
        return std::nullopt;
    return schedule_.earliest();
}

ReminderStatus DewbellStore::reminderStatus() const
{
    return ReminderStatus{.now = now_,
                          .zone = zone_,
                          .focus = protections_.span(ProtectionMode::focus),
                          .focused = isFocused(),
                          .inMeeting = inMeeting(),
                          .remindersOn = state_.preferences.enabled,
                          .paused = isPaused(),
                          .pausedUntil = state_.pausedUntil,
                          .quiet = isQuiet(),
                          .companionHere = visit_.visible(),
                          .heldBackReason = window_.reasonForStatus(),
                          .next = upcomingReminder()};
}

// ---- Persistence --------------------------------------------------------------------------------

void DewbellStore::load()
{
    window_.notice = saving_.load();
    state_.preferences = state_.preferences.normalized();
    protections_.clearStale(now_);
    schedule_.planAtLaunch(now_);
    tally_.historyChanged();
}

// A pack that cannot be loaded is named, so that a companion never vanishes without a word. Only a
// store that saves keeps the record of the pictures it decoded.
void DewbellStore::loadPacks()
{
    const PackScan scan = PackLibrary::load(AppBundle::path(QStringLiteral("Characters")),
                                            FileActions::charactersFolder(directory_), persistChanges_);
    packs_ = scan.packs;
    if (const QString missing = scan.notLoadedSentence(); !missing.isEmpty())
        window_.notice = window_.notice ? *window_.notice + QLatin1Char(' ') + missing : missing;
}

// ---- The engine ---------------------------------------------------------------------------------

ContextSnapshot DewbellStore::context() const
{
    return contextProvider ? contextProvider() : ContextSnapshot{};
}

void DewbellStore::tick(const QDateTime& date)
{
    ChangeBatcher::Batch batch(changes_);
    now_ = date;
    markChanged();
    visit_.walk(now_);
    const ContextSnapshot snapshot = context();
    if (window_.setContextAvailability(state_.preferences.safeguards, snapshot))
        markChanged();
    decideDueReminder(snapshot);
    saving_.retryIfDue();
}

// The one-second tick alone would end a phase up to a second late; one extra tick lands on time.
void DewbellStore::phaseBegan()
{
    const auto seconds = CompanionMotion::duration(visit_.phase(), visit_.response());
    if (!running_ || !seconds)
        return;
    const CompanionPhase phase = visit_.phase();
    const QDateTime started = visit_.phaseStarted();
    QTimer::singleShot(int(std::ceil(*seconds * 1000.0)), this, [this, phase, started] {
        if (visit_.phase() == phase && visit_.phaseStarted() == started)
            tick(QDateTime::currentDateTimeUtc());
    });
}

void DewbellStore::decideDueReminder(const ContextSnapshot& context)
{
    const GateDecision decision = ReminderGate::evaluate(now_, state_, context, zone_);
    if (!mayShow(decision)) {
        setSuppressionReason(decision.reason, decision.cause);
        return;
    }
    if (schedule_.typingDelayRuns(now_))
        setSuppressionReason(delayedWhileTyping, GateDecision::Cause::typing);
    else
        setSuppressionReason(std::nullopt);

    if (visit_.visible() || window_.tourVisible || suppressedForAbsence_ || schedule_.isHeldBack(now_))
        return;
    const auto kind = schedule_.dueKind(now_);
    if (!kind)
        return;
    if (decision.cause == GateDecision::Cause::typing && schedule_.mayDeferForTyping(*kind))
        deferForTyping(*kind);
    else
        showReminder(false, *kind);
}

void DewbellStore::deferForTyping(ReminderKind kind)
{
    schedule_.deferForTyping(kind, now_);
    markChanged();
    setSuppressionReason(delayedWhileTyping, GateDecision::Cause::typing);
    save();
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
    const GateDecision decision = ReminderGate::evaluate(now_, judged, context(), zone_);
    if (mayShow(decision))
        return true;
    setSuppressionReason(decision.reason, decision.cause);
    return false;
}

void DewbellStore::showReminder(bool isPreview, ReminderKind kind, std::optional<QString> companionID)
{
    ChangeBatcher::Batch batch(changes_);
    if (window_.tourVisible)
        return;
    if (visit_.visible()) {
        if (onPresent)
            onPresent();
        return;
    }
    if (isPreview && !previewAllowed())
        return;

    visit_.show(kind, isPreview, companionID, now_);
    if (state_.preferences.soundEnabled && playSound)
        playSound(QStringLiteral("Pop"));
    if (onPresent)
        onPresent();
}

void DewbellStore::hidePanel()
{
    if (onDismiss)
        onDismiss();
}

// ---- Water --------------------------------------------------------------------------------------

void DewbellStore::recordDrink()
{
    tally_.logDrink(now_, state_.preferences.glassML);
    schedule_.planFromNow(ReminderKind::water, now_);
    schedule_.clearTypingDelays(ReminderKind::water);
    markChanged();
    save();
}

void DewbellStore::drink()
{
    ChangeBatcher::Batch batch(changes_);
    recordDrink();
    visit_.celebrateDrink(now_);
}

void DewbellStore::undo()
{
    ChangeBatcher::Batch batch(changes_);
    if (!tally_.undoLastDrink(now_))
        return;
    markChanged();
    save();
}

// ---- Pause, focus and meetings ------------------------------------------------------------------

void DewbellStore::pause()
{
    ChangeBatcher::Batch batch(changes_);
    protections_.pauseForAnHour(now_);
    markChanged();
    dismiss();
    save();
}

void DewbellStore::resume()
{
    ChangeBatcher::Batch batch(changes_);
    protections_.resume();
    schedule_.planFromNow(ReminderKind::water, now_);
    markChanged();
    save();
}

void DewbellStore::startProtection(ProtectionMode mode, std::optional<int> minutes)
{
    protections_.start(mode, now_, minutes);
    markChanged();
    if (visit_.visible())
        dismiss();
}

void DewbellStore::endProtection(ProtectionMode mode)
{
    ChangeBatcher::Batch batch(changes_);
    protections_.end(mode);
    schedule_.planMissing(now_);
    markChanged();
    save();
    tick(now_);
}

void DewbellStore::startFocus(std::optional<int> minutes)
{
    ChangeBatcher::Batch batch(changes_);
    startProtection(ProtectionMode::focus, minutes);
    save();
}

void DewbellStore::startMeeting(std::optional<int> minutes)
{
    ChangeBatcher::Batch batch(changes_);
    startProtection(ProtectionMode::meeting, minutes);
    setSuppressionReason(meetingReason, GateDecision::Cause::meeting);
    save();
}

// ---- Absence ------------------------------------------------------------------------------------

void DewbellStore::suppressForSystemAbsence()
{
    ChangeBatcher::Batch batch(changes_);
    suppressedForAbsence_ = true;
    visit_.stepAway(now_);
}

void DewbellStore::resumeAfterAbsence(const QDateTime& date)
{
    ChangeBatcher::Batch batch(changes_);
    now_ = date;
    markChanged();
    if (!visit_.visible() || !visit_.breakEndsAt()) {
        dismiss();
    } else if (now_ >= *visit_.breakEndsAt()) {
        visit_.finishBreak(now_);
    } else if (mayShow(ReminderGate::evaluate(now_, state_, context(), zone_))) {
        if (onPresent)
            onPresent();
    } else {
        dismiss();
    }
    suppressedForAbsence_ = false;
    protections_.clearStale(now_);
    schedule_.planMissing(now_);
    markChanged();
    save();
}

// ---- Preferences --------------------------------------------------------------------------------

void DewbellStore::update(const std::function<void(Preferences&)>& change)
{
    ChangeBatcher::Batch batch(changes_);
    const Preferences before = state_.preferences;
    const bool wasQuiet = isQuiet();
    Preferences edited = before;
    change(edited);
    state_.preferences = edited.normalized();
    schedule_.replanAfterChange(before, now_);
    markChanged();
    // A preview may show while reminders are off or quiet, but not stay through the change
    // that makes them so.
    const bool switchedOff = before.enabled && !state_.preferences.enabled;
    const bool quietBegan = !wasQuiet && isQuiet();
    const bool mayStay = visit_.preview() ? !switchedOff && !quietBegan : state_.preferences.enabled && !isQuiet();
    if (visit_.visible() && !mayStay)
        dismiss();
    saving_.saveSoon();
}

// ---- The tour -----------------------------------------------------------------------------------

void DewbellStore::presentTourIfNeeded()
{
    if (window_.offersTour(state_.tourVersion))
        presentTour();
}

void DewbellStore::presentTour()
{
    ChangeBatcher::Batch batch(changes_);
    if (visit_.visible())
        dismiss();
    if (onTourMenuHighlight)
        onTourMenuHighlight(false);
    window_.tourVisible = true;
    markChanged();
}

void DewbellStore::highlightTourMenu(bool highlighted)
{
    if (onTourMenuHighlight)
        onTourMenuHighlight(highlighted && window_.tourVisible);
}

void DewbellStore::finishTour()
{
    ChangeBatcher::Batch batch(changes_);
    window_.tourVisible = false;
    markChanged();
    if (onTourMenuHighlight)
        onTourMenuHighlight(false);
    state_.tourVersion = 1;
    schedule_.planAllFromNow(now_);
    save();
}

void DewbellStore::completeTour(const QString& companionID, int interval, bool quiet, std::optional<int> focusMinutes,
                                std::optional<bool> eyeRest, std::optional<bool> movement,
                                std::optional<QString> recipient, std::optional<bool> useCharacterNicknames)
{
    ChangeBatcher::Batch batch(changes_);
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
