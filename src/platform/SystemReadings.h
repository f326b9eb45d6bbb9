#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <optional>

// A yes/no state of the desktop that changes on its own: the system's sleep, the displays'
// sleep, the screen lock, the session being the active one. `start` hands over the function
// that receives every change; a source calls it on the main thread, also with a value it
// delivered before (the receiver treats each call as fresh news).
class StateSource {
public:
    virtual ~StateSource() = default;
    virtual void start(std::function<void(bool)> deliver) = 0;
    // A source that notices changes only by looking (the clock gap) looks now; its owner asks
    // once a second. Sources the desktop tells have nothing to do.
    virtual void poll() { }
};

// Seconds since the last key press or mouse click; absent when it cannot be told.
class KeyOrClickReading {
public:
    virtual ~KeyOrClickReading() = default;
    virtual std::optional<double> secondsSinceKeyOrClick() = 0;
};

// Seconds since any input, pointer movement and scrolling included; absent when unknown.
class IdleReading {
public:
    virtual ~IdleReading() = default;
    virtual std::optional<double> secondsSinceAnyInput() = 0;
};

// Whether some program records from a microphone: absent when no audio system can be asked.
class MicrophoneReading {
public:
    virtual ~MicrophoneReading() = default;
    virtual std::optional<bool> microphoneInUse() = 0;
};

// Whether one picture is shown on more than one display.
class MirroringReading {
public:
    virtual ~MirroringReading() = default;
    virtual bool screenMirrored() = 0;
};

// The desktop-file identifier of the application whose window is active.
class FrontApplicationReading {
public:
    virtual ~FrontApplicationReading() = default;
    virtual std::optional<QString> frontApplicationID() = 0;
};

// How far the desktop lets us read its Do Not Disturb state.
enum class FocusAuthorization {
    notDetermined,  // not looked for yet
    restricted,     // this desktop offers no source
    denied,         // a source exists but refuses to be read
    authorized,     // a source can be read
};

class DoNotDisturbReading {
public:
    virtual ~DoNotDisturbReading() = default;
    virtual FocusAuthorization authorization() = 0;
    // Absent when the source shares no state at the moment.
    virtual std::optional<bool> isOn() = 0;
    // Looks for the desktop's sources again (the user asked to follow Do Not Disturb).
    virtual void probe() = 0;
};

// Every reading the context service takes, each behind its interface so tests hand in fakes.
// A missing member counts as a source that never reports anything.
struct SystemReadings {
    std::unique_ptr<StateSource> systemSleep;    // delivers true when the system goes to sleep
    std::unique_ptr<StateSource> displaySleep;   // true when the displays go dark
    std::unique_ptr<StateSource> lock;           // true when the screen locks
    std::unique_ptr<StateSource> sessionActive;  // false when another session takes the screen
    std::unique_ptr<KeyOrClickReading> keyOrClick;
    std::unique_ptr<IdleReading> idle;
    std::unique_ptr<MicrophoneReading> microphone;
    std::unique_ptr<MirroringReading> mirroring;
    std::unique_ptr<FrontApplicationReading> frontApplication;
    std::unique_ptr<DoNotDisturbReading> doNotDisturb;

    // The readings of this Linux desktop; connections are made at first need and kept.
    static SystemReadings ofThisDesktop();
};
