#include "store/AppUpdateManager.h"
#include "support/TableTesting.h"
#include "updates/ReleaseNotesView.h"

#include "UpdateTesting.h"

#include <QApplication>
#include <QProcess>
#include <QSettings>

using namespace ReleaseTesting;

namespace {

enum class Fault {
    tamperedArchive,
    wrongKey,
    longerThanAnnounced,
    shorterThanAnnounced,
    httpEnclosure,
    redirectToHttp,
    cutOff,
    malformedFeed,
    hugeFeed,
    missingFeed,
    silentServer,
    noTlsAnswer,
    nobodyListening,
    untrustedCertificate,
    entryClimbsOut,
    absoluteEntry,
    linkOut,
    noDewbellInside,
    earlierLayout,
};

}  // namespace

Q_DECLARE_METATYPE(Fault)
Q_DECLARE_METATYPE(UpdateProblem)

class UpdateDriverTest : public QObject {
    Q_OBJECT

    UpdateServer server_;
    LocalHttps::SilentServer silent_;

    // Makes the release of 1.2.0 that `fault` spoils, and the feed announcing it.
    void publishFaulty(UpdateBench& bench, Fault fault)
    {
        using Change = std::function<void(QByteArray&, qint64&, QByteArray&, QUrl&)>;
        const auto change = [&](Change spoil) { bench.serveFeed(bench.publish(QStringLiteral("1.2.0"), {}, spoil)); };
        const auto tree = [&](QList<Entry> entries) {
            bench.serveFeed(bench.publish(QStringLiteral("1.2.0"), entries));
        };
        switch (fault) {
        case Fault::tamperedArchive:
            return change([](QByteArray& archive, qint64&, QByteArray&, QUrl&) { archive[archive.size() / 2] ^= 1; });
        case Fault::wrongKey:
            return change([](QByteArray& archive, qint64&, QByteArray& signature, QUrl&) {
                signature = sign(archive, makeKeys().secretKey);
            });
        case Fault::longerThanAnnounced:
            return change([](QByteArray&, qint64& length, QByteArray&, QUrl&) { length -= 1; });
        case Fault::shorterThanAnnounced:
            return change([](QByteArray&, qint64& length, QByteArray&, QUrl&) { length += 1; });
        case Fault::httpEnclosure:
            return change([this](QByteArray&, qint64&, QByteArray&, QUrl& url) {
                url = silent_.url(QStringLiteral("http"), QStringLiteral("/dewbell-1.2.0.tar.xz"));
            });
        case Fault::redirectToHttp:
            bench.serveFeed(bench.publish(QStringLiteral("1.2.0")));
            return server_->serve(
                bench.archivePath(QStringLiteral("1.2.0")),
                LocalHttps::redirect(silent_.url(QStringLiteral("http"), QStringLiteral("/a.tar.xz"))));
        case Fault::cutOff: {
            bench.serveFeed(bench.publish(QStringLiteral("1.2.0")));
            const QByteArray archive = bench.archives.value(QStringLiteral("1.2.0"));
            return server_->serve(bench.archivePath(QStringLiteral("1.2.0")),
                                  LocalHttps::cutOff(archive, archive.size() / 2));
        }
        case Fault::malformedFeed:
            return bench.serveFeedBytes(
                UpdateBench::signedWith("<rss version=\"2.0\"><channel><item>\n", bench.keys.secretKey));
        case Fault::hugeFeed:
            return bench.serveFeed(QByteArray(2 << 20, ' '));
        case Fault::missingFeed:
            return server_->serve(bench.feedPath(), LocalHttps::answer(404, "not here"));
        case Fault::silentServer:
            return server_->serve(bench.feedPath(), LocalHttps::silence());
        case Fault::noTlsAnswer:
            bench.environment.configuration.feedURL = silent_.url(QStringLiteral("https"), QStringLiteral("/feed.xml"));
            return;
        case Fault::nobodyListening: {
            QTcpServer closed;
            closed.listen(QHostAddress::LocalHost);
            bench.environment.configuration.feedURL =
                QUrl(QStringLiteral("https://127.0.0.1:%1/feed.xml").arg(closed.serverPort()));
            return;
        }
        case Fault::untrustedCertificate:
            bench.environment.testCertificateAuthorities.clear();
            return bench.serveFeed(bench.publish(QStringLiteral("1.2.0")));
        case Fault::entryClimbsOut:
            return tree(dewbellTree("1.2.0") + QList<Entry>{file("share/../../evil", "x")});
        case Fault::absoluteEntry:
            return tree(dewbellTree("1.2.0")
                        + QList<Entry>{file(QFile::encodeName(bench.dataFolder()) + "/evil", "x")});
        case Fault::linkOut:
            return tree(dewbellTree("1.2.0") + QList<Entry>{softLink("share/dewbell/app/data", "../../../../data")});
        case Fault::noDewbellInside:
            return tree({file("share/dewbell/app/info.json", "{}")});
        case Fault::earlierLayout:
            return tree({file("bin/dewbell", "#!/bin/sh\n", 0755),
                         file("share/dewbell/info.json", "{\"CFBundleShortVersionString\": \"1.2.0\"}\n")});
        }
    }

private slots:
    void initTestCase()
    {
        quietenOffscreenPlatform();
        QVERIFY2(server_.start(), "the openssl command makes the test certificates");
    }

    // Through the manager, as the application uses the driver: a check the user starts, with
    // `canCheck` off while it runs and the last-check date set once it ends.
    void aCheckFindsDewbellUpToDate()
    {
        auto bench = server_.bench();
        bench->serveFeed(bench->publish(QStringLiteral("1.0.0")) + bench->publish(QStringLiteral("0.9.0")));
        UpdateDriver* driver = nullptr;
        AppUpdateManager manager(true, bench->environment.configuration, [&] {
            auto made = std::make_unique<UpdateDriver>(bench->environment);
            driver = made.get();
            return made;
        });
        QList<QPair<bool, bool>> reports;  // canCheck and whether a last check is known, at each change
        connect(&manager, &AppUpdateManager::changed, this, [&] {
            reports.append({manager.canCheck(), manager.lastCheck().has_value()});
        });

        manager.start();
        QVERIFY(manager.isAvailable());
        QVERIFY(manager.canCheck());
        QVERIFY(!manager.lastCheck());
        reports.clear();
        manager.checkForUpdates();
        QVERIFY(!manager.canCheck());
        QVERIFY(settles(driver->session()));
        QTRY_VERIFY(manager.canCheck());

        QCOMPARE(manager.lastCheck(), std::optional(bench->clock));
        QCOMPARE(reports.first(), qMakePair(false, false));
        QCOMPARE(reports.last(), qMakePair(true, true));
        QVERIFY(driver->window()->isVisible());
        QCOMPARE(shownText(driver->window(), "updateTitle"), QStringLiteral("Dewbell is up to date"));
        QCOMPARE(shownText(driver->window(), "updateBody"), QStringLiteral("Version 1.0.0 is the newest version."));
        QCOMPARE(server_->requests.count(bench->feedPath()), 1);
        QVERIFY(!server_->requests.contains(bench->archivePath(QStringLiteral("1.0.0"))));

        QVERIFY(click(driver->window(), "okUpdate"));
        QVERIFY(!driver->window()->isVisible());
    }

    void theToggles_data()
    {
        addColumns<bool, bool>("checks", "downloads");
        QTest::newRow("both on") << true << true;
        QTest::newRow("checks off") << false << false;
        QTest::newRow("downloads on alone") << false << true;
    }
    // The driver keeps its toggles under keys of its own, and a restarted driver reads them back.
    void theToggles()
    {
        QFETCH(bool, checks);
        QFETCH(bool, downloads);
        auto bench = server_.bench();
        {
            UpdateDriver driver(bench->environment);
            int changes = 0;
            driver.onChange = [&] { ++changes; };
            driver.start();
            QCOMPARE(changes, 1);
            QVERIFY(driver.automaticallyChecks());
            QVERIFY(!driver.automaticallyDownloads());
            QVERIFY(driver.allowsAutomaticDownloads());
            driver.setAutomaticallyChecks(checks);
            QCOMPARE(changes, 2);
            driver.setAutomaticallyDownloads(downloads);
            QCOMPARE(changes, 3);
        }
        UpdateDriver restarted(bench->environment);
        restarted.start();
        QCOMPARE(restarted.automaticallyChecks(), checks);
        QCOMPARE(restarted.automaticallyDownloads(), downloads);
        const QSettings file(bench->environment.settingsFile, QSettings::IniFormat);
        QVERIFY(!file.contains(AppUpdateManager::checksKey) && !file.contains(AppUpdateManager::downloadsKey));
    }

    // The whole road through the window: found, downloaded, verified and swapped in.
    void aNewerVersionIsInstalledAndRelaunched()
    {
        auto bench = server_.bench();
        const QByteArray newest = bench->publish(QStringLiteral("1.2.0"));
        bench->serveFeed(bench->publish(QStringLiteral("1.1.0")) + newest + bench->publish(QStringLiteral("0.9.0")));
        // The archive lives elsewhere on the same server: an https redirect is followed.
        const QString moved = bench->archivePath(QStringLiteral("1.2.0")) + QStringLiteral(".moved");
        server_->serve(moved, LocalHttps::answer(200, bench->archives.value(QStringLiteral("1.2.0"))));
        server_->serve(bench->archivePath(QStringLiteral("1.2.0")), LocalHttps::redirect(server_->url(moved)));
        const auto userData = snapshot(bench->dataFolder());
        UpdateDriver driver(bench->environment);
        driver.start();
        QList<UpdatePhase> phases;
        connect(driver.session(), &UpdateSession::changed, this, [&] {
            if (phases.isEmpty() || phases.last() != driver.session()->phase())
                phases.append(driver.session()->phase());
        });

        driver.check();
        QVERIFY(settles(driver.session()));
        QCOMPARE(shownText(driver.window(), "updateTitle"), QStringLiteral("A new version of Dewbell is available"));
        QCOMPARE(shownText(driver.window(), "updateBody"),
                 QStringLiteral("Dewbell 1.2.0 is out; you have 1.0.0. Would you like to install it now?"));
        const auto* notes = driver.window()->findChild<ReleaseNotesView*>();
        QVERIFY(notes->isVisible() && notes->toPlainText().contains(QStringLiteral("Gentler chimes in 1.2.0.")));

        QVERIFY(click(driver.window(), "installUpdate"));
        QVERIFY(settles(driver.session()));
        QCOMPARE(driver.session()->phase(), UpdatePhase::readyToInstall);
        QCOMPARE(shownText(driver.window(), "updateTitle"), QStringLiteral("Dewbell 1.2.0 is ready to install"));
        QVERIFY(snapshot(bench->root()).value(QStringLiteral("bin/dewbell")).contains("echo 1.0.0"));
        QVERIFY(click(driver.window(), "installAndRelaunch"));

        QCOMPARE(phases, (QList{UpdatePhase::checking, UpdatePhase::found, UpdatePhase::downloading,
                                UpdatePhase::preparing, UpdatePhase::readyToInstall, UpdatePhase::installed}));
        const auto installed = snapshot(bench->root());
        QVERIFY(installed.value(QStringLiteral("bin/dewbell")).contains("echo 1.2.0"));
        QVERIFY(installed.value(QStringLiteral("share/dewbell/app/info.json")).contains("1.2.0"));
        QVERIFY(!installed.contains(QStringLiteral("share/dewbell/app/only-in-1.0.0.txt")));
        QCOMPARE(bench->relaunched, QStringList{bench->root() + QStringLiteral("/bin/dewbell")});
        QCOMPARE(bench->quits, 1);
        QCOMPARE(bench->besideRoot(), QStringList{QStringLiteral("Dewbell")});
        QVERIFY(bench->downloads().isEmpty());
        QCOMPARE(snapshot(bench->dataFolder()), userData);
        QVERIFY(!driver.canCheck());
    }

    void refusals_data()
    {
        addColumns<Fault, UpdateProblem>("fault", "problem");
        QTest::newRow("one byte of the archive changed") << Fault::tamperedArchive << UpdateProblem::badSignature;
        QTest::newRow("signed with another key") << Fault::wrongKey << UpdateProblem::badSignature;
        QTest::newRow("longer than announced") << Fault::longerThanAnnounced << UpdateProblem::wrongSize;
        QTest::newRow("shorter than announced") << Fault::shorterThanAnnounced << UpdateProblem::wrongSize;
        QTest::newRow("http enclosure") << Fault::httpEnclosure << UpdateProblem::insecureAddress;
        QTest::newRow("redirect to http") << Fault::redirectToHttp << UpdateProblem::insecureAddress;
        QTest::newRow("download cut off") << Fault::cutOff << UpdateProblem::cutShort;
        QTest::newRow("malformed feed") << Fault::malformedFeed << UpdateProblem::feedUnreadable;
        QTest::newRow("huge feed") << Fault::hugeFeed << UpdateProblem::feedUnreadable;
        QTest::newRow("no feed there") << Fault::missingFeed << UpdateProblem::serverError;
        QTest::newRow("server never answers") << Fault::silentServer << UpdateProblem::timedOut;
        QTest::newRow("no TLS handshake") << Fault::noTlsAnswer << UpdateProblem::timedOut;
        QTest::newRow("nobody listening") << Fault::nobodyListening << UpdateProblem::offline;
        QTest::newRow("certificate not in the system's store")
            << Fault::untrustedCertificate << UpdateProblem::untrustedServer;
        QTest::newRow("entry with ..") << Fault::entryClimbsOut << UpdateProblem::unsafeArchive;
        QTest::newRow("absolute entry") << Fault::absoluteEntry << UpdateProblem::unsafeArchive;
        QTest::newRow("link out of the installation") << Fault::linkOut << UpdateProblem::unsafeArchive;
        QTest::newRow("no Dewbell inside") << Fault::noDewbellInside << UpdateProblem::notDewbell;
        QTest::newRow("its data where an earlier layout had them") << Fault::earlierLayout << UpdateProblem::notDewbell;
    }
    // Each fault is told in its own sentence; nothing is installed and the old installation,
    // the user's data and the folders around them stay exactly as they were.
    void refusals()
    {
        QFETCH(Fault, fault);
        QFETCH(UpdateProblem, problem);
        auto bench = server_.bench();
        publishFaulty(*bench, fault);
        const auto installation = snapshot(bench->root());
        const auto userData = snapshot(bench->dataFolder());
        const int silentConnections = silent_.connections;
        UpdateDriver driver(bench->environment);
        driver.start();

        driver.check();
        QVERIFY(settles(driver.session()));
        if (driver.session()->phase() == UpdatePhase::found) {
            QVERIFY(click(driver.window(), "installUpdate"));
            QVERIFY(settles(driver.session()));
        }
        QCOMPARE(driver.session()->phase(), UpdatePhase::failed);
        QCOMPARE(driver.session()->status().problem, std::optional(problem));
        QCOMPARE(shownText(driver.window(), "updateBody"), sentence(problem));
        QCOMPARE(snapshot(bench->root()), installation);
        QCOMPARE(snapshot(bench->dataFolder()), userData);
        QCOMPARE(bench->besideRoot(), QStringList{QStringLiteral("Dewbell")});
        QVERIFY(bench->downloads().isEmpty());
        QVERIFY(!QFileInfo::exists(bench->dataFolder() + QStringLiteral("/evil")));
        if (fault == Fault::httpEnclosure || fault == Fault::redirectToHttp)
            QCOMPARE(silent_.connections, silentConnections);
        QVERIFY(driver.canCheck());
        QVERIFY(click(driver.window(), "okUpdate"));
        QCOMPARE(driver.session()->phase(), UpdatePhase::idle);
    }

    void aSkippedVersionIsNotOfferedAgain()
    {
        auto bench = server_.bench();
        bench->serveFeed(bench->publish(QStringLiteral("1.2.0")));
        {
            UpdateDriver driver(bench->environment);
            driver.start();
            driver.check();
            QVERIFY(settles(driver.session()));
            QVERIFY(click(driver.window(), "remindLater"));
            QVERIFY(!driver.window()->isVisible());
            driver.check();
            QVERIFY(settles(driver.session()));
            QCOMPARE(driver.session()->phase(), UpdatePhase::found);
            QVERIFY(click(driver.window(), "skipVersion"));
            driver.check();
            QVERIFY(settles(driver.session()));
            QCOMPARE(driver.session()->phase(), UpdatePhase::upToDate);
        }
        UpdateDriver restarted(bench->environment);
        restarted.start();
        restarted.check();
        QVERIFY(settles(restarted.session()));
        QCOMPARE(restarted.session()->phase(), UpdatePhase::upToDate);

        bench->serveFeed(bench->publish(QStringLiteral("1.2.0")) + bench->publish(QStringLiteral("1.3.0")));
        restarted.check();
        QVERIFY(settles(restarted.session()));
        QCOMPARE(restarted.session()->status().offer->version, QStringLiteral("1.3.0"));
    }

    // Automatic checks: none while Dewbell starts, then at most one a day, and only while on.
    void automaticChecksRunOnceADay()
    {
        auto bench = server_.bench();
        bench->serveFeed(bench->publish(QStringLiteral("1.0.0")));
        bench->environment.firstAutomaticCheck = std::chrono::milliseconds(400);
        UpdateDriver driver(bench->environment);
        const auto checks = [&] { return server_->requests.count(bench->feedPath()); };
        driver.start();
        QTest::qWait(100);
        QCOMPARE(checks(), 0);
        QTRY_COMPARE(checks(), 1);
        QVERIFY(settles(driver.session()));
        QVERIFY2(!driver.window(), "an automatic check that finds nothing shows nothing");
        QCOMPARE(driver.lastCheck(), std::optional(bench->clock));

        const QDateTime checked = bench->clock;
        for (const auto& [hoursLater, expected] : {std::pair{2, 1}, {23, 1}, {25, 2}}) {
            bench->clock = checked.addSecs(hoursLater * 3600);
            driver.considerAutomaticCheck();
            QVERIFY(settles(driver.session()));
            QCOMPARE(checks(), expected);
        }
        driver.setAutomaticallyChecks(false);
        bench->clock = bench->clock.addDays(3);
        driver.considerAutomaticCheck();
        QCOMPARE(checks(), 2);
    }

    void anAutomaticCheckShowsAnUpdateItFound()
    {
        auto bench = server_.bench();
        bench->serveFeed(bench->publish(QStringLiteral("1.2.0")));
        UpdateDriver driver(bench->environment);
        driver.start();
        driver.considerAutomaticCheck();
        QVERIFY(settles(driver.session()));
        QVERIFY(driver.window() && driver.window()->isVisible());
        QCOMPARE(shownText(driver.window(), "updateTitle"), QStringLiteral("A new version of Dewbell is available"));
        QVERIFY(!server_->requests.contains(bench->archivePath(QStringLiteral("1.2.0"))));
    }

    // With automatic downloads the update arrives unseen and is put in place when Dewbell quits.
    void aBackgroundDownloadIsInstalledOnQuit()
    {
        auto bench = server_.bench();
        bench->serveFeed(bench->publish(QStringLiteral("1.2.0")));
        UpdateDriver driver(bench->environment);
        driver.start();
        driver.setAutomaticallyDownloads(true);
        driver.considerAutomaticCheck();
        QVERIFY(settles(driver.session()));
        QCOMPARE(driver.session()->phase(), UpdatePhase::readyToInstall);
        QVERIFY(!driver.window());
        QVERIFY(snapshot(bench->root()).value(QStringLiteral("bin/dewbell")).contains("echo 1.0.0"));

        driver.applicationWillQuit();
        QVERIFY(snapshot(bench->root()).value(QStringLiteral("bin/dewbell")).contains("echo 1.2.0"));
        QVERIFY(bench->relaunched.isEmpty());
        QCOMPARE(bench->quits, 0);
        QCOMPARE(bench->besideRoot(), QStringList{QStringLiteral("Dewbell")});
    }

    // Where Dewbell shares its folder with others, it never replaces it: the verified archive
    // is offered for saving, with the command that installs it. The command, run as shown,
    // leaves nothing of the old version that the new one dropped, and the other programs' files.
    void anInstallationThatCannotReplaceItselfSavesTheArchive()
    {
        auto bench = server_.bench();
        writeTree(bench->root(), {file("etc/other-program.conf", "theirs")});
        bench->serveFeed(bench->publish(QStringLiteral("1.2.0")));
        const auto installation = snapshot(bench->root());
        UpdateDriver driver(bench->environment);
        driver.start();
        QVERIFY(!driver.allowsAutomaticDownloads());
        driver.setAutomaticallyDownloads(true);
        QVERIFY(!driver.automaticallyDownloads());

        driver.check();
        QVERIFY(settles(driver.session()));
        QVERIFY(click(driver.window(), "installUpdate"));
        QVERIFY(settles(driver.session()));
        QCOMPARE(driver.session()->phase(), UpdatePhase::readyToSave);
        QVERIFY(shownText(driver.window(), "updateBody")
                    .startsWith(QStringLiteral("%1 holds other programs' files too").arg(bench->root())));
        const QString command = shownText(driver.window(), "updateCommand");
        QVERIFY2(!command.contains(QStringLiteral("sudo")), "the user may change Dewbell's files there");
        const QString saved = bench->dataFolder() + QStringLiteral("/../dewbell-1.2.0.tar.xz");
        driver.session()->saveArchive(saved);
        QCOMPARE(snapshot(QFileInfo(saved).absolutePath()).value(QStringLiteral("dewbell-1.2.0.tar.xz")),
                 bench->archives.value(QStringLiteral("1.2.0")));
        QCOMPARE(driver.session()->phase(), UpdatePhase::idle);
        QVERIFY(!driver.window()->isVisible());
        QCOMPARE(snapshot(bench->root()), installation);
        QVERIFY(bench->downloads().isEmpty());

        QProcess shell;
        shell.setWorkingDirectory(QFileInfo(saved).absolutePath());
        shell.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command});
        QVERIFY(shell.waitForFinished(30000) && shell.exitCode() == 0);
        const auto installed = snapshot(bench->root());
        QVERIFY(installed.value(QStringLiteral("bin/dewbell")).contains("echo 1.2.0"));
        QVERIFY(!installed.contains(QStringLiteral("share/dewbell/app/only-in-1.0.0.txt")));
        QCOMPARE(installed.value(QStringLiteral("etc/other-program.conf")), QByteArray("theirs"));
    }
};

QTEST_MAIN(UpdateDriverTest)
#include "test_update_driver.moc"
