#pragma once

#include "model/Preferences.h"
#include "model/ReminderKind.h"
#include "reminders/tour/BreakInfoPopover.h"

#include <QAbstractButton>
#include <QPointer>

class UrlOpener;

// The small "i" beside a break switch of the tour. A click opens the explanation of that kind
// of break with the user's current rhythm; a second click closes it again.
class BreakInfoButton : public QAbstractButton {
    Q_OBJECT
public:
    static constexpr int symbolSize = 12;
    static constexpr int padding = 4;

    BreakInfoButton(ReminderKind kind, const BreakPreferences& preferences, UrlOpener* opener,
                    QWidget* parent = nullptr);

    // The rhythm the next explanation shows.
    void setPreferences(const BreakPreferences& preferences);

    bool isShowingInfo() const { return !popover_.isNull(); }
    BreakInfoPopover* popover() const { return popover_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void toggleInfo();

    ReminderKind kind_;
    BreakPreferences preferences_;
    UrlOpener* opener_;
    QPointer<BreakInfoPopover> popover_;
};
