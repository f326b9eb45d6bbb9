#pragma once

#include <QPointer>
#include <QWidget>

class DewbellStore;
class QScreen;
class ReminderSurface;

// The floating window the companion walks onto: frameless, transparent, above other windows,
// never focused, never activating Dewbell and never moved by dragging. It sits at the bottom
// right of the main window's screen (else the primary screen), placed and scaled by
// ReminderPlacement, and follows screen changes while it is shown. Hiding it never closes it.
class BuddyPanel : public QWidget {
    Q_OBJECT
public:
    // `mainWindow` decides the screen while it is visible.
    BuddyPanel(DewbellStore* store, bool uiTest, QWidget* mainWindow = nullptr);

    // Shows the panel for the reminder the store has just published.
    void presentBuddy();
    // Places and scales the panel on a screen.
    void positionBuddy(QScreen* screen);

    ReminderSurface* surface() const { return surface_; }

    // The main window's screen while it is visible, else the primary screen; none without screens.
    QScreen* presentationScreen() const;

private:
    void watchScreen(QScreen* screen);
    void screensChanged();

    DewbellStore* store_;
    bool uiTest_;
    QPointer<QWidget> mainWindow_;
    ReminderSurface* surface_;
};
