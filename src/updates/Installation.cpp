#include "updates/Installation.h"

#include "model/LocalFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSet>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Where a release tree holds Dewbell's data (info.json, Characters/, ...) and its documentation:
// share/dewbell/app and share/doc/dewbell. Release archives are the installed tree of the default
// layout (`cmake --install` into an empty folder, packed as bin/ and share/), whatever layout
// this build itself was configured with.
const QString releaseBundle = QStringLiteral(DEWBELL_RELEASE_DATADIR);
const QString releaseDocumentation = QStringLiteral(DEWBELL_RELEASE_DOCDIR);

// What an installation of Dewbell holds at its top and in share/: anything else means the
// folder is shared with other programs (a prefix such as /usr or ~/.local), and replacing it
// would take their files along.
const QSet<QString> topLevelNames{QStringLiteral("bin"), QStringLiteral("share")};
const QSet<QString> sharedNames{QStringLiteral("dewbell"),  QStringLiteral("applications"), QStringLiteral("icons"),
                                QStringLiteral("metainfo"), QStringLiteral("doc"),          QStringLiteral("man")};

QStringList entryNames(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

bool allIn(const QStringList& names, const QSet<QString>& allowed)
{
    return std::all_of(names.cbegin(), names.cend(), [&](const QString& name) { return allowed.contains(name); });
}

bool writable(const QString& folder)
{
    return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
}

bool everyFolderWritableIn(const QString& root)
{
    if (!writable(root))
        return false;
    QDirIterator folders(root, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks,
                         QDirIterator::Subdirectories);
    while (folders.hasNext()) {
        if (!writable(folders.next()))
            return false;
    }
    return true;
}

// One word for the shell, whatever it holds.
QString shellQuoted(const QString& text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QLatin1String("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QString infoString(const QJsonObject& info, const char* key)
{
    const QJsonValue value = info.value(QLatin1String(key));
    return value.isString() ? value.toString() : QString();
}

// The path with links followed as far as it exists: a folder not made yet is taken as named.
QString resolved(const QString& path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QFileInfo(path).absoluteFilePath()) : canonical;
}

// Whether `inner` is `outer` or lies inside it.
bool isWithin(const QString& inner, const QString& outer)
{
    const QString a = resolved(inner);
    const QString b = resolved(outer);
    return a == b || a.startsWith(b + QLatin1Char('/'));
}

QString folderBeside(const QString& root, const char* purpose)
{
    QByteArray pattern = QFile::encodeName(QFileInfo(root).absolutePath() + QLatin1String("/.")
                                           + QFileInfo(root).fileName() + QLatin1String(purpose) + "-XXXXXX");
    if (!::mkdtemp(pattern.data()))
        return {};
    return QFile::decodeName(pattern);
}

bool exchange(const QString& staged, const QString& root)
{
    return ::renameat2(AT_FDCWD, QFile::encodeName(staged).constData(), AT_FDCWD, QFile::encodeName(root).constData(),
                       RENAME_EXCHANGE)
           == 0;
}

// For file systems without an atomic exchange: the old tree steps aside into a hidden
// folder, the new one takes its name, and the old one comes back if that fails.
bool swapInTwoSteps(const QString& staged, const QString& root)
{
    const QString aside = folderBeside(root, "-previous");
    if (aside.isEmpty())
        return false;
    const QString previous = aside + QStringLiteral("/previous");
    if (!QDir().rename(root, previous)) {
        QDir(aside).removeRecursively();
        return false;
    }
    if (!QDir().rename(staged, root)) {
        QDir().rename(previous, root);
        QDir(aside).removeRecursively();
        return false;
    }
    QDir(aside).removeRecursively();
    return true;
}

}  // namespace

Installation::Installation(const QString& root, const QString& userDataFolder)
    : root_(QDir::cleanPath(QDir(root).absolutePath())), userDataFolder_(userDataFolder)
{ }

QString Installation::rootOfRunningBinary()
{
    const QString binary = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    return QDir::cleanPath(QFileInfo(binary).absolutePath() + QStringLiteral("/.."));
}

bool Installation::canReplaceItself() const
{
    return !holdsOtherFiles() && everyFolderWritable();
}

bool Installation::holdsOtherFiles() const
{
    return !holdsDewbell(root_) || !holdsOnlyDewbell() || !keepsClearOfUserData();
}

bool Installation::userMayChangeDewbellFiles() const
{
    const QString bundle = root_ + QLatin1Char('/') + releaseBundle;
    return writable(root_ + QStringLiteral("/bin")) && writable(root_ + QStringLiteral("/share"))
           && writable(QFileInfo(bundle).absolutePath()) && everyFolderWritableIn(bundle);
}

HandInstall Installation::handInstall(const QString& archiveName) const
{
    HandInstall hand;
    hand.sharedFolder = holdsOtherFiles();
    hand.needsAdministrator = !userMayChangeDewbellFiles();
    const QStringList ownFolders{root_ + QLatin1Char('/') + releaseBundle,
                                 root_ + QLatin1Char('/') + releaseDocumentation};
    // Installed with ~/.local as its prefix, the bundle lies inside the user's data folder, and
    // removing it leaves the user's files alone; a user's data folder inside it would go too.
    hand.clearsOldVersion = std::none_of(ownFolders.cbegin(), ownFolders.cend(),
                                         [this](const QString& folder) { return isWithin(userDataFolder_, folder); });
    const QString archive = shellQuoted(archiveName);
    const QString asRoot = hand.needsAdministrator ? QStringLiteral("sudo ") : QString();
    hand.command = QStringLiteral("tar -tf %1 >/dev/null && ").arg(archive);
    if (hand.clearsOldVersion)
        hand.command +=
            QStringLiteral("%1rm -rf %2 %3 && ").arg(asRoot, shellQuoted(ownFolders[0]), shellQuoted(ownFolders[1]));
    // Folders that are there keep their modes: the archive's share/dewbell would open the user's
    // private data folder of a ~/.local installation to everyone.
    hand.command += QStringLiteral("%1tar --no-same-owner --no-overwrite-dir -xf %2 -C %3")
                        .arg(asRoot, archive, shellQuoted(root_));
    return hand;
}

QString Installation::versionIn(const QJsonObject& info)
{
    const QString version = infoString(info, "CFBundleVersion");
    return version.isEmpty() ? infoString(info, "CFBundleShortVersionString") : version;
}

QString Installation::versionOf(const QString& folder)
{
    try {
        const QByteArray bytes = LocalFiles::readBounded(
            folder + QLatin1Char('/') + releaseBundle + QStringLiteral("/info.json"), LocalFiles::jsonLimit);
        return versionIn(QJsonDocument::fromJson(bytes).object());
    } catch (const ImportError&) {
        return {};
    }
}

bool Installation::holdsDewbell(const QString& folder)
{
    const QFileInfo binary(folder + QStringLiteral("/bin/dewbell"));
    const QFileInfo bundle(folder + QLatin1Char('/') + releaseBundle);
    return binary.isFile() && !binary.isSymLink() && binary.isExecutable() && bundle.isDir() && !bundle.isSymLink();
}

bool Installation::holdsOnlyDewbell() const
{
    const QStringList programs = entryNames(root_ + QStringLiteral("/bin"));
    const bool onlyDewbellPrograms = std::all_of(programs.cbegin(), programs.cend(), [](const QString& name) {
        return name.startsWith(QLatin1String("dewbell"));
    });
    return allIn(entryNames(root_), topLevelNames) && allIn(entryNames(root_ + QStringLiteral("/share")), sharedNames)
           && onlyDewbellPrograms;
}

bool Installation::keepsClearOfUserData() const
{
    return !isWithin(userDataFolder_, root_) && !isWithin(root_, userDataFolder_);
}

bool Installation::everyFolderWritable() const
{
    return writable(QFileInfo(root_).absolutePath()) && everyFolderWritableIn(root_);
}

QString Installation::makeStagingFolder() const
{
    const QString staged = folderBeside(root_, "-update");
    if (!staged.isEmpty())
        ::chmod(QFile::encodeName(staged).constData(), 0755);
    return staged;
}

bool Installation::swapIn(const QString& staged) const
{
    if (!holdsDewbell(staged))
        return false;
    if (exchange(staged, root_)) {
        QDir(staged).removeRecursively();
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    return swapInTwoSteps(staged, root_);
}

void Installation::discard(const QString& staged)
{
    if (!staged.isEmpty())
        QDir(staged).removeRecursively();
}
