#pragma once

#include "reminders/tour/OnboardingView.h"

#include <QDialog>
#include <QPointer>

class DewbellStore;
class UrlOpener;

// The first-run tour as a sheet over the main window, open exactly while the store's
// tourVisible is true (and the window is on screen). Each opening builds a fresh tour, seeded
// from the preferences as they are then. However the sheet closes, the tour ends: a tour that
// was never finished is then recorded as finished, so it is not offered again.
//
// The sheet is not modal: a window behind a modal one cannot be closed from its title bar, and
// closing the main window is one way to leave the tour. The main view takes no input while the
// sheet is open instead.
class TourSheet : public QDialog {
    Q_OBJECT
public:
    TourSheet(DewbellStore* store, QWidget* window, UrlOpener& opener);

    // Opens or closes the sheet to match the store.
    void sync();

    // The tour on show; none while the sheet is closed.
    OnboardingView* tour() const { return tour_; }

    void done(int result) override;

private:
    DewbellStore* store_;
    UrlOpener& opener_;
    QPointer<OnboardingView> tour_;
};
