#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>
#include <optional>

// One Dewbell per data folder: two would each save only what they hold, and drinks logged in
// one would vanish when the other saves. The first launch holds a lock file and listens on a
// local socket, both found from the data folder alone, so that launches from other sessions (su,
// ssh -X, a second seat) meet there too; a later launch finds the lock held, asks the running
// one to show its main window, and ends without reading or writing any state.
//
// The lock lives in the data folder. When Dewbell can't keep it there (the folder can't be
// written or made, or something that is no regular file has taken the lock's name), it lives
// in a private folder of the user's in the temporary folder, named after the data folder, so
// that one Dewbell per data folder holds even when nothing can be saved.
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
        // No lock could be made anywhere; the store saves nothing either then.
        unguarded,
    };

    // Where the lock of a data folder's running instance is and where it listens.
    struct Place {
        QString lock;
        QString socket;
    };

    explicit SingleInstance(const QString& dataFolder, QObject* parent = nullptr);

    // Takes the lock or reaches the running instance. With `askToShow` false (a login launch)
    // a running instance is left alone.
    Claim claim(bool askToShow);

    // A line for the user when claim() said unreachable.
    QString unreachableMessage() const;
    // A line for the user when the lock's name in the data folder is taken by something that
    // is no lock file of Dewbell's, which is left alone.
    std::optional<QString> notice() const { return notice_; }

    // Where a data folder's lock and socket are; empty when there is nowhere to keep them.
    static Place place(const QString& dataFolder);

signals:
    // A later launch asked for the main window.
    void showRequested();

private:
    bool sendShowRequest();
    void listen();
    void readRequest(class QLocalSocket* connection);

    QString folder_;
    Place place_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer server_;
    std::optional<QString> notice_;
};
