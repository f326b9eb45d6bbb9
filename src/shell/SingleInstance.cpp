#include "shell/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QThread>

namespace {

const QByteArray showRequest = QByteArrayLiteral("show\n");
constexpr int answerMilliseconds = 1000;
// A first launch may be between taking the lock and listening; a closing one between saving
// and letting go of the lock. Either lasts well under this.
constexpr int attempts = 30;
constexpr int attemptPauseMilliseconds = 100;

QString lockPath(const QString& folder)
{
    return QDir(folder).filePath(QStringLiteral("dewbell.lock"));
}

}  // namespace

SingleInstance::SingleInstance(const QString& dataFolder, QObject* parent)
    : QObject(parent), folder_(dataFolder), lock_(lockPath(dataFolder))
{
    // Dewbell runs for weeks: only a lock whose process is gone is stale, never an old one.
    lock_.setStaleLockTime(0);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* connection = server_.nextPendingConnection())
            readRequest(connection);
    });
}

QString SingleInstance::socketPath(const QString& dataFolder)
{
    const QString canonical = QFileInfo(dataFolder).canonicalFilePath();
    const QByteArray key = (canonical.isEmpty() ? QDir::cleanPath(dataFolder) : canonical).toUtf8();
    const QString name =
        QStringLiteral("dewbell-")
        + QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(16));
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString parent = !runtime.isEmpty() && QFileInfo(runtime).isDir() ? runtime : QDir::tempPath();
    return QDir(parent).filePath(name);
}

SingleInstance::Claim SingleInstance::claim(bool askToShow)
{
    // The folder is made only when it is missing: one that exists keeps its mode, so a folder
    // that keeps Dewbell out is reported by the store rather than quietly opened up.
    if (!QFileInfo(folder_).exists()) {
        if (!QDir().mkpath(folder_))
            return Claim::unguarded;
        QFile::setPermissions(folder_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    for (int attempt = 0; attempt < attempts; ++attempt) {
        if (lock_.tryLock(0)) {
            listen();
            return Claim::first;
        }
        if (lock_.error() != QLockFile::LockFailedError)
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
    if (!lock_.getLockInfo(&pid, &host, nullptr))
        return QStringLiteral("Dewbell is already running with this data folder but did not answer.");
    return QStringLiteral("Dewbell is already running with this data folder (process %1 on %2) but did not answer.")
        .arg(pid)
        .arg(host);
}

bool SingleInstance::sendShowRequest()
{
    QLocalSocket socket;
    socket.connectToServer(socketPath(folder_));
    if (!socket.waitForConnected(answerMilliseconds))
        return false;
    socket.write(showRequest);
    const bool sent = socket.waitForBytesWritten(answerMilliseconds);
    socket.disconnectFromServer();
    return sent;
}

void SingleInstance::listen()
{
    const QString path = socketPath(folder_);
    // Holding the lock means no one else listens there: a socket left by a process that died is ours to remove.
    QLocalServer::removeServer(path);
    server_.listen(path);
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
