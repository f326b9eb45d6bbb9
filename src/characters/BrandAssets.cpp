#include "characters/BrandAssets.h"

#include "model/AppBundle.h"
#include "model/LocalFiles.h"
#include "model/PictureFormat.h"
#include "ui/Symbols.h"

#include <QDir>
#include <QHash>
#include <QPixmap>

namespace {

QHash<QString, QImage>& loaded()
{
    static QHash<QString, QImage> images;
    return images;
}

bool isPlainName(const QString& name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'))
           && name != QStringLiteral(".") && name != QStringLiteral("..");
}

QString brandPath(const QString& name)
{
    return QDir(AppBundle::path(QStringLiteral("Brand"))).filePath(name);
}

}  // namespace

std::optional<QImage> BrandAssets::image(const QString& name)
{
    if (!isPlainName(name))
        return std::nullopt;
    const QString file = brandPath(name);
    if (const auto found = loaded().constFind(file); found != loaded().constEnd())
        return *found;
    // Only pictures that decode are kept, so a file repaired later is picked up.
    QImage decoded;
    try {
        decoded = PictureFormat::decode(LocalFiles::readBounded(file, LocalFiles::imageLimit));
    } catch (const std::exception&) {
        return std::nullopt;
    }
    if (decoded.isNull())
        return std::nullopt;
    loaded().insert(file, decoded);
    return decoded;
}

std::optional<QString> BrandAssets::path(const QString& name)
{
    if (!image(name))
        return std::nullopt;
    return brandPath(name);
}

QIcon BrandAssets::menuIcon()
{
    QIcon icon;
    if (const auto art = image(QStringLiteral("menu-template-v1.png"))) {
        const QPixmap full = QPixmap::fromImage(*art);
        for (const int pixels : {menuIconSize, menuIconSize * 2})
            icon.addPixmap(full.scaled(pixels, pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    } else {
        icon = Symbols::icon(QStringLiteral("drop.fill"), menuIconSize, Qt::black);
    }
    icon.setIsMask(true);
    return icon;
}

void BrandAssets::clearCache()
{
    loaded().clear();
}
