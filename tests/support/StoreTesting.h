#pragma once

#include "store/DewbellStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimeZone>
#include <memory>

// The one store fixture: stores on a temporary folder, not running, in a pinned zone (UTC+1, no
// daylight saving) so quiet hours and "today" never depend on the machine, driven by tick().
namespace StoreTesting {

inline QTimeZone zone()
{
    return QTimeZone(3600);
}

inline QDateTime at(int year, int month, int day, int hour, int minute = 0, int second = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), zone()).toUTC();
}

// A Monday morning, outside the default quiet hours (22:00 to 09:00).
inline QDateTime morning()
{
    return at(2024, 3, 4, 10, 0);
}

enum class Saving { on, off };

// `at`: the moment the store opens, as after a restart; none is the current time.
inline std::unique_ptr<DewbellStore> openStore(const QString& folder, Saving saving = Saving::on,
                                               std::optional<QDateTime> at = std::nullopt)
{
    QStandardPaths::setTestModeEnabled(true);
    return std::make_unique<DewbellStore>(StoreOptions{.directory = folder,
                                                       .running = false,
                                                       .persistChanges = saving == Saving::on,
                                                       .zone = zone(),
                                                       .openedAt = at});
}

// Dewbell closed and started again at `at`, on the same folder.
inline std::unique_ptr<DewbellStore> restartedAt(const QString& folder, const QDateTime& at)
{
    auto store = openStore(folder, Saving::on, at);
    store->tick(at);
    return store;
}

// A user who finished the tour at `start`: every schedule counts from then.
inline std::unique_ptr<DewbellStore> startedStore(const QString& folder, const QDateTime& start = morning(),
                                                  Saving saving = Saving::on)
{
    auto store = openStore(folder, saving);
    store->tick(start);
    store->finishTour();
    return store;
}

// A started store on a folder of its own that saves nothing: what the view tests draw.
struct TestStore {
    QTemporaryDir folder;
    std::unique_ptr<DewbellStore> store = startedStore(folder.path(), morning(), Saving::off);

    DewbellStore* operator->() const { return store.get(); }
    DewbellStore& operator*() const { return *store; }
    DewbellStore* get() const { return store.get(); }

    void useCompanion(const QString& id)
    {
        store->update([&](Preferences& preferences) { preferences.companionID = id; });
    }

    // Ticks once a second until the phase is `phase` (at most `seconds` ticks).
    bool tickUntil(CompanionPhase phase, int seconds = 30)
    {
        for (int step = 0; step < seconds && store->phase() != phase; ++step)
            store->tick(store->now().addSecs(1));
        return store->phase() == phase;
    }
};

// What "state.json" in `folder` holds right now, read as it is.
inline SavedState savedState(const QString& folder)
{
    QFile file(QDir(folder).filePath(QStringLiteral("state.json")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return decodeStateFile(file.readAll()).state;
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
