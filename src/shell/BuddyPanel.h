#pragma once

#include "CompositorReading.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QRegion>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <optional>

class DewbellStore;
class QGraphicsView;
class QScreen;
class ReminderSurface;

// The floating window the companion walks onto: frameless, transparent, above other windows,
// never focused, never activating Dewbell and never moved by dragging. It sits at the bottom
// right of the main window's screen (else the primary screen), placed and scaled by
// ReminderPlacement, and follows screen changes while it is shown. Hiding it never closes it.
//
// On a desktop that does not blend translucent windows (X11 without a compositing manager) the
// transparent parts would show as black, so there the window is cut to the canvas's visible
// pixels and the cut follows the canvas as it changes, at most `shapeRefreshesPerSecond` times
// a second. A blending desktop shows the canvas as it is, uncut.
class BuddyPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int shapeRefreshesPerSecond = 30;

    // `mainWindow` decides the screen while it is visible. Without `compositor` the panel asks
    // the desktop each time it is shown.
    BuddyPanel(DewbellStore* store, bool uiTest, QWidget* mainWindow = nullptr,
               std::unique_ptr<CompositorReading> compositor = nullptr);
    ~BuddyPanel() override;

    // Shows the panel for the reminder the store has just published.
    void presentBuddy();
    // Places and scales the panel on a screen.
    void positionBuddy(QScreen* screen);

    ReminderSurface* surface() const { return surface_; }

    // The main window's screen while it is visible, else the primary screen; none without screens.
    QScreen* presentationScreen() const;

protected:
    // Follows what the canvas paints while the window is cut.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watchScreen(QScreen* screen);
    void screensChanged();

    void followCompositor();
    void reshapeWhole();
    void scheduleShapeRefresh();
    void refreshShape();
    void cutTo(const QRegion& shape);
    QRegion visiblePixels(const QRect& area);

    DewbellStore* store_;
    bool uiTest_;
    QPointer<QWidget> mainWindow_;
    ReminderSurface* surface_;
    QGraphicsView* canvasView_;
    std::unique_ptr<CompositorReading> compositor_;

    bool shaped_ = false;
    // Set while the canvas is drawn for the cut, whose own painting is no change.
    bool drawingShape_ = false;
    // The cut in force; none while the window is uncut.
    std::optional<QRegion> shape_;
    QRegion pendingChange_;
    QTimer shapeTimer_;
    QElapsedTimer sinceShapeRefresh_;
};
