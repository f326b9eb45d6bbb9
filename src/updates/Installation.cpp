#include "updates/Installation.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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

// Whether `inner` is `outer` or lies inside it, after following links.
bool isWithin(const QString& inner, const QString& outer)
{
    const QString a = QFileInfo(inner).canonicalFilePath();
    const QString b = QFileInfo(outer).canonicalFilePath();
    return !a.isEmpty() && !b.isEmpty() && (a == b || a.startsWith(b + QLatin1Char('/')));
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
    return holdsDewbell(root_) && holdsOnlyDewbell() && keepsClearOfUserData() && everyFolderWritable();
}

bool Installation::holdsDewbell(const QString& folder)
{
    const QFileInfo binary(folder + QStringLiteral("/bin/dewbell"));
    const QFileInfo bundle(folder + QStringLiteral("/share/dewbell"));
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
    if (!writable(QFileInfo(root_).absolutePath()) || !writable(root_))
        return false;
    QDirIterator folders(root_, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks,
                         QDirIterator::Subdirectories);
    while (folders.hasNext()) {
        if (!writable(folders.next()))
            return false;
    }
    return true;
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
