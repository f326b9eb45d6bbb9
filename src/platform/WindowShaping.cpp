#include "platform/WindowShaping.h"

#include <QGuiApplication>
#include <QImage>
#include <QRegion>
#include <QTransform>
#include <QWindow>

#include <vector>

#include <X11/Xlib.h>
#include <X11/extensions/shape.h>
#include <xcb/xcb.h>

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

// Qt queues the mask request on its connection and sends it whenever it next writes to the
// server. A cut made while nothing repaints (a companion that has stopped to ask) would wait
// there, the server keeping the old shape: without its bubble and buttons.
void sendQueuedRequests()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 && x11->connection())
        xcb_flush(x11->connection());
}

bool serverShapesInput(Display* display)
{
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    return XShapeQueryExtension(display, &eventBase, &errorBase) && XShapeQueryVersion(display, &major, &minor)
           && (major > 1 || (major == 1 && minor >= 1));
}

// The server counts device pixels; Qt's regions count device-independent ones.
std::vector<XRectangle> devicePixels(const QRegion& region, qreal ratio)
{
    std::vector<XRectangle> rectangles;
    rectangles.reserve(size_t(region.rectCount()));
    for (const QRect& rect : region) {
        const QRect scaled = QRectF(QPointF(rect.topLeft()) * ratio, QSizeF(rect.size()) * ratio).toAlignedRect();
        rectangles.push_back({short(scaled.x()), short(scaled.y()), static_cast<unsigned short>(scaled.width()),
                              static_cast<unsigned short>(scaled.height())});
    }
    return rectangles;
}

// The runs of at least half covered pixels from `left` to `right` in one row of an ARGB32
// picture whose first pixel lies at `first`.
void shownRuns(const QRgb* row, int first, int left, int right, std::vector<std::pair<int, int>>& runs)
{
    runs.clear();
    // Alpha is the top byte: at least half covered is its top bit.
    const auto shown = [row, first](int at) { return (row[at - first] & 0x80000000u) != 0; };
    int x = left;
    while (x < right) {
        while (x < right && !shown(x))
            ++x;
        const int start = x;
        while (x < right && shown(x))
            ++x;
        if (x > start)
            runs.emplace_back(start, x);
    }
}

}  // namespace

// Rows with the same runs make one band of rectangles, already in the order QRegion keeps.
QRegion WindowShaping::shownPixels(const QImage& picture, const QRect& area)
{
    const qreal ratio = picture.devicePixelRatio();
    const QRect pixels =
        QRectF(QPointF(area.topLeft()) * ratio, QSizeF(area.size()) * ratio).toAlignedRect() & picture.rect();
    if (pixels.isEmpty() || !picture.hasAlphaChannel())
        return pixels.isEmpty() ? QRegion() : QRegion(area);
    const bool argb =
        picture.format() == QImage::Format_ARGB32_Premultiplied || picture.format() == QImage::Format_ARGB32;
    const QImage rows = argb ? picture : picture.copy(pixels).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QPoint origin = argb ? QPoint(0, 0) : pixels.topLeft();

    std::vector<QRect> rectangles;
    std::vector<std::pair<int, int>> band;
    std::vector<std::pair<int, int>> runs;
    int bandTop = pixels.top();
    const auto closeBand = [&](int bottom) {
        for (const auto& [start, end] : band)
            rectangles.emplace_back(start, bandTop, end - start, bottom - bandTop);
    };
    for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(rows.constScanLine(y - origin.y()));
        shownRuns(row, origin.x(), pixels.left(), pixels.right() + 1, runs);
        if (runs == band)
            continue;
        closeBand(y);
        band.swap(runs);
        bandTop = y;
    }
    closeBand(pixels.bottom() + 1);

    QRegion shown;
    shown.setRects(rectangles.data(), int(rectangles.size()));
    if (ratio == 1.0)
        return shown;
    return QTransform::fromScale(1 / ratio, 1 / ratio).map(shown) & area;
}

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
        sendQueuedRequests();
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
        sendQueuedRequests();
        return;
    }
    if (!shapesInput())
        return;
    Display* display = qtDisplay();
    XShapeCombineMask(display, Window(window.winId()), ShapeInput, 0, 0, None, ShapeSet);
    XFlush(display);
}
