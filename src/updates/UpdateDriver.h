#pragma once

#include "store/UpdateDriving.h"
#include "updates/UpdateEnvironment.h"
#include "updates/UpdateSettings.h"

#include <QObject>
#include <QTimer>
#include <memory>

class UpdateSession;
class UpdateWindow;

// The update engine of a signed release, behind UpdateDriving: checks the https feed (at the
// user's request, or by itself at most once a day), shows what is new in the update window,
// downloads and verifies the signed archive and swaps it in for the running installation.
class UpdateDriver : public QObject, public UpdateDriving {
    Q_OBJECT
public:
    explicit UpdateDriver(UpdateEnvironment environment, QObject* parent = nullptr);
    ~UpdateDriver() override;

    bool canCheck() const override;
    bool automaticallyChecks() const override;
    void setAutomaticallyChecks(bool on) override;
    // Never true while the installation cannot replace itself.
    bool automaticallyDownloads() const override;
    void setAutomaticallyDownloads(bool on) override;
    bool allowsAutomaticDownloads() const override;
    std::optional<QDateTime> lastCheck() const override;
    void start() override;
    void check() override;

    UpdateSession* session() const { return session_; }
    // The update window once something was shown; none before.
    UpdateWindow* window() const { return window_.get(); }

    // What the hourly timer runs: a check when automatic checks are on, nothing else is under
    // way and the last check is a day old.
    void considerAutomaticCheck();
    // Installs an update that is ready, without starting Dewbell again.
    void applicationWillQuit();
    void installAndRelaunch();

private:
    void sessionChanged();
    void present();
    void notifyChange();

    UpdateEnvironment environment_;
    UpdateSettings settings_;
    UpdateSession* session_;
    std::unique_ptr<UpdateWindow> window_;
    QTimer schedule_;
    bool started_ = false;
    bool installsItself_ = false;
    bool reportedCanCheck_ = false;
};
