#pragma once

#include "platform/SystemReadings.h"

#include <QDBusConnection>
#include <QObject>

#include <chrono>

// logind's PrepareForSleep on the system bus: true before the system sleeps, false after it
// wakes. Without logind, falls back to the clock gap below.
class LogindSleepSource : public QObject, public StateSource {
    Q_OBJECT

public:
    explicit LogindSleepSource(QDBusConnection systemBus);
    void start(std::function<void(bool)> deliver) override;
    void poll() override;

private slots:
    void onPrepareForSleep(bool goingToSleep);

private:
    QDBusConnection bus_;
    std::function<void(bool)> deliver_;
    std::unique_ptr<StateSource> fallback_;
};

// The boot-time clock runs on during sleep, the monotonic clock does not: a jump of the gap
// between them tells, after the fact, that the system slept. It then reports a sleep and a
// wake at once. It keeps no timer: each poll compares the gap with the one before.
class ClockGapSleepSource : public StateSource {
public:
    using Clock = std::function<std::chrono::nanoseconds()>;
    // Clock: the gap between the two clocks; tests hand in their own.
    explicit ClockGapSleepSource(Clock gap = bootTimeAheadOfMonotonic);
    void start(std::function<void(bool)> deliver) override;
    void poll() override;

    static std::chrono::nanoseconds bootTimeAheadOfMonotonic();

private:
    Clock gap_;
    std::chrono::nanoseconds lastGap_{};
    std::function<void(bool)> deliver_;
};
