#include "store/AppUpdateManager.h"
#include "support/FakeUpdateDriver.h"
#include "support/ViewTesting.h"
#include "window/CapsuleBadge.h"
#include "window/UpdatesSettingsCard.h"

#include <QtTest>

using namespace StoreTesting;
using namespace ViewTesting;

namespace {

struct Setup {
    bool enabled = true;
    bool release = true;
    bool validKey = true;
    bool savedToggles = false;
    bool start = true;
    QString failure = {};
};

// A manager in the state `setup` leads to, and the card that shows it.
struct Shown {
    explicit Shown(const Setup& setup)
    {
        if (setup.savedToggles)
            toggles = std::make_shared<MemoryUpdatePreferenceStore>();
        const auto make = [this, failure = setup.failure] {
            auto made = std::make_unique<FakeUpdateDriver>();
            made->failure = failure;
            driver = made.get();
            return made;
        };
        manager = std::make_unique<AppUpdateManager>(
            setup.enabled,
            releaseConfiguration(setup.validKey, setup.release ? QStringLiteral("developer-id") : QString()), make,
            toggles);
        if (setup.start)
            manager->start();
        card = std::make_unique<UpdatesSettingsCard>(manager.get(), QStringLiteral("1.0.0"));
        card->resize(640, 400);
        card->show();
    }

    QAbstractButton* control(const char* name) const { return button(card.get(), name); }
    bool usable(const char* name) const { return control(name)->isEnabled(); }

    FakeUpdateDriver* driver = nullptr;
    std::shared_ptr<MemoryUpdatePreferenceStore> toggles;
    std::unique_ptr<AppUpdateManager> manager;
    std::unique_ptr<UpdatesSettingsCard> card;
};

}  // namespace

class UpdatesSettingsCardTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void followsTheManagersStates()
    {
        const QString running = QStringLiteral("Updates are checked securely through Orvo Builds.");
        const struct {
            Setup setup;
            bool active, check, checks, downloads;
            QString message;
        } rows[] = {
            {{.enabled = false}, false, false, false, false, "Updates are inactive in previews and tests."},
            {{.start = false}, false, false, false, false, "Update service has not started."},
            {{.validKey = false}, false, false, false, false, "This build has no valid update feed or signing key."},
            {{.failure = "No network."}, false, false, false, false, "Updates could not start: No network."},
            {{}, true, true, true, true, running},
            {{.release = false},
             false,
             false,
             false,
             false,
             "Updates are inactive in development builds. Nothing is checked, downloaded or installed."},
            {{.release = false, .savedToggles = true}, false, false, true, true, {}},
        };
        for (const auto& row : rows) {
            const Shown shown(row.setup);
            const auto* badge = shown.card->findChild<CapsuleBadge*>(QStringLiteral("updatesBadge"));
            QCOMPARE(badge->text(), row.active ? QStringLiteral("Active") : QStringLiteral("Inactive in this build"));
            QCOMPARE(shown.usable("checkForUpdates"), row.check);
            QCOMPARE(shown.usable("automaticChecks"), row.checks);
            QCOMPARE(shown.usable("automaticDownloads"), row.downloads);
            QCOMPARE(shown.control("checkForUpdates")->toolTip(), shown.manager->checkHelp());
            QCOMPARE(labelText(shown.card.get(), "updatesCaption").startsWith(QStringLiteral("Checks once a day.")),
                     row.active);
            if (!row.message.isEmpty())
                QCOMPARE(labelText(shown.card.get(), "updatesMessage"), row.message);
        }
    }

    void downloadsNeedChecksEvenWhereTogglesMayChange()
    {
        const Shown shown({.release = false, .savedToggles = true});
        press(shown.control("automaticDownloads"));
        press(shown.control("automaticChecks"));
        QCOMPARE(shown.toggles->values,
                 (QHash<QString, bool>{{AppUpdateManager::downloadsKey, true}, {AppUpdateManager::checksKey, false}}));
        QVERIFY(shown.manager->canChangePreferences() && !shown.usable("automaticDownloads"));
        QVERIFY(!shown.control("automaticDownloads")->isChecked());
        press(shown.control("automaticChecks"));
        QVERIFY(shown.usable("automaticDownloads") && shown.control("automaticDownloads")->isChecked());
    }

    void releaseCheckRunsOnceAndTheLastCheckShowsOnlyOnceThereIsOne()
    {
        const Shown shown({});
        const auto lastCheck = [&] { return shown.card->findChild<QLabel*>(QStringLiteral("lastCheck")); };
        QVERIFY(lastCheck()->isHidden());
        QTest::mouseClick(shown.control("checkForUpdates"), Qt::LeftButton);
        QTest::mouseClick(shown.control("checkForUpdates"), Qt::LeftButton);
        QCOMPARE(shown.driver->checksRun, 1);

        shown.driver->checkable = true;
        shown.driver->lastChecked = QDateTime(QDate(2024, 3, 4), QTime(10, 30));
        shown.driver->onChange();
        QVERIFY(shown.usable("checkForUpdates") && !lastCheck()->isHidden());
        QVERIFY(lastCheck()->text().startsWith(QStringLiteral("Last checked ")));
        QVERIFY(lastCheck()->text().contains(QLocale().toString(QTime(10, 30), QLocale::ShortFormat)));

        // Automatic downloads are offered here, yet not without automatic checks.
        press(shown.control("automaticChecks"));
        QVERIFY(!shown.driver->checks && !shown.usable("automaticDownloads"));
    }

    void versionComesFromTheBundle()
    {
        const QByteArray before = qgetenv("DEWBELL_BUNDLE_DIR");
        for (const auto& [info, version] :
             QList<std::pair<QByteArray, QString>>{{R"({"CFBundleShortVersionString": "2.4.1"})", "2.4.1"},
                                                   {R"({"CFBundleShortVersionString": 2})", "Preview"},
                                                   {"{}", "Preview"}}) {
            QTemporaryDir bundle;
            QFile file(bundle.filePath(QStringLiteral("info.json")));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(info) == info.size());
            file.close();
            qputenv("DEWBELL_BUNDLE_DIR", bundle.path().toUtf8());
            AppUpdateManager manager(false);
            QCOMPARE(labelText(std::make_unique<UpdatesSettingsCard>(&manager).get(), "versionLine"),
                     QStringLiteral("Version ") + version);
        }
        qputenv("DEWBELL_BUNDLE_DIR", before);
    }
};

QTEST_MAIN(UpdatesSettingsCardTest)
#include "test_updates_settings_card.moc"
