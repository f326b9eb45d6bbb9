// What a whole water reminder costs the running application, phase by phase: the real
// application (delegate, tray icon, hidden main window, reminder panel) shows a preview
// reminder with the chosen companion, answers it ("I drank" or "Not yet") once the companion
// asks, and prints the processor time of every phase as a share of one core, all threads
// counted. Then it idles and prints its resident memory.
//
// It runs as "--ui-test --background" (a scratch store, nothing saved) and needs a real X
// display (Xvfb will do) and, so that the main window stays closed, a tray host. For example:
//   Xvfb :51 -screen 0 1440x900x24 & DISPLAY=:51 trayer & [DISPLAY=:51 xcompmgr &]
//   DISPLAY=:51 build/bench/reminder_walk_cpu --companion viru --answer no --idle 30
#include "model/CompanionMotion.h"
#include "model/CompanionPhase.h"
#include "shell/AppDelegate.h"
#include "store/DewbellStore.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <cstdio>
#include <ctime>

namespace {

double processSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

double monotonicSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

bool printTimes = false;

QByteArray residentMemory()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return "?";
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed();
    return "?";
}

// Measures the first seconds of each phase: as long as the phase lasts by design (the store
// may move on up to a second later), one second of asking, and the idle time after the reminder.
class PhaseMeter {
public:
    void start(CompanionPhase phase, double seconds)
    {
        report();
        phase_ = phase;
        wall_.start();
        cpu_ = processSeconds();
        startedAt_ = monotonicSeconds();
        window_.setTimerType(Qt::PreciseTimer);
        window_.setSingleShot(true);
        window_.callOnTimeout([this] { report(); });
        window_.start(int(seconds * 1000));
    }
    // Prints the phase measured so far, once.
    void report()
    {
        if (!wall_.isValid())
            return;
        window_.stop();
        const double wall = wall_.nsecsElapsed() / 1e9;
        const double cpu = processSeconds() - cpu_;
        std::printf("%-12s %5.2f s  %6.3f s cpu  %5.1f %%", qPrintable(rawValue(phase_)), wall, cpu,
                    wall > 0 ? 100.0 * cpu / wall : 0.0);
        // The monotonic clock perf can record with (-k CLOCK_MONOTONIC), to cut a profile by phase.
        if (printTimes)
            std::printf("  from %.3f to %.3f", startedAt_, monotonicSeconds());
        std::printf("\n");
        std::fflush(stdout);
        wall_.invalidate();
    }

private:
    CompanionPhase phase_ = CompanionPhase::hidden;
    QElapsedTimer wall_;
    double cpu_ = 0;
    double startedAt_ = 0;
    QTimer window_;
};

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsSet("DISPLAY") && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QCoreApplication::setAttribute(Qt::AA_ForceRasterWidgets);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("dewbell"));
    QApplication::setQuitOnLastWindowClosed(false);

    QCommandLineParser parser;
    parser.addOption({QStringLiteral("companion"), QStringLiteral("Companion to show."), QStringLiteral("id"),
                      QStringLiteral("bloop")});
    parser.addOption(
        {QStringLiteral("answer"), QStringLiteral("yes or no."), QStringLiteral("answer"), QStringLiteral("yes")});
    parser.addOption({QStringLiteral("idle"), QStringLiteral("Seconds to idle afterwards."), QStringLiteral("seconds"),
                      QStringLiteral("0")});
    parser.addOption({QStringLiteral("wait"), QStringLiteral("Seconds to idle before the reminder."),
                      QStringLiteral("seconds"), QStringLiteral("3")});
    parser.addOption({QStringLiteral("times"), QStringLiteral("Print when each phase began and ended.")});
    parser.process(application);
    printTimes = parser.isSet(QStringLiteral("times"));
    const bool yes = parser.value(QStringLiteral("answer")) != QLatin1String("no");
    const int idleSeconds = parser.value(QStringLiteral("idle")).toInt();

    AppDelegate delegate(
        {QApplication::applicationFilePath(), QStringLiteral("--ui-test"), QStringLiteral("--background")});
    delegate.launch();
    DewbellStore* store = delegate.store();
    store->update([&](Preferences& preferences) {
        preferences.companionID = parser.value(QStringLiteral("companion"));
        preferences.soundEnabled = false;
    });

    PhaseMeter meter;
    CompanionPhase phase = store->phase();
    QObject::connect(store, &DewbellStore::changed, &application, [&] {
        if (store->phase() == phase)
            return;
        phase = store->phase();
        if (phase != CompanionPhase::hidden)
            meter.start(phase, CompanionMotion::duration(phase, store->response()).value_or(1.0));
        if (phase == CompanionPhase::asking)
            QTimer::singleShot(1000, store, [store, yes] {
                store->tick(QDateTime::currentDateTimeUtc());
                yes ? store->answerYes() : store->decline();
            });
        if (phase == CompanionPhase::hidden) {
            meter.report();
            if (idleSeconds > 0)
                meter.start(phase, idleSeconds);
            QTimer::singleShot(idleSeconds * 1000, &application, [&] {
                meter.report();
                std::printf("VmRSS %s after %d s idle\n", residentMemory().constData(), idleSeconds);
                QCoreApplication::exit(0);
            });
        }
    });
    QTimer::singleShot(parser.value(QStringLiteral("wait")).toInt() * 1000, store, [&] {
        std::printf("VmRSS %s before the reminder\n", residentMemory().constData());
        // A phase starts at the store's last tick: tick now, so each phase is shown whole.
        store->tick(QDateTime::currentDateTimeUtc());
        store->showReminder(true, ReminderKind::water);
    });
    return application.exec();
}
