#include "platform/DesktopFileIndex.h"
#include "platform/DoNotDisturbReadings.h"
#include "platform/IdleReadings.h"
#include "platform/MicrophoneReadings.h"
#include "platform/MirroringReadings.h"
#include "platform/SessionSources.h"
#include "platform/SleepSources.h"
#include "platform/SystemReadings.h"
#include "platform/X11Connection.h"
#include "platform/X11FrontApplicationReading.h"
#include "platform/X11KeyOrClickReading.h"

namespace {

template<typename Base, typename... Sources>
std::vector<std::unique_ptr<Base>> list(std::unique_ptr<Sources>... sources)
{
    std::vector<std::unique_ptr<Base>> all;
    (all.push_back(std::move(sources)), ...);
    return all;
}

}  // namespace

// The buses are reached at construction, for the watchers; the X server at the first reading
// that needs it. Each connection is kept for the life of the service.
SystemReadings SystemReadings::ofThisDesktop()
{
    const QDBusConnection systemBus = QDBusConnection::systemBus();
    const QDBusConnection sessionBus = QDBusConnection::sessionBus();
    const auto x11 = std::make_shared<X11Connection>();

    SystemReadings readings;
    readings.systemSleep = std::make_unique<LogindSleepSource>(systemBus);
    readings.displaySleep = std::make_unique<ScreenSaverSource>(sessionBus);
    readings.lock = std::make_unique<AnyStateSource>(
        list<StateSource>(std::make_unique<LogindSessionSource>(systemBus, LogindSessionSource::Watched::lock),
                          std::make_unique<ScreenSaverSource>(sessionBus)));
    readings.sessionActive = std::make_unique<LogindSessionSource>(systemBus, LogindSessionSource::Watched::active);
    readings.keyOrClick = std::make_unique<X11KeyOrClickReading>(x11);
    readings.idle = std::make_unique<FirstIdleReading>(list<IdleReading>(std::make_unique<X11IdleReading>(x11),
                                                                         DBusIdleReading::mutter(sessionBus),
                                                                         DBusIdleReading::screenSaver(sessionBus)));
    readings.microphone = std::make_unique<FirstMicrophoneReading>(std::make_unique<PulseMicrophoneReading>(),
                                                                   std::make_unique<AlsaCaptureReading>());
    readings.mirroring = std::make_unique<AnyMirroringReading>(list<MirroringReading>(
        std::make_unique<ScreenMirroringReading>(), std::make_unique<XRandRMirroringReading>(x11)));
    readings.frontApplication = std::make_unique<X11FrontApplicationReading>(x11, DesktopFileIndex::ofThisSystem());
    readings.doNotDisturb = desktopDoNotDisturb(qEnvironmentVariable("XDG_CURRENT_DESKTOP"), sessionBus);
    return readings;
}
