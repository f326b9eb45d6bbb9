#pragma once

#include "model/Preferences.h"
#include "model/SavedState.h"

#include <QDateTime>
#include <QList>
#include <QLocale>
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

    // The drinks dated on the calendar day of `now`, in stored order.
    static QList<Drink> today(const QList<Drink>& drinks, const QDateTime& now,
                              const QTimeZone& zone = QTimeZone::systemTimeZone());
    // The break records dated on the calendar day of `now`, in stored order.
    static QList<BreakRecord> today(const QList<BreakRecord>& breaks, const QDateTime& now,
                                    const QTimeZone& zone = QTimeZone::systemTimeZone());

    // The time of day of `date` in `zone`, in the locale's short time format without seconds
    // (the C locale's short format is "HH:mm:ss"), with its AM/PM marker where it has one.
    static QString timeOfDay(const QDateTime& date, const QTimeZone& zone = QTimeZone::systemTimeZone(),
                             const QLocale& locale = QLocale::system());
    // A QLocale time format without its seconds field, the separator that joins the field to
    // the minutes, and the unit that names it (as in "H時mm分ss秒").
    static QString withoutSeconds(const QString& format);
};
