#include "characters/ArtCache.h"

#include "model/LocalFiles.h"
#include "model/PictureFormat.h"

#include <QCache>
#include <QHash>

namespace {

struct Caches {
    // Decoded pictures, cut frames and fitted copies, by kind and name, weighed in KiB.
    QCache<QString, QImage> pictures{ArtCache::budgetKilobytes};
    QHash<QString, QString> packPaths;  // folder + name -> absolute path ("" when unusable)
    int slices = 0;
};

Caches& caches()
{
    static Caches shared;
    return shared;
}

int kilobytes(const QImage& picture)
{
    return int(std::max<qint64>(1, picture.sizeInBytes() / 1024));
}

std::optional<QImage> cached(const QString& key)
{
    const QImage* found = caches().pictures.object(key);
    return found ? std::optional(*found) : std::nullopt;
}

QImage keep(const QString& key, const QImage& picture)
{
    caches().pictures.insert(key, new QImage(picture), kilobytes(picture));
    return picture;
}

QString packKey(const CharacterPack& pack, const QString& name)
{
    return pack.folder.value_or(QString()) + QLatin1Char('\n') + name;
}

QString resolvedPath(const CharacterPack& pack, const QString& name)
{
    const QString key = packKey(pack, name);
    auto found = caches().packPaths.constFind(key);
    if (found == caches().packPaths.constEnd())
        found = caches().packPaths.insert(key, pack.asset(name).value_or(QString()));
    return *found;
}

}  // namespace

QImage ArtCache::image(const QString& path)
{
    if (path.isEmpty())
        return {};
    const QString key = QStringLiteral("picture\n") + path;
    if (const auto found = cached(key))
        return *found;
    QImage decoded;
    try {
        decoded = PictureFormat::decode(LocalFiles::readBounded(path, LocalFiles::imageLimit));
    } catch (const std::exception&) {
        decoded = QImage();
    }
    if (!decoded.isNull())
        decoded = decoded.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return keep(key, decoded);
}

QImage ArtCache::packImage(const CharacterPack& pack, const std::optional<QString>& name)
{
    if (!name || name->isEmpty() || !pack.folder)
        return {};
    return image(resolvedPath(pack, *name));
}

QImage ArtCache::slice(const QImage& sheetImage, const SpriteSheet& sheet, int index)
{
    const int columns = std::max(1, sheet.columns);
    const int rows = std::max(1, sheet.rows);
    const int count = std::clamp(sheet.frameCount, 1, columns * rows);
    const int cell = ((index % count) + count) % count;
    const int width = sheetImage.width() / columns;
    const int height = sheetImage.height() / rows;
    if (sheetImage.isNull() || width <= 0 || height <= 0)
        return {};
    ++caches().slices;
    return sheetImage.copy((cell % columns) * width, (cell / columns) * height, width, height);
}

QImage ArtCache::frame(const CharacterPack& pack, const SpriteSheet& sheet, int index)
{
    const int count = std::clamp(sheet.frameCount, 1, std::max(1, sheet.columns) * std::max(1, sheet.rows));
    const int cell = ((index % count) + count) % count;
    const QString key = QStringLiteral("frame\n") + packKey(pack, sheet.file)
                        + QStringLiteral("\n%1x%2#%3").arg(sheet.columns).arg(sheet.rows).arg(cell);
    if (const auto found = cached(key))
        return *found;
    return keep(key, slice(packImage(pack, sheet.file), sheet, cell));
}

QImage ArtCache::fitted(const QImage& picture, const QSize& bounds)
{
    if (picture.isNull() || bounds.isEmpty())
        return {};
    const QSize size = picture.size().scaled(bounds, Qt::KeepAspectRatio);
    if (size == picture.size())
        return picture;
    const QString key = QStringLiteral("fitted\n%1@%2x%3").arg(picture.cacheKey()).arg(size.width()).arg(size.height());
    if (const auto found = cached(key))
        return *found;
    // Sizes a resized window passed through once are the first to go.
    return keep(key, picture.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

int ArtCache::residentKilobytes()
{
    return caches().pictures.totalCost();
}

int ArtCache::slicesMade()
{
    return caches().slices;
}

void ArtCache::clear()
{
    caches().pictures.clear();
    caches().packPaths.clear();
    caches().slices = 0;
}
