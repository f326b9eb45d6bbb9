#pragma once

#include "model/Preferences.h"
#include "model/ReminderKind.h"

#include <QPointer>
#include <QWidget>

class UrlOpener;

// The explanation of one kind of break, as a small popup window under the info button that
// opened it: what the break is for, the user's rhythm for it, how the buddy asks, and a link to
// the documentation. It closes with its close button, Escape, a click outside, or a second
// click on the info button.
class BreakInfoPopover : public QWidget {
    Q_OBJECT
public:
    static constexpr int popoverWidth = 320;

    BreakInfoPopover(ReminderKind kind, const BreakPreferences& preferences, UrlOpener* opener, QWidget* anchor);

    // Shows the popover under its anchor (above it when there is no room below), kept on the
    // anchor's screen.
    void popUp();

    // "Eye-rest breaks" for eye rest; every other kind gets the movement texts.
    static QString title(ReminderKind kind);
    static QString explanation(ReminderKind kind);
    static QString rhythm(ReminderKind kind, const BreakPreferences& preferences);

signals:
    void closed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QPointer<QWidget> anchor_;
};
