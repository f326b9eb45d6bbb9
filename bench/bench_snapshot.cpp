#include "platform/SystemContext.h"
#include "support/FakeReadings.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

void takeSnapshots(benchmark::State& state, SystemContext& context, bool flags)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(context.snapshot({.activity = flags,
                                                   .idle = flags,
                                                   .microphone = flags,
                                                   .mirroring = flags,
                                                   .selectedApps = flags,
                                                   .followFocus = flags}));
}

void snapshotAllFlagsFakes(benchmark::State& state)
{
    Fakes fakes;
    SystemContext context(std::move(fakes.all));
    takeSnapshots(state, context, true);
}

void snapshotNoFlagsFakes(benchmark::State& state)
{
    Fakes fakes;
    SystemContext context(std::move(fakes.all));
    takeSnapshots(state, context, false);
}

// The first snapshot opens the connections; the loop measures the steady state.
void snapshotAllFlagsThisDesktop(benchmark::State& state)
{
    SystemContext context;
    const SnapshotOptions everything{.activity = true,
                                     .idle = true,
                                     .microphone = true,
                                     .mirroring = true,
                                     .selectedApps = true,
                                     .followFocus = true};
    context.snapshot(everything);
    takeSnapshots(state, context, true);
    const ContextSnapshot last = context.snapshot(everything);
    state.SetLabel(QStringLiteral("display %1, idle %2, microphone %3, front %4")
                       .arg(qEnvironmentVariableIsEmpty("DISPLAY") ? QStringLiteral("none") : QStringLiteral("X11"))
                       .arg(last.inputIdleSeconds ? QStringLiteral("read") : QStringLiteral("absent"))
                       .arg(last.microphoneActive ? QStringLiteral("read") : QStringLiteral("absent"))
                       .arg(last.frontmostBundleID.value_or(QStringLiteral("absent")))
                       .toStdString());
}

}  // namespace

BENCHMARK(snapshotAllFlagsFakes);
BENCHMARK(snapshotNoFlagsFakes);
BENCHMARK(snapshotAllFlagsThisDesktop);

int main(int argc, char** argv)
{
    // The readings need an application object; with a display Qt's screens take part too.
    std::unique_ptr<QCoreApplication> application;
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        application = std::make_unique<QCoreApplication>(argc, argv);
    else
        application = std::make_unique<QGuiApplication>(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
