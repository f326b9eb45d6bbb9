#pragma once

#include "SystemReadings.h"

#include <cmath>

// Fakes that hand the context service fixed readings and count how often they were asked.
struct FakeStateSource : StateSource {
    std::function<void(bool)> deliver;
    void start(std::function<void(bool)> function) override { deliver = std::move(function); }
    void send(bool value) { deliver(value); }
};

struct FakeKeyOrClick : KeyOrClickReading {
    std::optional<double> seconds = 2.5;
    int reads = 0;
    std::optional<double> secondsSinceKeyOrClick() override { return ++reads, seconds; }
};

struct FakeIdle : IdleReading {
    std::optional<double> seconds = 30.0;
    int reads = 0;
    std::optional<double> secondsSinceAnyInput() override { return ++reads, seconds; }
};

struct FakeMicrophone : MicrophoneReading {
    std::optional<bool> inUse = true;
    int reads = 0;
    std::optional<bool> microphoneInUse() override { return ++reads, inUse; }
};

struct FakeMirroring : MirroringReading {
    bool mirrored = true;
    int reads = 0;
    bool screenMirrored() override { return ++reads, mirrored; }
};

struct FakeFrontApplication : FrontApplicationReading {
    std::optional<QString> identifier = QStringLiteral("org.gnome.Calculator");
    int reads = 0;
    std::optional<QString> frontApplicationID() override { return ++reads, identifier; }
};

struct FakeDoNotDisturb : DoNotDisturbReading {
    FocusAuthorization current = FocusAuthorization::authorized;
    FocusAuthorization afterProbe = FocusAuthorization::authorized;
    std::optional<bool> on = true;
    int reads = 0;
    int probes = 0;
    FocusAuthorization authorization() override { return current; }
    std::optional<bool> isOn() override { return ++reads, on; }
    void probe() override { ++probes, current = afterProbe; }
};

// Every reading faked; the pointers stay valid while the service that owns them lives.
struct Fakes {
    FakeStateSource* systemSleep = new FakeStateSource;
    FakeStateSource* displaySleep = new FakeStateSource;
    FakeStateSource* lock = new FakeStateSource;
    FakeStateSource* sessionActive = new FakeStateSource;
    FakeKeyOrClick* keyOrClick = new FakeKeyOrClick;
    FakeIdle* idle = new FakeIdle;
    FakeMicrophone* microphone = new FakeMicrophone;
    FakeMirroring* mirroring = new FakeMirroring;
    FakeFrontApplication* frontApplication = new FakeFrontApplication;
    FakeDoNotDisturb* doNotDisturb = new FakeDoNotDisturb;

    SystemReadings readings()
    {
        SystemReadings all;
        all.systemSleep.reset(systemSleep);
        all.displaySleep.reset(displaySleep);
        all.lock.reset(lock);
        all.sessionActive.reset(sessionActive);
        all.keyOrClick.reset(keyOrClick);
        all.idle.reset(idle);
        all.microphone.reset(microphone);
        all.mirroring.reset(mirroring);
        all.frontApplication.reset(frontApplication);
        all.doNotDisturb.reset(doNotDisturb);
        return all;
    }
};
