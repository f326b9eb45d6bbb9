#pragma once

#include "model/CharacterPack.h"

#include <QImage>
#include <QString>
#include <optional>

// Decoded character art, kept so a walking companion does not read or slice a file twice, and
// bounded: once the pictures, frames and fitted copies weigh more than budgetKilobytes, the least
// recently used go first. Main thread only.
class ArtCache {
public:
    // Twice the largest a pack's pictures may be decoded (LocalFiles::packPixelLimit, 64 MiB):
    // a shown companion's pictures and the frames cut from them fit, and nothing more stays.
    static constexpr int budgetKilobytes = 128 * 1024;

    // The picture at an absolute path, read within LocalFiles::imageLimit. A null image when
    // the file is missing, too large or does not decode (remembered too, so a broken file is
    // not read again on every frame).
    static QImage image(const QString& path);
    // A file of a pack, resolved safely inside the pack's folder; null when it cannot be used.
    static QImage packImage(const CharacterPack& pack, const std::optional<QString>& name);
    // Cell `index` of a sprite sheet (wrapped into its frame count), sliced once.
    static QImage frame(const CharacterPack& pack, const SpriteSheet& sheet, int index);

    // The picture scaled smoothly to fit `bounds` with its aspect kept, remembered per size so
    // an animation does not rescale the same frame every time it comes round.
    static QImage fitted(const QImage& picture, const QSize& bounds);

    // Cell `index` of a decoded sheet: cells are read left to right, top to bottom.
    static QImage slice(const QImage& sheetImage, const SpriteSheet& sheet, int index);
    // What the kept pictures weigh.
    static int residentKilobytes();
    // How many cells have been cut so far (tests use it to see the cache at work).
    static int slicesMade();
    static void clear();
};
