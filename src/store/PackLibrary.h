#pragma once

#include "model/CharacterPack.h"

#include <QList>
#include <QString>

// Where the companions come from: the four built-in packs, then the bundle's "Characters"
// folder, then the user's own "Characters" folder in the private folder.
struct PackLibrary {
    // A pack that fails validation is skipped, and so is a later pack whose id is already loaded.
    static QList<CharacterPack> load(const QString& bundleCharacters, const QString& privateCharacters);

    // Validates `folder`, refuses an id that belongs to a pack the user did not import, and
    // installs the pack into `privateCharacters`. Returns the installed pack. Throws ImportError.
    static CharacterPack import(const QString& folder, const QList<CharacterPack>& loaded,
                                const QString& privateCharacters);

    // `packs` with `pack` in place of the pack with the same id, or appended.
    static QList<CharacterPack> replacingOrAppending(QList<CharacterPack> packs, const CharacterPack& pack);
};
