#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

// One Dewbell per data folder: two would each save only what they hold, and drinks logged in
// one would vanish when the other saves. The first launch holds a lock file in the data folder
// (a lock left by a process that died is taken over) and listens on a local socket named after
// the folder; a later launch finds the lock held, asks the running one to show its main
// window, and ends without reading or writing any state.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Claim {
        // This process holds the lock and listens for later launches.
        first,
        // Another Dewbell runs on this data folder and got the request (if one was made).
        alreadyRunning,
        // Another Dewbell holds the lock but could not be reached (another computer sharing
        // the folder, or a process that hangs).
        unreachable,
        // The lock file could not be made (for example, the folder keeps Dewbell out); the
        // store then finds the same trouble and saves nothing.
        unguarded,
    };

    explicit SingleInstance(const QString& dataFolder, QObject* parent = nullptr);

    // Takes the lock or reaches the running instance. With `askToShow` false (a login launch)
    // a running instance is left alone.
    Claim claim(bool askToShow);

    // A line for the user when claim() said unreachable.
    QString unreachableMessage() const;

    // The socket a data folder's running instance listens on.
    static QString socketPath(const QString& dataFolder);

signals:
    // A later launch asked for the main window.
    void showRequested();

private:
    bool sendShowRequest();
    void listen();
    void readRequest(class QLocalSocket* connection);

    QString folder_;
    QLockFile lock_;
    QLocalServer server_;
};
