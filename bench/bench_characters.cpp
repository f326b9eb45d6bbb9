// One frame of the water reminder's walk-in, for each way a companion is drawn: the
// companion is painted in its frame on the 410 x 760 canvas, moved sideways as it walks.
// The code-drawn companions draw each frame of their walk cycle once and copy it after
// (walkingFrame); walkingFrameFirstTime measures the drawing of a frame not seen before.
// Run: build/bench/bench_characters (the build tree's bundle is used unless
// DEWBELL_BUNDLE_DIR points elsewhere).
#include "BenchmarkMain.h"

#include "characters/BearBuddy.h"
#include "characters/BuddyView.h"
#include "characters/PoseCache.h"
#include "characters/SpriteBuddy.h"
#include "model/AppBundle.h"
#include "model/CompanionMotion.h"
#include "model/LocalFiles.h"

#include <QGuiApplication>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

constexpr QSize canvas{410, 760};
constexpr double frameSeconds = 1.0 / 60;

CharacterPack pack(const QString& id)
{
    for (const CharacterPack& builtIn : CharacterPack::builtIns()) {
        if (builtIn.id == id)
            return builtIn;
    }
    return LocalFiles::validatePack(AppBundle::path(QStringLiteral("Characters/") + id));
}

// The companion's frame on the canvas, as the reminder surface lays it out.
QRectF companionFrame(const CharacterPack& companion, double elapsed)
{
    const QSizeF size = companion.isHumanSprite() ? QSizeF(280, 325)
                        : companion.isBear()      ? QSizeF(250, 290)
                                                  : QSizeF(210, 218);
    const double offset = CompanionMotion::horizontalOffset(CompanionPhase::entering, elapsed, std::nullopt);
    return {(canvas.width() - size.width()) / 2 + offset, canvas.height() - 20 - size.height(), size.width(),
            size.height()};
}

void drawCompanion(QPainter& painter, const CharacterPack& companion, double elapsed)
{
    const QRectF frame = companionFrame(companion, elapsed);
    const CompanionMoment moment{CompanionPhase::entering, std::nullopt, elapsed};
    if (companion.kind == QStringLiteral("sprite"))
        SpriteBuddy::paint(painter, frame, companion, moment);
    else if (companion.isBear())
        BearBuddy::paint(painter, frame, companion.kind, moment);
    else
        BuddyView::paint(painter, frame, companion, false, elapsed);
}

enum class Poses { cached, drawnAfresh };

// Each frame of a walk-in, drawn into a canvas-sized picture; drawn afresh, every pose is
// drawn as on a reminder's first walk instead of copied from the pose cache.
void walkingFrame(benchmark::State& state, const QString& id, Poses poses)
{
    const CharacterPack companion = pack(id);
    QImage target(canvas, QImage::Format_ARGB32_Premultiplied);
    double elapsed = 0;
    for (auto _ : state) {
        if (poses == Poses::drawnAfresh)
            PoseCache::clear();
        target.fill(Qt::transparent);
        QPainter painter(&target);
        drawCompanion(painter, companion, elapsed);
        painter.end();
        benchmark::DoNotOptimize(target.constBits());
        elapsed = std::fmod(elapsed + frameSeconds, CompanionMotion::enteringSeconds);
    }
    state.SetLabel(id.toStdString());
}

}  // namespace

BENCHMARK_CAPTURE(walkingFrame, drop, QStringLiteral("bloop"), Poses::cached)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(walkingFrame, sprout, QStringLiteral("sprout"), Poses::cached)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(walkingFrame, bear_viru, QStringLiteral("viru"), Poses::cached)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(walkingFrame, bear_vuzo, QStringLiteral("vuzo"), Poses::cached)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(walkingFrame, drop_first_time, QStringLiteral("bloop"), Poses::drawnAfresh)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(walkingFrame, bear_viru_first_time, QStringLiteral("viru"), Poses::drawnAfresh)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(walkingFrame, sprite_human, QStringLiteral("vossik-fan"), Poses::cached)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(walkingFrame, sprite_bear, QStringLiteral("zuv"), Poses::cached)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    BenchmarkMain::drawOffscreenFromTheBuiltBundle();
    return BenchmarkMain::run<QGuiApplication>(argc, argv);
}
