#include "store/AppUpdateManager.h"
#include "store/UpdateConfiguration.h"
#include "store/UpdateDefaults.h"
#include "store/UpdatePreferenceStore.h"

#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString goodKey = QStringLiteral("BC3ZuKDniC4gawkpqjspKhba7BfoSogGzeSEEJaYy5Q=");
const QString goodFeed = QStringLiteral("https://updates.example.org/linux/appcast.xml");

QJsonObject info(const QString& feed, const QString& key = goodKey, const QString& distribution = {})
{
    QJsonObject object{{"SUFeedURL", feed}, {"SUPublicEDKey", key}};
    if (!distribution.isEmpty())
        object.insert(QStringLiteral("DWDistribution"), distribution);
    return object;
}

UpdateConfiguration release()
{
    return UpdateConfiguration(info(goodFeed, goodKey, QStringLiteral("developer-id")));
}

// An update engine whose readings the test sets and whose calls it counts.
class FakeDriver : public UpdateDriving {
public:
    bool canCheckNow = true;
    bool checks = true;
    bool downloads = false;
    bool allowsDownloads = true;
    std::optional<QDateTime> lastChecked;
    std::optional<std::string> failure;
    int starts = 0;
    int checksRun = 0;

    bool canCheck() const override { return canCheckNow; }
    bool automaticallyChecks() const override { return checks; }
    void setAutomaticallyChecks(bool on) override { checks = on; }
    bool automaticallyDownloads() const override { return downloads; }
    void setAutomaticallyDownloads(bool on) override { downloads = on; }
    bool allowsAutomaticDownloads() const override { return allowsDownloads; }
    std::optional<QDateTime> lastCheck() const override { return lastChecked; }
    void start() override
    {
        ++starts;
        if (failure)
            throw UpdateStartError(*failure);
    }
    void check() override
    {
        ++checksRun;
        canCheckNow = false;
    }

    // What the engine does when a check completes.
    void finishCheck(const QDateTime& when)
    {
        canCheckNow = true;
        lastChecked = when;
        if (onChange)
            onChange();
    }
};

struct FakeFactory {
    FakeDriver* made = nullptr;
    int count = 0;
    std::optional<std::string> failure;

    AppUpdateManager::DriverFactory factory()
    {
        return [this] {
            auto driver = std::make_unique<FakeDriver>();
            driver->failure = failure;
            made = driver.get();
            ++count;
            return std::unique_ptr<UpdateDriving>(std::move(driver));
        };
    }
};

} // namespace

class UpdatesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void feedAddresses_data()
    {
        QTest::addColumn<QString>("feed");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("plain") << goodFeed << true;
        QTest::newRow("blanks around") << QStringLiteral("  ") + goodFeed + QStringLiteral(" \n") << true;
        QTest::newRow("http") << QStringLiteral("http://updates.example.org/appcast.xml") << false;
        QTest::newRow("query") << goodFeed + QStringLiteral("?channel=beta") << false;
        QTest::newRow("empty query") << goodFeed + QStringLiteral("?") << false;
        QTest::newRow("fragment") << goodFeed + QStringLiteral("#top") << false;
        QTest::newRow("user") << QStringLiteral("https://sam@updates.example.org/appcast.xml") << false;
        QTest::newRow("empty user") << QStringLiteral("https://@updates.example.org/a.xml") << false;
        QTest::newRow("empty host") << QStringLiteral("https:///appcast.xml") << false;
        QTest::newRow("empty") << QString() << false;
    }

    void feedAddresses()
    {
        QFETCH(QString, feed);
        QFETCH(bool, accepted);
        const UpdateConfiguration configuration(info(feed));
        QCOMPARE(configuration.feedURL.has_value(), accepted);
        QCOMPARE(configuration.isValid(), accepted);
        if (accepted)
            QCOMPARE(*configuration.feedURL, QUrl(goodFeed));
    }

    void signingKeys_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("32 bytes") << goodKey << true;
        QTest::newRow("31 bytes") << QString::fromLatin1(QByteArray(31, 'k').toBase64()) << false;
        QTest::newRow("line break inside") << goodKey.left(20) + QStringLiteral("\n") + goodKey.mid(20) << false;
        QTest::newRow("missing padding") << goodKey.chopped(1) << false;
        QTest::newRow("not Base64") << QStringLiteral("!!!!") << false;
        QTest::newRow("empty") << QString() << false;
    }

    void signingKeys()
    {
        QFETCH(QString, key);
        QFETCH(bool, accepted);
        const UpdateConfiguration configuration(info(goodFeed, key));
        QCOMPARE(configuration.publicKey.has_value(), accepted);
        QCOMPARE(configuration.isValid(), accepted);
        if (accepted)
            QCOMPARE(configuration.publicKey->size(), 32);
    }

    void releaseFlagAndWrongTypes()
    {
        QVERIFY(UpdateConfiguration(info(goodFeed, goodKey, QStringLiteral("developer-id"))).releaseBuild);
        QVERIFY(!UpdateConfiguration(info(goodFeed, goodKey, QStringLiteral("Developer-ID"))).releaseBuild);
        QVERIFY(!UpdateConfiguration(info(goodFeed, goodKey)).releaseBuild);

        const UpdateConfiguration wrongTypes(
            QJsonObject{{"SUFeedURL", 42}, {"SUPublicEDKey", true}, {"DWDistribution", QJsonObject{}}});
        QCOMPARE(wrongTypes, UpdateConfiguration());
    }

    void settingsStoreKeepsOnlyBools()
    {
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("dewbell.conf"));
        {
            DefaultsUpdatePreferenceStore store(file);
            QCOMPARE(store.boolForKey(AppUpdateManager::checksKey), std::nullopt);
            store.set(false, AppUpdateManager::checksKey);
            store.defaults().setValue(QStringLiteral("number"), 1);
            store.defaults().setValue(QStringLiteral("word"), QStringLiteral("yes"));
        }
        DefaultsUpdatePreferenceStore reopened(file);
        QCOMPARE(reopened.boolForKey(AppUpdateManager::checksKey), std::optional(false));
        QCOMPARE(reopened.boolForKey(QStringLiteral("number")), std::nullopt);
        QCOMPARE(reopened.boolForKey(QStringLiteral("word")), std::nullopt);
    }

    void aManagerThatCannotRunSaysWhy_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("distribution");
        QTest::addColumn<bool>("fakeDriver");
        QTest::addColumn<QString>("failure");
        QTest::addColumn<int>("driversMade");
        QTest::addColumn<QString>("message");
        const QString release = QStringLiteral("developer-id");
        QTest::newRow("disabled") << false << goodKey << release << true << QString() << 0
                                  << QStringLiteral("Updates are inactive in previews and tests.");
        QTest::newRow("invalid key") << true << QStringLiteral("short") << release << true << QString() << 0
                                     << QStringLiteral("This build has no valid update feed or signing key.");
        QTest::newRow("driver fails") << true << goodKey << release << true
                                      << QStringLiteral("The feed could not be reached.") << 1
                                      << QStringLiteral("Updates could not start: The feed could not be reached.");
        QTest::newRow("no network driver")
            << true << goodKey << release << false << QString() << 0
            << QStringLiteral("Updates could not start: The update service isn't part of this build.");
        QTest::newRow("development build")
            << true << goodKey << QString() << false << QString() << 0
            << QStringLiteral("Updates are inactive in development builds. Nothing is checked, downloaded or installed.");
    }

    void aManagerThatCannotRunSaysWhy()
    {
        QFETCH(bool, enabled);
        QFETCH(QString, key);
        QFETCH(QString, distribution);
        QFETCH(bool, fakeDriver);
        QFETCH(QString, failure);
        QFETCH(int, driversMade);
        QFETCH(QString, message);
        FakeFactory fake;
        if (!failure.isEmpty())
            fake.failure = failure.toStdString();
        const UpdateConfiguration configuration(info(goodFeed, key, distribution));
        AppUpdateManager manager(enabled, configuration, fakeDriver ? fake.factory() : AppUpdateManager::DriverFactory());
        manager.start();
        QCOMPARE(fake.count, driversMade);
        QCOMPARE(manager.message(), message);
        QVERIFY(!manager.isAvailable() && !manager.canCheck() && !manager.canChangePreferences());
        manager.setAutomaticallyChecks(false);
        manager.checkForUpdates();
        QVERIFY(manager.automaticallyChecks());
    }

    void aRunningReleaseFollowsItsDriver()
    {
        FakeFactory fake;
        AppUpdateManager manager(true, release(), fake.factory());
        QSignalSpy spy(&manager, &AppUpdateManager::changed);
        manager.start();
        QVERIFY(spy.count() >= 1);
        QVERIFY(manager.isAvailable() && manager.canCheck() && manager.canChangePreferences());

        manager.start();
        QCOMPARE(fake.count, 1);
        QCOMPARE(fake.made->starts, 1);

        manager.checkForUpdates();
        QCOMPARE(fake.made->checksRun, 1);
        QVERIFY(!manager.canCheck());
        manager.checkForUpdates();
        QCOMPARE(fake.made->checksRun, 1);

        const QDateTime finished = QDateTime::fromSecsSinceEpoch(1'700'000'000, Qt::UTC);
        fake.made->finishCheck(finished);
        QVERIFY(manager.canCheck());
        QCOMPARE(manager.lastCheck(), std::optional(finished));

        manager.setAutomaticallyDownloads(true);
        QVERIFY(fake.made->downloads && manager.automaticallyDownloads());
        fake.made->allowsDownloads = false;
        manager.setAutomaticallyDownloads(false);
        QVERIFY(fake.made->downloads);
        manager.setAutomaticallyChecks(false);
        QVERIFY(!fake.made->checks && !manager.automaticallyChecks());
        QVERIFY(!manager.allowsAutomaticDownloads());
    }

    void developmentBuildWithoutAStore()
    {
        AppUpdateManager manager(true, UpdateConfiguration(info(goodFeed)));
        manager.start();
        QCOMPARE(manager.message(), QStringLiteral("Updates are inactive in development builds. Nothing is checked, "
                                                   "downloaded or installed."));
        QVERIFY(!manager.canChangePreferences());
        QCOMPARE(manager.checkHelp(), QStringLiteral("Unavailable in development builds: they aren’t connected to "
                                                     "the release update feed."));
    }

    void developmentBuildKeepsItsOwnToggles()
    {
        auto store = std::make_shared<MemoryUpdatePreferenceStore>();
        FakeFactory fake;
        AppUpdateManager manager(true, UpdateConfiguration(info(goodFeed)), fake.factory(), store);
        manager.start();
        QCOMPARE(fake.count, 0);
        QVERIFY(manager.canChangePreferences() && !manager.isAvailable());
        QVERIFY(manager.automaticallyChecks() && !manager.automaticallyDownloads() && manager.allowsAutomaticDownloads());

        manager.setAutomaticallyDownloads(true);
        QCOMPARE(store->values.value(AppUpdateManager::downloadsKey), true);
        manager.setAutomaticallyChecks(false);
        QCOMPARE(store->values.value(AppUpdateManager::checksKey), false);
        QVERIFY(!manager.automaticallyDownloads() && !manager.allowsAutomaticDownloads());
        QCOMPARE(store->values.value(AppUpdateManager::downloadsKey), true);

        const int writes = store->writes;
        manager.setAutomaticallyDownloads(false);
        QCOMPARE(store->writes, writes);

        manager.setAutomaticallyChecks(true);
        QVERIFY(manager.automaticallyDownloads());

        const int reads = store->reads;
        manager.start();
        QCOMPARE(store->reads, reads);
    }
};

QTEST_GUILESS_MAIN(UpdatesTest)
#include "test_updates.moc"
