#include "platform/X11Connection.h"

#include <QByteArray>

#include <X11/Xlib.h>

namespace {

// Xlib's default handler ends the process on any protocol error, and a window can vanish
// between our reading its identifier and asking about it.
int ignoreProtocolError(Display*, XErrorEvent*)
{
    return 0;
}

}  // namespace

X11Connection::~X11Connection()
{
    notifier_.reset();
    if (display_)
        XCloseDisplay(display_);
}

Display* X11Connection::display()
{
    if (tried_)
        return display_;
    tried_ = true;
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return nullptr;
    XSetErrorHandler(ignoreProtocolError);
    display_ = XOpenDisplay(nullptr);
    if (!display_)
        return nullptr;
    notifier_ = std::make_unique<QSocketNotifier>(ConnectionNumber(display_), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this] { processPendingEvents(); });
    return display_;
}

unsigned long X11Connection::rootWindow()
{
    Display* connection = display();
    return connection ? DefaultRootWindow(connection) : 0;
}

void X11Connection::addEventHandler(EventHandler handler)
{
    handlers_.push_back(std::move(handler));
}

void X11Connection::processPendingEvents()
{
    if (!display_)
        return;
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        for (const EventHandler& handler : handlers_)
            handler(event);
    }
}

bool X11Subscription::ready(X11Connection& connection, const Subscribe& subscribe)
{
    if (!tried_) {
        tried_ = true;
        _XDisplay* display = connection.display();
        listening_ = display && subscribe(display);
    }
    if (listening_)
        connection.processPendingEvents();
    return listening_;
}
