#include "platform/X11KeyOrClickReading.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

namespace {

// Buttons 4 to 7 are the scroll wheel's: scrolling is not a click.
bool isWheelButton(int button)
{
    return button >= 4 && button <= 7;
}

}  // namespace

X11KeyOrClickReading::X11KeyOrClickReading(std::shared_ptr<X11Connection> connection)
    : connection_(std::move(connection))
{ }

std::optional<double> X11KeyOrClickReading::secondsSinceKeyOrClick()
{
    if (!subscription_.ready(*connection_, [this](Display* display) { return subscribe(display); }))
        return std::nullopt;
    return sinceLastKeyOrClick_.elapsed() / 1000.0;
}

bool X11KeyOrClickReading::subscribe(Display* display)
{
    int firstEvent = 0;
    int firstError = 0;
    if (!XQueryExtension(display, "XInputExtension", &extensionOpcode_, &firstEvent, &firstError))
        return false;
    int major = 2;
    int minor = 2;
    if (XIQueryVersion(display, &major, &minor) != Success)
        return false;

    unsigned char mask[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(mask, XI_RawKeyPress);
    XISetMask(mask, XI_RawButtonPress);
    XIEventMask eventMask{XIAllMasterDevices, static_cast<int>(sizeof(mask)), mask};
    XISelectEvents(display, DefaultRootWindow(display), &eventMask, 1);
    XFlush(display);
    connection_->addEventHandler([this](XEvent& event) { notice(event); });
    // X keeps no time of the last key press, so the time since listening began stands in until
    // one arrives: a lower bound that may hold a reminder back once, rather than a safeguard
    // that reports itself unavailable until the user happens to type.
    sinceLastKeyOrClick_.start();
    return true;
}

void X11KeyOrClickReading::notice(XEvent& event)
{
    XGenericEventCookie* cookie = &event.xcookie;
    if (cookie->type != GenericEvent || cookie->extension != extensionOpcode_)
        return;
    if (cookie->evtype != XI_RawKeyPress && cookie->evtype != XI_RawButtonPress)
        return;
    Display* display = connection_->display();
    if (!XGetEventData(display, cookie))
        return;
    const auto* raw = static_cast<const XIRawEvent*>(cookie->data);
    if (cookie->evtype == XI_RawKeyPress || !isWheelButton(raw->detail))
        sinceLastKeyOrClick_.start();
    XFreeEventData(display, cookie);
}
