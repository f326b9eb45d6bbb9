#include "support/FakeUpdateDriver.h"
#include "support/TableTesting.h"

#include "store/AppUpdateManager.h"
#include "store/UpdateConfiguration.h"

#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

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

}  // namespace

class UpdatesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void feedsAndKeys_data()
    {
        addColumns<QString, QString, bool>("feed", "key", "accepted");
        QTest::newRow("good") << goodFeed << goodKey << true;
        QTest::newRow("blanks around the feed")
            << QStringLiteral("  ") + goodFeed + QStringLiteral(" \n") << goodKey << true;
        QTest::newRow("http") << QStringLiteral("http://updates.example.org/appcast.xml") << goodKey << false;
        QTest::newRow("query") << goodFeed + QStringLiteral("?channel=beta") << goodKey << false;
        QTest::newRow("fragment") << goodFeed + QStringLiteral("#top") << goodKey << false;
        QTest::newRow("user") << QStringLiteral("https://sam@updates.example.org/appcast.xml") << goodKey << false;
        QTest::newRow("empty host") << QStringLiteral("https:///appcast.xml") << goodKey << false;
        QTest::newRow("31-byte key") << goodFeed << QString::fromLatin1(QByteArray(31, 'k').toBase64()) << false;
        QTest::newRow("key missing padding") << goodFeed << goodKey.chopped(1) << false;
        QTest::newRow("key not Base64") << goodFeed << QStringLiteral("!!!!") << false;
    }
    void feedsAndKeys()
    {
        QFETCH(QString, feed);
        QFETCH(QString, key);
        QFETCH(bool, accepted);
        const UpdateConfiguration configuration(info(feed, key));
        QCOMPARE(configuration.isValid(), accepted);
        if (accepted)
            QCOMPARE(configuration.feedURL, std::optional(QUrl(goodFeed)));
    }

    void managerStates_data()
    {
        addColumns<bool, QString, QString, bool, QString, QString, bool, QString>(
            "enabled", "key", "distribution", "withDriver", "failure", "message", "running", "help");
        const QString release = QStringLiteral("developer-id");
        const QString unavailable =
            QStringLiteral("Unavailable in development builds: they aren’t connected to the release update feed.");
        QTest::newRow("running") << true << goodKey << release << true << QString()
                                 << QStringLiteral("Updates are checked securely through Orvo Builds.") << true
                                 << QStringLiteral("Check for a new version of Dewbell.");
        QTest::newRow("disabled") << false << goodKey << QString() << true << QString()
                                  << QStringLiteral("Updates are inactive in previews and tests.") << false
                                  << QStringLiteral("Updates are inactive in previews and tests.");
        QTest::newRow("invalid key") << true << QStringLiteral("short") << release << true << QString()
                                     << QStringLiteral("This build has no valid update feed or signing key.") << false
                                     << QStringLiteral("This build has no valid update feed or signing key.");
        QTest::newRow("driver fails") << true << goodKey << release << true
                                      << QStringLiteral("The feed could not be reached.")
                                      << QStringLiteral("Updates could not start: The feed could not be reached.")
                                      << false
                                      << QStringLiteral("Updates could not start: The feed could not be reached.");
        QTest::newRow("no network driver")
            << true << goodKey << release << false << QString()
            << QStringLiteral("Updates could not start: The update service isn't part of this build.") << false
            << QStringLiteral("Updates could not start: The update service isn't part of this build.");
        QTest::newRow("development build")
            << true << goodKey << QString() << true << QString()
            << QStringLiteral(
                   "Updates are inactive in development builds. Nothing is checked, downloaded or installed.")
            << false << unavailable;
    }
    void managerStates()
    {
        QFETCH(bool, enabled);
        QFETCH(QString, key);
        QFETCH(QString, distribution);
        QFETCH(bool, withDriver);
        QFETCH(QString, failure);
        QFETCH(QString, message);
        QFETCH(bool, running);
        QFETCH(QString, help);
        FakeUpdateDriver* driver = nullptr;
        const auto factory = [&] {
            auto made = std::make_unique<FakeUpdateDriver>();
            made->failure = failure;
            driver = made.get();
            return std::unique_ptr<UpdateDriving>(std::move(made));
        };
        AppUpdateManager manager(enabled, UpdateConfiguration(info(goodFeed, key, distribution)),
                                 withDriver ? AppUpdateManager::DriverFactory(factory)
                                            : AppUpdateManager::DriverFactory());
        manager.start();
        manager.start();
        QCOMPARE(manager.message(), message);
        QCOMPARE(manager.checkHelp(), help);
        QCOMPARE(manager.isAvailable() && manager.canCheck() && manager.canChangePreferences(), running);
        manager.setAutomaticallyChecks(false);
        QCOMPARE(manager.automaticallyChecks(), !running);
        manager.checkForUpdates();
        manager.checkForUpdates();
        // A driver that failed to start is gone; only a running one is asked to check.
        if (running) {
            QCOMPARE(driver->checksRun, 1);
            QVERIFY(!manager.canCheck());
            QCOMPARE(manager.checkHelp(), QStringLiteral("An update check is already in progress."));
            driver->checkable = true;
            driver->lastChecked = QDateTime::fromSecsSinceEpoch(1'700'000'000, Qt::UTC);
            driver->onChange();
            QVERIFY(manager.canCheck());
            QCOMPARE(manager.lastCheck(), driver->lastChecked);
        }
    }

    // A development build keeps the two toggles for itself: checks gate downloads, a download
    // choice made earlier comes back with checks, and every change reaches the settings card.
    void developmentBuildToggles()
    {
        auto saved = std::make_shared<MemoryUpdatePreferenceStore>();
        AppUpdateManager manager(true, UpdateConfiguration(info(goodFeed)), {}, saved);
        manager.start();
        QVERIFY(manager.canChangePreferences() && !manager.canCheck());
        QVERIFY(manager.message().startsWith(QStringLiteral("Updates are inactive in development builds: ")));
        QSignalSpy changes(&manager, &AppUpdateManager::changed);
        struct Step {
            const char* name;
            std::function<void()> act;
            bool checks, downloads, offered, announced;
            std::optional<bool> storedChecks, storedDownloads;
        };
        const auto checks = [&](bool on) { return [&manager, on] { manager.setAutomaticallyChecks(on); }; };
        const auto downloads = [&](bool on) { return [&manager, on] { manager.setAutomaticallyDownloads(on); }; };
        const Step steps[] = {
            {"fresh", [] {}, true, false, true, false, {}, {}},
            {"downloads on", downloads(true), true, true, true, true, {}, true},
            {"checks off", checks(false), false, false, false, true, false, true},
            {"downloads off while checks are off", downloads(false), false, false, false, false, false, true},
            {"checks on again", checks(true), true, true, true, true, true, true},
        };
        for (const Step& step : steps) {
            changes.clear();
            step.act();
            QVERIFY2(manager.automaticallyChecks() == step.checks, step.name);
            QVERIFY2(manager.automaticallyDownloads() == step.downloads, step.name);
            QVERIFY2(manager.allowsAutomaticDownloads() == step.offered, step.name);
            QVERIFY2(!changes.isEmpty() == step.announced, step.name);
            const auto stored = [&](const QString& key) {
                return saved->values.contains(key) ? std::optional(saved->values.value(key)) : std::nullopt;
            };
            QVERIFY2(stored(AppUpdateManager::checksKey) == step.storedChecks, step.name);
            QVERIFY2(stored(AppUpdateManager::downloadsKey) == step.storedDownloads, step.name);
        }
        manager.start();
        QVERIFY(manager.automaticallyDownloads());
    }

    // The toggles live in the settings file from one run to the next. A FIFO in its place is
    // never opened (it would hold Dewbell up for ever) nor replaced: the toggles then last until
    // Dewbell quits, and the refusal says so.
    void theSettingsFileIsOpenedOnlyWhenItIsAFile()
    {
        QTemporaryDir config;
        const QString file = config.filePath(QStringLiteral("dewbell/dewbell.conf"));
        {
            DefaultsUpdatePreferenceStore settings(file);
            QCOMPARE(settings.refusal(), std::nullopt);
            settings.set(false, AppUpdateManager::checksKey);
        }
        QCOMPARE(DefaultsUpdatePreferenceStore(file).boolForKey(AppUpdateManager::checksKey), std::optional(false));

        QVERIFY(QFile::remove(file));
        QCOMPARE(mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        DefaultsUpdatePreferenceStore settings(file);
        QVERIFY(settings.refusal() && settings.refusal()->contains(file));
        QCOMPARE(settings.boolForKey(AppUpdateManager::checksKey), std::nullopt);
        settings.set(true, AppUpdateManager::checksKey);
        QCOMPARE(settings.boolForKey(AppUpdateManager::checksKey), std::optional(true));
        QVERIFY(QFileInfo::exists(file) && !QFileInfo(file).isFile());
    }
};

QTEST_GUILESS_MAIN(UpdatesTest)
#include "test_updates.moc"
