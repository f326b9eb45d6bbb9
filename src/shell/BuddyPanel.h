#pragma once

#include "platform/CompositorReading.h"
#include "platform/WindowShaping.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QRegion>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <optional>

class DewbellStore;
class QScreen;
class ReminderSurface;

// The floating window the companion walks onto: frameless, transparent, above other windows,
// never focused, never activating Dewbell and never moved by dragging. It sits at the bottom
// right of the main window's screen (else the primary screen), placed and scaled by
// ReminderPlacement, and follows screen changes while it is shown. Hiding it never closes it.
//
// The window follows the canvas's visible pixels, at most `shapeRefreshesPerSecond` times a
// second and only where the canvas painted. On a desktop that does not blend translucent
// windows (X11 without a compositing manager) the transparent parts would show as black, so
// there the window's bounding shape is cut to them. A blending desktop shows the canvas whole,
// soft shadows included, and only the input shape is cut, so clicks on the transparent parts
// reach the windows behind; where the input shape cannot be set, the panel is left whole.
class BuddyPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int shapeRefreshesPerSecond = 30;

    // `mainWindow` decides the screen while it is visible. Without `compositor` the panel asks
    // the desktop each time it is shown; without `shaping` it cuts its own native window.
    BuddyPanel(DewbellStore* store, bool uiTest, QWidget* mainWindow = nullptr,
               std::unique_ptr<CompositorReading> compositor = nullptr,
               std::unique_ptr<WindowShaping> shaping = nullptr);
    ~BuddyPanel() override;

    // The main window, built after the panel, decides the screen from now on.
    void followMainWindow(QWidget* mainWindow) { mainWindow_ = mainWindow; }

    // Shows the panel for the reminder the store has just published.
    void presentBuddy();
    // Places and scales the panel on a screen.
    void positionBuddy(QScreen* screen);

    ReminderSurface* surface() const { return surface_; }
    // The region the window is cut to; none while it is whole.
    std::optional<QRegion> cutShape() const { return shape_; }

    // The main window's screen while it is visible, else the primary screen; none without screens.
    QScreen* presentationScreen() const;

protected:
    // Follows what the canvas paints while the window is cut.
    void paintEvent(QPaintEvent* event) override;
    // A reminder that has gone leaves none of its pictures behind: the next one, minutes away,
    // decodes and draws its own.
    void hideEvent(QHideEvent* event) override;

private:
    void watchScreen(QScreen* screen);
    void screensChanged();

    void followCompositor();
    std::optional<WindowShapeKind> shapeToFollow() const;
    void follow(std::optional<WindowShapeKind> kind);
    void reshapeWhole();
    void scheduleShapeRefresh();
    void refreshShape();
    void cutTo(const QRegion& shape);
    QRegion visiblePixels(const QRect& area);
    const QImage* paintedPixels() const;

    DewbellStore* store_;
    bool uiTest_;
    QPointer<QWidget> mainWindow_;
    ReminderSurface* surface_;
    std::unique_ptr<CompositorReading> compositor_;
    std::unique_ptr<WindowShaping> shaping_;

    // The shape that follows the canvas; none while the window stays whole.
    std::optional<WindowShapeKind> followed_;
    // The cut in force; none while the followed shape is whole.
    std::optional<QRegion> shape_;
    QRegion pendingChange_;
    QTimer shapeTimer_;
    QElapsedTimer sinceShapeRefresh_;
};
