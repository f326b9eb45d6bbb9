#include "updates/UpdateSession.h"

#include "updates/FeedSignature.h"
#include "updates/SecureTransfer.h"
#include "updates/SignatureCheck.h"
#include "updates/UpdateSettings.h"

#include <QDir>
#include <QFile>
#include <QNetworkAccessManager>
#include <QSaveFile>
#include <QtConcurrent/QtConcurrentRun>

namespace {

bool isSecure(const QUrl& url)
{
    return url.scheme() == QLatin1String("https") && !url.host().isEmpty();
}

bool copyFile(const QString& from, const QString& to)
{
    QFile source(from);
    QSaveFile target(to);
    if (!source.open(QIODevice::ReadOnly) || !target.open(QIODevice::WriteOnly))
        return false;
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(1 << 20);
        if (chunk.isEmpty() || target.write(chunk) != chunk.size())
            return false;
    }
    return target.commit();
}

}  // namespace

UpdateSession::UpdateSession(const UpdateEnvironment& environment, UpdateSettings* settings, QObject* parent)
    : QObject(parent), environment_(environment), settings_(settings), network_(new QNetworkAccessManager(this))
{
    status_.runningVersion = environment_.runningVersion;
    status_.installationRoot = environment_.installationRoot;
    connect(&preparation_, &QFutureWatcher<PreparedUpdate>::finished, this,
            [this] { prepared(preparation_.result()); });
}

UpdateSession::~UpdateSession()
{
    dropTransfer();
    if (preparation_.isRunning()) {
        preparation_.waitForFinished();
        Installation::discard(preparation_.result().stagedFolder);
    }
    Installation::discard(stagedFolder_);
    dropArchive();
}

bool UpdateSession::isBusy() const
{
    const UpdatePhase phase = status_.phase;
    return phase == UpdatePhase::checking || phase == UpdatePhase::downloading || phase == UpdatePhase::preparing;
}

void UpdateSession::check(bool userInitiated)
{
    if (isBusy() || status_.phase == UpdatePhase::installed)
        return;
    if (status_.phase == UpdatePhase::readyToInstall || status_.phase == UpdatePhase::readyToSave) {
        // The update is already here: show it again rather than fetch it twice.
        if (userInitiated)
            emit attentionNeeded();
        return;
    }
    userInitiated_ = userInitiated;
    status_.offer.reset();
    status_.problem.reset();
    setPhase(UpdatePhase::checking);
    if (userInitiated_)
        emit attentionNeeded();
    transfer_ =
        makeTransfer(*environment_.configuration.feedURL, UpdateFeed::sizeLimit, -1, environment_.feedDeadline, {});
    transfer_->onFinished = [this](std::optional<UpdateProblem> problem) { feedArrived(problem); };
    transfer_->start();
}

SecureTransfer* UpdateSession::makeTransfer(const QUrl& url, qint64 sizeLimit, qint64 expectedSize,
                                            std::chrono::milliseconds deadline, const QString& file)
{
    SecureTransfer::Options options;
    options.authorities = environment_.testCertificateAuthorities;
    options.stallTimeout = environment_.stallTimeout;
    options.deadline = deadline;
    options.sizeLimit = sizeLimit;
    options.expectedSize = expectedSize;
    options.file = file;
    if (!file.isEmpty()) {
        options.oversize = UpdateProblem::wrongSize;
        options.cutShort = UpdateProblem::cutShort;
    }
    return new SecureTransfer(network_, url, options, this);
}

void UpdateSession::feedArrived(std::optional<UpdateProblem> problem)
{
    const QByteArray feed = transfer_->body();
    dropTransfer();
    settings_->setLastCheck(environment_.now());
    emit checkFinished();
    if (problem)
        return fail(*problem);
    if (!environment_.signedFeedRequired)
        return readFeed(feed);
    const auto signedContent = FeedSignature::verified(feed, *environment_.configuration.publicKey);
    if (!signedContent)
        return fail(UpdateProblem::unsignedFeed);
    readFeed(*signedContent);
}

void UpdateSession::readFeed(const QByteArray& feed)
{
    const auto items = UpdateFeed::read(feed);
    if (!items)
        return fail(UpdateProblem::feedUnreadable);
    const auto offer = UpdateFeed::newestOffer(*items, environment_.runningVersion, settings_->skippedVersion());
    if (!offer)
        return setPhase(userInitiated_ ? UpdatePhase::upToDate : UpdatePhase::idle);
    offerFound(*offer);
}

void UpdateSession::offerFound(const FeedItem& offer)
{
    if (offer.archiveLength <= 0 || offer.archiveLength > environment_.archiveSizeLimit
        || offer.signature.size() != SignatureCheck::signatureLength)
        return fail(UpdateProblem::feedUnreadable);
    // Known from here on, so that a refusal can say which version it turned down.
    status_.offer = offer;
    if (!isSecure(offer.archiveURL))
        return fail(UpdateProblem::insecureAddress);
    status_.archiveName = QFileInfo(archivePath(offer)).fileName();
    setPhase(UpdatePhase::found);
    if (userInitiated_)
        return;
    if (installsItself_ && settings_->automaticallyDownloads())
        startDownload();
    else
        emit attentionNeeded();
}

void UpdateSession::install()
{
    if (status_.phase != UpdatePhase::found)
        return;
    userInitiated_ = true;
    startDownload();
}

void UpdateSession::startDownload()
{
    const FeedItem& offer = *status_.offer;
    QDir().mkpath(environment_.downloadFolder);
    QFile::setPermissions(environment_.downloadFolder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    archiveFile_ = archivePath(offer);
    status_.received = 0;
    status_.total = offer.archiveLength;
    setPhase(UpdatePhase::downloading);
    transfer_ = makeTransfer(offer.archiveURL, environment_.archiveSizeLimit, offer.archiveLength,
                             environment_.archiveDeadline, archiveFile_);
    transfer_->onProgress = [this](qint64 received, qint64) {
        status_.received = received;
        emit changed();
    };
    transfer_->onFinished = [this](std::optional<UpdateProblem> problem) { archiveArrived(problem); };
    transfer_->start();
}

void UpdateSession::archiveArrived(std::optional<UpdateProblem> problem)
{
    dropTransfer();
    if (problem)
        return fail(*problem);
    setPhase(UpdatePhase::preparing);
    std::optional<Installation> installation;
    if (installsItself_)
        installation.emplace(environment_.installationRoot, environment_.userDataFolder);
    preparation_.setFuture(QtConcurrent::run(prepareUpdate, archiveFile_, *status_.offer,
                                             *environment_.configuration.publicKey, installation,
                                             environment_.unpackLimits));
}

void UpdateSession::prepared(const PreparedUpdate& result)
{
    if (result.problem)
        return fail(*result.problem);
    if (result.stagedFolder.isEmpty()) {
        const Installation installation(environment_.installationRoot, environment_.userDataFolder);
        status_.handInstall = installation.handInstall(status_.archiveName);
        return setPhase(UpdatePhase::readyToSave);
    }
    stagedFolder_ = result.stagedFolder;
    dropArchive();
    setPhase(UpdatePhase::readyToInstall);
}

void UpdateSession::remindLater()
{
    if (status_.phase != UpdatePhase::found)
        return;
    status_.offer.reset();
    setPhase(UpdatePhase::idle);
}

void UpdateSession::skipVersion()
{
    if (status_.phase != UpdatePhase::found)
        return;
    settings_->setSkippedVersion(status_.offer->version);
    status_.offer.reset();
    setPhase(UpdatePhase::idle);
}

void UpdateSession::cancel()
{
    if (status_.phase != UpdatePhase::checking && status_.phase != UpdatePhase::downloading)
        return;
    dropTransfer();
    dropArchive();
    status_.offer.reset();
    setPhase(UpdatePhase::idle);
}

void UpdateSession::windowClosed()
{
    switch (status_.phase) {
    case UpdatePhase::found:
        return remindLater();
    case UpdatePhase::checking:
        return cancel();
    case UpdatePhase::upToDate:
    case UpdatePhase::failed:
        return setPhase(UpdatePhase::idle);
    case UpdatePhase::downloading:
    case UpdatePhase::preparing:
        // The work goes on unseen; a downloaded update is then installed when Dewbell quits.
        userInitiated_ = false;
        return;
    default:
        return;
    }
}

bool UpdateSession::installNow()
{
    if (status_.phase != UpdatePhase::readyToInstall)
        return false;
    const Installation installation(environment_.installationRoot, environment_.userDataFolder);
    const bool installed = installation.swapIn(stagedFolder_);
    Installation::discard(stagedFolder_);
    stagedFolder_.clear();
    if (!installed) {
        fail(UpdateProblem::installFailed);
        return false;
    }
    setPhase(UpdatePhase::installed);
    return true;
}

void UpdateSession::saveArchive(const QString& path)
{
    if (status_.phase != UpdatePhase::readyToSave)
        return;
    if (!copyFile(archiveFile_, path)) {
        status_.problem = UpdateProblem::saveFailed;
        emit changed();
        return;
    }
    status_.problem.reset();
    dropArchive();
    status_.offer.reset();
    setPhase(UpdatePhase::idle);
}

void UpdateSession::fail(UpdateProblem problem)
{
    dropArchive();
    status_.problem = problem;
    setPhase(userInitiated_ ? UpdatePhase::failed : UpdatePhase::idle);
}

void UpdateSession::setPhase(UpdatePhase phase)
{
    status_.phase = phase;
    emit changed();
}

void UpdateSession::dropTransfer()
{
    if (!transfer_)
        return;
    transfer_->onFinished = nullptr;
    transfer_->cancel();
    transfer_->deleteLater();
    transfer_ = nullptr;
}

void UpdateSession::dropArchive()
{
    if (archiveFile_.isEmpty())
        return;
    QFile::remove(archiveFile_);
    archiveFile_.clear();
}

QString UpdateSession::archivePath(const FeedItem& item) const
{
    QString name = item.archiveURL.fileName();
    if (name.isEmpty() || name.startsWith(QLatin1Char('.')))
        name = QStringLiteral("dewbell-%1.tar").arg(item.version);
    return environment_.downloadFolder + QLatin1Char('/') + name;
}
