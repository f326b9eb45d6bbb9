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
#include <fcntl.h>
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

QString systemWords(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
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
    QFile file(path);
    if (!openRegularFile(file))
        throw ImportError(QStringLiteral("The picture %1 can't be read.").arg(quoted(name)));
    QImageReader reader(&file);
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
    // Checked again right before the copy opens it: it may have changed since it was validated.
    if (!QFileInfo(from).isFile() || !QFile::copy(from, to))
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

// Removes a file, or a folder with all it holds; a link is removed as a link, never what it
// points to (QDir::removeRecursively() would empty the folder behind it).
void removeEntry(const QString& path)
{
    const QFileInfo entry(path);
    if (entry.isDir() && !entry.isSymLink())
        QDir(path).removeRecursively();
    else
        QFile::remove(path);
}

// The whole file or nothing; with a `mode` the file gets it, without one the mode of the file
// it replaces (QSaveFile keeps it).
void saveWhole(const QString& path, const QByteArray& bytes, std::optional<QFile::Permissions> mode)
{
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) && (!mode || file.setPermissions(*mode))
                         && file.write(bytes) == bytes.size() && file.commit();
    if (!written) {
        throw ImportError(QStringLiteral("The file %1 couldn't be written (%2).")
                              .arg(quoted(QFileInfo(path).fileName()), file.errorString()));
    }
}

}  // namespace

PathStatus pathStatus(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info { };
    if (::lstat(name.constData(), &info) != 0) {
        if (errno == ENOENT)
            return {PathStatus::Kind::absent, {}};
        return {PathStatus::Kind::unreachable, systemWords(errno)};
    }
    if (S_ISREG(info.st_mode) && ::access(name.constData(), R_OK) != 0)
        return {PathStatus::Kind::unreadable, systemWords(errno)};
    return {PathStatus::Kind::present, {}};
}

void ensurePrivateFolder(const QString& folder)
{
    const QString parent = QFileInfo(folder).absolutePath();
    if (!QDir().mkpath(parent) || (!QFileInfo(folder).isDir() && !QDir().mkdir(folder, privateFolderMode))) {
        throw ImportError(QStringLiteral("Couldn't create the folder %1.").arg(quoted(folder)));
    }
    // Everyone but the owner loses access; the owner keeps what they gave themselves, so a folder
    // its owner closed to writing stays closed rather than being quietly opened up.
    struct stat info { };
    const QByteArray name = QFile::encodeName(folder);
    if (::stat(name.constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        throw ImportError(QStringLiteral("Couldn't create the folder %1.").arg(quoted(folder)));
    if ((info.st_mode & 077) != 0)
        ::chmod(name.constData(), info.st_mode & 0700);
}

std::optional<QString> whyNotWritable(const QString& folder)
{
    // A missing folder is made in the nearest one that is there.
    QString existing = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    struct stat info { };
    while (::stat(QFile::encodeName(existing).constData(), &info) != 0) {
        const QString parent = QFileInfo(existing).path();
        if (errno != ENOENT || parent == existing)
            return systemWords(errno);
        existing = parent;
    }
    if (!S_ISDIR(info.st_mode))
        return systemWords(ENOTDIR);
    if (::access(QFile::encodeName(existing).constData(), W_OK | X_OK) != 0)
        return systemWords(errno);
    return std::nullopt;
}

void writeAtomically(const QString& path, const QByteArray& bytes)
{
    // QSaveFile would write through a link and leave the link: the file is made under a name of
    // its own and renamed over the link instead.
    if (!QFileInfo(path).isSymLink()) {
        saveWhole(path, bytes, privateFileMode);
        return;
    }
    const QString staged = path + QStringLiteral(".%1.new").arg(QUuid::createUuid().toString(QUuid::Id128));
    saveWhole(staged, bytes, privateFileMode);
    if (::rename(QFile::encodeName(staged).constData(), QFile::encodeName(path).constData()) != 0) {
        const int error = errno;
        QFile::remove(staged);
        throw ImportError(QStringLiteral("The file %1 couldn't be written (%2).")
                              .arg(quoted(QFileInfo(path).fileName()), systemWords(error)));
    }
}

void replaceKeepingMode(const QString& path, const QByteArray& bytes)
{
    if (QFileInfo(path).isSymLink() || !isOwnRegularFile(path))
        throw ImportError(QStringLiteral("The file %1 isn't one of yours that Dewbell may write.").arg(quoted(path)));
    saveWhole(path, bytes, std::nullopt);
}

bool isOwnRegularFile(const QString& path)
{
    struct stat info { };
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode)
           && info.st_uid == ::geteuid();
}

bool isSpecialFile(const QString& path)
{
    struct stat info { };
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && !S_ISREG(info.st_mode);
}

bool openRegularFile(QFile& file)
{
    // Opening a FIFO for reading waits for a writer; without blocking it returns at once, and
    // what was opened is looked at before anything is read.
    const int descriptor =
        ::open(QFile::encodeName(file.fileName()).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    struct stat info { };
    if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(descriptor);
        return false;
    }
    ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    if (file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return true;
    ::close(descriptor);
    return false;
}

QByteArray readBounded(const QString& path, qint64 limit)
{
    const QFileInfo info(path);
    const qint64 size = checkedSize(info, limit);
    QFile file(path);
    if (!openRegularFile(file))
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
    if (QFileInfo(destinationParent).isSymLink())
        throw ImportError(QStringLiteral("Your companions folder %1 is a link to another place, so Dewbell doesn't "
                                         "install companions there.")
                              .arg(quoted(destinationParent)));
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

    const QFileInfo earlier(target);
    const bool hadOldCopy = earlier.exists() || earlier.isSymLink();
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
        removeEntry(outgoing);
    return target;
}

}  // namespace LocalFiles
