#pragma once

#include <QBuffer>
#include <QImage>

namespace PictureTesting {

// A small picture of one colour, encoded in `format`.
inline QByteArray imageBytes(const char* format = "PNG", QSize size = {8, 8})
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

}  // namespace PictureTesting
