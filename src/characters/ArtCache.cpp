#include "characters/ArtCache.h"

#include "model/LocalFiles.h"

#include <QHash>

namespace {

struct Caches {
    QHash<QString, QImage> images;
    QHash<QString, QString> packPaths;  // folder + name -> absolute path ("" when unusable)
    QHash<QString, QImage> frames;
    QHash<QString, QImage> fitted;
    int slices = 0;
};

Caches& caches()
{
    static Caches shared;
    return shared;
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
    auto found = caches().images.constFind(path);
    if (found != caches().images.constEnd())
        return *found;
    QImage decoded;
    try {
        decoded = QImage::fromData(LocalFiles::readBounded(path, LocalFiles::imageLimit));
    } catch (const std::exception&) {
        decoded = QImage();
    }
    if (!decoded.isNull())
        decoded = decoded.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    caches().images.insert(path, decoded);
    return decoded;
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
    const QString key =
        packKey(pack, sheet.file) + QStringLiteral("\n%1x%2#%3").arg(sheet.columns).arg(sheet.rows).arg(cell);
    auto found = caches().frames.constFind(key);
    if (found != caches().frames.constEnd())
        return *found;
    const QImage cut = slice(packImage(pack, sheet.file), sheet, cell);
    caches().frames.insert(key, cut);
    return cut;
}

QImage ArtCache::fitted(const QImage& picture, const QSize& bounds)
{
    if (picture.isNull() || bounds.isEmpty())
        return {};
    const QSize size = picture.size().scaled(bounds, Qt::KeepAspectRatio);
    if (size == picture.size())
        return picture;
    const QString key = QStringLiteral("%1@%2x%3").arg(picture.cacheKey()).arg(size.width()).arg(size.height());
    auto found = caches().fitted.constFind(key);
    if (found != caches().fitted.constEnd())
        return *found;
    // Windows being resized would otherwise fill the cache with sizes never seen again.
    if (caches().fitted.size() > 512)
        caches().fitted.clear();
    const QImage scaled = picture.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    caches().fitted.insert(key, scaled);
    return scaled;
}

int ArtCache::slicesMade()
{
    return caches().slices;
}

void ArtCache::clear()
{
    caches() = Caches();
}
