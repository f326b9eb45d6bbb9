#include "model/LocalFiles.h"

#include "model/PictureFormat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>
#include <QUuid>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace LocalFiles {

namespace {

constexpr QFile::Permissions privateFolderMode = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
constexpr QFile::Permissions privateFileMode = QFile::ReadOwner | QFile::WriteOwner;
const QString manifestName = QStringLiteral("character.json");

QString quoted(const QString& name)
{
    return QStringLiteral("“%1”").arg(name);
}

QString sizeText(qint64 bytes)
{
    if (bytes >= MiB && bytes % MiB == 0)
        return QStringLiteral("%1 MiB").arg(bytes / MiB);
    if (bytes >= KiB && bytes % KiB == 0)
        return QStringLiteral("%1 KiB").arg(bytes / KiB);
    return QStringLiteral("%1 bytes").arg(bytes);
}

[[noreturn]] void tooLarge(const QString& name, qint64 limit)
{
    throw ImportError(QStringLiteral("%1 is too large to open (over %2).").arg(quoted(name), sizeText(limit)));
}

// The size of a regular file within `limit`, or an ImportError naming what is wrong.
qint64 checkedSize(const QFileInfo& info, qint64 limit)
{
    if (!info.exists())
        throw ImportError(QStringLiteral("The file %1 is missing.").arg(quoted(info.fileName())));
    if (!info.isFile())
        throw ImportError(QStringLiteral("%1 isn't a regular file.").arg(quoted(info.fileName())));
    if (info.size() > limit)
        tooLarge(info.fileName(), limit);
    return info.size();
}

// Where a file the manifest names really lives, refusing every way out of the folder.
QString resolveInside(const QString& root, const QString& name)
{
    if (CharacterPack::leavesFolder(name))
        throw ImportError(QStringLiteral("This companion names a file outside its folder: %1.").arg(quoted(name)));
    const QFileInfo info(root + QLatin1Char('/') + name);
    if (!info.exists()) {
        if (info.isSymLink())
            throw ImportError(QStringLiteral("This companion's %1 is a link to nothing.").arg(quoted(name)));
        throw ImportError(QStringLiteral("This companion's file %1 is missing.").arg(quoted(name)));
    }
    const QString resolved = info.canonicalFilePath();
    if (!resolved.startsWith(root + QLatin1Char('/')))
        throw ImportError(QStringLiteral("This companion's %1 points outside its folder.").arg(quoted(name)));
    return resolved;
}

struct PackTally {
    qint64 bytes = 0;
    qint64 pixels = 0;
};

// Pixels a picture unpacks to, read from its header alone; animations count every frame.
qint64 headerPixels(const QString& path, const QString& name)
{
    QImageReader reader(path);
    PictureFormat::pin(reader);
    const QSize size = reader.size();
    if (!reader.canRead() || !size.isValid() || size.isEmpty())
        throw ImportError(QStringLiteral("The picture %1 can't be read.").arg(quoted(name)));
    const qint64 frames = reader.supportsAnimation() ? std::max(1, reader.imageCount()) : 1;
    return qint64(size.width()) * size.height() * frames;
}

void checkPackFile(const QString& root, const QString& name, PackTally& tally, PictureChecks* checks)
{
    const QFileInfo info(resolveInside(root, name));
    if (!info.isFile())
        throw ImportError(QStringLiteral("This companion's %1 isn't a regular file.").arg(quoted(name)));
    const qint64 limit = CharacterPack::isMovieFile(name) ? movieLimit : imageLimit;
    if (info.size() > limit)
        tooLarge(name, limit);
    tally.bytes += info.size();
    if (tally.bytes > packLimit)
        throw ImportError(QStringLiteral("This companion is too large (over %1 in all).").arg(sizeText(packLimit)));
    if (CharacterPack::isMovieFile(name))
        return;
    tally.pixels += headerPixels(info.filePath(), name);
    if (tally.pixels > packPixelLimit)
        throw ImportError(QStringLiteral("This companion's pictures are too large in all (over %1 million pixels).")
                              .arg(packPixelLimit / 1'000'000));
    if (checks && checks->isKnownGood(info.filePath()))
        return;
    if (!imageDecodes(info.filePath()))
        throw ImportError(QStringLiteral("The picture %1 can't be read.").arg(quoted(name)));
    if (checks)
        checks->rememberGood(info.filePath());
}

void copyFile(const QString& from, const QString& to)
{
    QDir().mkpath(QFileInfo(to).absolutePath());
    if (!QFile::copy(from, to))
        throw ImportError(
            QStringLiteral("Couldn't copy %1 into your companions.").arg(quoted(QFileInfo(from).fileName())));
    QFile::setPermissions(to, privateFileMode);
}

// Makes every folder below `root` (root included) private; copies make them with the umask.
void makeFoldersPrivate(const QString& root)
{
    QFile::setPermissions(root, privateFolderMode);
    QDir dir(root);
    for (const QString& child : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden))
        makeFoldersPrivate(dir.filePath(child));
}

}  // namespace

PathStatus pathStatus(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info { };
    if (::lstat(name.constData(), &info) != 0) {
        if (errno == ENOENT)
            return {PathStatus::Kind::absent, {}};
        return {PathStatus::Kind::unreachable, QString::fromLocal8Bit(std::strerror(errno))};
    }
    if (S_ISREG(info.st_mode) && ::access(name.constData(), R_OK) != 0)
        return {PathStatus::Kind::unreadable, QString::fromLocal8Bit(std::strerror(errno))};
    return {PathStatus::Kind::present, {}};
}

void ensurePrivateFolder(const QString& folder)
{
    const QString parent = QFileInfo(folder).absolutePath();
    if (!QDir().mkpath(parent) || (!QFileInfo(folder).isDir() && !QDir().mkdir(folder, privateFolderMode))) {
        throw ImportError(QStringLiteral("Couldn't create the folder %1.").arg(quoted(folder)));
    }
    if (!QFileInfo(folder).isDir())
        throw ImportError(QStringLiteral("Couldn't create the folder %1.").arg(quoted(folder)));
    QFile::setPermissions(folder, privateFolderMode);
}

void writeAtomically(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) && file.setPermissions(privateFileMode)
                         && file.write(bytes) == bytes.size() && file.commit();
    if (!written) {
        throw ImportError(QStringLiteral("The file %1 couldn't be written (%2).")
                              .arg(quoted(QFileInfo(path).fileName()), file.errorString()));
    }
    QFile::setPermissions(path, privateFileMode);
}

QByteArray readBounded(const QString& path, qint64 limit)
{
    const QFileInfo info(path);
    const qint64 size = checkedSize(info, limit);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ImportError(QStringLiteral("The file %1 can't be opened.").arg(quoted(info.fileName())));
    // A read reserves all it may return, so it asks for the size the file had and one byte
    // more: a file that grew after the size check is read on, one byte past the limit at most.
    QByteArray bytes = file.read(size + 1);
    if (bytes.size() > size)
        bytes += file.read(limit + 1 - bytes.size());
    if (bytes.size() > limit)
        tooLarge(info.fileName(), limit);
    if (file.error() != QFile::NoError)
        throw ImportError(QStringLiteral("The file %1 can't be read.").arg(quoted(info.fileName())));
    return bytes;
}

bool imageDecodes(const QString& path)
{
    try {
        const QImage image = PictureFormat::decode(readBounded(path, imageLimit));
        return !image.isNull() && !image.size().isEmpty();
    } catch (const ImportError&) {
        return false;
    }
}

CharacterPack validatePack(const QString& folder, PictureChecks* checks)
{
    const QString root = QFileInfo(folder).canonicalFilePath();
    if (root.isEmpty() || !QFileInfo(root).isDir())
        throw ImportError(QStringLiteral("That folder can't be opened."));
    if (!QFileInfo(root + QLatin1Char('/') + manifestName).exists()
        && !QFileInfo(root + QLatin1Char('/') + manifestName).isSymLink())
        throw ImportError(QStringLiteral("This folder has no character.json."));

    const QString manifestPath = resolveInside(root, manifestName);
    const QByteArray manifest = readBounded(manifestPath, jsonLimit);
    CharacterPack pack = decodeCharacterPack(manifest, root);

    PackTally tally{.bytes = manifest.size()};
    for (const QString& name : pack.referencedFiles())
        checkPackFile(root, name, tally, checks);
    return pack;
}

QString installPack(const QString& sourceFolder, const CharacterPack& pack, const QString& destinationParent,
                    PictureChecks* checks)
{
    if (pack.id.isEmpty() || pack.id.contains(QLatin1Char('/')) || pack.id.startsWith(QLatin1Char('.')))
        throw ImportError(QStringLiteral("This companion's id can't be used as a folder name."));
    ensurePrivateFolder(destinationParent);
    const QString parent = QFileInfo(destinationParent).canonicalFilePath();
    const QString source = QFileInfo(sourceFolder).canonicalFilePath();
    const QString target = parent + QLatin1Char('/') + pack.id;
    const QString token = QUuid::createUuid().toString(QUuid::Id128);
    const QString incoming = parent + QStringLiteral("/.incoming-%1-%2").arg(pack.id, token);
    const QString outgoing = parent + QStringLiteral("/.outgoing-%1-%2").arg(pack.id, token);

    try {
        ensurePrivateFolder(incoming);
        copyFile(resolveInside(source, manifestName), incoming + QLatin1Char('/') + manifestName);
        for (const QString& name : pack.referencedFiles())
            copyFile(resolveInside(source, name), incoming + QLatin1Char('/') + name);
        makeFoldersPrivate(incoming);
        // The copy is checked again: the source may have changed since it was validated.
        if (validatePack(incoming, checks).id != pack.id)
            throw ImportError(QStringLiteral("This companion changed while it was being copied."));
    } catch (const ImportError&) {
        QDir(incoming).removeRecursively();
        throw;
    }

    const bool hadOldCopy = QFileInfo(target).exists();
    if (hadOldCopy && !QDir().rename(target, outgoing)) {
        QDir(incoming).removeRecursively();
        throw ImportError(QStringLiteral("Couldn't replace the earlier copy of %1.").arg(pack.name));
    }
    if (!QDir().rename(incoming, target)) {
        if (hadOldCopy)
            QDir().rename(outgoing, target);
        QDir(incoming).removeRecursively();
        throw ImportError(QStringLiteral("Couldn't put %1 in place.").arg(pack.name));
    }
    if (hadOldCopy)
        QDir(outgoing).removeRecursively();
    return target;
}

}  // namespace LocalFiles
