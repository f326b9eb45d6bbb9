#pragma once

#include "ui/OnScreenWidget.h"

#include <QDateTime>
#include <QImage>
#include <QTimer>
#include <functional>

// The Dewbell icon as the tour's mock menu bar draws it: the monochrome brand mark in the
// accent colour on a rounded highlight that slowly breathes, pointing out where Dewbell lives.
// It redraws at most 30 times a second, and only while it is on screen and motion is allowed;
// under reduced motion the highlight stands still and no timer runs at all.
class TourMenuIcon : public OnScreenWidget {
    Q_OBJECT
public:
    static constexpr int markSize = 18;
    static constexpr int padding = 8;
    // 1/30 s, rounded up to whole milliseconds.
    static constexpr int frameMilliseconds = 34;
    static constexpr qreal steadyOpacity = 0.3;

    explicit TourMenuIcon(QWidget* parent = nullptr);

    // The highlight's opacity at `date`: 0.12 to 0.36 and back every 1.6 s, or steady under
    // reduced motion.
    qreal highlightOpacity(const QDateTime& date) const;
    // The swing itself, `seconds` counted from 2001-01-01 00:00 UTC.
    static qreal pulsingOpacity(double seconds);

    bool isPulsing() const { return timer_.isActive(); }

    // Where "now" comes from; tests hand in a fixed clock.
    void setClock(std::function<QDateTime()> clock);

    QSize sizeHint() const override;

protected:
    void onScreenChanged(bool onScreen) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void refreshTimer();

    QTimer timer_;
    std::function<QDateTime()> clock_;
    // The mark is cut out of its drop with path operations, far too slow to repeat 30 times a
    // second, so it is drawn once per pixel ratio.
    QImage mark_;
};
