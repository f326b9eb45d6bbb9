#pragma once

#include "updates/Installation.h"
#include "updates/UpdateEnvironment.h"
#include "updates/UpdateFeed.h"
#include "updates/UpdatePreparation.h"
#include "updates/UpdateProblem.h"

#include <QFutureWatcher>
#include <QObject>
#include <QPointer>
#include <optional>

class QNetworkAccessManager;
class SecureTransfer;
class UpdateSettings;

enum class UpdatePhase {
    idle,
    checking,
    upToDate,
    found,
    downloading,
    preparing,
    readyToInstall,
    readyToSave,
    installed,
    failed,
};

// What the update window shows: a copy of the session's state at one moment.
struct UpdateStatus {
    UpdatePhase phase = UpdatePhase::idle;
    std::optional<FeedItem> offer;
    QString runningVersion;
    qint64 received = 0;
    qint64 total = -1;
    std::optional<UpdateProblem> problem;
    // Where Dewbell is installed, and the archive's file name, for the hint on installing it by hand.
    QString installationRoot;
    QString archiveName;
    // How an update that waits in a saved archive is installed by hand.
    HandInstall handInstall;
};

// One road from a check to an installed update: read the feed (its signature first, when the
// build requires one), offer the newest version, download it, check its size and signature,
// unpack it beside the installation, check the version inside and swap it in. A check the user started shows every
// step; an automatic one only an update it found.
class UpdateSession : public QObject {
    Q_OBJECT
public:
    UpdateSession(const UpdateEnvironment& environment, UpdateSettings* settings, QObject* parent = nullptr);
    ~UpdateSession() override;

    // Decided once at start: whether the installation may replace itself. When it may not,
    // a verified archive is offered for saving instead.
    void setInstallsItself(bool installsItself) { installsItself_ = installsItself; }
    bool installsItself() const { return installsItself_; }

    UpdatePhase phase() const { return status_.phase; }
    const UpdateStatus& status() const { return status_; }
    // Whether the network or the disk is at work (checking, downloading, preparing).
    bool isBusy() const;
    bool isUserInitiated() const { return userInitiated_; }
    // The downloaded archive while it waits to be saved.
    QString archiveFile() const { return archiveFile_; }

    void check(bool userInitiated);
    // The user's answers to an offered update.
    void install();
    void remindLater();
    void skipVersion();
    // Stops a download; the user closing the window otherwise lets work go on.
    void cancel();
    void windowClosed();
    // Swaps a staged update in; false (and the failed phase) when it could not be.
    bool installNow();
    void saveArchive(const QString& path);

signals:
    void changed();
    // The user should see the update window now.
    void attentionNeeded();
    // A check has finished, with whatever result; the last-check date moved.
    void checkFinished();

private:
    void feedArrived(std::optional<UpdateProblem> problem);
    void readFeed(const QByteArray& feed);
    void offerFound(const FeedItem& offer);
    void startDownload();
    void archiveArrived(std::optional<UpdateProblem> problem);
    void prepared(const PreparedUpdate& result);
    void fail(UpdateProblem problem);
    void setPhase(UpdatePhase phase);
    void dropTransfer();
    void dropArchive();
    QString archivePath(const FeedItem& item) const;
    SecureTransfer* makeTransfer(const QUrl& url, qint64 sizeLimit, qint64 expectedSize,
                                 std::chrono::milliseconds deadline, const QString& file);

    const UpdateEnvironment environment_;
    UpdateSettings* settings_;
    QNetworkAccessManager* network_;
    QPointer<SecureTransfer> transfer_;
    QFutureWatcher<PreparedUpdate> preparation_;
    UpdateStatus status_;
    bool installsItself_ = false;
    bool userInitiated_ = false;
    QString archiveFile_;
    QString stagedFolder_;
};
