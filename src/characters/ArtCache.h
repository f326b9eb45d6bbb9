#pragma once

#include "model/CharacterPack.h"

#include <QImage>
#include <QString>
#include <optional>

// Decoded character art, kept for the life of the process so a walking companion never
// reads or slices a file twice. Main thread only.
class ArtCache {
public:
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
    // How many cells have been cut so far (tests use it to see the cache at work).
    static int slicesMade();
    static void clear();
};
