#include "updates/SignatureCheck.h"

#include "UpdateTesting.h"

#include <QProcess>
#include <sys/stat.h>

using namespace ReleaseTesting;

namespace {

struct Run {
    int exitCode = -1;
    QByteArray output;
};

Run releaseTool(const QStringList& arguments)
{
    QProcess tool;
    tool.start(qEnvironmentVariable("DEWBELL_RELEASE_TOOL"), arguments);
    tool.waitForFinished(30000);
    return {tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1, tool.readAllStandardOutput()};
}

}  // namespace

// What a maintainer does to publish a release, and a running Dewbell taking it.
class ReleaseToolTest : public QObject {
    Q_OBJECT

    UpdateServer server_;

private slots:
    void initTestCase()
    {
        quietenOffscreenPlatform();
        QVERIFY2(server_.start(), "the openssl command makes the test certificates");
    }

    void aPublishedReleaseIsInstalled()
    {
        auto bench = server_.bench();
        QTemporaryDir desk;
        const QString key = desk.filePath(QStringLiteral("dewbell-release.key"));
        const Run keygen = releaseTool({QStringLiteral("keygen"), key});
        QCOMPARE(keygen.exitCode, 0);
        const QByteArray publicKey = QByteArray::fromBase64(keygen.output.trimmed());
        QCOMPARE(publicKey.size(), SignatureCheck::publicKeyLength);
        struct stat status { };
        QCOMPARE(::stat(QFile::encodeName(key).constData(), &status), 0);
        QCOMPARE(status.st_mode & 0777, 0600u);
        const QByteArray secret = LocalHttps::readAll(key);
        QCOMPARE(releaseTool({QStringLiteral("keygen"), key}).exitCode, 1);
        QCOMPARE(LocalHttps::readAll(key), secret);

        const QString archive = desk.filePath(QStringLiteral("dewbell-1.2.0.tar.xz"));
        writeTree(desk.path(), {file("dewbell-1.2.0.tar.xz", tarXz(dewbellTree("1.2.0"))),
                                file("notes.html", "<p>Gentler <b>chimes</b>.</p>")});
        const Run signature = releaseTool({QStringLiteral("sign"), key, archive});
        QVERIFY(SignatureCheck::matches(LocalHttps::readAll(archive),
                                        QByteArray::fromBase64(signature.output.trimmed()), publicKey));
        const QUrl url = server_->url(bench->archivePath(QStringLiteral("1.2.0")));
        QCOMPARE(releaseTool({QStringLiteral("item"), key, archive, QStringLiteral("--version=1.2.0"),
                              QStringLiteral("--url=http://example.org/a.tar.xz")})
                     .exitCode,
                 1);
        const Run feed = releaseTool({QStringLiteral("item"), key, archive, QStringLiteral("--version=1.2.0"),
                                      QStringLiteral("--short-version=1.2"), QStringLiteral("--url=") + url.toString(),
                                      QStringLiteral("--notes=") + desk.filePath(QStringLiteral("notes.html")),
                                      QStringLiteral("--html"), QStringLiteral("--feed")});
        QCOMPARE(feed.exitCode, 0);

        server_->serve(bench->feedPath(), LocalHttps::answer(200, feed.output));
        server_->serve(bench->archivePath(QStringLiteral("1.2.0")),
                       LocalHttps::answer(200, LocalHttps::readAll(archive)));
        bench->environment.configuration.publicKey = publicKey;
        UpdateDriver driver(bench->environment);
        driver.start();
        driver.check();
        QVERIFY(settles(driver.session()));
        QCOMPARE(shownText(driver.window(), "updateBody"),
                 QStringLiteral("Dewbell 1.2 is out; you have 1.0.0. Would you like to install it now?"));
        QVERIFY(click(driver.window(), "installUpdate"));
        QVERIFY(settles(driver.session()));
        QVERIFY(click(driver.window(), "installAndRelaunch"));
        QVERIFY(snapshot(bench->root()).value(QStringLiteral("bin/dewbell")).contains("echo 1.2.0"));
    }

    // A maintainer adds an item to the published feed by hand: until the feed is signed again
    // it is refused, and signing it again leaves one signature, over the edited bytes.
    void aFeedEditedByHandIsSignedAgain()
    {
        auto bench = server_.bench();
        QTemporaryDir desk;
        const QString key = desk.filePath(QStringLiteral("dewbell-release.key"));
        const Run keygen = releaseTool({QStringLiteral("keygen"), key});
        bench->environment.configuration.publicKey = QByteArray::fromBase64(keygen.output.trimmed());
        writeTree(desk.path(), {file("dewbell-1.2.0.tar.xz", tarXz(dewbellTree("1.2.0")))});
        const Run published =
            releaseTool({QStringLiteral("item"), key, desk.filePath(QStringLiteral("dewbell-1.2.0.tar.xz")),
                         QStringLiteral("--version=1.2.0"),
                         QStringLiteral("--url=") + server_->url(bench->archivePath("1.2.0")).toString(),
                         QStringLiteral("--feed")});
        QCOMPARE(published.exitCode, 0);
        QByteArray edited = published.output;
        edited.replace("</channel>", bench->publish(QStringLiteral("1.3.0")) + "</channel>");
        const QString feedFile = desk.filePath(QStringLiteral("feed.xml"));
        writeTree(desk.path(), {file("feed.xml", edited)});
        // The version offered, or what went wrong.
        const auto check = [&](const QByteArray& feed) {
            bench->serveFeedBytes(feed);
            UpdateDriver driver(bench->environment);
            driver.start();
            driver.check();
            settles(driver.session());
            const UpdateStatus& status = driver.session()->status();
            return status.offer ? status.offer->version
                                : sentence(status.problem.value_or(UpdateProblem::feedUnreadable));
        };
        QCOMPARE(check(edited), sentence(UpdateProblem::unsignedFeed));

        const Run signedAgain = releaseTool({QStringLiteral("sign-feed"), key, feedFile});
        QCOMPARE(signedAgain.exitCode, 0);
        QCOMPARE(signedAgain.output.count("dewbell-feed-signature"), 1);
        QCOMPARE(check(signedAgain.output), QStringLiteral("1.3.0"));

        writeTree(desk.path(), {file("broken.xml", "<rss version=\"2.0\"><channel>")});
        QCOMPARE(releaseTool({QStringLiteral("sign-feed"), key, desk.filePath(QStringLiteral("broken.xml"))}).exitCode,
                 1);
    }
};

QTEST_MAIN(ReleaseToolTest)
#include "test_release_tool.moc"
