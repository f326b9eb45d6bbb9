#include "PoseCache.h"

#include <QCache>
#include <QImage>
#include <QPaintDevice>
#include <QSize>
#include <cmath>

namespace {

struct PictureKey {
    QString kind;
    BuddyPose pose;
    QSize pixels;
    qreal ratio;

    bool operator==(const PictureKey&) const = default;
};

size_t qHash(const PictureKey& key, size_t seed = 0) {
    return qHashMulti(seed, key.kind, key.pose, key.pixels.width(), key.pixels.height(), key.ratio);
}

struct Pictures {
    QCache<PictureKey, QImage> images{PoseCache::budgetKilobytes};
    int drawn = 0;
};

Pictures& pictures() {
    static Pictures shared;
    return shared;
}

// True when a picture copied pixel for pixel looks as the drawing itself would: the painter
// only moves or mirrors.
bool copiesPixelForPixel(const QTransform& transform) {
    return transform.type() <= QTransform::TxScale && std::abs(transform.m11()) == 1 && std::abs(transform.m22()) == 1;
}

int kilobytes(const QSize& pixels) { return int(std::max<qint64>(1, qint64(pixels.width()) * pixels.height() * 4 / 1024)); }

} // namespace

void PoseCache::paint(QPainter& painter, const QRectF& rect, const QString& kind, const BuddyPose& pose,
                      const Drawing& draw) {
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
        auto* drawn = new QImage(key.pixels, QImage::Format_ARGB32_Premultiplied);
        drawn->setDevicePixelRatio(ratio);
        drawn->fill(Qt::transparent);
        QPainter art(drawn);
        draw(art, QRectF(QPointF(0, 0), rect.size()));
        art.end();
        ++pictures().drawn;
        picture = drawn;
        pictures().images.insert(key, drawn, kilobytes(key.pixels));
    }
    painter.drawImage(rect.topLeft(), *picture);
}

int PoseCache::picturesDrawn() { return pictures().drawn; }

void PoseCache::clear() {
    pictures().images.clear();
    pictures().drawn = 0;
}
