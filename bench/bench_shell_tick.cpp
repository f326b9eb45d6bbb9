#include "BenchmarkMain.h"

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
    // Mid-morning, outside quiet hours, so the countdown changes every second.
    QDateTime clock = QDateTime(QDate::currentDate(), QTime(10, 0)).toUTC();
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

// The main window open on one page for 40 minutes of its clock: the countdown changes every
// second, and the first reminder (due after 45 minutes) has not come yet.
constexpr int ticksBeforeTheFirstHello = 40 * 60;

// The main window open on one page.
void tickWithMainWindowOpen(benchmark::State& state, MainPage page)
{
    Fixture fixture;
    fixture.store->setSelectedPage(title(page));
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
BENCHMARK_CAPTURE(tickWithMainWindowOpen, your_day, MainPage::dashboard)->Iterations(ticksBeforeTheFirstHello);
BENCHMARK_CAPTURE(tickWithMainWindowOpen, the_little_crew, MainPage::crew)->Iterations(ticksBeforeTheFirstHello);
BENCHMARK_CAPTURE(tickWithMainWindowOpen, reminders, MainPage::reminders)->Iterations(ticksBeforeTheFirstHello);
BENCHMARK_CAPTURE(tickWithMainWindowOpen, focus_and_breaks, MainPage::wellbeing)->Iterations(ticksBeforeTheFirstHello);
BENCHMARK_CAPTURE(tickWithMainWindowOpen, a_note_for_you, MainPage::note)->Iterations(ticksBeforeTheFirstHello);
BENCHMARK_CAPTURE(tickWithMainWindowOpen, settings, MainPage::settings)->Iterations(ticksBeforeTheFirstHello);

int main(int argc, char** argv)
{
    BenchmarkMain::drawOffscreenFromTheBuiltBundle();
    return BenchmarkMain::run<QApplication>(argc, argv);
}
