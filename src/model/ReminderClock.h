#pragma once

#include "Preferences.h"
#include "SavedState.h"

#include <QDateTime>
#include <QList>
#include <QTimeZone>

// Calendar rules in the user's local time. The zone is a parameter so that tests can pin one;
// the application passes the system zone.
struct ReminderClock {
    // Inside quiet hours [quietStart, quietEnd) local hours; the window may wrap past
    // midnight. Equal start and end means an empty window: never quiet. Never quiet while
    // quietEnabled is off.
    static bool isQuiet(const QDateTime& date, const Preferences& preferences,
                        const QTimeZone& zone = QTimeZone::systemTimeZone());

    // The date itself when it is not quiet, else the end of the quiet window it lies in.
    static QDateTime nextAllowed(const QDateTime& date, const Preferences& preferences,
                                 const QTimeZone& zone = QTimeZone::systemTimeZone());

    static bool isSameDay(const QDateTime& a, const QDateTime& b,
                          const QTimeZone& zone = QTimeZone::systemTimeZone());

    // The drinks dated on the calendar day of `now`, in stored order.
    static QList<Drink> today(const QList<Drink>& drinks, const QDateTime& now,
                              const QTimeZone& zone = QTimeZone::systemTimeZone());
    // The break records dated on the calendar day of `now`, in stored order.
    static QList<BreakRecord> today(const QList<BreakRecord>& breaks, const QDateTime& now,
                                    const QTimeZone& zone = QTimeZone::systemTimeZone());
};
