#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>

class UrlOpener;

// Starts Dewbell when the user logs in, through an XDG autostart entry
// ("app.dewbell.Dewbell.desktop" in the autostart folder). Lives on the main thread; only the
// writing or removing of the entry runs on a worker thread.
class LoginService : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool isEnabled READ isEnabled NOTIFY changed)
    Q_PROPERTY(QString statusText READ statusText NOTIFY changed)
    Q_PROPERTY(bool needsApproval READ needsApproval NOTIFY changed)
    Q_PROPERTY(bool busy READ busy NOTIFY changed)

public:
    enum class Status { notRegistered, enabled, requiresApproval, notFound };

    // The user's autostart folder ($XDG_CONFIG_HOME/autostart) and the running binary.
    explicit LoginService(QObject* parent = nullptr);
    // Another folder, executable and opener (tests point them at temporary ones and a fake).
    LoginService(const QString& autostartFolder, const QString& executable, UrlOpener& opener,
                 QObject* parent = nullptr);
    ~LoginService() override;

    bool isEnabled() const { return isEnabled_; }
    QString statusText() const { return statusText_; }
    // The entry exists but the desktop's startup settings turned it off.
    bool needsApproval() const { return needsApproval_; }
    // A switch on or off is being written.
    bool busy() const { return busy_; }

    // Reads the entry again.
    void refresh();
    // Asks for Dewbell to start at login (true) or not (false); ignored while busy.
    void setEnabled(bool enabled);
    // Opens the autostart folder in the file manager.
    void openSettings();

    // The entry's file and the status it shows now: an entry whose program cannot run (a copy
    // that was removed) is not found.
    QString entryPath() const;
    Status status() const;

    // Whether the process was started by the autostart entry.
    static bool isLoginLaunch(const QStringList& arguments);

signals:
    void changed();

private:
    // The status, and what a login item names to start when that cannot run.
    struct Reading {
        Status status;
        std::optional<QString> missingProgram;
    };
    Reading read() const;
    void apply(const Reading& current, const QString& failure = {});
    void finishRequest();

    QString autostartFolder_;
    QString executable_;
    UrlOpener& opener_;
    QFutureWatcher<QString> request_;
    bool isEnabled_ = false;
    QString statusText_;
    bool needsApproval_ = false;
    bool busy_ = false;
};
