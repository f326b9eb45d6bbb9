#pragma once

#include "store/DewbellStore.h"

#include <QDateTime>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimeZone>
#include <memory>

// Stores on a temporary folder with a pinned zone (UTC+1, no daylight saving), driven by tick().
namespace StoreTesting {

inline QDateTime at(int year, int month, int day, int hour, int minute = 0, int second = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), QTimeZone(3600)).toUTC();
}

// A Monday morning, outside the default quiet hours (22:00 to 09:00).
inline QDateTime morning()
{
    return at(2024, 3, 4, 10, 0);
}

inline std::unique_ptr<DewbellStore> openStore(const QString& folder, bool persist = true)
{
    QStandardPaths::setTestModeEnabled(true);
    return std::make_unique<DewbellStore>(StoreOptions{
        .directory = folder, .running = false, .persistChanges = persist, .updates = nullptr, .zone = QTimeZone(3600)});
}

// A user who finished the tour at `start`: every schedule counts from then.
inline std::unique_ptr<DewbellStore> startedStore(const QString& folder, const QDateTime& start = morning())
{
    auto store = openStore(folder);
    store->tick(start);
    store->finishTour();
    return store;
}

inline std::function<ContextSnapshot()> readings(std::function<void(ContextSnapshot&)> set)
{
    return [set] {
        ContextSnapshot context;
        set(context);
        return context;
    };
}

// Whether a reminder is still away one second before `time` and on screen at `time`.
inline bool showsFirstAt(DewbellStore& store, const QDateTime& time)
{
    store.tick(time.addSecs(-1));
    if (store.reminderVisible())
        return false;
    store.tick(time);
    return store.reminderVisible();
}

inline void runUntil(DewbellStore& store, const QDateTime& until)
{
    for (QDateTime time = store.now().addSecs(1); time <= until; time = time.addSecs(1))
        store.tick(time);
}

}  // namespace StoreTesting
