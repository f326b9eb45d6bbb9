#pragma once

#include <QString>
#include <memory>
#include <optional>

// Where the "reduce motion" wish comes from.
class ReduceMotionSource {
public:
    virtual ~ReduceMotionSource() = default;
    virtual bool reduceMotion() const = 0;
};

// The desktop's setting: GNOME's org.gnome.desktop.interface enable-animations when that
// schema is installed, else KDE's AnimationDurationFactor of 0 in kdeglobals, else motion on.
class DesktopReduceMotion : public ReduceMotionSource {
public:
    bool reduceMotion() const override;

    // GNOME's answer; none when the schema is not installed.
    static std::optional<bool> readGnome();
    // KDE's answer from a kdeglobals file; none when the file or the key is missing.
    static std::optional<bool> readKdeGlobals(const QString& path);
    static QString kdeGlobalsPath();
};

// The process-wide answer every companion view asks. The desktop is read once and cached.
class ReduceMotion {
public:
    static bool isOn();

    // Tests pin the answer; none returns to the source.
    static void setOverride(std::optional<bool> reduce);
    // Replaces where the answer comes from (the desktop unless set); the cache is dropped.
    static void setSource(std::shared_ptr<ReduceMotionSource> source);
};
