#pragma once

#include "window/MainPages.h"

#include <QColor>
#include <QList>
#include <QWidget>

class DewbellStore;
class QLabel;
class SidebarButton;
class StatusDot;

// The main window's left column: the brand, one row per page, a status card and the
// "Settings" entry. Each row only sets the store's selectedPage.
class MainSidebar : public QWidget {
    Q_OBJECT
public:
    static constexpr int sidebarWidth = 202;

    explicit MainSidebar(DewbellStore* store, QWidget* parent = nullptr);

    // Reads the store again: highlight and status card.
    void refresh();

    // The status card's line and its dot: focus, meeting, pause (also reminders off), quiet
    // hours, else all is well. The dot is orange whenever reminders are paused or off.
    static QString statusText(const DewbellStore& store);
    static QColor statusColor(const DewbellStore& store);
    static QColor pausedColor();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* makeBrandRow();
    QWidget* makeStatusCard();
    SidebarButton* makeEntry(MainPage page);

    DewbellStore* store_;
    QList<SidebarButton*> entries_;
    QLabel* statusLabel_ = nullptr;
    StatusDot* statusDot_ = nullptr;
};
