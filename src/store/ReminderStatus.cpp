#include "store/ReminderStatus.h"

#include "model/ReminderClock.h"

QString ReminderStatus::countdown() const
{
    if (focused)
        return QStringLiteral("Focus mode");
    if (inMeeting)
        return QStringLiteral("Protected");
    if (paused)
        return QStringLiteral("On pause");
    if (quiet)
        return QStringLiteral("Sleepy time");
    const qint64 seconds = next ? now.msecsTo(next->date) / 1000 : 0;
    if (seconds < 1)
        return QStringLiteral("Any moment");
    return QString::asprintf("%02lld:%02lld", seconds / 60, seconds % 60);
}

QString ReminderStatus::line() const
{
    const auto timeOfDay = [this](const QDateTime& date) { return ReminderClock::timeOfDay(date, zone); };
    if (focused) {
        if (focus.indefinite || !focus.until)
            return QStringLiteral("Focus · until you end it");
        return QStringLiteral("Focus until ") + timeOfDay(*focus.until);
    }
    if (inMeeting)
        return QStringLiteral("Meeting / presentation protection");
    if (heldBackReason)
        return *heldBackReason;
    if (!remindersOn)
        return QStringLiteral("Reminders are off");
    if (paused)
        return QStringLiteral("Paused until ") + timeOfDay(*pausedUntil);
    if (quiet)
        return QStringLiteral("Quiet hours · sleep well");
    if (companionHere)
        return QStringLiteral("Your little friend is here");
    if (next)
        return QStringLiteral("Next hello around ") + timeOfDay(next->date);
    return QStringLiteral("Reminders are off");
}
