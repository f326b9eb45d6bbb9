// Starts a tray program and tells how long it took until its icon showed in the tray: from the
// fork to the moment the tray host maps the program's XEmbed icon window. Prints "<pid> <ms>"
// and leaves the program running; prints "<pid> timeout" when no icon showed in time.
//
//   DISPLAY=:101 tray_launch [--timeout SECONDS] -- program [arguments...]
//
// It watches the root window: a tray host takes an icon window away from the root (a
// ReparentNotify the root's substructure sees), and the icon is the one that carries
// _XEMBED_INFO and the program's _NET_WM_PID. tray_footprint drives it.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <set>
#include <sys/select.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

std::optional<long> windowPid(Display* display, Window window)
{
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::optional<long> pid;
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after, &data)
            == Success
        && data && format == 32 && count == 1)
        pid = *reinterpret_cast<long*>(data);
    if (data)
        XFree(data);
    return pid;
}

bool hasProperty(Display* display, Window window, const char* name)
{
    int count = 0;
    Atom* atoms = XListProperties(display, window, &count);
    const Atom wanted = XInternAtom(display, name, False);
    bool found = false;
    for (int index = 0; index < count; ++index)
        found = found || atoms[index] == wanted;
    if (atoms)
        XFree(atoms);
    return found;
}

bool isViewable(Display* display, Window window)
{
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable;
}

// A window can vanish between an event and our question about it.
int ignoreErrors(Display*, XErrorEvent*)
{
    return 0;
}

bool waitForEvent(Display* display, Clock::time_point deadline)
{
    while (!XPending(display)) {
        const auto left = deadline - Clock::now();
        if (left <= Clock::duration::zero())
            return false;
        const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(left).count();
        timeval timeout{micros / 1000000, micros % 1000000};
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(ConnectionNumber(display), &readable);
        select(ConnectionNumber(display) + 1, &readable, nullptr, nullptr, &timeout);
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[])
{
    double timeoutSeconds = 30;
    int first = 1;
    for (; first < argc; ++first) {
        if (std::strcmp(argv[first], "--timeout") == 0 && first + 1 < argc)
            timeoutSeconds = std::atof(argv[++first]);
        else if (std::strcmp(argv[first], "--") == 0) {
            ++first;
            break;
        } else
            break;
    }
    if (first >= argc) {
        std::fprintf(stderr, "usage: tray_launch [--timeout SECONDS] -- program [arguments...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "tray_launch: cannot open the display\n");
        return 2;
    }
    XSetErrorHandler(ignoreErrors);
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const Clock::time_point started = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        close(ConnectionNumber(display));
        // Whoever reads our answer must not wait for the program to close its output too.
        dup2(STDERR_FILENO, STDOUT_FILENO);
        execvp(argv[first], argv + first);
        std::perror("tray_launch: exec");
        _exit(127);
    }

    // Windows of the program that a host took from the root, waiting to be mapped.
    std::set<Window> embedded;
    const auto deadline =
        started + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(timeoutSeconds));
    while (waitForEvent(display, deadline)) {
        XEvent event;
        XNextEvent(display, &event);
        Window shown = None;
        if (event.type == ReparentNotify && event.xreparent.parent != root) {
            const Window window = event.xreparent.window;
            if (!hasProperty(display, window, "_XEMBED_INFO") || windowPid(display, window) != child)
                continue;
            embedded.insert(window);
            XSelectInput(display, window, StructureNotifyMask);
            XSync(display, False);
            if (isViewable(display, window))
                shown = window;
        } else if (event.type == MapNotify && embedded.count(event.xmap.window)) {
            shown = event.xmap.window;
        }
        if (shown != None) {
            const double ms = std::chrono::duration<double, std::milli>(Clock::now() - started).count();
            std::printf("%d %.1f\n", int(child), ms);
            return 0;
        }
    }
    std::printf("%d timeout\n", int(child));
    return 1;
}
