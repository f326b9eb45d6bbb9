#pragma once

#include <QSocketNotifier>

#include <functional>
#include <memory>
#include <vector>

struct _XDisplay;
union _XEvent;

// Our own Xlib connection, shared by the X readings: opened at first need and kept for the
// life of the process, its events read on the main thread as they arrive. A request about a
// window that vanished meanwhile is answered with an error that never ends the process.
class X11Connection {
public:
    using EventHandler = std::function<void(_XEvent&)>;

    X11Connection() = default;
    ~X11Connection();
    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

    // The open connection, or null when no X server can be reached (tried once).
    _XDisplay* display();
    unsigned long rootWindow();

    // Handlers see every event of the connection.
    void addEventHandler(EventHandler handler);
    // Reads what the server sent without waiting; readings call it before they answer.
    void processPendingEvents();

private:
    _XDisplay* display_ = nullptr;
    bool tried_ = false;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::vector<EventHandler> handlers_;
};

// A reading's subscription to the events it follows, made at its first question and kept:
// `subscribe` selects the events on the open display and says whether the server offers what
// the reading needs.
class X11Subscription {
public:
    using Subscribe = std::function<bool(_XDisplay*)>;

    // False when the reading cannot follow the server; true once the events that arrived
    // meanwhile have been read.
    bool ready(X11Connection& connection, const Subscribe& subscribe);

private:
    bool tried_ = false;
    bool listening_ = false;
};
