#pragma once

#include "model/CharacterPack.h"
#include "model/ReminderKind.h"

#include <QRectF>
#include <QSizeF>

// Where the reminder canvas sits on a screen. Rectangles use Qt's screen coordinates
// (origin top left, y growing downwards).
struct ReminderPlacement {
    static constexpr double canvasWidth = 410.0;
    static constexpr double canvasHeight = 760.0;
    static QSizeF canvas() { return {canvasWidth, canvasHeight}; }

    struct Layout {
        QRectF frame;
        double scale = 1.0;
    };

    // Canvas points by which the canvas hangs below the bottom of the visible frame, so the
    // companion's feet stand on the screen edge: 20, more for water reminders of companions
    // whose art leaves room under their feet.
    static double footInset(const CharacterPack& pack, ReminderKind kind);

    // The panel at the bottom right of the visible frame, scaled down (never up) to fit.
    static Layout layout(const QRectF& visibleFrame, double footInset);
};
