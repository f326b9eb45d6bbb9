// A history at the state file's bound (128 MiB, about 1.6 million records): how long the main
// thread works for a drink, for the drink that moves the oldest records to an archive file, and
// for opening a file twice the bound. The drinks' figures are the main thread's CPU time from
// the click until the write it started has landed, the handling of its outcome included; a write
// in the background costs the interface nothing while it runs. `click_ms` is the time until the
// click returns.
#include "BenchmarkMain.h"
#include "PeakMemory.h"

#include "model/LocalFiles.h"
#include "store/DewbellStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <ctime>

namespace {

const QTimeZone zone(3600);

// The benchmarks' clock, well inside the years whose dates take nine digits in the file.
QDateTime afternoon()
{
    return QDateTime(QDate(2026, 3, 4), QTime(15, 0), zone).toUTC();
}

// A drink and an eye-rest break every 10 minutes, ending the day before afternoon(), until the
// file holds `bytes`. Whole seconds keep every record of one kind the same length, so that the
// file grows by the same number of bytes with each drink.
SavedState historyOf(qint64 bytes)
{
    constexpr qint64 bytesPerPair = 72 + 94;
    const qint64 pairs = bytes / bytesPerPair;
    SavedState state;
    state.tourVersion = 1;
    state.drinks.reserve(pairs);
    state.breakHistory.reserve(pairs);
    const QDateTime last = afternoon().addDays(-1);
    for (qint64 pair = pairs; pair > 0; --pair) {
        const QDateTime date = last.addSecs(-pair * 600);
        state.drinks.append({QUuid::createUuid(), date, 250});
        state.breakHistory.append({QUuid::createUuid(), ReminderKind::eyeRest, date.addSecs(60), 20});
    }
    state.nextDue = afternoon().addSecs(3600);
    return state;
}

// `state` topped up with drinks until one more would carry its file past `bound`.
SavedState fullUpTo(SavedState state, qint64 bound)
{
    const qint64 size = encodeStateFile(state).size();
    state.drinks.append({QUuid::createUuid(), afternoon().addDays(-1), 250});
    const qint64 perDrink = encodeStateFile(state).size() - size;
    for (qint64 room = bound - size - perDrink; room >= perDrink; room -= perDrink)
        state.drinks.append({QUuid::createUuid(), afternoon().addDays(-1), 250});
    return state;
}

StoreOptions optionsFor(const QTemporaryDir& folder)
{
    // A bundle without packs, so that opening a store measures the saved state alone.
    qputenv("DEWBELL_BUNDLE_DIR", QFile::encodeName(folder.path()));
    return {.directory = folder.filePath(QStringLiteral("data")),
            .running = false,
            .persistChanges = true,
            .zone = zone,
            .openedAt = afternoon()};
}

void writeStateFile(const StoreOptions& options, const SavedState& state)
{
    LocalFiles::ensurePrivateFolder(*options.directory);
    LocalFiles::writeAtomically(QDir(*options.directory).filePath(QStringLiteral("state.json")),
                                encodeStateFile(state));
}

void waitForWrites(DewbellStore& store)
{
    while (store.hasUnsavedEdits())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

double threadSeconds()
{
    timespec time{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
    return double(time.tv_sec) + double(time.tv_nsec) / 1e9;
}

double wallSeconds()
{
    timespec time{};
    clock_gettime(CLOCK_MONOTONIC, &time);
    return double(time.tv_sec) + double(time.tv_nsec) / 1e9;
}

// Runs `click`, waits for the write it started, and reports the main thread's CPU time for both
// as the iteration's time; adds the time until `click` returned to `clickSeconds`.
template<typename Click>
void timeOnTheMainThread(benchmark::State& loop, DewbellStore& store, double& clickSeconds, Click click)
{
    const double cpuBefore = threadSeconds();
    const double wallBefore = wallSeconds();
    click();
    clickSeconds += wallSeconds() - wallBefore;
    waitForWrites(store);
    loop.SetIterationTime(threadSeconds() - cpuBefore);
}

void removeArchives(const StoreOptions& options)
{
    QDir folder(*options.directory);
    for (const QString& name : folder.entryList({QStringLiteral("state-history-until-*.json")}, QDir::Files))
        folder.remove(name);
}

qsizetype records(const SavedState& state)
{
    return state.drinks.size() + state.breakHistory.size();
}

// A drink logged with a history 4 MiB short of the bound: the drink, its save, and (with
// `viewsRead`) the day's figures that the popover and the dashboard read afterwards.
void drinkNearTheBound(benchmark::State& loop, bool viewsRead)
{
    QTemporaryDir folder;
    const StoreOptions options = optionsFor(folder);
    writeStateFile(options, historyOf(LocalFiles::stateLimit - 4 * LocalFiles::MiB));
    DewbellStore store(options);
    double clickSeconds = 0;
    for (auto _ : loop) {
        timeOnTheMainThread(loop, store, clickSeconds, [&] {
            store.drink();
            if (viewsRead) {
                benchmark::DoNotOptimize(store.totalML());
                benchmark::DoNotOptimize(store.completedBreaksToday());
            }
        });
    }
    loop.counters["records"] = double(records(store.state()));
    loop.counters["click_ms"] = clickSeconds * 1000 / double(loop.iterations());
}

// The drink that carries the file past the bound, so that the oldest quarter of the history
// moves to an archive file.
void drinkThatSplitsTheFile(benchmark::State& loop)
{
    QTemporaryDir folder;
    const StoreOptions options = optionsFor(folder);
    const SavedState full = fullUpTo(historyOf(LocalFiles::stateLimit), LocalFiles::stateLimit);
    DewbellStore store(options);
    double clickSeconds = 0;
    for (auto _ : loop) {
        removeArchives(options);
        store.setState(full);
        timeOnTheMainThread(loop, store, clickSeconds, [&] { store.drink(); });
        if (records(store.state()) > records(full))
            loop.SkipWithError("the history did not move to an archive");
    }
    loop.counters["records"] = double(records(full) + 1);
    loop.counters["click_ms"] = clickSeconds * 1000 / double(loop.iterations());
}

// The records of every archive file beside the state.
qsizetype archivedRecords(const StoreOptions& options)
{
    const QDir folder(*options.directory);
    qsizetype count = 0;
    for (const QString& name : folder.entryList({QStringLiteral("state-history-until-*.json")}, QDir::Files)) {
        QFile archive(folder.filePath(name));
        if (archive.open(QIODevice::ReadOnly))
            count += records(decodeStateFile(archive.readAll()).state);
    }
    return count;
}

// Opening a file twice the bound that came from elsewhere (wall time). `records_kept` counts the
// records of the opened store and of the archive files beside it.
void openTwiceTheBound(benchmark::State& loop)
{
    QTemporaryDir folder;
    const StoreOptions options = optionsFor(folder);
    const SavedState large = historyOf(2 * LocalFiles::stateLimit);
    qsizetype kept = 0;
    double peak = 0;
    for (auto _ : loop) {
        loop.PauseTiming();
        removeArchives(options);
        writeStateFile(options, large);
        loop.ResumeTiming();
        peak = PeakMemory::addedPeakMiB([&] {
            DewbellStore store(options);
            waitForWrites(store);
            kept = records(store.state());
        });
        loop.PauseTiming();
        kept += archivedRecords(options);
        loop.ResumeTiming();
    }
    loop.counters["records"] = double(records(large));
    loop.counters["records_kept"] = double(kept);
    loop.counters["peak_added_MiB"] = peak;
}

}  // namespace

BENCHMARK_CAPTURE(drinkNearTheBound, alone, false)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(20);
BENCHMARK_CAPTURE(drinkNearTheBound, and_what_the_views_read, true)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(20);
BENCHMARK(drinkThatSplitsTheFile)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(openTwiceTheBound)->Unit(benchmark::kMillisecond)->Iterations(2);

int main(int argc, char** argv)
{
    return BenchmarkMain::run<QCoreApplication>(argc, argv);
}
