#include "updates/UpdateDriver.h"

#include "updates/Installation.h"
#include "updates/UpdateSession.h"
#include "updates/UpdateWindow.h"

#include <QCoreApplication>

namespace {

constexpr qint64 secondsPerDay = 24 * 60 * 60;

}  // namespace

UpdateDriver::UpdateDriver(UpdateEnvironment environment, QObject* parent)
    : QObject(parent),
      environment_(std::move(environment)),
      settings_(environment_.settingsFile, environment_.checksByDefault, environment_.downloadsByDefault),
      session_(new UpdateSession(environment_, &settings_, this))
{
    connect(session_, &UpdateSession::changed, this, &UpdateDriver::sessionChanged);
    connect(session_, &UpdateSession::checkFinished, this, &UpdateDriver::notifyChange);
    connect(session_, &UpdateSession::attentionNeeded, this, &UpdateDriver::present);
    schedule_.setSingleShot(true);
    connect(&schedule_, &QTimer::timeout, this, [this] {
        considerAutomaticCheck();
        schedule_.start(environment_.automaticCheckPeriod);
    });
}

UpdateDriver::~UpdateDriver()
{
    // The window shows the session, so it goes first.
    window_.reset();
}

bool UpdateDriver::canCheck() const
{
    return started_ && !session_->isBusy() && session_->phase() != UpdatePhase::installed;
}

bool UpdateDriver::automaticallyChecks() const
{
    return settings_.automaticallyChecks();
}

void UpdateDriver::setAutomaticallyChecks(bool on)
{
    settings_.setAutomaticallyChecks(on);
    notifyChange();
}

bool UpdateDriver::automaticallyDownloads() const
{
    return installsItself_ && settings_.automaticallyDownloads();
}

void UpdateDriver::setAutomaticallyDownloads(bool on)
{
    if (!installsItself_)
        return;
    settings_.setAutomaticallyDownloads(on);
    notifyChange();
}

bool UpdateDriver::allowsAutomaticDownloads() const
{
    return installsItself_;
}

std::optional<QDateTime> UpdateDriver::lastCheck() const
{
    return settings_.lastCheck();
}

void UpdateDriver::start()
{
    if (started_)
        return;
    if (!environment_.configuration.isValid())
        throw UpdateStartError("This build has no valid update feed or signing key.");
    started_ = true;
    installsItself_ = Installation(environment_.installationRoot, environment_.userDataFolder).canReplaceItself();
    session_->setInstallsItself(installsItself_);
    if (QCoreApplication::instance())
        connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &UpdateDriver::applicationWillQuit);
    // Nothing is checked while Dewbell starts up: the first look comes later.
    schedule_.start(environment_.firstAutomaticCheck);
    notifyChange();
}

void UpdateDriver::check()
{
    if (started_)
        session_->check(true);
}

void UpdateDriver::considerAutomaticCheck()
{
    if (!started_ || !settings_.automaticallyChecks() || session_->phase() != UpdatePhase::idle)
        return;
    // A last check in the future (the clock was set back) does not hold checks off.
    const auto last = settings_.lastCheck();
    const qint64 age = last ? last->secsTo(environment_.now()) : secondsPerDay;
    if (age >= 0 && age < secondsPerDay)
        return;
    session_->check(false);
}

void UpdateDriver::applicationWillQuit()
{
    session_->installNow();
}

void UpdateDriver::installAndRelaunch()
{
    if (!session_->installNow())
        return;
    if (environment_.relaunch)
        environment_.relaunch(environment_.installationRoot + QStringLiteral("/bin/dewbell"));
    if (environment_.quit)
        environment_.quit();
}

void UpdateDriver::sessionChanged()
{
    if (window_ && session_->phase() == UpdatePhase::idle)
        window_->hide();
    if (canCheck() != reportedCanCheck_)
        notifyChange();
}

void UpdateDriver::present()
{
    if (!window_) {
        window_ = std::make_unique<UpdateWindow>(session_);
        connect(window_.get(), &UpdateWindow::installAndRelaunchRequested, this, &UpdateDriver::installAndRelaunch);
    }
    window_->present();
}

void UpdateDriver::notifyChange()
{
    reportedCanCheck_ = canCheck();
    if (onChange)
        onChange();
}
