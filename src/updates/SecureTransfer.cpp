#include "updates/SecureTransfer.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslConfiguration>

namespace {

constexpr int redirectLimit = 5;
constexpr int httpOk = 200;

bool isSecure(const QUrl& url)
{
    return url.scheme() == QLatin1String("https") && !url.host().isEmpty();
}

QSslConfiguration tlsConfiguration(const QList<QSslCertificate>& authorities)
{
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setCaCertificates(authorities.isEmpty() ? QSslConfiguration::systemCaCertificates() : authorities);
    configuration.setPeerVerifyMode(QSslSocket::VerifyPeer);
    configuration.setProtocol(QSsl::TlsV1_2OrLater);
    return configuration;
}

UpdateProblem networkProblem(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:
    case QNetworkReply::ProxyTimeoutError:
        return UpdateProblem::timedOut;
    case QNetworkReply::SslHandshakeFailedError:
        return UpdateProblem::untrustedServer;
    case QNetworkReply::InsecureRedirectError:
    case QNetworkReply::ProtocolUnknownError:
        return UpdateProblem::insecureAddress;
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::UnknownNetworkError:
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyNotFoundError:
        return UpdateProblem::offline;
    default:
        return UpdateProblem::serverError;
    }
}

}  // namespace

SecureTransfer::SecureTransfer(QNetworkAccessManager* network, const QUrl& url, Options options, QObject* parent)
    : QObject(parent), network_(network), url_(url), options_(std::move(options))
{
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this, [this] { stop(UpdateProblem::timedOut); });
}

SecureTransfer::~SecureTransfer()
{
    cancel();
}

void SecureTransfer::start()
{
    if (!isSecure(url_)) {
        finish(UpdateProblem::insecureAddress);
        return;
    }
    if (!options_.file.isEmpty()) {
        file_.setFileName(options_.file);
        if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            finish(UpdateProblem::installFailed);
            return;
        }
        file_.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    QNetworkRequest request(url_);
    request.setSslConfiguration(tlsConfiguration(options_.authorities));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::UserVerifiedRedirectPolicy);
    request.setMaximumRedirectsAllowed(redirectLimit);
    request.setTransferTimeout(int(options_.stallTimeout.count()));
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    reply_ = network_->get(request);
    connect(reply_, &QNetworkReply::redirected, this, &SecureTransfer::followRedirect);
    connect(reply_, &QNetworkReply::metaDataChanged, this, &SecureTransfer::checkHeaders);
    connect(reply_, &QIODevice::readyRead, this, &SecureTransfer::readAvailable);
    connect(reply_, &QNetworkReply::finished, this, &SecureTransfer::replyFinished);
    deadline_.start(options_.deadline);
}

void SecureTransfer::cancel()
{
    done_ = true;
    deadline_.stop();
    if (reply_) {
        reply_->disconnect(this);
        reply_->abort();
        reply_->deleteLater();
    }
    if (file_.isOpen()) {
        file_.close();
        file_.remove();
    }
}

int SecureTransfer::statusCode() const
{
    return reply_ ? reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() : 0;
}

void SecureTransfer::followRedirect(const QUrl& target)
{
    if (isSecure(target))
        emit reply_->redirectAllowed();
    else
        stop(UpdateProblem::insecureAddress);
}

void SecureTransfer::checkHeaders()
{
    const int status = statusCode();
    if (status >= 300 && status < 400)
        return;
    if (status != httpOk) {
        stop(UpdateProblem::serverError);
        return;
    }
    const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
    if (!length.isValid())
        return;
    const qint64 announced = length.toLongLong();
    if (options_.expectedSize >= 0 && announced != options_.expectedSize)
        stop(UpdateProblem::wrongSize);
    else if (announced > options_.sizeLimit)
        stop(options_.oversize);
}

void SecureTransfer::readAvailable()
{
    const int status = statusCode();
    const QByteArray chunk = reply_->readAll();
    // The body of a redirect is not the resource.
    if (problem_ || (status >= 300 && status < 400))
        return;
    received_ += chunk.size();
    if (received_ > options_.sizeLimit || (options_.expectedSize >= 0 && received_ > options_.expectedSize)) {
        stop(options_.expectedSize >= 0 ? UpdateProblem::wrongSize : options_.oversize);
        return;
    }
    if (!file_.isOpen())
        body_.append(chunk);
    else if (file_.write(chunk) != chunk.size())
        stop(UpdateProblem::installFailed);
    if (onProgress && !problem_)
        onProgress(received_, announcedSize());
}

qint64 SecureTransfer::announcedSize() const
{
    if (options_.expectedSize >= 0)
        return options_.expectedSize;
    const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
    return length.isValid() ? length.toLongLong() : -1;
}

void SecureTransfer::stop(UpdateProblem problem)
{
    if (problem_ || done_)
        return;
    problem_ = problem;
    // Not from inside the reply's own signal: the reply may be reporting an error of its own.
    if (reply_)
        QMetaObject::invokeMethod(reply_, &QNetworkReply::abort, Qt::QueuedConnection);
}

void SecureTransfer::replyFinished()
{
    if (done_)
        return;
    if (reply_->isOpen())
        readAvailable();
    finish(outcome());
}

std::optional<UpdateProblem> SecureTransfer::outcome() const
{
    if (problem_)
        return problem_;
    const QNetworkReply::NetworkError error = reply_->error();
    if (error == QNetworkReply::RemoteHostClosedError && received_ > 0)
        return options_.cutShort;
    if (error != QNetworkReply::NoError)
        return networkProblem(error);
    if (statusCode() != httpOk)
        return UpdateProblem::serverError;
    return sizeOutcome();
}

std::optional<UpdateProblem> SecureTransfer::sizeOutcome() const
{
    if (options_.expectedSize < 0 || received_ == options_.expectedSize)
        return std::nullopt;
    // The whole body arrived, as the server meant it, and it is not the size the feed announced.
    return UpdateProblem::wrongSize;
}

void SecureTransfer::finish(std::optional<UpdateProblem> problem)
{
    if (done_)
        return;
    done_ = true;
    deadline_.stop();
    if (file_.isOpen() && (!file_.flush() || file_.error() != QFileDevice::NoError) && !problem)
        problem = UpdateProblem::installFailed;
    file_.close();
    if (problem && !options_.file.isEmpty())
        QFile::remove(options_.file);
    if (reply_)
        reply_->deleteLater();
    // From the event loop, so that the owner may delete this transfer in its callback even
    // when the outcome arrived inside abort().
    QTimer::singleShot(0, this, [this, problem] {
        if (onFinished)
            onFinished(problem);
    });
}
