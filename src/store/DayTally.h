#pragma once

#include "model/SavedState.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QTimeZone>

// Today's drinks and breaks, and the drink log. Views read today's figures on every tick; with
// years of history a fresh scan each second would cost more than the whole tick, so the figures
// are kept until the day changes or the history does.
class DayTally {
public:
    DayTally(SavedState& state, const QTimeZone& zone) : state_(state), zone_(zone) { }

    void logDrink(const QDateTime& now, int ml);
    // Removes the last drink of today; false when none was logged today.
    bool undoLastDrink(const QDateTime& now);

    // Call after any change to the drinks or break records.
    void historyChanged() { current_ = false; }

    const QList<Drink>& drinks(const QDateTime& now);
    // A sum of many drinks: in 64 bits no file can make it overflow.
    qint64 totalML(const QDateTime& now);
    int breaks(const QDateTime& now);

private:
    void refresh(const QDateTime& now);

    SavedState& state_;
    QTimeZone zone_;
    bool current_ = false;
    QDate day_;
    QList<Drink> drinks_;
    qint64 totalML_ = 0;
    int breaks_ = 0;
};
