#include "shell/MenuBarView.h"
#include "store/DewbellStore.h"
#include "window/MainView.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

struct Fixture {
    Fixture()
    {
        QStandardPaths::setTestModeEnabled(true);
        store = std::make_unique<DewbellStore>(
            StoreOptions{.directory = folder.path(), .running = false, .persistChanges = false});
        store->tick(clock);
        store->finishTour();
    }

    void tickOnce()
    {
        clock = clock.addSecs(1);
        store->tick(clock);
    }

    QTemporaryDir folder;
    QDateTime clock = QDateTime::currentDateTimeUtc();
    std::unique_ptr<DewbellStore> store;
};

void tickWithViewsHidden(benchmark::State& state)
{
    Fixture fixture;
    MenuBarView popover(fixture.store.get());
    MainView window(fixture.store.get());
    for (auto _ : state)
        fixture.tickOnce();
}

void tickWithPopoverOpen(benchmark::State& state)
{
    Fixture fixture;
    MenuBarView popover(fixture.store.get());
    popover.show();
    for (auto _ : state) {
        fixture.tickOnce();
        QApplication::processEvents();
    }
}

void tickWithMainWindowOpen(benchmark::State& state)
{
    Fixture fixture;
    MainView window(fixture.store.get());
    window.resize(960, 735);
    window.show();
    for (auto _ : state) {
        fixture.tickOnce();
        QApplication::processEvents();
    }
}

}  // namespace

BENCHMARK(tickWithViewsHidden);
BENCHMARK(tickWithPopoverOpen);
BENCHMARK(tickWithMainWindowOpen);

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!qEnvironmentVariableIsSet("DEWBELL_BUNDLE_DIR"))
        qputenv("DEWBELL_BUNDLE_DIR", DEWBELL_DEFAULT_BUNDLE);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
