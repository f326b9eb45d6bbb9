#include "support/TableTesting.h"
#include "updates/UpdateSettings.h"

#include "UpdateTesting.h"

#include <QApplication>

// When a signed release looks for updates by itself: only while the user lets it, and at
// most once a day by the computer's clock, even when that clock was set back.
class UpdateScheduleTest : public QObject {
    Q_OBJECT

    UpdateServer server_;

private slots:
    void initTestCase()
    {
        quietenOffscreenPlatform();
        QVERIFY2(server_.start(), "the openssl command makes the test certificates");
    }

    void noAutomaticCheckWhileSwitchedOff_data()
    {
        addColumns<bool>("offByDefault");
        QTest::newRow("switched off by the user") << false;
        QTest::newRow("off in the build's defaults") << true;
    }
    // With "Check for updates automatically" off, the schedule runs on and the days pass, yet
    // no request reaches the server until the user switches it on again.
    void noAutomaticCheckWhileSwitchedOff()
    {
        QFETCH(bool, offByDefault);
        auto bench = server_.bench();
        bench->serveFeed(bench->publish(QStringLiteral("1.2.0")));
        bench->environment.checksByDefault = !offByDefault;
        bench->environment.firstAutomaticCheck = std::chrono::milliseconds(0);
        bench->environment.automaticCheckPeriod = std::chrono::milliseconds(20);
        const auto requests = [&] { return server_->requests.count(bench->feedPath()); };
        {
            UpdateDriver driver(bench->environment);
            if (!offByDefault)
                driver.setAutomaticallyChecks(false);
        }
        UpdateDriver driver(bench->environment);
        driver.start();
        QVERIFY(!driver.automaticallyChecks());
        for (int day = 1; day <= 3; ++day) {
            bench->clock = bench->clock.addDays(1);
            QTest::qWait(100);
            driver.considerAutomaticCheck();
        }
        QCOMPARE(requests(), 0);
        QVERIFY(!driver.window());

        driver.setAutomaticallyChecks(true);
        QTRY_COMPARE(requests(), 1);
    }

    // A last check dated after now (the clock was set back) does not hold checks off until
    // the clock reaches it: the next look happens at once, and the day counts from then.
    void aLastCheckInTheFutureDoesNotHoldChecksOff()
    {
        auto bench = server_.bench();
        bench->serveFeed(bench->publish(QStringLiteral("1.0.0")));
        const QDateTime future = bench->clock.addDays(40);
        UpdateSettings(bench->environment.settingsFile, true, false).setLastCheck(future);
        UpdateDriver driver(bench->environment);
        driver.start();
        QCOMPARE(driver.lastCheck(), std::optional(future));
        const auto checks = [&] { return server_->requests.count(bench->feedPath()); };

        driver.considerAutomaticCheck();
        QVERIFY(settles(driver.session()));
        QCOMPARE(checks(), 1);
        QCOMPARE(driver.lastCheck(), std::optional(bench->clock));

        const QDateTime checked = bench->clock;
        for (const auto& [hoursLater, expected] : {std::pair{1, 1}, {23, 1}, {24, 2}}) {
            bench->clock = checked.addSecs(hoursLater * 3600);
            driver.considerAutomaticCheck();
            QVERIFY(settles(driver.session()));
            QCOMPARE(checks(), expected);
        }
    }
};

QTEST_MAIN(UpdateScheduleTest)
#include "test_update_schedule.moc"
