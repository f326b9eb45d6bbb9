#pragma once

#include "platform/SystemReadings.h"
#include "platform/X11Connection.h"

#include <QElapsedTimer>

#include <memory>

// Listens to raw key presses and clicks of every client through XInput2 (no privileges
// needed) and tells the seconds since the last one (or since listening began, before the
// first). Absent without X or without XInput2.
class X11KeyOrClickReading : public KeyOrClickReading {
public:
    explicit X11KeyOrClickReading(std::shared_ptr<X11Connection> connection);
    std::optional<double> secondsSinceKeyOrClick() override;

private:
    bool subscribe(_XDisplay* display);
    void notice(_XEvent& event);

    std::shared_ptr<X11Connection> connection_;
    X11Subscription subscription_;
    int extensionOpcode_ = 0;
    QElapsedTimer sinceLastKeyOrClick_;
};
