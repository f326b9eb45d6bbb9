// The store's one-second tick and its launch-and-save for a long-time user: three years of
// drinks and breaks, every safeguard switched on and every reading available.
#include "store/DewbellStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int drinkCount = 30000;
constexpr int breakCount = 30000;

// A zone with daylight-saving rules, as most users' system zones have.
QTimeZone zone()
{
    const QTimeZone berlin("Europe/Berlin");
    return berlin.isValid() ? berlin : QTimeZone(3600);
}

// The moment the benchmarks tick at: mid-afternoon on the last day of the history.
QDateTime afternoon()
{
    return QDateTime(QDate(2026, 3, 4), QTime(15, 0), zone()).toUTC();
}

SavedState threeYearsOfHistory()
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

// Every reading present and none holding reminders back.
ContextSnapshot busyDesktop()
{
    return {false, false, 30.0, 30.0, false, false, QStringLiteral("org.gnome.TextEditor"), false};
}

// A bundle folder without packs, so that launching measures the saved state alone.
void useEmptyBundle(const QTemporaryDir& bundle)
{
    qputenv("DEWBELL_BUNDLE_DIR", QFile::encodeName(bundle.path()));
}

// What the open popover and dashboard read on every change.
void readWhatTheViewsShow(const DewbellStore& store)
{
    benchmark::DoNotOptimize(store.today().size());
    benchmark::DoNotOptimize(store.totalML());
    benchmark::DoNotOptimize(store.progress());
    benchmark::DoNotOptimize(store.completedBreaksToday());
    benchmark::DoNotOptimize(store.countdown());
    benchmark::DoNotOptimize(store.status());
    benchmark::DoNotOptimize(store.upcomingReminder());
}

void tickWithThreeYearsOfHistory(benchmark::State& loop, bool viewsRead)
{
    QTemporaryDir folder;
    useEmptyBundle(folder);
    DewbellStore store({.directory = folder.path(), .running = false, .persistChanges = false, .zone = zone()});
    store.setState(threeYearsOfHistory());
    store.contextProvider = busyDesktop;
    QDateTime now = afternoon();
    for (auto _ : loop) {
        now = now.addMSecs(1);
        store.tick(now);
        if (viewsRead)
            readWhatTheViewsShow(store);
    }
    if (store.reminderVisible())
        loop.SkipWithError("a reminder came due during the benchmark");
}

void launchAndSaveWithThreeYearsOfHistory(benchmark::State& loop)
{
    QTemporaryDir folder;
    useEmptyBundle(folder);
    {
        DewbellStore seed({.directory = folder.path(), .running = false, .persistChanges = true, .zone = zone()});
        seed.setState(threeYearsOfHistory());
        seed.save();
    }
    const qint64 size = QFileInfo(QDir(folder.path()).filePath(QStringLiteral("state.json"))).size();
    for (auto _ : loop) {
        DewbellStore store({.directory = folder.path(), .running = false, .persistChanges = true, .zone = zone()});
        store.save();
        if (store.notice() || store.state().drinks.size() != drinkCount)
            loop.SkipWithError("the history did not survive launch and save");
    }
    loop.counters["file_KiB"] = double(size) / 1024.0;
}

}  // namespace

BENCHMARK_CAPTURE(tickWithThreeYearsOfHistory, alone, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(tickWithThreeYearsOfHistory, and_what_the_views_read, true)->Unit(benchmark::kMicrosecond);
BENCHMARK(launchAndSaveWithThreeYearsOfHistory)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
