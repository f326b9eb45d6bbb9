#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QLabel;
class QWidget;

// The three type designs the interface uses: the desktop's sans-serif, a rounded family when
// one is installed (else the sans-serif) and fontconfig's serif.
enum class FontDesign { standard, rounded, serif };

// A font `pixelSize` logical pixels high. Sizes are given in pixels rather than points so that
// text keeps its proportion to the fixed widths of the popover and the sidebar on every DPI.
// `tracking` is extra letter spacing in pixels.
QFont uiFont(qreal pixelSize, QFont::Weight weight = QFont::Normal, FontDesign design = FontDesign::standard,
             qreal tracking = 0);

// The colour a label or a button draws its text in.
void setTextColor(QWidget* widget, const QColor& color);

// A label in the given font and colour.
QLabel* makeLabel(const QString& text, const QFont& font, const QColor& color, QWidget* parent = nullptr);
