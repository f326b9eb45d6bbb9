#include "store/AppUpdateManager.h"
#include "support/FakeUpdateDriver.h"
#include "support/ViewTesting.h"
#include "ui/SoftButton.h"
#include "ui/TrailingSwitch.h"
#include "window/CapsuleBadge.h"
#include "window/UpdatesSettingsCard.h"

#include <QtTest>

using namespace ViewTesting;

namespace {

const QString developmentMessage =
    QStringLiteral("Updates are inactive in development builds: they aren’t connected to the release feed, so nothing "
                   "is checked, downloaded or installed. These choices are saved for development builds only; "
                   "signed releases keep their own.");

// One manager in one of its states, with the card that shows it.
struct Shown {
    FakeUpdateDriver* driver = nullptr;
    std::shared_ptr<MemoryUpdatePreferenceStore> toggles;
    std::unique_ptr<AppUpdateManager> manager;
    std::unique_ptr<UpdatesSettingsCard> card;

    TrailingSwitch* checksSwitch() const { return card->findChild<TrailingSwitch*>(QStringLiteral("automaticChecks")); }
    TrailingSwitch* downloadsSwitch() const
    {
        return card->findChild<TrailingSwitch*>(QStringLiteral("automaticDownloads"));
    }
    SoftButton* checkButton() const { return card->findChild<SoftButton*>(QStringLiteral("checkForUpdates")); }
    CapsuleBadge* badge() const { return card->findChild<CapsuleBadge*>(QStringLiteral("updatesBadge")); }
    bool lastCheckShown() const { return !card->findChild<QLabel*>(QStringLiteral("lastCheck"))->isHidden(); }
};

std::unique_ptr<Shown> show(bool enabled, const UpdateConfiguration& configuration, bool savedToggles, bool start,
                            const QString& failure = {}, bool checkable = true)
{
    auto shown = std::make_unique<Shown>();
    if (savedToggles)
        shown->toggles = std::make_shared<MemoryUpdatePreferenceStore>();
    shown->manager = std::make_unique<AppUpdateManager>(
        enabled, configuration,
        [made = shown.get(), failure, checkable] {
            auto driver = std::make_unique<FakeUpdateDriver>();
            driver->failure = failure;
            driver->checkable = checkable;
            made->driver = driver.get();
            return driver;
        },
        shown->toggles);
    if (start)
        shown->manager->start();
    shown->card = std::make_unique<UpdatesSettingsCard>(shown->manager.get(), QStringLiteral("1.0.0"));
    shown->card->resize(640, 400);
    shown->card->show();
    return shown;
}

}  // namespace

class UpdatesSettingsCardTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void followsTheManagersStates_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("release");
        QTest::addColumn<bool>("validKey");
        QTest::addColumn<bool>("savedToggles");
        QTest::addColumn<bool>("start");
        QTest::addColumn<QString>("failure");
        QTest::addColumn<bool>("checkable");
        // Expected: badge active, check button, checks switch, downloads switch, message.
        QTest::addColumn<bool>("active");
        QTest::addColumn<bool>("canCheck");
        QTest::addColumn<bool>("checksUsable");
        QTest::addColumn<bool>("downloadsUsable");
        QTest::addColumn<QString>("message");

        QTest::newRow("disabled") << false << true << true << false << true << QString() << true << false << false
                                  << false << false << QStringLiteral("Updates are inactive in previews and tests.");
        QTest::newRow("not started") << true << true << true << false << false << QString() << true << false << false
                                     << false << false << QStringLiteral("Update service has not started.");
        QTest::newRow("release, invalid configuration")
            << true << true << false << false << true << QString() << true << false << false << false << false
            << QStringLiteral("This build has no valid update feed or signing key.");
        QTest::newRow("release, driver failed")
            << true << true << true << false << true << QStringLiteral("No network.") << true << false << false << false
            << false << QStringLiteral("Updates could not start: No network.");
        QTest::newRow("release, running")
            << true << true << true << false << true << QString() << true << true << true << true << true
            << QStringLiteral("Updates are checked securely through Orvo Builds.");
        QTest::newRow("release, check under way")
            << true << true << true << false << true << QString() << false << true << false << true << true
            << QStringLiteral("Updates are checked securely through Orvo Builds.");
        QTest::newRow("development, nothing saved")
            << true << false << true << false << true << QString() << true << false << false << false << false
            << QStringLiteral(
                   "Updates are inactive in development builds. Nothing is checked, downloaded or installed.");
        QTest::newRow("development, saved toggles") << true << false << true << true << true << QString() << true
                                                    << false << false << true << true << developmentMessage;
    }

    void followsTheManagersStates()
    {
        QFETCH(bool, enabled);
        QFETCH(bool, release);
        QFETCH(bool, validKey);
        QFETCH(bool, savedToggles);
        QFETCH(bool, start);
        QFETCH(QString, failure);
        QFETCH(bool, checkable);
        QFETCH(bool, active);
        QFETCH(bool, canCheck);
        QFETCH(bool, checksUsable);
        QFETCH(bool, downloadsUsable);
        QFETCH(QString, message);
        const auto shown =
            show(enabled, releaseConfiguration(validKey, release ? QStringLiteral("developer-id") : QString()),
                 savedToggles, start, failure, checkable);

        QCOMPARE(shown->badge()->text(), active ? QStringLiteral("Active") : QStringLiteral("Inactive in this build"));
        QCOMPARE(shown->badge()->symbol(),
                 active ? QStringLiteral("checkmark.circle") : QStringLiteral("pause.circle"));
        QCOMPARE(shown->checkButton()->isEnabled(), canCheck);
        QCOMPARE(shown->checkButton()->toolTip(), shown->manager->checkHelp());
        QCOMPARE(shown->checksSwitch()->isEnabled(), checksUsable);
        QCOMPARE(shown->downloadsSwitch()->isEnabled(), downloadsUsable);
        QCOMPARE(labelText(shown->card.get(), "updatesMessage"), message);
        const QString caption = labelText(shown->card.get(), "updatesCaption");
        QCOMPARE(caption.startsWith(QStringLiteral("Checks once a day.")), active);
        QCOMPARE(caption.startsWith(QStringLiteral("In signed releases:")), !active);
        QVERIFY(!shown->lastCheckShown());
    }

    void developmentTogglesAreSavedThroughTheManager()
    {
        const auto shown = show(true, releaseConfiguration(true, QString()), true, true);
        QVERIFY(shown->checksSwitch()->isChecked() && !shown->downloadsSwitch()->isChecked());

        QTest::mouseClick(shown->downloadsSwitch(), Qt::LeftButton);
        QCOMPARE(shown->toggles->values.value(AppUpdateManager::downloadsKey), true);
        QVERIFY(shown->downloadsSwitch()->isChecked());

        // With checks off, downloads cannot be switched even though the toggles may change.
        QTest::mouseClick(shown->checksSwitch(), Qt::LeftButton);
        QCOMPARE(shown->toggles->values.value(AppUpdateManager::checksKey), false);
        QVERIFY(shown->manager->canChangePreferences());
        QVERIFY(!shown->downloadsSwitch()->isEnabled() && !shown->downloadsSwitch()->isChecked());
        QTest::mouseClick(shown->downloadsSwitch(), Qt::LeftButton);
        QCOMPARE(shown->toggles->writes, 2);

        QTest::mouseClick(shown->checksSwitch(), Qt::LeftButton);
        QVERIFY(shown->downloadsSwitch()->isEnabled() && shown->downloadsSwitch()->isChecked());
    }

    void releaseCheckRunsOnceAndShowsWhenItEnded()
    {
        const auto shown = show(true, releaseConfiguration(), false, true);
        QTest::mouseClick(shown->checkButton(), Qt::LeftButton);
        QCOMPARE(shown->driver->checksRun, 1);
        QVERIFY(!shown->checkButton()->isEnabled());
        QCOMPARE(shown->checkButton()->toolTip(), QStringLiteral("An update check is already in progress."));
        QVERIFY(!shown->lastCheckShown());

        const QDateTime finished(QDate(2024, 3, 4), QTime(10, 30), QTimeZone::systemTimeZone());
        shown->driver->checkable = true;
        shown->driver->lastChecked = finished;
        shown->driver->onChange();
        QVERIFY(shown->checkButton()->isEnabled() && shown->lastCheckShown());
        const QString line = labelText(shown->card.get(), "lastCheck");
        QVERIFY2(line.startsWith(QStringLiteral("Last checked ")) && line.contains(QStringLiteral("2024"))
                     && line.contains(QLocale().toString(QTime(10, 30), QLocale::ShortFormat)),
                 qPrintable(line));

        QTest::mouseClick(shown->checksSwitch(), Qt::LeftButton);
        QVERIFY(!shown->driver->checks && !shown->downloadsSwitch()->isEnabled());
    }

    void versionComesFromTheBundle_data()
    {
        QTest::addColumn<QByteArray>("info");
        QTest::addColumn<QString>("version");
        QTest::newRow("version") << QByteArray(R"({"CFBundleShortVersionString": "2.4.1"})") << QStringLiteral("2.4.1");
        QTest::newRow("missing") << QByteArray("{}") << QStringLiteral("Preview");
        QTest::newRow("not a string") << QByteArray(R"({"CFBundleShortVersionString": 2})")
                                      << QStringLiteral("Preview");
        QTest::newRow("no info file") << QByteArray() << QStringLiteral("Preview");
    }

    void versionComesFromTheBundle()
    {
        QFETCH(QByteArray, info);
        QFETCH(QString, version);
        QTemporaryDir bundle;
        if (!info.isNull()) {
            QFile file(bundle.filePath(QStringLiteral("info.json")));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(info) == info.size());
        }
        const QByteArray before = qgetenv("DEWBELL_BUNDLE_DIR");
        qputenv("DEWBELL_BUNDLE_DIR", bundle.path().toUtf8());
        AppUpdateManager manager(false);
        UpdatesSettingsCard card(&manager);
        qputenv("DEWBELL_BUNDLE_DIR", before);
        QCOMPARE(labelText(&card, "versionLine"), QStringLiteral("Version ") + version);
    }
};

QTEST_MAIN(UpdatesSettingsCardTest)
#include "test_updates_settings_card.moc"
