#include "store/PackLibrary.h"

#include "model/LocalFiles.h"

#include <QDir>
#include <QSet>

namespace {

void appendPacksIn(const QString& parent, QList<CharacterPack>& packs, QSet<QString>& ids)
{
    const QStringList folders = QDir(parent).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : folders) {
        try {
            const CharacterPack pack = LocalFiles::validatePack(QDir(parent).filePath(name));
            if (ids.contains(pack.id))
                continue;
            ids.insert(pack.id);
            packs.append(pack);
        } catch (const ImportError&) {
            // A broken pack only goes missing from the crew; the rest still load.
        }
    }
}

bool isInside(const std::optional<QString>& folder, const QString& parent)
{
    if (!folder)
        return false;
    const QString canonicalParent = QDir(parent).canonicalPath();
    const QString canonicalFolder = QDir(*folder).canonicalPath();
    return !canonicalParent.isEmpty() && canonicalFolder.startsWith(canonicalParent + QLatin1Char('/'));
}

}  // namespace

QList<CharacterPack> PackLibrary::load(const QString& bundleCharacters, const QString& privateCharacters)
{
    QList<CharacterPack> packs = CharacterPack::builtIns();
    QSet<QString> ids;
    for (const CharacterPack& pack : packs)
        ids.insert(pack.id);
    appendPacksIn(bundleCharacters, packs, ids);
    appendPacksIn(privateCharacters, packs, ids);
    return packs;
}

CharacterPack PackLibrary::import(const QString& folder, const QList<CharacterPack>& loaded,
                                  const QString& privateCharacters)
{
    CharacterPack pack = LocalFiles::validatePack(folder);
    for (const CharacterPack& existing : loaded) {
        if (existing.id == pack.id && !isInside(existing.folder, privateCharacters))
            throw ImportError(QStringLiteral("“%1” comes with Dewbell, so a pack with the id “%2” can't replace it. "
                                             "Give the pack an id of its own.")
                                  .arg(existing.name, pack.id));
    }
    LocalFiles::ensurePrivateFolder(privateCharacters);
    pack.folder = LocalFiles::installPack(folder, pack, privateCharacters);
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
