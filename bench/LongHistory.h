#pragma once

// A long-time user's saved state, shared by the benchmarks: three years of drinks and breaks,
// every safeguard switched on, ending mid-afternoon on its last day.
#include "model/SavedState.h"

#include <QTimeZone>

namespace LongHistory {

inline constexpr int drinkCount = 30000;
inline constexpr int breakCount = 30000;

// A zone with daylight-saving rules, as most users' system zones have.
inline QTimeZone zone()
{
    const QTimeZone berlin("Europe/Berlin");
    return berlin.isValid() ? berlin : QTimeZone(3600);
}

// The moment the benchmarks run at: mid-afternoon on the last day of the history.
inline QDateTime afternoon()
{
    return QDateTime(QDate(2026, 3, 4), QTime(15, 0), zone()).toUTC();
}

inline SavedState threeYears()
{
    SavedState state;
    const QDateTime end = afternoon();
    const QDateTime start = end.addYears(-3);
    const qint64 spanMSecs = start.msecsTo(end);
    state.drinks.reserve(drinkCount);
    for (int i = 0; i < drinkCount; ++i)
        state.drinks.append({QUuid::createUuid(), start.addMSecs(spanMSecs / drinkCount * i), 250});
    state.breakHistory.reserve(breakCount);
    for (int i = 0; i < breakCount; ++i) {
        const ReminderKind kind = i % 3 == 0 ? ReminderKind::movement : ReminderKind::eyeRest;
        state.breakHistory.append({QUuid::createUuid(), kind, start.addMSecs(spanMSecs / breakCount * i + 911),
                                   kind == ReminderKind::movement ? 300 : 20});
    }
    Preferences& preferences = state.preferences;
    preferences.quietEnabled = true;
    preferences.breaks.eyeEnabled = true;
    preferences.breaks.movementEnabled = true;
    preferences.safeguards = {.flowDelay = true,
                              .pauseWhenIdle = true,
                              .idleMinutes = 10,
                              .microphoneGuard = true,
                              .mirrorGuard = true,
                              .protectedApps = {QStringLiteral("org.gnome.Terminal")},
                              .followSystemFocus = true};
    state.nextDue = end.addSecs(5 * 3600);
    state.nextEyeDue = end.addSecs(5 * 3600 + 60);
    state.nextMovementDue = end.addSecs(5 * 3600 + 120);
    state.tourVersion = 1;
    return state;
}

}  // namespace LongHistory
