// One frame of the water reminder while the companion walks in, at scale 1: the whole canvas,
// and the part the panel repaints on each tick of the walk (where the companion was and is).
// Each frame draws the companion's pose afresh, as a tick that shows a new pose does; a sprite
// tick that keeps its cell only moves the picture already drawn (walkStepSameCell).
// Run: build/bench/bench_reminder_frame (the build tree's bundle is used unless
// DEWBELL_BUNDLE_DIR points elsewhere).
#include "BenchmarkMain.h"

#include "reminders/PictureButton.h"
#include "reminders/ReminderView.h"
#include "store/DewbellStore.h"

#include <QApplication>
#include <QPainter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

struct WalkingReminder {
    QTemporaryDir folder;
    DewbellStore store{{.directory = folder.path(), .running = false, .persistChanges = false}};
    std::unique_ptr<ReminderView> view;

    WalkingReminder(const QString& companion, double elapsed)
    {
        store.tick(QDateTime(QDate(2024, 3, 4), QTime(11, 0), Qt::UTC));
        store.finishTour();
        store.update([&](Preferences& preferences) { preferences.companionID = companion; });
        store.showReminder(false, ReminderKind::water);
        view = std::make_unique<ReminderView>(&store, elapsed);
    }
};

void wholeCanvas(benchmark::State& state, const QString& companion)
{
    WalkingReminder reminder(companion, 1.0);
    QImage target(reminder.view->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        target.fill(Qt::transparent);
        reminder.view->companion()->redraw();
        reminder.view->render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
    state.SetLabel(companion.toStdString());
}

// A tick of the walk moves the companion a few points: the panel repaints its old and new place.
void walkStep(benchmark::State& state, const QString& companion, bool newPose)
{
    WalkingReminder reminder(companion, 1.0);
    const QRect frame = reminder.view->companion()->geometry();
    const QRegion exposed = QRegion(frame) + QRegion(frame.translated(3, 0));
    QImage target(reminder.view->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        if (newPose)
            reminder.view->companion()->redraw();
        reminder.view->render(&target, exposed.boundingRect().topLeft(), exposed);
        benchmark::DoNotOptimize(target.constBits());
    }
    state.SetLabel(companion.toStdString());
}

void walkStepSameCell(benchmark::State& state, const QString& companion, bool newPose)
{
    walkStep(state, companion, newPose);
}

}  // namespace

BENCHMARK_CAPTURE(wholeCanvas, human_sprite, QStringLiteral("vossik-fan"))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(wholeCanvas, sprite_bear, QStringLiteral("zuv"))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(wholeCanvas, code_bear, QStringLiteral("viru"))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(wholeCanvas, drop, QStringLiteral("bloop"))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(walkStep, human_sprite, QStringLiteral("vossik-fan"), true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(walkStep, code_bear, QStringLiteral("viru"), true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(walkStep, drop, QStringLiteral("bloop"), true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(walkStepSameCell, human_sprite, QStringLiteral("vossik-fan"), false)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    BenchmarkMain::drawOffscreenFromTheBuiltBundle();
    QStandardPaths::setTestModeEnabled(true);
    return BenchmarkMain::run<QApplication>(argc, argv);
}
