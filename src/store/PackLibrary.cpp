#include "store/PackLibrary.h"

#include "model/LocalFiles.h"

#include <QDir>

namespace {

bool isInside(const std::optional<QString>& folder, const QString& parent)
{
    if (!folder)
        return false;
    const QString canonicalParent = QDir(parent).canonicalPath();
    const QString canonicalFolder = QDir(*folder).canonicalPath();
    return !canonicalParent.isEmpty() && canonicalFolder.startsWith(canonicalParent + QLatin1Char('/'));
}

}  // namespace

PackScan PackLibrary::load(const QString& bundleCharacters, const QString& privateCharacters, bool rememberPictures)
{
    std::optional<PictureChecks> checks;
    if (rememberPictures)
        checks.emplace(PictureChecks::defaultPath());
    PictureChecks shipped = PictureChecks::trustingShippedArt();
    const QList<CharacterPack> builtIns = CharacterPack::builtIns();
    PackScan scan = PackScan::scan({bundleCharacters}, builtIns, &shipped);
    const PackScan own = PackScan::scan({privateCharacters}, builtIns + scan.packs, checks ? &*checks : nullptr);
    scan.packs = builtIns + scan.packs + own.packs;
    scan.notLoaded += own.notLoaded;
    if (checks) {
        checks->forgetUnseen();
        checks->save();
    }
    return scan;
}

CharacterPack PackLibrary::import(const QString& folder, const QList<CharacterPack>& loaded,
                                  const QString& privateCharacters, PictureChecks* checks)
{
    CharacterPack pack = LocalFiles::validatePack(folder);
    for (const CharacterPack& existing : loaded) {
        if (existing.id == pack.id && !isInside(existing.folder, privateCharacters))
            throw ImportError(QStringLiteral("“%1” comes with Dewbell, so a pack with the id “%2” can't replace it. "
                                             "Give the pack an id of its own.")
                                  .arg(existing.name, pack.id));
    }
    pack.folder = LocalFiles::installPack(folder, pack, privateCharacters, checks);
    return pack;
}

QList<CharacterPack> PackLibrary::replacingOrAppending(QList<CharacterPack> packs, const CharacterPack& pack)
{
    for (CharacterPack& existing : packs) {
        if (existing.id == pack.id) {
            existing = pack;
            return packs;
        }
    }
    packs.append(pack);
    return packs;
}
