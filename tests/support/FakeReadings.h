#pragma once

#include "platform/SystemReadings.h"

// Fixed readings that count how often they were asked.
struct FakeStateSource : StateSource {
    std::function<void(bool)> send;
    void start(std::function<void(bool)> deliver) override { send = std::move(deliver); }
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
    int reads = 0;
    bool screenMirrored() override { return ++reads, true; }
};

struct FakeFrontApplication : FrontApplicationReading {
    int reads = 0;
    std::optional<QString> frontApplicationID() override { return ++reads, QStringLiteral("org.gnome.Calculator"); }
};

struct FakeDoNotDisturb : DoNotDisturbReading {
    FocusAuthorization current = FocusAuthorization::authorized;
    FocusAuthorization afterProbe = FocusAuthorization::authorized;
    std::optional<bool> on = true;
    int reads = 0;
    FocusAuthorization authorization() override { return current; }
    std::optional<bool> isOn() override { return ++reads, on; }
    void probe() override { current = afterProbe; }
};

template<typename Fake, typename Base>
Fake* install(std::unique_ptr<Base>& slot)
{
    slot = std::make_unique<Fake>();
    return static_cast<Fake*>(slot.get());
}

// The pointers stay valid while the service that takes `all` lives.
struct Fakes {
    SystemReadings all;
    FakeStateSource* systemSleep = install<FakeStateSource>(all.systemSleep);
    FakeStateSource* displaySleep = install<FakeStateSource>(all.displaySleep);
    FakeStateSource* lock = install<FakeStateSource>(all.lock);
    FakeStateSource* sessionActive = install<FakeStateSource>(all.sessionActive);
    FakeKeyOrClick* keyOrClick = install<FakeKeyOrClick>(all.keyOrClick);
    FakeIdle* idle = install<FakeIdle>(all.idle);
    FakeMicrophone* microphone = install<FakeMicrophone>(all.microphone);
    FakeMirroring* mirroring = install<FakeMirroring>(all.mirroring);
    FakeFrontApplication* frontApplication = install<FakeFrontApplication>(all.frontApplication);
    FakeDoNotDisturb* doNotDisturb = install<FakeDoNotDisturb>(all.doNotDisturb);
};
