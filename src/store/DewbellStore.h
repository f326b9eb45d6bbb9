#pragma once

#include "store/AppUpdateManager.h"

#include "model/CharacterPack.h"
#include "model/CompanionPhase.h"
#include "model/ContextSnapshot.h"
#include "model/Preferences.h"
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
#include <array>
#include <functional>
#include <memory>
#include <optional>

class StateFile;

// The next reminder and when it is due.
struct UpcomingReminder {
    ReminderKind kind = ReminderKind::water;
    QDateTime date;

    bool operator==(const UpcomingReminder&) const = default;
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
class DewbellStore : public QObject {
    Q_OBJECT

public:
    // `directory`: the folder of "state.json" and of imported packs; none means
    // AppBundle::privateFolder(). `running` starts the one-second tick timer. `persistChanges`
    // writes "state.json" (and lets loading keep an unreadable file aside). Without `updates`
    // the store makes its own manager, enabled only on the default folder with persistence on;
    // a manager handed in becomes the store's child unless it already has a parent. `zone` is
    // the time zone of every calendar rule (quiet hours, "today"); none means the system zone.
    DewbellStore(std::optional<QString> directory, bool running, bool persistChanges,
                 AppUpdateManager* updates = nullptr, std::optional<QTimeZone> zone = std::nullopt,
                 QObject* parent = nullptr);
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
    bool reminderVisible() const { return reminderVisible_; }
    ReminderKind reminderKind() const { return reminderKind_; }
    QUuid reminderID() const { return reminderID_; }
    CompanionPhase phase() const { return phase_; }
    QDateTime phaseStarted() const { return phaseStarted_; }
    // celebrating after yes, declined after not yet, none before an answer.
    std::optional<CompanionPhase> response() const { return response_; }
    // Escalation stage 0...2 of the water reminder on show.
    int stage() const { return stage_; }
    bool celebrating() const { return phase_ == CompanionPhase::celebrating; }
    bool preview() const { return preview_; }
    std::optional<QString> previewCompanionID() const { return previewCompanionID_; }
    std::optional<QDateTime> breakEndsAt() const { return breakEndsAt_; }
    // Whole seconds from now() to breakEndsAt(), rounded up, never below 0.
    int breakRemaining() const;

    std::optional<QString> notice() const { return notice_; }
    void setNotice(const std::optional<QString>& notice);

    // "Your day" initially; the main window shows the page with this title.
    QString selectedPage() const { return selectedPage_; }
    void setSelectedPage(const QString& page);

    bool tourVisible() const { return tourVisible_; }
    // Setting it to false also stops the status item's highlight.
    void setTourVisible(bool visible);

    // Why reminders are held back at this moment; none when nothing holds them back.
    std::optional<QString> suppressionReason() const { return suppressionReason_; }

    QString systemFocusDescription() const { return systemFocusDescription_; }
    void setSystemFocusDescription(const QString& description);

    // Which readings the switched-on safeguards lacked on the last tick, as one sentence.
    std::optional<QString> contextAvailability() const { return contextAvailability_; }

    AppUpdateManager* updates() const { return updates_; }

    // The folder holding "state.json".
    QString directory() const { return directory_; }

    // ---- Derived values ---------------------------------------------------------------------

    bool isPaused() const;
    bool isFocused() const;
    bool inMeeting() const;
    bool isQuiet() const;
    // The drinks dated on the calendar day of now(), in stored order.
    QList<Drink> today() const;
    int totalML() const;
    int goalML() const;
    // totalML / goalML, never above 1.
    double progress() const;
    int completedBreaksToday() const;
    // "Focus mode", "Protected", "On pause", "Sleepy time", "Any moment" or "mm:ss".
    QString countdown() const;
    // One line describing the reminder state.
    QString status() const;
    // None while paused, in focus, in a meeting or in quiet hours.
    std::optional<UpcomingReminder> upcomingReminder() const;

    // ---- Actions ----------------------------------------------------------------------------

    // One engine step at `date`: sets the clock, walks the companion through its phases and
    // shows a reminder that is due.
    void tick(const QDateTime& date);
    // Applies a change of preferences, clamps every field, re-plans what the change affects,
    // hides a reminder that may no longer show and saves.
    void update(const std::function<void(Preferences&)>& change);

    void showReminder(bool isPreview, ReminderKind kind, std::optional<QString> companionID = std::nullopt);
    void answerYes();
    void decline();
    void snooze();
    void dismiss();
    void pause();
    void resume();
    void drink();
    void undo();
    void startBreak();
    void skipBreak();
    void extendBreak(int seconds = 20);
    // None: until ended; otherwise minutes clamped to 5...240.
    void startFocus(std::optional<int> minutes);
    void startPreferredFocus();
    void endFocus();
    void startMeeting(std::optional<int> minutes);
    void endMeeting();
    // The user went away (sleep, lock, inactive session): hide the companion, keep a running break.
    void suppressForSystemAbsence();
    // The user is back at `date`.
    void resumeAfterAbsence(const QDateTime& date);
    // Writes "state.json" unless persistence is off; a failure becomes the notice.
    void save();

    void presentTourIfNeeded();
    void presentTour();
    void highlightTourMenu(bool highlighted);
    void finishTour();
    void completeTour(const QString& companionID, int interval, bool quiet,
                      std::optional<int> focusMinutes = std::nullopt, std::optional<bool> eyeRest = std::nullopt,
                      std::optional<bool> movement = std::nullopt, std::optional<QString> recipient = std::nullopt,
                      std::optional<bool> useCharacterNicknames = std::nullopt);

    // Asks chooseApplication for an app and adds its desktop-file id to the protected apps.
    void selectProtectedApp();
    // Asks chooseSaveLocation and writes the care package; the outcome becomes the notice.
    void exportGiftSettings();
    // Asks chooseFileToOpen and applies the care package; the outcome becomes the notice.
    void importGiftSettings();

    // Validates the pack folder, copies it into the private "Characters" folder and adds it to
    // packs() (replacing an imported pack with the same id). Throws ImportError with a sentence
    // for the user; a built-in or bundled id is refused.
    CharacterPack importPack(const QString& folder);

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

private:
    class ChangeBatch;
    friend class ChangeBatch;
    struct DayCache;

    void load();
    void markChanged();
    void touchHistory();
    void setSuppressionReason(const std::optional<QString>& reason,
                              GateDecision::Cause cause = GateDecision::Cause::none);
    QString timeOfDay(const QDateTime& date) const;

    std::optional<QDateTime> deadline(ReminderKind kind) const;
    void setDeadline(ReminderKind kind, const std::optional<QDateTime>& date);
    bool isEnabled(ReminderKind kind) const;
    int intervalSeconds(ReminderKind kind) const;
    int breakLengthSeconds(ReminderKind kind) const;
    static bool isBreakKind(ReminderKind kind) { return kind != ReminderKind::water; }
    void planKindFromNow(ReminderKind kind);
    void planAllFromNow();
    void planMissingDeadlines();
    void clearStaleDates();
    void replanAfterPreferenceChange(const Preferences& before);

    void beginPhase(CompanionPhase phase);
    void scheduleEndOfPhase();
    void walkPhases();
    void updateContextAvailability(const ContextSnapshot& context);
    std::optional<ReminderKind> dueKind() const;
    void decideDueReminder(const ContextSnapshot& context);
    void deferForTyping(ReminderKind kind);
    void clearTypingDelays(ReminderKind kind);
    bool previewAllowed();
    void postpone(ReminderKind kind);
    bool stopBreakWithoutRecord();
    void finishBreak();
    void recordDrink();
    void refreshDayCache() const;

    QString directory_;
    bool running_;
    bool persistChanges_;
    QTimeZone zone_;
    AppUpdateManager* updates_;
    std::unique_ptr<StateFile> stateFile_;
    QTimer timer_;

    SavedState state_;
    QList<CharacterPack> packs_;
    QDateTime now_;
    bool reminderVisible_ = false;
    ReminderKind reminderKind_ = ReminderKind::water;
    QUuid reminderID_;
    CompanionPhase phase_ = CompanionPhase::hidden;
    QDateTime phaseStarted_;
    std::optional<CompanionPhase> response_;
    int stage_ = 0;
    bool preview_ = false;
    std::optional<QString> previewCompanionID_;
    std::optional<QDateTime> breakStartedAt_;
    std::optional<QDateTime> breakEndsAt_;
    std::optional<QString> notice_;
    QString selectedPage_ = QStringLiteral("Your day");
    bool tourVisible_ = false;
    std::optional<QString> suppressionReason_;
    GateDecision::Cause suppressionCause_ = GateDecision::Cause::none;
    QString systemFocusDescription_ = QStringLiteral("Optional · not connected");
    std::optional<QString> contextAvailability_;

    // In memory only: reminders held back after a dismissal, the typing delays per kind, and
    // whether the user is away.
    std::optional<QDateTime> cooldownUntil_;
    std::array<int, 3> typingDelays_{};
    // When the last typing delay runs out; its reason shows until then.
    std::optional<QDateTime> typingDelayUntil_;
    bool suppressedForAbsence_ = false;

    // Today's drinks and breaks, rebuilt only when the day or the history changes.
    quint64 historyGeneration_ = 0;
    mutable std::unique_ptr<DayCache> dayCache_;

    int batchDepth_ = 0;
    bool pendingChange_ = false;
};
