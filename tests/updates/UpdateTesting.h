#pragma once

#include "updates/UpdateDriver.h"
#include "updates/UpdateSession.h"
#include "updates/UpdateWindow.h"

#include "support/LocalHttpsServer.h"
#include "support/ReleaseTesting.h"

#include <QAbstractButton>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

// A temporary machine for one update story: an installed Dewbell 1.0.0 in its own folder,
// the user's data beside it, a settings file, a download folder and a release key, with a
// local https server publishing releases.
class UpdateBench {
public:
    UpdateBench(LocalHttps::Server& server, const QSslCertificate& authority) : server_(server)
    {
        const QList<ReleaseTesting::Entry> onlyInOld{
            ReleaseTesting::file("share/dewbell/app/only-in-1.0.0.txt", "old")};
        ReleaseTesting::writeTree(root(), ReleaseTesting::dewbellTree("1.0.0") + onlyInOld);
        ReleaseTesting::writeTree(dataFolder(), {ReleaseTesting::file("state.json", "{\"schemaVersion\": 2}")});
        environment.configuration.feedURL = server.url(feedPath());
        environment.configuration.publicKey = keys.publicKey;
        environment.configuration.releaseBuild = true;
        environment.runningVersion = QStringLiteral("1.0.0");
        environment.installationRoot = root();
        environment.userDataFolder = dataFolder();
        environment.settingsFile = folder_.filePath(QStringLiteral("dewbell.conf"));
        environment.downloadFolder = folder_.filePath(QStringLiteral("cache/updates"));
        environment.signedFeedRequired = true;
        environment.testCertificateAuthorities = {authority};
        environment.now = [this] { return clock; };
        environment.stallTimeout = std::chrono::milliseconds(700);
        environment.feedDeadline = std::chrono::milliseconds(5000);
        environment.archiveDeadline = std::chrono::milliseconds(5000);
        environment.relaunch = [this](const QString& executable) { relaunched.append(executable); };
        environment.quit = [this] { ++quits; };
    }

    // Puts `version` in place of the installed Dewbell, as if it were running.
    void install(const QString& version)
    {
        QDir(root()).removeRecursively();
        ReleaseTesting::writeTree(root(), ReleaseTesting::dewbellTree(version.toUtf8()));
        environment.runningVersion = version;
    }

    QString root() const { return folder_.filePath(QStringLiteral("opt/Dewbell")); }
    QString dataFolder() const { return folder_.filePath(QStringLiteral("data")); }
    QString feedPath() const { return QStringLiteral("/%1/feed.xml").arg(number_); }
    QString archivePath(const QString& version) const
    {
        return QStringLiteral("/%1/dewbell-%2.tar.xz").arg(number_).arg(version);
    }

    // Serves a signed archive of `version` and returns its feed item; `change` may spoil
    // the item or the archive before they are published.
    QByteArray publish(
        const QString& version, QList<ReleaseTesting::Entry> tree = {},
        const std::function<void(QByteArray& archive, qint64& length, QByteArray& signature, QUrl& url)>& change = {})
    {
        if (tree.isEmpty())
            tree = ReleaseTesting::dewbellTree(version.toUtf8());
        QByteArray archive = ReleaseTesting::tarXz(tree);
        qint64 length = archive.size();
        QByteArray signature = ReleaseTesting::sign(archive, keys.secretKey);
        QUrl url = server_.url(archivePath(version));
        if (change)
            change(archive, length, signature, url);
        archives.insert(version, archive);
        server_.serve(archivePath(version), LocalHttps::answer(200, archive));
        return "<item><title>Dewbell " + version.toUtf8() + "</title><dewbell:version>" + version.toUtf8()
               + "</dewbell:version><pubDate>Tue, 05 Mar 2024 10:00:00 +0000</pubDate>"
                 "<description><![CDATA[<h3>What's new</h3><p>Gentler chimes in "
               + version.toUtf8() + ".</p>]]></description><enclosure url=\"" + url.toEncoded() + "\" length=\""
               + QByteArray::number(length) + "\" dewbell:edSignature=\"" + signature.toBase64() + "\"/></item>";
    }

    static QByteArray feed(const QByteArray& items)
    {
        return "<?xml version=\"1.0\"?><rss version=\"2.0\" xmlns:dewbell=\"https://dewbell.app/xml/update-feed\">"
               "<channel>"
               + items + "</channel></rss>\n";
    }

    // The feed's bytes followed by the line that signs them with `secretKey`.
    static QByteArray signedWith(const QByteArray& feed, const QByteArray& secretKey)
    {
        return feed + "<!-- dewbell-feed-signature " + ReleaseTesting::sign(feed, secretKey).toBase64() + " -->\n";
    }

    // Publishes a feed holding `items`, signed with the release key.
    void serveFeed(const QByteArray& items) { serveFeedBytes(signedWith(feed(items), keys.secretKey)); }
    void serveFeedBytes(const QByteArray& bytes) { server_.serve(feedPath(), LocalHttps::answer(200, bytes)); }

    // The folders next to the installation: only the installation itself, never a staged or old tree.
    QStringList besideRoot() const
    {
        return QDir(QFileInfo(root()).absolutePath()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    // What is left in the download folder: no archive, no folder it was checked in.
    QStringList downloads() const
    {
        return QDir(environment.downloadFolder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    UpdateEnvironment environment;
    ReleaseTesting::Keys keys = ReleaseTesting::makeKeys();
    QMap<QString, QByteArray> archives;
    QDateTime clock = QDateTime(QDate(2024, 3, 4), QTime(9, 0), QTimeZone::utc());
    QStringList relaunched;
    int quits = 0;

private:
    // Each bench publishes under paths of its own on the shared server.
    static inline int benches_ = 0;
    int number_ = ++benches_;
    QTemporaryDir folder_;
    LocalHttps::Server& server_;
};

// The local https server of an update test program, with a certificate authority of its own;
// started once, in initTestCase.
class UpdateServer {
public:
    // False when the openssl command could not make the certificates.
    bool start()
    {
        certificates_ = LocalHttps::makeCertificates(certificateFolder_.path());
        if (certificates_)
            server_ = std::make_unique<LocalHttps::Server>(*certificates_);
        return certificates_.has_value();
    }

    LocalHttps::Server* operator->() const { return server_.get(); }
    std::unique_ptr<UpdateBench> bench() const
    {
        return std::make_unique<UpdateBench>(*server_, certificates_->authority);
    }

private:
    QTemporaryDir certificateFolder_;
    std::optional<LocalHttps::Certificates> certificates_;
    std::unique_ptr<LocalHttps::Server> server_;
};

// The offscreen platform says, for each window shown, that it cannot raise it or pass on its
// size hints; that is about the platform, not about what is tested.
inline void quietenOffscreenPlatform()
{
    static const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (!message.startsWith(QLatin1String("This plugin does not support")))
                previous(type, context, message);
        });
}

// Waits until the session has finished its network and disk work.
inline bool settles(UpdateSession* session, int timeoutMs = 10000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (session->isBusy() && !deadline.hasExpired())
        QTest::qWait(10);
    return !session->isBusy();
}

inline QString shownText(const UpdateWindow* window, const char* name)
{
    const auto* label = window ? window->findChild<QLabel*>(QLatin1String(name)) : nullptr;
    return label && label->isVisibleTo(window) ? label->text() : QString();
}

inline bool click(const UpdateWindow* window, const char* name)
{
    auto* button = window ? window->findChild<QAbstractButton*>(QLatin1String(name)) : nullptr;
    if (!button || !button->isVisible())
        return false;
    QTest::mouseClick(button, Qt::LeftButton);
    return true;
}
