#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QLabel;
class QWidget;

// Fonts and text rows of the reminder surfaces. Sizes are canvas points: one point is one
// logical pixel of the 410 x 760 reminder canvas, whatever the screen's font resolution.
struct SurfaceStyle {
    // The desktop's sans-serif.
    static QFont system(qreal points, QFont::Weight weight = QFont::Normal);
    // fontconfig's "serif".
    static QFont serif(qreal points, QFont::Weight weight = QFont::Normal);
    // A rounded family when one is installed, else the desktop's sans-serif.
    static QFont rounded(qreal points, QFont::Weight weight = QFont::Normal);
    // The small capitals-style caption of a card's header: semibold, tracked by 1.2 points.
    static QFont caption();
    // The installed rounded family, or an empty string when there is none.
    static QString roundedFamily();

    static QLabel* label(const QFont& font, const QColor& color, QWidget* parent);
    static void setTextColor(QWidget* widget, const QColor& color);
};
