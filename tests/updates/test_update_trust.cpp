#include "support/TableTesting.h"
#include "updates/UpdateSettings.h"

#include "UpdateTesting.h"

#include <QApplication>

using namespace ReleaseTesting;

namespace {

enum class FeedFault { unsigned_, byteFlippedAfterSigning, otherKey, signatureNotLast, truncatedSignature };

}  // namespace

Q_DECLARE_METATYPE(FeedFault)
Q_DECLARE_METATYPE(UpdateProblem)

// What makes Dewbell trust an update: a feed signed with the release key, and an archive that
// holds the very version offered, newer than the one running. Nothing else is ever installed.
class UpdateTrustTest : public QObject {
    Q_OBJECT

    UpdateServer server_;

    static QByteArray spoiled(const UpdateBench& bench, const QByteArray& items, FeedFault fault)
    {
        const QByteArray feed = UpdateBench::feed(items);
        QByteArray signedFeed = UpdateBench::signedWith(feed, bench.keys.secretKey);
        switch (fault) {
        case FeedFault::unsigned_:
            return feed;
        case FeedFault::byteFlippedAfterSigning:
            // "1.2.0" becomes "1.3.0" in the item's version.
            signedFeed[signedFeed.indexOf("1.2.0</dewbell:version>") + 2] = '3';
            return signedFeed;
        case FeedFault::otherKey:
            return UpdateBench::signedWith(feed, makeKeys().secretKey);
        case FeedFault::signatureNotLast:
            return signedFeed + "<!-- mirrored -->\n";
        case FeedFault::truncatedSignature:
            return signedFeed.replace("== -->", "= -->");
        }
        return {};
    }

    // Runs a check the user started and answers "Install Update" when an update is offered.
    static void checkAndInstall(UpdateDriver& driver)
    {
        driver.check();
        QVERIFY(settles(driver.session()));
        if (driver.session()->phase() == UpdatePhase::found) {
            QVERIFY(click(driver.window(), "installUpdate"));
            QVERIFY(settles(driver.session()));
        }
    }

private slots:
    void initTestCase()
    {
        quietenOffscreenPlatform();
        QVERIFY2(server_.start(), "the openssl command makes the test certificates");
    }

    void feedsNotSignedWithTheReleaseKey_data()
    {
        addColumns<FeedFault>("fault");
        QTest::newRow("unsigned") << FeedFault::unsigned_;
        QTest::newRow("a byte changed after signing") << FeedFault::byteFlippedAfterSigning;
        QTest::newRow("signed with another key") << FeedFault::otherKey;
        QTest::newRow("something after the signature") << FeedFault::signatureNotLast;
        QTest::newRow("signature cut short") << FeedFault::truncatedSignature;
    }
    // A build that requires a signed feed reads nothing of a feed its key did not sign: no
    // version is offered and no archive is asked for, however good the archive itself is.
    void feedsNotSignedWithTheReleaseKey()
    {
        QFETCH(FeedFault, fault);
        auto bench = server_.bench();
        bench->serveFeedBytes(spoiled(*bench, bench->publish(QStringLiteral("1.2.0")), fault));
        const auto installation = snapshot(bench->root());
        UpdateDriver driver(bench->environment);
        driver.start();

        driver.check();
        QVERIFY(settles(driver.session()));
        QCOMPARE(driver.session()->phase(), UpdatePhase::failed);
        QCOMPARE(driver.session()->status().problem, std::optional(UpdateProblem::unsignedFeed));
        QVERIFY(!driver.session()->status().offer);
        QCOMPARE(shownText(driver.window(), "updateTitle"), QStringLiteral("Dewbell refused the update feed"));
        QCOMPARE(shownText(driver.window(), "updateBody"),
                 QStringLiteral("The update feed isn't signed by Dewbell's release key, so nothing was offered."));
        QVERIFY(!server_->requests.contains(bench->archivePath(QStringLiteral("1.2.0"))));
        QCOMPARE(snapshot(bench->root()), installation);
        QCOMPARE(driver.lastCheck(), std::optional(bench->clock));
        QVERIFY(click(driver.window(), "okUpdate"));

        // An automatic check offers nothing either, and shows nothing.
        bench->clock = bench->clock.addDays(2);
        driver.considerAutomaticCheck();
        QVERIFY(settles(driver.session()));
        QCOMPARE(server_->requests.count(bench->feedPath()), 2);
        QCOMPARE(driver.session()->phase(), UpdatePhase::idle);
        QVERIFY(!driver.session()->status().offer);
        QVERIFY(!driver.window()->isVisible());
        QVERIFY(!server_->requests.contains(bench->archivePath(QStringLiteral("1.2.0"))));
    }

    // The signature line is a comment after the document: a build that does not require it
    // reads a signed feed as it is, and an unsigned one too.
    void aBuildThatRequiresNoSignatureReadsEitherFeed()
    {
        for (const bool signedFeed : {true, false}) {
            auto bench = server_.bench();
            bench->environment.signedFeedRequired = false;
            const QByteArray feed = UpdateBench::feed(bench->publish(QStringLiteral("1.2.0")));
            bench->serveFeedBytes(signedFeed ? UpdateBench::signedWith(feed, bench->keys.secretKey) : feed);
            UpdateDriver driver(bench->environment);
            driver.start();
            driver.check();
            QVERIFY(settles(driver.session()));
            QCOMPARE(driver.session()->phase(), UpdatePhase::found);
        }
    }

    void archivesThatDoNotHoldTheOfferedVersion_data()
    {
        addColumns<QByteArray, bool>("inside", "sharedFolder");
        QTest::newRow("an older release replayed") << QByteArray("1.0.0") << false;
        QTest::newRow("an older release replayed, to be saved") << QByteArray("1.0.0") << true;
        QTest::newRow("another newer release") << QByteArray("1.3.0") << false;
        QTest::newRow("a later patch than offered") << QByteArray("1.2.0.1") << false;
        QTest::newRow("no version inside") << QByteArray() << false;
    }
    // A genuinely signed archive announced as a version it does not hold is refused after
    // unpacking; the staged tree goes, and the running Dewbell stays as it was, however often
    // the feed announces it again.
    void archivesThatDoNotHoldTheOfferedVersion()
    {
        QFETCH(QByteArray, inside);
        QFETCH(bool, sharedFolder);
        auto bench = server_.bench();
        bench->install(QStringLiteral("1.1.0"));
        if (sharedFolder)
            writeTree(bench->root(), {file("bin/other-program", "theirs", 0755)});
        QList<Entry> tree = dewbellTree(inside);
        if (inside.isEmpty()) {
            tree.removeIf([](const Entry& entry) { return entry.path.endsWith("/info.json"); });
            tree.append(file("share/dewbell/app/info.json", "{\"CFBundleName\": \"Dewbell\"}\n"));
        }
        bench->serveFeed(bench->publish(QStringLiteral("1.2.0"), tree));
        const auto installation = snapshot(bench->root());
        const auto userData = snapshot(bench->dataFolder());
        UpdateDriver driver(bench->environment);
        driver.start();

        for (int attempt = 0; attempt < 2; ++attempt) {
            checkAndInstall(driver);
            QCOMPARE(driver.session()->phase(), UpdatePhase::failed);
            QCOMPARE(driver.session()->status().problem, std::optional(UpdateProblem::wrongVersion));
            QCOMPARE(shownText(driver.window(), "updateTitle"), QStringLiteral("Dewbell refused the update to 1.2.0"));
            QCOMPARE(shownText(driver.window(), "updateBody"), sentence(UpdateProblem::wrongVersion));
            QVERIFY(!driver.session()->installNow());
            QCOMPARE(snapshot(bench->root()), installation);
            QCOMPARE(snapshot(bench->dataFolder()), userData);
            QCOMPARE(bench->besideRoot(), QStringList{QStringLiteral("Dewbell")});
            QVERIFY(bench->downloads().isEmpty());
            QVERIFY(click(driver.window(), "okUpdate"));
        }
        driver.applicationWillQuit();
        QCOMPARE(snapshot(bench->root()), installation);
    }

    void downloadsOfAnotherSize_data()
    {
        addColumns<qint64, bool>("extraBytes", "withLength");
        QTest::newRow("longer, with its length") << qint64(1) << true;
        QTest::newRow("shorter, with its length") << qint64(-1) << true;
        QTest::newRow("longer, the length found while it arrives") << qint64(1) << false;
        QTest::newRow("shorter, the length found once it has arrived") << qint64(-1) << false;
    }
    // Whether the server says so at once or the bytes show it, an archive that is not the size
    // the feed announced is refused with the size sentence.
    void downloadsOfAnotherSize()
    {
        QFETCH(qint64, extraBytes);
        QFETCH(bool, withLength);
        auto bench = server_.bench();
        bench->serveFeed(
            bench->publish(QStringLiteral("1.2.0"), {},
                           [&](QByteArray&, qint64& length, QByteArray&, QUrl&) { length -= extraBytes; }));
        LocalHttps::Response archive = LocalHttps::answer(200, bench->archives.value(QStringLiteral("1.2.0")));
        archive.withoutLength = !withLength;
        server_->serve(bench->archivePath(QStringLiteral("1.2.0")), archive);
        const auto installation = snapshot(bench->root());
        UpdateDriver driver(bench->environment);
        driver.start();
        checkAndInstall(driver);
        QCOMPARE(driver.session()->status().problem, std::optional(UpdateProblem::wrongSize));
        QCOMPARE(shownText(driver.window(), "updateTitle"), QStringLiteral("Dewbell refused the update to 1.2.0"));
        QCOMPARE(shownText(driver.window(), "updateBody"),
                 QStringLiteral("The update wasn't the size the feed announced, so it was not installed."));
        QCOMPARE(snapshot(bench->root()), installation);
        QVERIFY(bench->downloads().isEmpty());
    }

    // The archive on disk is measured again before its signature is checked.
    void anArchiveOfAnotherSizeOnDisk()
    {
        QTemporaryDir folder;
        const QByteArray archive = tarXz(dewbellTree("1.2.0"));
        const Keys keys = makeKeys();
        writeTree(folder.path(), {file("dewbell-1.2.0.tar.xz", archive)});
        FeedItem item;
        item.version = QStringLiteral("1.2.0");
        item.signature = sign(archive, keys.secretKey);
        for (const qint64 announced : {archive.size() - 1, archive.size() + 1}) {
            item.archiveLength = announced;
            const PreparedUpdate prepared = prepareUpdate(folder.filePath(QStringLiteral("dewbell-1.2.0.tar.xz")), item,
                                                          keys.publicKey, std::nullopt, {});
            QCOMPARE(prepared.problem, std::optional(UpdateProblem::wrongSize));
        }
        item.archiveLength = archive.size();
        QCOMPARE(prepareUpdate(folder.filePath(QStringLiteral("dewbell-1.2.0.tar.xz")), item, keys.publicKey,
                               std::nullopt, {})
                     .problem,
                 std::nullopt);
        QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("dewbell-1.2.0.tar.xz")});
    }

    void whatTheTitleSays_data()
    {
        addColumns<QString, QString>("fault", "title");
        QTest::newRow("offered over http") << "http enclosure"
                                           << "Dewbell refused the update to 1.2.0";
        QTest::newRow("server not reached") << "nobody listening"
                                            << "Couldn't check for updates";
        QTest::newRow("archive missing") << "archive missing"
                                         << "Dewbell 1.2.0 wasn't installed";
    }
    // "Couldn't check" only when the check itself failed; an offer turned down for what it
    // holds is called refused, and a download that failed is called not installed.
    void whatTheTitleSays()
    {
        QFETCH(QString, fault);
        QFETCH(QString, title);
        auto bench = server_.bench();
        // A port nobody listens on any more.
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        const quint16 port = probe.serverPort();
        probe.close();
        const QUrl nowhere(QStringLiteral("http://127.0.0.1:%1/dewbell-1.2.0.tar.xz").arg(port));
        bench->serveFeed(bench->publish(QStringLiteral("1.2.0"), {}, [&](QByteArray&, qint64&, QByteArray&, QUrl& url) {
            if (fault == QLatin1String("http enclosure"))
                url = nowhere;
        }));
        if (fault == QLatin1String("nobody listening"))
            bench->environment.configuration.feedURL = QUrl(QStringLiteral("https://127.0.0.1:%1/feed.xml").arg(port));
        if (fault == QLatin1String("archive missing"))
            server_->serve(bench->archivePath(QStringLiteral("1.2.0")), LocalHttps::answer(404, "gone"));
        UpdateDriver driver(bench->environment);
        driver.start();
        checkAndInstall(driver);
        QCOMPARE(driver.session()->phase(), UpdatePhase::failed);
        QCOMPARE(shownText(driver.window(), "updateTitle"), title);
    }

    // Versions are numbers: 1.10.0 follows 1.9.0 and 1.9.5, and nothing older than the running
    // version is offered, whatever the feed lists first.
    void versionsCompareAsNumbers()
    {
        auto bench = server_.bench();
        bench->install(QStringLiteral("1.9.0"));
        // The archive names its version in other words: "1.10" is 1.10.0.
        bench->serveFeed(bench->publish(QStringLiteral("1.9.5"))
                         + bench->publish(QStringLiteral("1.10.0"), dewbellTree("1.10"))
                         + bench->publish(QStringLiteral("1.8.0")));
        UpdateDriver driver(bench->environment);
        driver.start();
        checkAndInstall(driver);
        QCOMPARE(driver.session()->status().offer->version, QStringLiteral("1.10.0"));
        QCOMPARE(driver.session()->phase(), UpdatePhase::readyToInstall);
        QVERIFY(click(driver.window(), "installAndRelaunch"));
        QCOMPARE(Installation::versionOf(bench->root()), QStringLiteral("1.10"));

        auto updated = server_.bench();
        updated->install(QStringLiteral("1.10.0"));
        updated->serveFeed(updated->publish(QStringLiteral("1.9.0")) + updated->publish(QStringLiteral("1.10.0"))
                           + updated->publish(QStringLiteral("1.9.10")));
        UpdateDriver upToDate(updated->environment);
        upToDate.start();
        upToDate.check();
        QVERIFY(settles(upToDate.session()));
        QCOMPARE(upToDate.session()->phase(), UpdatePhase::upToDate);
        QCOMPARE(shownText(upToDate.window(), "updateBody"), QStringLiteral("Version 1.10.0 is the newest version."));
    }
};

QTEST_MAIN(UpdateTrustTest)
#include "test_update_trust.moc"
