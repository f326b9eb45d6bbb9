#pragma once

#include "updates/UpdateProblem.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSslCertificate>
#include <QTimer>
#include <QUrl>
#include <chrono>
#include <functional>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;

// One GET over https, redirects included, trusting the system's certificate authorities only,
// with a size bound and two time limits: a stall (nothing arrives) and a deadline (the whole
// transfer). Every failure ends as one UpdateProblem.
class SecureTransfer : public QObject {
public:
    struct Options {
        // The authorities a server's certificate must lead to; empty means the system's store.
        // Only tests hand in others.
        QList<QSslCertificate> authorities;
        std::chrono::milliseconds stallTimeout{30000};
        std::chrono::milliseconds deadline{60000};
        qint64 sizeLimit = 0;
        // The exact size the body must have, when known; -1 otherwise.
        qint64 expectedSize = -1;
        // What a body over the limit, or one that stops early, counts as.
        UpdateProblem oversize = UpdateProblem::feedUnreadable;
        UpdateProblem cutShort = UpdateProblem::feedUnreadable;
        // Where the body goes (created afresh, readable by the user only); empty keeps it in memory.
        QString file;
    };

    SecureTransfer(QNetworkAccessManager* network, const QUrl& url, Options options, QObject* parent = nullptr);
    ~SecureTransfer() override;

    // Called with the bytes received so far and the announced total (-1 when unknown).
    std::function<void(qint64, qint64)> onProgress;
    // Called once, from the event loop, without a problem when the whole body arrived.
    std::function<void(std::optional<UpdateProblem>)> onFinished;

    void start();
    // Stops without calling onFinished; a partial file is removed.
    void cancel();

    // The body when it was kept in memory.
    QByteArray body() const { return body_; }

private:
    void checkHeaders();
    void readAvailable();
    void followRedirect(const QUrl& target);
    void replyFinished();
    std::optional<UpdateProblem> outcome() const;
    std::optional<UpdateProblem> sizeOutcome() const;
    void stop(UpdateProblem problem);
    void finish(std::optional<UpdateProblem> problem);
    int statusCode() const;
    qint64 announcedSize() const;

    QNetworkAccessManager* network_;
    QUrl url_;
    Options options_;
    QPointer<QNetworkReply> reply_;
    QTimer deadline_;
    QFile file_;
    QByteArray body_;
    qint64 received_ = 0;
    std::optional<UpdateProblem> problem_;
    bool done_ = false;
};
