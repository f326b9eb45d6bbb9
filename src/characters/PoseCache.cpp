#include "characters/PoseCache.h"

#include <QCache>
#include <QImage>
#include <QPaintDevice>
#include <QSemaphore>
#include <QSize>
#include <QThreadPool>
#include <cmath>

namespace {

struct PictureKey {
    QString kind;
    BuddyPose pose;
    QSize pixels;
    qreal ratio;

    bool operator==(const PictureKey&) const = default;
};

size_t qHash(const PictureKey& key, size_t seed = 0)
{
    return qHashMulti(seed, key.kind, key.pose, key.pixels.width(), key.pixels.height(), key.ratio);
}

struct Pictures {
    QCache<PictureKey, QImage> images{PoseCache::budgetKilobytes};
    int drawn = 0;
};

Pictures& pictures()
{
    static Pictures shared;
    return shared;
}

// True when a picture copied pixel for pixel looks as the drawing itself would: the painter
// only moves or mirrors.
bool copiesPixelForPixel(const QTransform& transform)
{
    return transform.type() <= QTransform::TxScale && std::abs(transform.m11()) == 1 && std::abs(transform.m22()) == 1;
}

// Qt's raster engine hands every large shape it fills to the threads of the global pool in
// parts, and waits for them: drawing a companion so costs dozens of hand-overs between threads,
// more than the drawing itself. Drawn by one thread of that pool, the shapes are filled where
// they are drawn, for one hand-over a picture; with no thread free, the picture is drawn here.
QImage drawPicture(const QSize& pixels, qreal ratio, const QSizeF& size, const PoseCache::Drawing& draw)
{
    QImage picture(pixels, QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    const auto paint = [&] {
        QPainter art(&picture);
        draw(art, QRectF(QPointF(0, 0), size));
    };
    QSemaphore drawn;
    if (QThreadPool::globalInstance()->tryStart([&] {
            paint();
            drawn.release();
        }))
        drawn.acquire();
    else
        paint();
    return picture;
}

int kilobytes(const QSize& pixels)
{
    return int(std::max<qint64>(1, qint64(pixels.width()) * pixels.height() * 4 / 1024));
}

}  // namespace

void PoseCache::paint(QPainter& painter, const QRectF& rect, const QString& kind, const BuddyPose& pose,
                      const Drawing& draw)
{
    if (rect.isEmpty())
        return;
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const PictureKey key{kind, pose, (rect.size() * ratio).toSize(), ratio};
    // A picture larger than the whole budget would not be kept.
    if (!copiesPixelForPixel(painter.worldTransform()) || kilobytes(key.pixels) > budgetKilobytes) {
        draw(painter, rect);
        return;
    }
    const QImage* picture = pictures().images.object(key);
    if (!picture) {
        auto* drawn = new QImage(drawPicture(key.pixels, ratio, rect.size(), draw));
        ++pictures().drawn;
        picture = drawn;
        pictures().images.insert(key, drawn, kilobytes(key.pixels));
    }
    painter.drawImage(rect.topLeft(), *picture);
}

int PoseCache::picturesDrawn()
{
    return pictures().drawn;
}

void PoseCache::clear()
{
    pictures().images.clear();
    pictures().drawn = 0;
}
