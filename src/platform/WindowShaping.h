#pragma once

#include <optional>

class QImage;
class QRect;
class QRegion;
class QWindow;

// A window's bounding shape limits what it shows and where it takes clicks; its input shape
// only where it takes clicks, so what it shows keeps its soft translucent edges.
enum class WindowShapeKind { bounding, input };

// Cuts a top-level window's shapes to regions of its own coordinates.
class WindowShaping {
public:
    virtual ~WindowShaping() = default;
    // Whether this desktop can limit where a window takes clicks apart from what it shows.
    virtual bool shapesInput() = 0;
    // An empty region leaves nothing of that shape: nothing shown, or no click taken.
    virtual void cut(QWindow& window, WindowShapeKind kind, const QRegion& region) = 0;
    // Gives the window its whole rectangle back.
    virtual void uncut(QWindow& window, WindowShapeKind kind) = 0;

    // The pixels of `area` (in the picture's device-independent pixels) that are at least half
    // covered: what a cut window shows of a translucent picture. Fainter pixels (a soft shadow,
    // the outer rim of an antialiased edge) would show as black in a cut window.
    static QRegion shownPixels(const QImage& picture, const QRect& area);
};

// The bounding shape is Qt's window mask, on every platform. The input shape is the X shape
// extension's input kind on Qt's own display: only on X11, with a server that knows it
// (shape 1.1 or later); asked once, since a server's extensions do not change.
class DesktopWindowShaping : public WindowShaping {
public:
    bool shapesInput() override;
    void cut(QWindow& window, WindowShapeKind kind, const QRegion& region) override;
    void uncut(QWindow& window, WindowShapeKind kind) override;

private:
    std::optional<bool> shapesInput_;
};
