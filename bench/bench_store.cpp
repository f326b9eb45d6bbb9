// The store's one-second tick and its launch-and-save for a long-time user: three years of
// drinks and breaks, every safeguard switched on and every reading available.
#include "BenchmarkMain.h"
#include "LongHistory.h"

#include "store/DewbellStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

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
    DewbellStore store(
        {.directory = folder.path(), .running = false, .persistChanges = false, .zone = LongHistory::zone()});
    store.setState(LongHistory::threeYears());
    store.contextProvider = busyDesktop;
    QDateTime now = LongHistory::afternoon();
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
        DewbellStore seed(
            {.directory = folder.path(), .running = false, .persistChanges = true, .zone = LongHistory::zone()});
        seed.setState(LongHistory::threeYears());
        seed.save();
    }
    const qint64 size = QFileInfo(QDir(folder.path()).filePath(QStringLiteral("state.json"))).size();
    int saves = 0;
    for (auto _ : loop) {
        DewbellStore store(
            {.directory = folder.path(), .running = false, .persistChanges = true, .zone = LongHistory::zone()});
        // A file that already holds the state is not written again: a setting changes first.
        store.update([&saves](Preferences& p) { p.loveNote = QString::number(++saves); });
        store.saveAndWait();
        if (store.notice() || store.state().drinks.size() != LongHistory::drinkCount)
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
    return BenchmarkMain::run<QCoreApplication>(argc, argv);
}
