#pragma once

#include "model/ContextSnapshot.h"
#include "platform/SystemReadings.h"

#include <QObject>
#include <QString>

#include <functional>

struct SafeguardPreferences;

// Which of the costly readings a snapshot takes; the others stay absent (mirroring: false).
struct SnapshotOptions {
    bool activity = false;      // seconds since the last key press or click
    bool idle = false;          // seconds since any input
    bool microphone = false;    // a microphone in use
    bool mirroring = false;     // a mirrored screen
    bool selectedApps = false;  // the front application
    bool followFocus = false;   // the desktop's Do Not Disturb

    // The readings the user's safeguards need.
    static SnapshotOptions forSafeguards(const SafeguardPreferences& safeguards);

    bool operator==(const SnapshotOptions&) const = default;
};

// Knows what the computer and its user are doing: tells its owner when the user goes away
// (locks, sleeps, switches sessions) and comes back, takes context snapshots for the reminder
// gate, and keeps a sentence on the link to the desktop's Do Not Disturb.
// Lives on the main thread.
class SystemContext : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool sleeping READ sleeping NOTIFY changed)
    Q_PROPERTY(bool sessionInactive READ sessionInactive NOTIFY changed)
    Q_PROPERTY(QString focusStatusText READ focusStatusText NOTIFY changed)

public:
    // Watches this desktop.
    explicit SystemContext(QObject* parent = nullptr);
    // Watches the given readings (tests hand in fakes).
    explicit SystemContext(SystemReadings readings, QObject* parent = nullptr);
    ~SystemContext() override;

    // The system or the displays are asleep.
    bool sleeping() const { return sleeping_; }
    // Another user's session has the screen.
    bool sessionInactive() const { return sessionInactive_; }
    QString focusStatusText() const { return focusStatusText_; }

    // Plain flags: changing them notifies nobody.
    bool locked() const { return locked_; }
    bool systemSleeping() const { return systemSleeping_; }
    bool displaySleeping() const { return displaySleeping_; }

    // Called on the main thread when the user goes away and when they are back.
    std::function<void()> onSuppress;
    std::function<void()> onResume;

    // Takes only the readings that the options ask for.
    ContextSnapshot snapshot(const SnapshotOptions& options);

    // Looks at what only the clocks tell (a sleep where logind cannot say); call once a second.
    void checkClocks();

    // Asks the desktop's Do Not Disturb for the sentence. Nothing asks at construction: a
    // desktop whose Do Not Disturb is not followed is asked only when settings show the sentence.
    void refreshFocusStatus();
    // Looks for the desktop's Do Not Disturb again, when this build offers following it.
    void requestFocusAccess();

signals:
    void changed();

private:
    void startWatching();
    void setSystemSleeping(bool asleep);
    void setDisplaySleeping(bool asleep);
    void setLocked(bool isLocked);
    void setSessionActive(bool active);
    void refreshSleep();
    // Away (locked, asleep, another session in front): reminders are held back; back again:
    // they may resume.
    void followPresence(bool away);
    // Stores `value` and emits changed() when it differs from what was there.
    template<typename T>
    void announceChange(T& field, const T& value);
    void resumeIfActive();
    void suppress();
    std::optional<bool> refreshFocus();
    void setFocusStatusText(const QString& text);

    SystemReadings readings_;
    bool sleeping_ = false;
    bool sessionInactive_ = false;
    bool locked_ = false;
    bool systemSleeping_ = false;
    bool displaySleeping_ = false;
    QString focusStatusText_;
};
