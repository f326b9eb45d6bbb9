// "state.json" of someone who kept every reminder kind on at the default rhythm for thirty
// years: from 09:00 to 22:00 a drink every 45 minutes, eye rest every 20 and movement every 60,
// 70 records a day, 767,000 in all (70 MB). Measures the file's coding alone and a store's whole
// launch and save, in time and in the peak memory they add.
#include "BenchmarkMain.h"
#include "PeakMemory.h"

#include "store/DewbellStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

SavedState thirtyYears()
{
    SavedState state;
    const QDateTime firstMorning(QDate(1996, 3, 4), QTime(9, 0), Qt::UTC);
    for (int day = 0; day < 10958; ++day) {
        const QDateTime morning = firstMorning.addDays(day);
        for (int minute = 0; minute < 13 * 60; minute += 45)
            state.drinks.append({QUuid::createUuid(), morning.addMSecs(minute * 60000LL + 417), 250});
        for (int minute = 0; minute < 13 * 60; minute += 20)
            state.breakHistory.append(
                {QUuid::createUuid(), ReminderKind::eyeRest, morning.addMSecs(minute * 60000LL + 91733), 20});
        for (int minute = 0; minute < 13 * 60; minute += 60)
            state.breakHistory.append(
                {QUuid::createUuid(), ReminderKind::movement, morning.addMSecs(minute * 60000LL + 305119), 300});
    }
    state.preferences.breaks.eyeEnabled = true;
    state.preferences.breaks.movementEnabled = true;
    state.tourVersion = 1;
    return state;
}

const SavedState& history()
{
    static const SavedState state = thirtyYears();
    return state;
}

void encodeThirtyYears(benchmark::State& loop)
{
    const SavedState& state = history();
    qint64 size = 0;
    for (auto _ : loop) {
        const QByteArray bytes = encodeStateFile(state);
        size = bytes.size();
        benchmark::DoNotOptimize(bytes.constData());
    }
    loop.counters["file_MB"] = double(size) / 1e6;
    loop.counters["peak_added_MiB"] =
        PeakMemory::addedPeakMiB([&] { benchmark::DoNotOptimize(encodeStateFile(state).size()); });
}

void decodeThirtyYears(benchmark::State& loop)
{
    const QByteArray bytes = encodeStateFile(history());
    const qsizetype records = history().drinks.size() + history().breakHistory.size();
    for (auto _ : loop) {
        const DecodedState decoded = decodeStateFile(bytes);
        if (decoded.state.drinks.size() + decoded.state.breakHistory.size() != records)
            loop.SkipWithError("history was lost in decoding");
    }
    loop.counters["records"] = double(records);
    loop.counters["peak_added_MiB"] =
        PeakMemory::addedPeakMiB([&] { benchmark::DoNotOptimize(decodeStateFile(bytes).state.drinks.size()); });
}

void launchAndSaveThirtyYears(benchmark::State& loop)
{
    QTemporaryDir folder;
    // A bundle without packs, so that launching measures the saved state alone.
    qputenv("DEWBELL_BUNDLE_DIR", QFile::encodeName(folder.path()));
    const StoreOptions options{.directory = folder.filePath(QStringLiteral("data")),
                               .running = false,
                               .persistChanges = true,
                               .updates = nullptr,
                               .zone = QTimeZone(3600)};
    {
        DewbellStore seed(options);
        seed.setState(history());
        seed.save();
    }
    int saves = 0;
    const auto launchAndSave = [&] {
        DewbellStore store(options);
        // A file that already holds the state is not written again: a setting changes first.
        store.update([&saves](Preferences& p) { p.loveNote = QString::number(++saves); });
        store.saveAndWait();
        if (store.notice() || store.state().drinks.size() != history().drinks.size())
            loop.SkipWithError("the history did not survive launch and save");
    };
    for (auto _ : loop)
        launchAndSave();
    loop.counters["peak_added_MiB"] = PeakMemory::addedPeakMiB(launchAndSave);
}

}  // namespace

BENCHMARK(encodeThirtyYears)->Unit(benchmark::kMillisecond);
BENCHMARK(decodeThirtyYears)->Unit(benchmark::kMillisecond);
BENCHMARK(launchAndSaveThirtyYears)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv)
{
    return BenchmarkMain::run<QCoreApplication>(argc, argv);
}
