#pragma once

#include <QColor>
#include <QPainter>
#include <QRectF>
#include <QString>

// What a companion shows when its picture is missing or does not decode: a soft disc in the
// pack's tint with a symbol on it.
namespace MissingArt {
void paint(QPainter& painter, const QRectF& rect, const QColor& tint, const QString& symbolName);
}
