#include "platform/DesktopFiles.h"

#include "model/LocalFiles.h"

#include <QDirIterator>
#include <QFile>
#include <QSet>
#include <QStandardPaths>

namespace {
constexpr qint64 desktopFileReadLimit = 64 * 1024;
}  // namespace

QStringList DesktopFiles::applicationFolders()
{
    return QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation);
}

QList<DesktopFile> DesktopFiles::scan(const QStringList& folders)
{
    QList<DesktopFile> files;
    QSet<QString> seen;
    for (const QString& folder : folders) {
        const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
        QDirIterator found(folder, {QStringLiteral("*.desktop")}, QDir::Files, QDirIterator::Subdirectories);
        while (found.hasNext()) {
            const QString path = found.next();
            QString id = path.mid(prefix.size());
            id.chop(int(sizeof(".desktop") - 1));
            id.replace(QLatin1Char('/'), QLatin1Char('-'));
            if (seen.contains(id))
                continue;
            seen.insert(id);
            files.append({id, path});
        }
    }
    return files;
}

QHash<QString, QString> DesktopFiles::mainGroup(const QString& path)
{
    QHash<QString, QString> keys;
    QFile file(path);
    if (!LocalFiles::openRegularFile(file))
        return keys;
    bool inMainGroup = false;
    for (const QByteArray& rawLine : file.read(desktopFileReadLimit).split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (line.startsWith('[')) {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (!inMainGroup || line.startsWith('#') || equals <= 0)
            continue;
        const QString key = QString::fromUtf8(line.left(equals).trimmed());
        if (!keys.contains(key))
            keys.insert(key, QString::fromUtf8(line.mid(equals + 1).trimmed()));
    }
    return keys;
}
