#pragma once

#include <QWidget>

// A widget with work that should run only while it is on screen (a timer, a movie, a panel it
// carries): onScreenChanged() is called each time the widget is shown or hidden.
class OnScreenWidget : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

protected:
    virtual void onScreenChanged(bool onScreen) = 0;

    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
};
