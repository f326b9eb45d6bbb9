#pragma once

#include <QWidget>
#include <optional>

class DewbellStore;
class BuddyView;

// The reminder itself, on the 410 x 760 reminder canvas.
class ReminderView : public QWidget {
    Q_OBJECT
public:
    explicit ReminderView(DewbellStore* store, std::optional<double> fixedElapsed = std::nullopt,
                          QWidget* parent = nullptr);

    QSize sizeHint() const override;

private:
    void render();

    DewbellStore* store_;
    std::optional<double> fixedElapsed_;
    BuddyView* picture_;
};
