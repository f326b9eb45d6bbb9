#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <optional>

// Icons by their symbol names ("xmark", "drop", "checkmark.circle.fill" …), drawn from the
// Material Icons font. A name the table lacks, or a missing font, draws a small placeholder
// (a rounded square with a dot) instead: an icon never fails the interface.
class Symbols {
public:
    // Every symbol name the table knows, sorted.
    static QStringList names();
    // The Material Icons code point for a name; none for an unknown name.
    static std::optional<char32_t> codepoint(const QString& name);
    // True when the font is loaded and holds the glyph for this name.
    static bool isAvailable(const QString& name);

    // The icon font at a pixel size; none when the font could not be loaded.
    static std::optional<QFont> font(qreal pixelSize);

    // Draws the symbol centred in `rect`, as large as the smaller side.
    static void paint(QPainter& painter, const QRectF& rect, const QString& name, const QColor& color);
    // The placeholder drawn for a name that cannot be shown.
    static void paintPlaceholder(QPainter& painter, const QRectF& rect, const QColor& color);

    // A square picture of the symbol, `size` logical pixels on a side.
    static QPixmap pixmap(const QString& name, int size, const QColor& color, qreal devicePixelRatio = 1.0);
    // An icon with sharp pictures at 1x and 2x.
    static QIcon icon(const QString& name, int size, const QColor& color);

    // Where the font is read from when the system does not know it already.
    static QString fontFile();
};
