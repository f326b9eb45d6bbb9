#include "ReminderClock.h"

#include <algorithm>

namespace {

// Quiet hours can last at most 23 hours, so the window ends within this many hour steps,
// a daylight-saving change included.
constexpr int maximumHourSteps = 48;

bool hourIsQuiet(int hour, int start, int end)
{
    if (start == end)
        return false;
    if (start < end)
        return hour >= start && hour < end;
    return hour >= start || hour < end;
}

// The next instant after `date` at which the local clock shows a full hour.
QDateTime nextFullLocalHour(const QDateTime& date, const QTimeZone& zone)
{
    const QTime local = date.toTimeZone(zone).time();
    const qint64 intoHour = (qint64(local.minute()) * 60 + local.second()) * 1000 + local.msec();
    return date.addMSecs(3600 * 1000 - intoHour);
}

// [start, end) of the local calendar day holding `now`, as instants.
std::pair<QDateTime, QDateTime> localDayBounds(const QDateTime& now, const QTimeZone& zone)
{
    const QDate day = now.toTimeZone(zone).date();
    return {day.startOfDay(zone), day.addDays(1).startOfDay(zone)};
}

template <typename Record>
QList<Record> onLocalDay(const QList<Record>& records, const QDateTime& now, const QTimeZone& zone)
{
    const auto [start, end] = localDayBounds(now, zone);
    QList<Record> result;
    for (const Record& record : records) {
        if (record.date >= start && record.date < end)
            result.append(record);
    }
    return result;
}

} // namespace

bool ReminderClock::isQuiet(const QDateTime& date, const Preferences& preferences, const QTimeZone& zone)
{
    if (!preferences.quietEnabled || !date.isValid())
        return false;
    const int hour = date.toTimeZone(zone).time().hour();
    return hourIsQuiet(hour, std::clamp(preferences.quietStart, 0, 23), std::clamp(preferences.quietEnd, 0, 23));
}

QDateTime ReminderClock::nextAllowed(const QDateTime& date, const Preferences& preferences, const QTimeZone& zone)
{
    // Walking the local full hours, rather than building "quietEnd:00" on a calendar day, lands
    // on the first allowed instant even when a daylight-saving change skips or repeats that hour.
    QDateTime candidate = date;
    for (int step = 0; step < maximumHourSteps && isQuiet(candidate, preferences, zone); ++step)
        candidate = nextFullLocalHour(candidate, zone);
    return candidate;
}

bool ReminderClock::isSameDay(const QDateTime& a, const QDateTime& b, const QTimeZone& zone)
{
    return a.toTimeZone(zone).date() == b.toTimeZone(zone).date();
}

QList<Drink> ReminderClock::today(const QList<Drink>& drinks, const QDateTime& now, const QTimeZone& zone)
{
    return onLocalDay(drinks, now, zone);
}

QList<BreakRecord> ReminderClock::today(const QList<BreakRecord>& breaks, const QDateTime& now,
                                        const QTimeZone& zone)
{
    return onLocalDay(breaks, now, zone);
}
