#include "Canvas.h"

#include <stdexcept>

QImage transparentCanvas(QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void savePng(const QImage& image, const QString& path)
{
    if (!image.save(path, "PNG", 0))
        throw std::runtime_error("cannot write " + path.toStdString());
}
