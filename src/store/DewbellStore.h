#pragma once

#include "store/AppUpdateManager.h"
#include "store/ChangeBatcher.h"
#include "store/CompanionVisit.h"
#include "store/DayTally.h"
#include "store/FileActions.h"
#include "store/ProtectionModes.h"
#include "store/ReminderSchedule.h"
#include "store/ReminderStatus.h"
#include "store/StateSaving.h"
#include "store/WindowState.h"

#include "model/CharacterPack.h"
#include "model/CompanionPhase.h"
#include "model/ContextSnapshot.h"
#include "model/Preferences.h"
#include "model/ReminderClock.h"
#include "model/ReminderGate.h"
#include "model/ReminderKind.h"
#include "model/SavedState.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimeZone>
#include <QTimer>
#include <QUuid>
#include <algorithm>
#include <functional>
#include <memory>
#include <optional>

// How a store is opened.
struct StoreOptions {
    // The folder of "state.json" and of imported packs; none means AppBundle::privateFolder().
    std::optional<QString> directory = std::nullopt;
    // Starts the one-second tick timer.
    bool running = false;
    // Writes "state.json" (and lets loading keep an unreadable file aside).
    bool persistChanges = false;
    // Without one the store makes its own manager, enabled only on the default folder with
    // persistence on; a manager handed in becomes the store's child unless it already has a parent.
    AppUpdateManager* updates = nullptr;
    // The time zone of every calendar rule (quiet hours, "today"); none means the system zone.
    std::optional<QTimeZone> zone = std::nullopt;
    // How "state.json" is read and written: its size limit, and the file layer's answer about a
    // path (tests hand in errors they cannot stage).
    StateFileOptions stateFile = {};
    // The store's clock until the first tick: what loading counts as now (a pause or focus that
    // ended, deadlines that passed while Dewbell was closed); none means the current time.
    std::optional<QDateTime> openedAt = std::nullopt;
};

// Dewbell's engine and the one source of truth for every view. It owns the saved state, runs
// the one-second tick, decides which reminder is due, walks the companion through its phases,
// records drinks, answers and breaks, runs pause, focus and meeting protection, saves after
// every change, and loads and imports character packs and care packages.
//
// Everything lives on the main thread. Every published change is followed by changed(); views
// re-render on it. The store never opens a window or plays a sound itself: the shell hands it
// closures (the "on…" callbacks, contextProvider and the choose…/playSound seams). Unset
// closures do nothing.
//
// The store is the one face; the work happens in rooms behind it, each testable on its own:
// ReminderSchedule (deadlines, quiet-hour pushes, snoozes, typing delays), CompanionVisit (the
// phases, answers, escalation and the break under way), ProtectionModes (pause, focus, meeting),
// WindowState (page, tour, notice and the reasons reminders wait), DayTally (today's figures and
// the drink log), ReminderStatus (the countdown and status line) and FileActions (what the user
// picks in a dialog). The store holds what they share: the saved state, the clock and the zone;
// it saves and announces changes.
class DewbellStore : public QObject, private VisitHost, private SaveHost {
    Q_OBJECT

public:
    explicit DewbellStore(const StoreOptions& options, QObject* parent = nullptr);
    ~DewbellStore() override;

    // ---- Published state -------------------------------------------------------------------

    const SavedState& state() const { return state_; }
    // Replaces the whole saved state; nothing is saved (call save() to persist).
    void setState(const SavedState& state);
    // Changes the saved state in place; nothing is saved.
    void mutateState(const std::function<void(SavedState&)>& change);

    const Preferences& preferences() const { return state_.preferences; }

    // Built-in packs, then the bundle's, then the imported ones, in load order.
    const QList<CharacterPack>& packs() const { return packs_; }
    void setPacks(const QList<CharacterPack>& packs);
    // The pack whose id is preferences().companionID, else the first pack.
    CharacterPack companion() const;
    // The pack to draw: during a preview naming a loaded pack, that pack; else companion().
    CharacterPack presentedCompanion() const;

    QDateTime now() const { return now_; }
    // The zone of every calendar rule and of every time of day the store's texts show.
    const QTimeZone& zone() const { return zone_; }
    bool reminderVisible() const { return visit_.visible(); }
    ReminderKind reminderKind() const { return visit_.kind(); }
    QUuid reminderID() const { return visit_.id(); }
    CompanionPhase phase() const { return visit_.phase(); }
    QDateTime phaseStarted() const { return visit_.phaseStarted(); }
    // celebrating after yes, declined after not yet, none before an answer.
    std::optional<CompanionPhase> response() const { return visit_.response(); }
    // Escalation stage 0...2 of the water reminder on show.
    int stage() const { return visit_.stage(); }
    bool celebrating() const { return visit_.phase() == CompanionPhase::celebrating; }
    bool preview() const { return visit_.preview(); }
    std::optional<QString> previewCompanionID() const { return visit_.previewCompanionID(); }
    std::optional<QDateTime> breakEndsAt() const { return visit_.breakEndsAt(); }
    // Whole seconds from now() to breakEndsAt(), rounded up, never below 0.
    int breakRemaining() const { return visit_.breakRemaining(now_); }

    std::optional<QString> notice() const { return window_.notice; }
    void setNotice(const std::optional<QString>& notice);
    // Why the last save failed, or why nothing can be saved at all, until a save succeeds. Unlike
    // the notice it cannot be closed: the popover and the tray show it where drinks are logged.
    std::optional<QString> saveFailure() const { return saving_.failure(); }

    // "Your day" initially; the main window shows the page with this title.
    QString selectedPage() const { return window_.selectedPage; }
    void setSelectedPage(const QString& page);

    bool tourVisible() const { return window_.tourVisible; }
    // Setting it to false also stops the status item's highlight.
    void setTourVisible(bool visible);

    // Why reminders are held back at this moment; none when nothing holds them back.
    std::optional<QString> suppressionReason() const { return window_.suppressionReason(); }

    QString systemFocusDescription() const { return window_.systemFocusDescription(); }
    void setSystemFocusDescription(const QString& description);

    // Which readings the switched-on safeguards lacked on the last tick, as one sentence.
    std::optional<QString> contextAvailability() const { return window_.contextAvailability(); }

    AppUpdateManager* updates() const { return updates_; }

    // The folder holding "state.json".
    QString directory() const { return directory_; }

    // ---- Derived values ---------------------------------------------------------------------

    bool isPaused() const { return protections_.isPaused(now_); }
    bool isFocused() const { return protections_.isOn(ProtectionMode::focus, now_); }
    bool inMeeting() const { return protections_.isOn(ProtectionMode::meeting, now_); }
    bool isQuiet() const { return ReminderClock::isQuiet(now_, state_.preferences, zone_); }
    // The drinks dated on the calendar day of now(), in stored order.
    QList<Drink> today() const { return tally_.drinks(now_); }
    qint64 totalML() const { return tally_.totalML(now_); }
    int goalML() const { return state_.preferences.dailyGoal * state_.preferences.glassML; }
    // totalML / goalML, never above 1.
    double progress() const { return std::min(1.0, double(totalML()) / double(std::max(goalML(), 1))); }
    int completedBreaksToday() const { return tally_.breaks(now_); }
    // "Focus mode", "Protected", "On pause", "Sleepy time", "Any moment" or "mm:ss".
    QString countdown() const { return reminderStatus().countdown(); }
    // One line describing the reminder state.
    QString status() const { return reminderStatus().line(); }
    // None while paused, in focus, in a meeting or in quiet hours.
    std::optional<UpcomingReminder> upcomingReminder() const;

    // ---- Actions ----------------------------------------------------------------------------

    // One engine step at `date`: sets the clock, walks the companion through its phases and
    // shows a reminder that is due.
    void tick(const QDateTime& date);
    // Applies a change of preferences, clamps every field, re-plans what the change affects,
    // hides a reminder that may no longer show and saves soon: edits that come a keystroke at a
    // time are written together once the user pauses (see StateSaving::saveSoon()).
    void update(const std::function<void(Preferences&)>& change);

    void showReminder(bool isPreview, ReminderKind kind, std::optional<QString> companionID = std::nullopt);
    void answerYes()
    {
        inBatch([this] { visit_.answerYes(now_); });
    }
    void decline()
    {
        inBatch([this] { visit_.decline(now_); });
    }
    void snooze()
    {
        inBatch([this] { visit_.snooze(now_); });
    }
    void dismiss()
    {
        inBatch([this] { visit_.dismiss(now_); });
    }
    void pause();
    void resume();
    void drink();
    void undo();
    void startBreak()
    {
        inBatch([this] { visit_.startBreak(now_); });
    }
    void skipBreak()
    {
        inBatch([this] { visit_.skipBreak(now_); });
    }
    void extendBreak(int seconds = 20) { visit_.extendBreak(seconds); }
    // None: until ended; otherwise minutes clamped to 5...240.
    void startFocus(std::optional<int> minutes);
    void startPreferredFocus() { startFocus(state_.preferences.focusMinutes); }
    void endFocus() { endProtection(ProtectionMode::focus); }
    void startMeeting(std::optional<int> minutes);
    void endMeeting() { endProtection(ProtectionMode::meeting); }
    // The user went away (sleep, lock, inactive session): hide the companion, keep a running break.
    void suppressForSystemAbsence();
    // The user is back at `date`.
    void resumeAfterAbsence(const QDateTime& date);
    // Writes "state.json" at once, taking any edit still waiting along, unless persistence is off
    // or the file already holds the state. A long history is written in the background, so that
    // the click never waits for it. A failure becomes the notice, and the write is tried again on
    // the clock until one succeeds, which takes the notice down.
    void save() { saving_.save(); }
    // As save(), but on this thread however long the history, returning once the state is on
    // disk: for quitting.
    void saveAndWait() { saving_.saveAndWait(); }
    // True while a change is not on disk yet: an edit waits for the user to pause, or a write runs
    // in the background.
    bool hasUnsavedEdits() const { return saving_.hasUnsavedChanges(); }

    void presentTourIfNeeded();
    void presentTour();
    void highlightTourMenu(bool highlighted);
    void finishTour();
    void completeTour(const QString& companionID, int interval, bool quiet,
                      std::optional<int> focusMinutes = std::nullopt, std::optional<bool> eyeRest = std::nullopt,
                      std::optional<bool> movement = std::nullopt, std::optional<QString> recipient = std::nullopt,
                      std::optional<bool> useCharacterNicknames = std::nullopt);

    // Asks chooseApplication for an app and adds its desktop-file id to the protected apps.
    void selectProtectedApp()
    {
        inBatch([this] { files_.selectProtectedApp(); });
    }
    // Asks chooseSaveLocation and writes the care package; the outcome becomes the notice.
    void exportGiftSettings()
    {
        inBatch([this] { files_.exportGiftSettings(); });
    }
    // Asks chooseFileToOpen and applies the care package; the outcome becomes the notice.
    void importGiftSettings()
    {
        inBatch([this] { files_.importGiftSettings(); });
    }

    // Validates the pack folder, copies it into the private "Characters" folder and adds it to
    // packs() (replacing an imported pack with the same id). Throws ImportError with a sentence
    // for the user; a built-in or bundled id is refused.
    CharacterPack importPack(const QString& folder) { return files_.importPack(folder); }

    // ---- Closures set by the owner ------------------------------------------------------------

    // A fresh snapshot with the readings the safeguards ask for; unset means the empty snapshot.
    std::function<ContextSnapshot()> contextProvider;
    // Asks the desktop for access to its Do Not Disturb state.
    std::function<void()> onRequestSystemFocus;
    // true: make the status item pulse (only while the tour is open); false: stop.
    std::function<void(bool)> onTourMenuHighlight;
    // Show and hide the reminder panel.
    std::function<void()> onPresent;
    std::function<void()> onDismiss;

    // ---- Seams to the desktop (dialogs and sound) -----------------------------------------------

    // A file to open, or none when cancelled. nameFilter is a Qt file-dialog filter.
    std::function<std::optional<QString>(const QString& title, const QString& nameFilter)> chooseFileToOpen;
    // Where to save, or none when cancelled.
    std::function<std::optional<QString>(const QString& title, const QString& proposedName, const QString& nameFilter)>
        chooseSaveLocation;
    // The chosen application's desktop-file id, or none.
    std::function<std::optional<QString>(const QString& title)> chooseApplication;
    // Plays a bundled sound by name ("Pop").
    std::function<void(const QString& name)> playSound;

signals:
    void changed();
    // The running store's one-second timer has fired and ticked. Whatever else has to look at
    // the time every second does it here rather than waking the process on a timer of its own.
    void secondPassed();

private:
    // Runs one action whose changes are announced once, when it ends.
    template<typename Action>
    void inBatch(const Action& action)
    {
        ChangeBatcher::Batch batch(changes_);
        action();
    }

    void load();
    void loadPacks();
    void markChanged() { changes_.changed(); }
    void setSuppressionReason(const std::optional<QString>& reason,
                              GateDecision::Cause cause = GateDecision::Cause::none);
    ReminderStatus reminderStatus() const;
    ContextSnapshot context() const;

    void decideDueReminder(const ContextSnapshot& context);
    void deferForTyping(ReminderKind kind);
    bool previewAllowed();
    void startProtection(ProtectionMode mode, std::optional<int> minutes);
    void endProtection(ProtectionMode mode);

    // What the companion's visit asks of the store.
    void visitChanged() override { markChanged(); }
    void saveState() override { save(); }
    void showNotice(const std::optional<QString>& notice) override { setNotice(notice); }
    void withdrawNotice(const QString& notice) override
    {
        if (window_.notice == notice)
            setNotice(std::nullopt);
    }
    void historyChanged() override;
    void recordDrink() override;
    void hidePanel() override;
    void phaseBegan() override;

    QString directory_;
    bool running_;
    bool persistChanges_;
    QTimeZone zone_;
    AppUpdateManager* updates_;
    QTimer timer_;

    SavedState state_;
    QList<CharacterPack> packs_;
    QDateTime now_;

    // The rooms behind the store's face; the first three read and write state_.
    ChangeBatcher changes_{[this] { emit changed(); }};
    StateSaving saving_;
    ReminderSchedule schedule_{state_, zone_};
    ProtectionModes protections_{state_};
    mutable DayTally tally_{state_, zone_};
    CompanionVisit visit_{state_, schedule_, *this, now_};
    WindowState window_;
    FileActions files_{*this};
    // In memory only: whether the user is away.
    bool suppressedForAbsence_ = false;
};
