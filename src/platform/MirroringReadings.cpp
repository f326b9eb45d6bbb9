#include "platform/MirroringReadings.h"

#include <QGuiApplication>
#include <QScreen>

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>

bool hasSameRectangleTwice(const std::vector<QRect>& rectangles)
{
    const auto count = std::min<std::size_t>(rectangles.size(), maximumDisplays);
    for (std::size_t i = 0; i < count; ++i) {
        for (std::size_t j = i + 1; j < count; ++j) {
            if (rectangles[i] == rectangles[j])
                return true;
        }
    }
    return false;
}

bool ScreenMirroringReading::screenMirrored()
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return false;
    std::vector<QRect> rectangles;
    for (const QScreen* screen : QGuiApplication::screens())
        rectangles.push_back(screen->geometry());
    return hasSameRectangleTwice(rectangles);
}

XRandRMirroringReading::XRandRMirroringReading(std::shared_ptr<X11Connection> connection)
    : connection_(std::move(connection))
{ }

bool XRandRMirroringReading::screenMirrored()
{
    if (!subscription_.ready(*connection_, [this](Display* display) { return subscribe(display); }))
        return false;
    if (stale_) {
        mirrored_ = askServer();
        stale_ = false;
    }
    return mirrored_;
}

bool XRandRMirroringReading::subscribe(Display* display)
{
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (!XRRQueryExtension(display, &eventBase_, &errorBase) || !XRRQueryVersion(display, &major, &minor) || major < 1
        || (major == 1 && minor < 3))
        return false;
    XRRSelectInput(display, DefaultRootWindow(display), RRScreenChangeNotifyMask | RRCrtcChangeNotifyMask);
    connection_->addEventHandler([this](XEvent& event) {
        if (event.type == eventBase_ + RRScreenChangeNotify || event.type == eventBase_ + RRNotify)
            stale_ = true;
    });
    return true;
}

bool XRandRMirroringReading::askServer()
{
    Display* display = connection_->display();
    XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display));
    if (!resources)
        return false;
    bool mirrored = false;
    std::vector<QRect> shown;
    const int count = std::min(resources->ncrtc, maximumDisplays);
    for (int i = 0; i < count && !mirrored; ++i) {
        XRRCrtcInfo* crtc = XRRGetCrtcInfo(display, resources, resources->crtcs[i]);
        if (!crtc)
            continue;
        if (crtc->mode != None) {
            mirrored = crtc->noutput > 1;
            shown.emplace_back(crtc->x, crtc->y, static_cast<int>(crtc->width), static_cast<int>(crtc->height));
        }
        XRRFreeCrtcInfo(crtc);
    }
    XRRFreeScreenResources(resources);
    return mirrored || hasSameRectangleTwice(shown);
}

AnyMirroringReading::AnyMirroringReading(std::vector<std::unique_ptr<MirroringReading>> sources)
    : sources_(std::move(sources))
{ }

bool AnyMirroringReading::screenMirrored()
{
    return std::any_of(sources_.begin(), sources_.end(), [](const auto& source) { return source->screenMirrored(); });
}
