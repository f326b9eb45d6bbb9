#pragma once

#include <QImage>
#include <QString>

// A transparent picture of `size` to draw on.
QImage transparentCanvas(QSize size);

// Writes `image` as a PNG file; throws when it cannot.
void savePng(const QImage& image, const QString& path);
