#pragma once

#include <QByteArray>
#include <QStringList>
#include <utility>

// The art self-check behind "--diagnose-assets". It looks inside the application bundle
// (AppBundle::directory()) at info.json, the brand files, the "Pop" sound and every pack folder
// under Characters, and says for each file "ok", "missing", "undecodable", "too large" or
// "outside the pack", with its path, so a person can see exactly which file to restore. It also
// names every companion the user imported that a launch would leave out, and why.
// Uses Qt Core and QImageReader only: it runs before any application object exists.
class AssetDiagnostics {
public:
    // The report as pretty-printed JSON with sorted keys, and whether everything required is
    // present and decodes. Never throws.
    static std::pair<QByteArray, bool> report();

    static const QStringList& requiredBrandFiles();
    // The packs this installation ships; each must be present in Characters.
    static const QStringList& bundledPackIDs();
};
