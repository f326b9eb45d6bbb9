#pragma once

#include "model/CharacterPack.h"
#include "model/PictureChecks.h"

#include <QList>
#include <QString>
#include <QStringList>

// The companions in pack folders. Each sub-folder is validated (LocalFiles::validatePack); one
// that fails, or whose id another companion already has, is left out and named with the reason,
// never dropped without a word.
struct PackScan {
    struct NotLoaded {
        QString folder;
        QString reason;
    };

    QList<CharacterPack> packs;
    QList<NotLoaded> notLoaded;

    // Scans each parent's sub-folders in name order; the ids of `taken` count as loaded already.
    // `checks` spares pictures decoded before (none: every picture is decoded).
    static PackScan scan(const QStringList& parents, const QList<CharacterPack>& taken,
                         PictureChecks* checks = nullptr);

    // One sentence naming every folder left out and why; empty when all loaded.
    QString notLoadedSentence() const;
};
