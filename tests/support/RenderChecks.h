#pragma once

#include "model/AppBundle.h"
#include "model/CharacterPack.h"
#include "model/LocalFiles.h"

#include <QImage>

// Small helpers the companion tests share.
namespace RenderChecks {

inline int visiblePixels(const QImage& image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    int count = 0;
    for (int y = 0; y < argb.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            count += qAlpha(line[x]) > 32 ? 1 : 0;
    }
    return count;
}

// A picture counts as drawn when at least 5 % of it is covered.
inline bool isDrawn(const QImage& image)
{
    return visiblePixels(image) > image.width() * image.height() / 20;
}

inline CharacterPack bundledPack(const QString& folder)
{
    return LocalFiles::validatePack(AppBundle::path(QStringLiteral("Characters/") + folder));
}

inline CharacterPack builtIn(const QString& id)
{
    for (const CharacterPack& pack : CharacterPack::builtIns()) {
        if (pack.id == id)
            return pack;
    }
    return {};
}

}  // namespace RenderChecks
