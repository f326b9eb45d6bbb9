#pragma once

#include <QDialog>

class DewbellStore;

// The first-run tour as a sheet over the main window, open exactly while the store's
// tourVisible is true (and the window is on screen). However it closes, the tour ends: a tour
// that was never finished is then recorded as finished, so it is not offered again.
class TourSheet : public QDialog {
    Q_OBJECT
public:
    TourSheet(DewbellStore* store, QWidget* window);

    // Opens or closes the sheet to match the store.
    void sync();

    // The tour itself. Until the real tour lands this is a stand-in with its first title and
    // a way out.
    static QWidget* makeContent(DewbellStore* store, QWidget* parent);

    void done(int result) override;

private:
    DewbellStore* store_;
};
