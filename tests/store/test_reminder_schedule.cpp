#include "support/StoreTesting.h"
#include "support/TableTesting.h"

#include "store/ReminderSchedule.h"

#include <QtTest>

using namespace StoreTesting;

// The schedule on its own: a saved state, the pinned zone and dates handed in as the clock.
class ReminderScheduleTest : public QObject {
    Q_OBJECT

private:
    SavedState state;
    std::unique_ptr<ReminderSchedule> schedule;

    void switchBreaksOn()
    {
        state.preferences.breaks.eyeEnabled = true;
        state.preferences.breaks.movementEnabled = true;
    }

private slots:
    void init()
    {
        state = SavedState{};
        schedule = std::make_unique<ReminderSchedule>(state, zone());
    }

    void planningFromNowKeepsWaterOutOfQuietHoursAndSwitchedOffBreaksEmpty()
    {
        state.preferences.breaks.eyeEnabled = true;
        state.nextMovementDue = morning();
        schedule->planAllFromNow(at(2024, 3, 4, 21, 30));
        QCOMPARE(state.nextDue, at(2024, 3, 5, 9, 0));
        QCOMPARE(state.nextEyeDue, std::optional(at(2024, 3, 4, 21, 50)));
        QCOMPARE(state.nextMovementDue, std::nullopt);
        schedule->setDeadline(ReminderKind::water, std::nullopt);
        QCOMPARE(state.nextDue, at(2024, 3, 5, 9, 0));
    }

    // What a change of settings moves, and what it leaves where it was.
    void aSettingsChangeReplansOnlyWhatItTouches_data()
    {
        addColumns<std::function<void(Preferences&)>, QDateTime, std::optional<QDateTime>, std::optional<QDateTime>>(
            "change", "water", "eyeRest", "movement");
        const QDateTime now = at(2024, 3, 4, 12, 0);
        const std::optional kept = at(2024, 3, 4, 12, 10);
        const std::optional<QDateTime> none;
        using Change = std::function<void(Preferences&)>;
        QTest::newRow("sound") << Change([](Preferences& p) { p.soundEnabled = false; }) << *kept << kept << kept;
        QTest::newRow("water interval") << Change([](Preferences& p) { p.intervalMinutes = 30; })
                                        << now.addSecs(30 * 60) << kept << kept;
        QTest::newRow("quiet hours over the deadline")
            << Change([](Preferences& p) { p.quietStart = 12; }) << at(2024, 3, 5, 9, 0) << kept << kept;
        QTest::newRow("quiet hours over the deadline, switched off") << Change([](Preferences& p) {
            p.quietStart = 12;
            p.quietEnabled = false;
        }) << *kept << kept << kept;
        QTest::newRow("eye interval") << Change([](Preferences& p) { p.breaks.eyeIntervalMinutes = 30; }) << *kept
                                      << std::optional(now.addSecs(30 * 60)) << kept;
        QTest::newRow("movement interval") << Change([](Preferences& p) { p.breaks.movementIntervalMinutes = 90; })
                                           << *kept << kept << std::optional(now.addSecs(90 * 60));
        QTest::newRow("break length") << Change([](Preferences& p) { p.breaks.eyeDurationSeconds = 60; }) << *kept
                                      << kept << kept;
        QTest::newRow("eye rest off") << Change([](Preferences& p) { p.breaks.eyeEnabled = false; }) << *kept << none
                                      << kept;
        QTest::newRow("movement off") << Change([](Preferences& p) { p.breaks.movementEnabled = false; }) << *kept
                                      << kept << none;
    }
    void aSettingsChangeReplansOnlyWhatItTouches()
    {
        QFETCH(std::function<void(Preferences&)>, change);
        QFETCH(QDateTime, water);
        QFETCH(std::optional<QDateTime>, eyeRest);
        QFETCH(std::optional<QDateTime>, movement);
        switchBreaksOn();
        for (ReminderKind kind : allReminderKinds)
            schedule->setDeadline(kind, at(2024, 3, 4, 12, 10));
        const Preferences before = state.preferences;
        change(state.preferences);
        schedule->replanAfterChange(before, at(2024, 3, 4, 12, 0));
        QCOMPARE(state.nextDue, water);
        QCOMPARE(state.nextEyeDue, eyeRest);
        QCOMPARE(state.nextMovementDue, movement);
    }

    void atLaunchPassedDeadlinesAndAnInterruptedBreakStartOver()
    {
        switchBreaksOn();
        const QDateTime launch = at(2024, 3, 4, 14, 0);
        state.nextDue = at(2024, 3, 4, 8, 0);
        state.nextEyeDue = launch.addSecs(300);
        state.nextMovementDue = launch.addSecs(600);
        state.activeBreakKind = ReminderKind::movement;
        schedule->planAtLaunch(launch);
        QCOMPARE(state.nextDue, launch.addSecs(45 * 60));
        QCOMPARE(state.nextEyeDue, std::optional(launch.addSecs(300)));
        QCOMPARE(state.nextMovementDue, std::optional(launch.addSecs(60 * 60)));
        QCOMPARE(state.activeBreakKind, std::nullopt);

        // A kind switched off keeps no deadline from the file, however far ahead it lies.
        state.preferences.breaks.eyeEnabled = false;
        schedule->planAtLaunch(launch);
        QCOMPARE(state.nextEyeDue, std::nullopt);
    }

    void theEarliestComeDeadlineIsDueAndWaterWinsATie()
    {
        switchBreaksOn();
        const QDateTime now = at(2024, 3, 4, 12, 0);
        state.nextDue = now.addSecs(-60);
        state.nextEyeDue = now.addSecs(-120);
        state.nextMovementDue = now.addSecs(-30);
        QCOMPARE(schedule->dueKind(now), ReminderKind::eyeRest);
        state.nextEyeDue = now.addSecs(-60);
        QCOMPARE(schedule->dueKind(now), ReminderKind::water);
        for (ReminderKind kind : allReminderKinds)
            schedule->setDeadline(kind, now.addSecs(1));
        QCOMPARE(schedule->dueKind(now), std::nullopt);
        QCOMPARE(schedule->earliest(), (UpcomingReminder{ReminderKind::water, now.addSecs(1)}));
    }

    void typingDelaysCountPerKindAndEndAfterTwoMinutes()
    {
        const QDateTime now = at(2024, 3, 4, 12, 0);
        for (int delay = 0; delay < 3; ++delay) {
            QVERIFY(schedule->mayDeferForTyping(ReminderKind::water));
            schedule->deferForTyping(ReminderKind::water, now);
        }
        QVERIFY(!schedule->mayDeferForTyping(ReminderKind::water));
        QVERIFY2(schedule->mayDeferForTyping(ReminderKind::eyeRest), "each kind has delays of its own");
        QCOMPARE(state.nextDue, now.addSecs(120));
        QVERIFY(schedule->typingDelayRuns(now.addSecs(119)));
        QVERIFY(!schedule->typingDelayRuns(now.addSecs(120)));

        schedule->postpone(ReminderKind::water, now);
        QVERIFY2(schedule->mayDeferForTyping(ReminderKind::water), "a snooze starts the count again");
    }

    void aSnoozeAndADismissalHoldRemindersBack()
    {
        const QDateTime now = at(2024, 3, 4, 21, 55);
        schedule->postpone(ReminderKind::water, now);
        schedule->postpone(ReminderKind::eyeRest, now);
        QCOMPARE(state.nextDue, at(2024, 3, 5, 9, 0));
        QCOMPARE(state.nextEyeDue, std::optional(now.addSecs(300)));

        schedule->holdBack(now);
        QVERIFY(schedule->isHeldBack(now.addSecs(59)));
        QVERIFY(!schedule->isHeldBack(now.addSecs(60)));
    }
};

QTEST_GUILESS_MAIN(ReminderScheduleTest)
#include "test_reminder_schedule.moc"
