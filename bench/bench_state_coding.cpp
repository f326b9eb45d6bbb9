// Saving and loading "state.json" for a long-time user: three years of drinks and breaks.
#include "model/SavedState.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int drinkCount = 30000;
constexpr int breakCount = 30000;

SavedState threeYearsOfHistory()
{
    SavedState state;
    const QDateTime start(QDate(2023, 1, 1), QTime(8, 0), Qt::UTC);
    const qint64 threeYearsSeconds = 3LL * 365 * 24 * 3600;
    state.drinks.reserve(drinkCount);
    for (int i = 0; i < drinkCount; ++i)
        state.drinks.append(
            {QUuid::createUuid(), start.addMSecs(threeYearsSeconds * 1000 / drinkCount * i + 137), 250});
    state.breakHistory.reserve(breakCount);
    for (int i = 0; i < breakCount; ++i) {
        const ReminderKind kind = i % 3 == 0 ? ReminderKind::movement : ReminderKind::eyeRest;
        state.breakHistory.append({QUuid::createUuid(), kind,
                                   start.addMSecs(threeYearsSeconds * 1000 / breakCount * i + 911),
                                   kind == ReminderKind::movement ? 300 : 20});
    }
    state.nextDue = start.addYears(3);
    return state;
}

void encodeState(benchmark::State& loop)
{
    const SavedState state = threeYearsOfHistory();
    qint64 size = 0;
    for (auto _ : loop) {
        const QByteArray bytes = encodeStateFile(state);
        size = bytes.size();
        benchmark::DoNotOptimize(bytes.constData());
    }
    loop.counters["file_KiB"] = double(size) / 1024.0;
    loop.SetBytesProcessed(loop.iterations() * size);
}

void decodeState(benchmark::State& loop)
{
    const QByteArray bytes = encodeStateFile(threeYearsOfHistory());
    for (auto _ : loop) {
        const DecodedState decoded = decodeStateFile(bytes);
        if (decoded.state.drinks.size() != drinkCount || decoded.droppedRecords != 0)
            loop.SkipWithError("history was lost in decoding");
        benchmark::DoNotOptimize(decoded.state.drinks.constData());
    }
    loop.counters["file_KiB"] = double(bytes.size()) / 1024.0;
    loop.SetBytesProcessed(loop.iterations() * bytes.size());
}

}  // namespace

BENCHMARK(encodeState)->Unit(benchmark::kMillisecond);
BENCHMARK(decodeState)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
