// One keystroke on the note page of a long-time user (three years of drinks and breaks saved),
// from the key through the store's update() and the write it asks for to the repainted page:
// in the love-note editor and in the "FROM" name field. Each benchmark reports the 50th and
// 99th percentile and the slowest keystroke in milliseconds.
//
// "burst" types as fast as the page allows; the write of the edits waits for a pause and is
// reported on its own (write_ms). "typist" types ten keys a second for half a minute, so the
// writes happen where a real typist's pauses and bursts put them, and a keystroke that has to
// wait for one counts from the moment its key was pressed.
#include "store/DewbellStore.h"
#include "window/MainView.h"

#include "BenchmarkMain.h"
#include "LongHistory.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {

struct NotePageSession {
    NotePageSession()
    {
        QStandardPaths::setTestModeEnabled(true);
        store = std::make_unique<DewbellStore>(StoreOptions{.directory = folder.path(),
                                                            .running = false,
                                                            .persistChanges = true,
                                                            .updates = nullptr,
                                                            .zone = LongHistory::zone()});
        store->setState(LongHistory::threeYears());
        store->tick(LongHistory::afternoon());
        store->save();
        store->setSelectedPage(QStringLiteral("A note for you"));
        view = std::make_unique<MainView>(store.get());
        view->resize(960, 735);
        view->show();
        QApplication::processEvents();
    }

    QWidget* target(const QString& name) const
    {
        if (name == QLatin1String("loveNote"))
            return view->findChild<QPlainTextEdit*>(name);
        return view->findChild<QWidget*>(name)->findChild<QLineEdit*>();
    }

    QTemporaryDir folder;
    std::unique_ptr<DewbellStore> store;
    std::unique_ptr<MainView> view;
};

// A letter, then Backspace, so the text keeps its length however long the run.
void press(QWidget* target, int count)
{
    const bool letter = count % 2 == 0;
    const Qt::Key key = letter ? Qt::Key_A : Qt::Key_Backspace;
    const QString text = letter ? QStringLiteral("a") : QString();
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &down);
    QApplication::sendEvent(target, &up);
    QApplication::processEvents();  // the repaint
}

// Runs the event loop (and so any write that falls due) until `due` on `clock`.
void waitUntil(const QElapsedTimer& clock, qint64 dueNanoseconds)
{
    const qint64 left = (dueNanoseconds - clock.nsecsElapsed()) / 1000000;
    if (left <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(int(left), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

void report(benchmark::State& loop, std::vector<double> milliseconds)
{
    std::sort(milliseconds.begin(), milliseconds.end());
    const auto at = [&](double share) { return milliseconds[size_t(share * double(milliseconds.size() - 1))]; };
    loop.counters["p50_ms"] = at(0.50);
    loop.counters["p99_ms"] = at(0.99);
    loop.counters["max_ms"] = milliseconds.back();
}

void burst(benchmark::State& loop, const QString& targetName)
{
    NotePageSession session;
    QWidget* target = session.target(targetName);
    target->setFocus();
    std::vector<double> milliseconds;
    QElapsedTimer clock;
    for (auto _ : loop) {
        clock.start();
        press(target, int(milliseconds.size()));
        const double elapsed = double(clock.nsecsElapsed()) / 1e6;
        loop.SetIterationTime(elapsed / 1000);
        milliseconds.push_back(elapsed);
    }
    report(loop, milliseconds);
    clock.start();
    session.store->save();
    loop.counters["write_ms"] = double(clock.nsecsElapsed()) / 1e6;
}

void typist(benchmark::State& loop, const QString& targetName)
{
    constexpr qint64 paceNanoseconds = 100 * 1000000LL;
    NotePageSession session;
    QWidget* target = session.target(targetName);
    target->setFocus();
    std::vector<double> milliseconds;
    QElapsedTimer clock;
    clock.start();
    qint64 due = 0;
    for (auto _ : loop) {
        due += paceNanoseconds;
        waitUntil(clock, due);
        press(target, int(milliseconds.size()));
        const double elapsed = double(clock.nsecsElapsed() - due) / 1e6;
        loop.SetIterationTime(elapsed / 1000);
        milliseconds.push_back(elapsed);
    }
    report(loop, milliseconds);
}

}  // namespace

BENCHMARK_CAPTURE(burst, love_note, QStringLiteral("loveNote"))
    ->Iterations(400)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(burst, from_field, QStringLiteral("senderField"))
    ->Iterations(400)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(typist, love_note, QStringLiteral("loveNote"))
    ->Iterations(300)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(typist, from_field, QStringLiteral("senderField"))
    ->Iterations(300)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    BenchmarkMain::drawOffscreenFromTheBuiltBundle();
    return BenchmarkMain::run<QApplication>(argc, argv);
}
