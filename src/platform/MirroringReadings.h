#pragma once

#include "platform/SystemReadings.h"
#include "platform/X11Connection.h"

#include <QRect>

#include <memory>
#include <vector>

// At most this many displays are looked at.
inline constexpr int maximumDisplays = 32;

// Whether two of the rectangles are the same: two displays that show one picture.
bool hasSameRectangleTwice(const std::vector<QRect>& rectangles);

// Two of Qt's screens cover the same rectangle.
class ScreenMirroringReading : public MirroringReading {
public:
    bool screenMirrored() override;
};

// XRandR: one CRTC drives more than one output, or two CRTCs show the same rectangle. The
// answer is kept until the server announces a change of the screen configuration.
class XRandRMirroringReading : public MirroringReading {
public:
    explicit XRandRMirroringReading(std::shared_ptr<X11Connection> connection);
    bool screenMirrored() override;

private:
    bool subscribe(_XDisplay* display);
    bool askServer();

    std::shared_ptr<X11Connection> connection_;
    X11Subscription subscription_;
    int eventBase_ = 0;
    bool stale_ = true;
    bool mirrored_ = false;
};

// Mirrored when any of the sources says so.
class AnyMirroringReading : public MirroringReading {
public:
    explicit AnyMirroringReading(std::vector<std::unique_ptr<MirroringReading>> sources);
    bool screenMirrored() override;

private:
    std::vector<std::unique_ptr<MirroringReading>> sources_;
};
