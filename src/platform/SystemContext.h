#pragma once

#include "model/ContextSnapshot.h"
#include "platform/SystemReadings.h"

#include <QObject>
#include <QString>

#include <functional>

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

    // Takes only the readings that the flags ask for; the rest stay absent (mirroring: false).
    ContextSnapshot snapshot(bool activity, bool idle, bool microphone, bool mirroring, bool selectedApps,
                             bool followFocus);

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
