#pragma once

#include <QImage>
#include <QRect>

// The soft shadow beneath the speech bubble: black at 20 %, 15 points soft, 6 points down.
// Blurring is costly, so the picture is made once per card size and drawn from then on.
class CardShadow {
public:
    // Draws the shadow of a card occupying `card` (in the painter's coordinates).
    void paint(QPainter& painter, const QRect& card);

    static constexpr int softness = 15;
    static constexpr int drop = 6;

private:
    static QImage render(const QSize& card);

    QImage picture_;
    QSize cardSize_;
};
