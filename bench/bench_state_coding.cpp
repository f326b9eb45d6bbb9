// Saving and loading "state.json" for a long-time user: three years of drinks and breaks.
#include "LongHistory.h"

#include "model/SavedState.h"

#include <benchmark/benchmark.h>

namespace {

void encodeState(benchmark::State& loop)
{
    const SavedState state = LongHistory::threeYears();
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
    const QByteArray bytes = encodeStateFile(LongHistory::threeYears());
    for (auto _ : loop) {
        const DecodedState decoded = decodeStateFile(bytes);
        if (decoded.state.drinks.size() != LongHistory::drinkCount || decoded.droppedRecords != 0)
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
