#pragma once

#include "model/CharacterPack.h"
#include "model/PackScan.h"
#include "model/PictureChecks.h"

#include <QList>
#include <QString>

// Where the companions come from: the four built-in packs, then the bundle's "Characters"
// folder, then the user's own "Characters" folder in the private folder.
struct PackLibrary {
    // The built-in packs, then the packs that load from both folders. A pack that fails
    // validation is left out, and so is a later pack whose id is already loaded; the scan names
    // them. The bundle's pictures have only their headers read. With `rememberPictures`, the
    // user's pictures decoded at an earlier launch and unchanged since have only their headers
    // read too, and the record of them is brought up to date.
    static PackScan load(const QString& bundleCharacters, const QString& privateCharacters, bool rememberPictures);

    // Validates `folder`, refuses an id that belongs to a pack the user did not import, and
    // installs the pack into `privateCharacters`, remembering its pictures in `checks`. Returns
    // the installed pack. Throws ImportError.
    static CharacterPack import(const QString& folder, const QList<CharacterPack>& loaded,
                                const QString& privateCharacters, PictureChecks* checks = nullptr);

    // `packs` with `pack` in place of the pack with the same id, or appended.
    static QList<CharacterPack> replacingOrAppending(QList<CharacterPack> packs, const CharacterPack& pack);
};
