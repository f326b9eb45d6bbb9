#include "store/DayTally.h"

#include "model/ReminderClock.h"

void DayTally::refresh(const QDateTime& now)
{
    const QDate day = now.toTimeZone(zone_).date();
    if (current_ && day == day_)
        return;
    day_ = day;
    drinks_ = ReminderClock::today(state_.drinks, now, zone_);
    totalML_ = 0;
    for (const Drink& drink : drinks_)
        totalML_ += drink.ml;
    breaks_ = int(ReminderClock::today(state_.breakHistory, now, zone_).size());
    current_ = true;
}

const QList<Drink>& DayTally::drinks(const QDateTime& now)
{
    refresh(now);
    return drinks_;
}

qint64 DayTally::totalML(const QDateTime& now)
{
    refresh(now);
    return totalML_;
}

int DayTally::breaks(const QDateTime& now)
{
    refresh(now);
    return breaks_;
}

void DayTally::logDrink(const QDateTime& now, int ml)
{
    state_.drinks.append(Drink{QUuid::createUuid(), now, ml});
    historyChanged();
}

bool DayTally::undoLastDrink(const QDateTime& now)
{
    const QList<Drink>& today = drinks(now);
    if (today.isEmpty())
        return false;
    const QUuid last = today.last().id;
    for (qsizetype index = state_.drinks.size() - 1; index >= 0; --index) {
        if (state_.drinks[index].id == last) {
            state_.drinks.removeAt(index);
            break;
        }
    }
    historyChanged();
    return true;
}
