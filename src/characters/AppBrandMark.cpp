#include "characters/AppBrandMark.h"

#include "characters/BrandMarkArt.h"
#include "ui/Palette.h"

#include <QPainter>
#include <cmath>

AppBrandMark::AppBrandMark(qreal size, bool monochrome, const QColor& tint, QWidget* parent)
    : QWidget(parent), size_(size), monochrome_(monochrome), tint_(tint.isValid() ? tint : Palette::ink())
{
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(sizeHint());
}

QSize AppBrandMark::sizeHint() const
{
    const int side = int(std::ceil(size_));
    return {side, side};
}

QImage AppBrandMark::render(int size, bool monochrome, const QColor& tint, qreal devicePixelRatio)
{
    const int pixels = std::max(1, qRound(size * devicePixelRatio));
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    BrandMarkArt::paint(painter, QRectF(0, 0, pixels, pixels), monochrome, tint);
    painter.end();
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

void AppBrandMark::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    BrandMarkArt::paint(painter, rect(), monochrome_, tint_);
}
