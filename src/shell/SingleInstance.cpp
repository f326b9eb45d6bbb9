#include "shell/SingleInstance.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QSysInfo>
#include <QThread>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray showRequest = QByteArrayLiteral("show\n");
const QString lockName = QStringLiteral("dewbell.lock");
const QString socketName = QStringLiteral("dewbell.socket");
constexpr int answerMilliseconds = 1000;
// A first launch may be between taking the lock and listening; a closing one between saving
// and letting go of the lock. Either lasts well under this.
constexpr int attempts = 30;
constexpr int attemptPauseMilliseconds = 100;
// The longest socket path Qt listens on: sun_path holds 108 bytes, and 107 are refused (measured).
constexpr qsizetype longestSocketPath = 106;
// A launch makes its lock file and locks it a moment later: a lock file this young may be one
// whose owner has not locked it yet.
constexpr qint64 youngLockMilliseconds = 1000;

// The same short name for a data folder in every session.
QString folderKey(const QString& dataFolder)
{
    const QString canonical = QFileInfo(dataFolder).canonicalFilePath();
    const QByteArray key = (canonical.isEmpty() ? QDir::cleanPath(dataFolder) : canonical).toUtf8();
    return QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(16));
}

// Nothing at `path`, or a regular file that is no link. Anything else under a lock's name is not
// Dewbell's, and QLockFile would open it to read who holds it (and wait on a FIFO for ever).
bool absentOrRegular(const QString& path)
{
    struct stat info { };
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return errno == ENOENT;
    return S_ISREG(info.st_mode);
}

// The user's own folder in the temporary folder, made 0700 when missing; empty when that name is
// taken by anything else (another user's folder, a link).
QString privateTemporaryFolder()
{
    const QString folder = QDir(QDir::tempPath()).filePath(QStringLiteral("dewbell-%1").arg(::geteuid()));
    const QByteArray name = QFile::encodeName(folder);
    ::mkdir(name.constData(), 0700);
    struct stat info { };
    if (::lstat(name.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid())
        return {};
    if ((info.st_mode & 0777) != 0700 && ::chmod(name.constData(), 0700) != 0)
        return {};
    return folder;
}

// True when the lock file open as `descriptor` says it was made on another computer sharing the
// folder: that one is left to QLockFile, which keeps it.
bool madeOnAnotherComputer(int descriptor)
{
    char text[1024];
    const ssize_t length = ::pread(descriptor, text, sizeof text, 0);
    if (length <= 0)
        return false;
    const QList<QByteArray> lines = QByteArray(text, length).split('\n');
    bool isNumber = false;
    if (lines.size() < 3 || lines.first().toLongLong(&isNumber) <= 0 || !isNumber)
        return false;
    const QString host = QString::fromUtf8(lines.at(2));
    return !host.isEmpty() && host != QSysInfo::machineHostName();
}

qint64 millisecondsSinceModified(const struct stat& info)
{
    const qint64 modified = qint64(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1'000'000;
    return std::llabs(QDateTime::currentMSecsSinceEpoch() - modified);
}

// A lock file that no process holds is stale, whatever it says: a power cut may leave it empty
// or half written, and the process it names may since be another program. A running Dewbell
// holds its lock file with flock() as long as it runs (QLockFile does so); the lock is removed
// while this process holds it the same way, so that no two launches remove one another's.
void removeLockWithoutOwner(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    const int descriptor = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0)
        return;
    struct stat held { };
    struct stat named { };
    const bool stale = ::fstat(descriptor, &held) == 0 && S_ISREG(held.st_mode)
                       && millisecondsSinceModified(held) >= youngLockMilliseconds
                       && ::flock(descriptor, LOCK_EX | LOCK_NB) == 0 && !madeOnAnotherComputer(descriptor)
                       && ::lstat(name.constData(), &named) == 0 && named.st_dev == held.st_dev
                       && named.st_ino == held.st_ino;
    if (stale)
        ::unlink(name.constData());
    ::close(descriptor);
}

}  // namespace

SingleInstance::SingleInstance(const QString& dataFolder, QObject* parent) : QObject(parent), folder_(dataFolder)
{
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* connection = server_.nextPendingConnection())
            readRequest(connection);
    });
}

SingleInstance::Place SingleInstance::place(const QString& dataFolder)
{
    const QDir folder(dataFolder);
    const QString lock = folder.filePath(lockName);
    const QString socket = folder.filePath(socketName);
    const bool lockInFolder = ::access(QFile::encodeName(dataFolder).constData(), W_OK | X_OK) == 0
                              && absentOrRegular(lock) && absentOrRegular(lock + QStringLiteral(".rmlock"));
    if (lockInFolder && QFile::encodeName(socket).size() <= longestSocketPath)
        return {lock, socket};
    const QString elsewhere = privateTemporaryFolder();
    if (elsewhere.isEmpty())
        return lockInFolder ? Place{lock, {}} : Place{};
    const QString key = folderKey(dataFolder);
    const QString socketElsewhere = QDir(elsewhere).filePath(key + QStringLiteral(".socket"));
    if (lockInFolder)
        return {lock, socketElsewhere};
    return {QDir(elsewhere).filePath(key + QStringLiteral(".lock")), socketElsewhere};
}

SingleInstance::Claim SingleInstance::claim(bool askToShow)
{
    // The folder is made only when it is missing: one that exists keeps its mode, so a folder
    // that keeps Dewbell out is reported by the store rather than quietly opened up.
    if (!QFileInfo(folder_).exists() && QDir().mkpath(folder_))
        QFile::setPermissions(folder_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    place_ = place(folder_);
    const QString lockInFolder = QDir(folder_).filePath(lockName);
    if (!place_.lock.isEmpty() && place_.lock != lockInFolder && !absentOrRegular(lockInFolder)) {
        notice_ = QStringLiteral("“%1” isn't a lock file of Dewbell's, so Dewbell leaves it alone and keeps its lock "
                                 "in “%2”.")
                      .arg(lockInFolder, QFileInfo(place_.lock).path());
    }
    if (place_.lock.isEmpty())
        return Claim::unguarded;
    lock_ = std::make_unique<QLockFile>(place_.lock);
    // Dewbell runs for weeks: only a lock whose process is gone is stale, never an old one.
    lock_->setStaleLockTime(0);
    for (int attempt = 0; attempt < attempts; ++attempt) {
        removeLockWithoutOwner(place_.lock);
        if (lock_->tryLock(0)) {
            listen();
            return Claim::first;
        }
        if (lock_->error() != QLockFile::LockFailedError)
            return Claim::unguarded;
        if (!askToShow || sendShowRequest())
            return Claim::alreadyRunning;
        QThread::msleep(attemptPauseMilliseconds);
    }
    return Claim::unreachable;
}

QString SingleInstance::unreachableMessage() const
{
    qint64 pid = 0;
    QString host;
    if (!lock_ || !lock_->getLockInfo(&pid, &host, nullptr))
        return QStringLiteral("Dewbell is already running with this data folder but did not answer.");
    return QStringLiteral("Dewbell is already running with this data folder (process %1 on %2) but did not answer.")
        .arg(pid)
        .arg(host);
}

bool SingleInstance::sendShowRequest()
{
    if (place_.socket.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(place_.socket);
    if (!socket.waitForConnected(answerMilliseconds))
        return false;
    socket.write(showRequest);
    const bool sent = socket.waitForBytesWritten(answerMilliseconds);
    socket.disconnectFromServer();
    return sent;
}

void SingleInstance::listen()
{
    if (place_.socket.isEmpty())
        return;
    // Holding the lock means no one else listens there: a socket left by a process that died is ours to remove.
    QLocalServer::removeServer(place_.socket);
    server_.listen(place_.socket);
}

void SingleInstance::readRequest(QLocalSocket* connection)
{
    connection->setParent(this);
    connect(connection, &QLocalSocket::disconnected, connection, &QObject::deleteLater);
    const auto readLines = [this, connection] {
        while (connection->canReadLine()) {
            if (connection->readLine(64) == showRequest)
                emit showRequested();
        }
        // Nothing but short lines is expected; anything else is not worth holding on to.
        if (connection->bytesAvailable() > 64)
            connection->abort();
    };
    connect(connection, &QLocalSocket::readyRead, this, readLines);
    readLines();
}
