#include "WindowShaping.h"

#include <QGuiApplication>
#include <QRegion>
#include <QWindow>

#include <vector>

#include <X11/Xlib.h>
#include <X11/extensions/shape.h>

namespace {

// Qt reads an empty mask as "no mask at all"; a mask that lies outside the window shows nothing.
const QRegion nothingShown(-1, -1, 1, 1);

Display* qtDisplay()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
}

bool serverShapesInput(Display* display)
{
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    return XShapeQueryExtension(display, &eventBase, &errorBase)
        && XShapeQueryVersion(display, &major, &minor)
        && (major > 1 || (major == 1 && minor >= 1));
}

// The server counts device pixels; Qt's regions count device-independent ones.
std::vector<XRectangle> devicePixels(const QRegion& region, qreal ratio)
{
    std::vector<XRectangle> rectangles;
    rectangles.reserve(size_t(region.rectCount()));
    for (const QRect& rect : region) {
        const QRect scaled = QRectF(QPointF(rect.topLeft()) * ratio, QSizeF(rect.size()) * ratio).toAlignedRect();
        rectangles.push_back({short(scaled.x()), short(scaled.y()),
                              static_cast<unsigned short>(scaled.width()), static_cast<unsigned short>(scaled.height())});
    }
    return rectangles;
}

} // namespace

bool DesktopWindowShaping::shapesInput()
{
    if (!shapesInput_) {
        Display* display = qtDisplay();
        shapesInput_ = display && serverShapesInput(display);
    }
    return *shapesInput_;
}

void DesktopWindowShaping::cut(QWindow& window, WindowShapeKind kind, const QRegion& region)
{
    if (kind == WindowShapeKind::bounding) {
        window.setMask(region.isEmpty() ? nothingShown : region);
        return;
    }
    if (!shapesInput())
        return;
    Display* display = qtDisplay();
    std::vector<XRectangle> rectangles = devicePixels(region, window.devicePixelRatio());
    XShapeCombineRectangles(display, Window(window.winId()), ShapeInput, 0, 0, rectangles.data(),
                            int(rectangles.size()), ShapeSet, Unsorted);
    XFlush(display);
}

void DesktopWindowShaping::uncut(QWindow& window, WindowShapeKind kind)
{
    if (kind == WindowShapeKind::bounding) {
        window.setMask(QRegion());
        return;
    }
    if (!shapesInput())
        return;
    Display* display = qtDisplay();
    XShapeCombineMask(display, Window(window.winId()), ShapeInput, 0, 0, None, ShapeSet);
    XFlush(display);
}
