#include "model/PackScan.h"

#include "model/LocalFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

PackScan PackScan::scan(const QStringList& parents, const QList<CharacterPack>& taken, PictureChecks* checks)
{
    PackScan result;
    QSet<QString> ids;
    for (const CharacterPack& pack : taken)
        ids.insert(pack.id);
    for (const QString& parent : parents) {
        const QDir folders(parent);
        for (const QString& name : folders.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
            const QString folder = folders.filePath(name);
            try {
                const CharacterPack pack = LocalFiles::validatePack(folder, checks);
                if (ids.contains(pack.id)) {
                    result.notLoaded.append(
                        {folder, QStringLiteral("Another companion already has the id “%1”.").arg(pack.id)});
                    continue;
                }
                ids.insert(pack.id);
                result.packs.append(pack);
            } catch (const ImportError& error) {
                result.notLoaded.append({folder, error.message()});
            }
        }
    }
    return result;
}

QString PackScan::notLoadedSentence() const
{
    if (notLoaded.isEmpty())
        return {};
    QStringList parts;
    for (const NotLoaded& entry : notLoaded)
        parts.append(QStringLiteral("“%1”: %2").arg(QFileInfo(entry.folder).fileName(), entry.reason));
    const QString lead = notLoaded.size() == 1 ? QStringLiteral("A companion couldn't be loaded and is missing from "
                                                                "the crew. ")
                                               : QStringLiteral("Some companions couldn't be loaded and are missing "
                                                                "from the crew. ");
    return lead + parts.join(QLatin1Char(' '));
}
