#include "platform/SleepSources.h"

#include <QDBusConnectionInterface>

#include <time.h>

namespace {

const QString logindService = QStringLiteral("org.freedesktop.login1");
// Shorter gaps are the clocks' own drift and scheduling; a real sleep takes longer.
constexpr std::chrono::seconds smallestSleep{2};

std::chrono::nanoseconds readClock(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

}  // namespace

LogindSleepSource::LogindSleepSource(QDBusConnection systemBus) : bus_(std::move(systemBus))
{ }

void LogindSleepSource::start(std::function<void(bool)> deliver)
{
    const bool hasLogind =
        bus_.isConnected() && bus_.interface() && bus_.interface()->isServiceRegistered(logindService).value();
    if (hasLogind
        && bus_.connect(logindService, QStringLiteral("/org/freedesktop/login1"),
                        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"), this,
                        SLOT(onPrepareForSleep(bool)))) {
        deliver_ = std::move(deliver);
        return;
    }
    fallback_ = std::make_unique<ClockGapSleepSource>();
    fallback_->start(std::move(deliver));
}

void LogindSleepSource::poll()
{
    if (fallback_)
        fallback_->poll();
}

void LogindSleepSource::onPrepareForSleep(bool goingToSleep)
{
    deliver_(goingToSleep);
}

ClockGapSleepSource::ClockGapSleepSource(Clock gap) : gap_(std::move(gap))
{ }

void ClockGapSleepSource::start(std::function<void(bool)> deliver)
{
    deliver_ = std::move(deliver);
    lastGap_ = gap_();
}

void ClockGapSleepSource::poll()
{
    const std::chrono::nanoseconds gap = gap_();
    const bool slept = gap - lastGap_ >= smallestSleep;
    lastGap_ = gap;
    if (slept && deliver_) {
        deliver_(true);
        deliver_(false);
    }
}

std::chrono::nanoseconds ClockGapSleepSource::bootTimeAheadOfMonotonic()
{
    return readClock(CLOCK_BOOTTIME) - readClock(CLOCK_MONOTONIC);
}
