#pragma once

#include "reminders/lab/LabPlayback.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <memory>
#include <optional>

class DewbellStore;

// Plays a companion's water reminder as a preview without touching the user's state: the
// companion walks in, asks, and is answered Yes, Not yet, both in turn, or waits for the user.
//
// It plays on a private store of its own (the player) on a fresh temporary folder, which never
// runs its own timer and never saves; before each playback it copies the real store's
// preferences and companions. The real store is only read, and held weakly: focus or meeting
// protection refuses a preview, and whatever else would hold a real reminder back (a locked
// screen, a safeguard) pauses it. A host draws the player's reminder itself; the player's
// onPresent and onDismiss stay unset, so the real reminder panel never shows a lab preview.
//
// While `running`, a 0.2 s timer drives a playback under way, and only then; otherwise
// nothing advances unless the host calls tick(). The temporary folder goes with the lab.
class ReminderLab : public QObject {
    Q_OBJECT
public:
    static constexpr int tickMilliseconds = 200;
    // The scripted answer comes this long into the asking phase.
    static constexpr qint64 answerDelayMilliseconds = 1200;
    // The pause between the two steps of "both".
    static constexpr qint64 gapMilliseconds = 800;

    explicit ReminderLab(DewbellStore* source, bool running = true, QObject* parent = nullptr);
    ~ReminderLab() override;

    DewbellStore* player() const { return player_.get(); }
    QString folder() const { return folder_; }

    QString selectedID() const { return selectedID_; }
    // A different companion stops a playback under way.
    void setSelectedID(const QString& id);

    QString status() const { return status_; }
    bool isPlaying() const { return isPlaying_; }
    bool isTicking() const { return ticker_.isActive(); }

    void play(LabPlayback playback, const QDateTime& date = QDateTime::currentDateTimeUtc());
    void stop();
    void tick(const QDateTime& now);

signals:
    // selectedID, status or isPlaying changed.
    void changed();

private:
    void copySourceIntoPlayer();
    bool gatePauses(const QDateTime& now);
    void startStep(LabPlayback step);
    void answerIfDue(const QDateTime& now);
    void setStatus(const QString& status);
    void setPlaying(bool playing);

    QString folder_;
    std::unique_ptr<DewbellStore> player_;
    QString selectedID_;
    QString status_ = QStringLiteral("Pick a companion. Give both reactions a little test drive.");
    bool isPlaying_ = false;
    QPointer<DewbellStore> source_;
    QTimer ticker_;
    QList<LabPlayback> queue_;
    std::optional<LabPlayback> current_;
    QDateTime nextStart_;
    bool hasResponded_ = false;
    LabPlayback playback_ = LabPlayback::interactive;
    bool running_;
};
