#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QLabel;
class QWidget;

// The text styles every surface shares: the window, the popover and the reminder panel.
//
// Sizes are logical pixels: the design's points on a 1x screen. They are set as pixel sizes,
// never as point sizes, so a label, a button and the fixed widths around them keep their
// proportions whatever font resolution the desktop reports.

// The three type designs the interface uses: the desktop's sans-serif, a rounded family when
// one is installed (else the sans-serif) and fontconfig's serif.
enum class FontDesign { standard, rounded, serif };

// A font `pixelSize` logical pixels high (whole pixels; a half rounds up). `tracking` is extra
// letter spacing in pixels, as the small capital captions use.
QFont uiFont(qreal pixelSize, QFont::Weight weight = QFont::Normal, FontDesign design = FontDesign::standard,
             qreal tracking = 0);

// The installed rounded family, or an empty string when there is none.
QString roundedFamily();

// The width each digit takes in figures that must not jitter as they change (a countdown):
// the advance of the font's widest digit.
qreal tabularDigitWidth(const QFont& font);

// The colour a label or a button draws its text in.
void setTextColor(QWidget* widget, const QColor& color);

// A label in the given font and colour, showing its text as plain text.
QLabel* makeLabel(const QString& text, const QFont& font, const QColor& color, QWidget* parent = nullptr);
