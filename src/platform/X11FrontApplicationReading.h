#pragma once

#include "platform/DesktopFileIndex.h"
#include "platform/SystemReadings.h"
#include "platform/X11Connection.h"

#include <QByteArray>

#include <memory>

// The desktop-file identifier of the window that the window manager marks active
// (_NET_ACTIVE_WINDOW): the toolkit's own application identifier, else the window's class
// looked up among the desktop files. The answer is kept until the active window changes.
class X11FrontApplicationReading : public FrontApplicationReading {
public:
    X11FrontApplicationReading(std::shared_ptr<X11Connection> connection, DesktopFileIndex index);
    std::optional<QString> frontApplicationID() override;

private:
    bool subscribe(_XDisplay* display);
    unsigned long activeWindow();
    std::optional<QString> identifierOf(unsigned long window);
    QByteArray property(unsigned long window, unsigned long atom, int wantedFormat);

    std::shared_ptr<X11Connection> connection_;
    DesktopFileIndex index_;
    X11Subscription subscription_;
    unsigned long activeWindowAtom_ = 0;
    unsigned long gtkApplicationAtom_ = 0;
    unsigned long kdeDesktopFileAtom_ = 0;
    bool stale_ = true;
    std::optional<QString> identifier_;
};
