#include "StoreTesting.h"

#include <QtTest>

using namespace StoreTesting;

class StoreBreaksTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir folder;

    // Eye rest every 20 minutes for 20 seconds, movement every hour for 5 minutes; the water
    // reminder far away so that only the breaks come due.
    std::unique_ptr<DewbellStore> storeWithBreaks()
    {
        auto store = startedStore(folder.path());
        store->update([](Preferences& p) {
            p.intervalMinutes = 180;
            p.breaks.eyeEnabled = true;
            p.breaks.movementEnabled = true;
        });
        return store;
    }

    static void untilShows(DewbellStore& store, ReminderKind kind)
    {
        const auto due = kind == ReminderKind::eyeRest ? store.state().nextEyeDue : store.state().nextMovementDue;
        QVERIFY(due);
        store.tick(*due);
        QVERIFY(store.reminderVisible());
        QCOMPARE(store.reminderKind(), kind);
    }

private slots:
    void init() { QVERIFY(folder.isValid()); }
    void cleanup() { QDir(folder.path()).removeRecursively(); }

    void aBreakStartedExtendedAndFinishedIsRecorded()
    {
        auto s = storeWithBreaks();
        int dismissed = 0;
        s->onDismiss = [&] { ++dismissed; };
        untilShows(*s, ReminderKind::eyeRest);
        s->answerYes();
        const QDateTime started = s->now();
        QCOMPARE(s->breakRemaining(), 20);
        s->startBreak();  // already running: nothing changes
        s->extendBreak();
        s->extendBreak(0);
        s->tick(started.addMSecs(40800));
        QCOMPARE(s->breakRemaining(), 1);

        s->tick(started.addSecs(41));
        QVERIFY(!s->reminderVisible());
        QCOMPARE(dismissed, 1);
        QCOMPARE(s->state().breakHistory.size(), 1);
        const BreakRecord record = s->state().breakHistory.first();
        QVERIFY(record.kind == ReminderKind::eyeRest && record.date == started && record.seconds == 41);
        QVERIFY(!s->state().activeBreakKind);
        QCOMPARE(s->state().nextEyeDue, std::optional(started.addSecs(41 + 20 * 60)));
        QCOMPARE(s->completedBreaksToday(), 1);
        QCOMPARE(openStore(folder.path())->state().breakHistory, s->state().breakHistory);
    }

    void skippingStoppingLaterOrClosingRecordNothing()
    {
        auto s = storeWithBreaks();
        s->update([](Preferences& p) { p.breaks.movementEnabled = false; });
        // Skip, skip while running, Later (five minutes), close while running.
        const QList<std::pair<std::function<void(DewbellStore&)>, int>> endings{
            {[](DewbellStore& d) { d.skipBreak(); }, 20 * 60},
            {[](DewbellStore& d) { d.startBreak(); d.tick(d.now().addSecs(10)); d.skipBreak(); }, 20 * 60},
            {[](DewbellStore& d) { d.snooze(); }, 5 * 60},
            {[](DewbellStore& d) { d.startBreak(); d.dismiss(); }, 20 * 60}};
        for (const auto& [end, nextInSeconds] : endings) {
            untilShows(*s, ReminderKind::eyeRest);
            end(*s);
            QVERIFY(!s->state().activeBreakKind);
            QCOMPARE(s->state().nextEyeDue, std::optional(s->now().addSecs(nextInSeconds)));
        }
        s->tick(s->now().addSecs(60));
        QVERIFY(s->state().breakHistory.isEmpty());

        // Skipping a water reminder does nothing.
        s->mutateState([](SavedState& state) { state.nextDue = state.nextEyeDue->addSecs(-600); });
        s->tick(s->state().nextDue);
        QCOMPARE(s->reminderKind(), ReminderKind::water);
        s->skipBreak();
        QVERIFY(s->reminderVisible());
    }

    void aBreakSurvivesAnAbsenceAndIsShownAgain()
    {
        auto s = storeWithBreaks();
        int presented = 0;
        int dismissed = 0;
        s->onPresent = [&] { ++presented; };
        s->onDismiss = [&] { ++dismissed; };
        untilShows(*s, ReminderKind::eyeRest);
        s->update([](Preferences& p) { p.breaks.eyeDurationSeconds = 60; });
        s->startBreak();
        const QDateTime started = s->now();

        s->suppressForSystemAbsence();
        QCOMPARE(dismissed, 1);
        QVERIFY2(s->reminderVisible(), "the break goes on while the panel is hidden");

        s->resumeAfterAbsence(started.addSecs(30));
        QCOMPARE(presented, 2);
        QCOMPARE(s->breakRemaining(), 30);
        s->tick(started.addSecs(60));
        QCOMPARE(s->state().breakHistory.size(), 1);
    }

    void onReturnABreakIsFinishedOrDropped_data()
    {
        QTest::addColumn<int>("awaySeconds");
        QTest::addColumn<bool>("locked");
        QTest::addColumn<int>("recordedSeconds");
        QTest::newRow("ended while away") << 15 * 60 << false << 20;
        QTest::newRow("the gate holds it back") << 5 << true << 0;
    }
    void onReturnABreakIsFinishedOrDropped()
    {
        QFETCH(int, awaySeconds);
        QFETCH(bool, locked);
        QFETCH(int, recordedSeconds);
        auto s = storeWithBreaks();
        untilShows(*s, ReminderKind::eyeRest);
        s->startBreak();
        s->suppressForSystemAbsence();
        if (locked)
            s->contextProvider = readings([](ContextSnapshot& c) { c.isLocked = true; });
        s->resumeAfterAbsence(s->now().addSecs(awaySeconds));
        QVERIFY(!s->reminderVisible());
        QVERIFY(!s->state().activeBreakKind);
        QCOMPARE(s->state().breakHistory.isEmpty(), recordedSeconds == 0);
        if (recordedSeconds)
            QCOMPARE(s->state().breakHistory.first().seconds, recordedSeconds);
        else
            QCOMPARE(s->state().nextEyeDue, std::optional(s->now().addSecs(20 * 60)));
    }

    void noReminderShowsWhileTheUserIsAway()
    {
        auto s = storeWithBreaks();
        untilShows(*s, ReminderKind::eyeRest);
        s->suppressForSystemAbsence();
        QVERIFY(!s->reminderVisible());
        const QDateTime away = s->now();
        s->tick(away.addSecs(3 * 3600));
        QVERIFY(!s->reminderVisible());

        s->resumeAfterAbsence(away.addSecs(3 * 3600 + 1));
        QVERIFY2(showsFirstAt(*s, s->now().addSecs(60)), "held-back reminders show a minute after the user is back");
    }

    void aBreakPreviewRecordsNothing()
    {
        auto s = storeWithBreaks();
        const SavedState before = s->state();
        s->showReminder(true, ReminderKind::movement, std::nullopt);
        s->answerYes();
        s->extendBreak(60);
        QCOMPARE(s->breakRemaining(), 360);
        runUntil(*s, *s->breakEndsAt());
        QVERIFY(!s->reminderVisible());
        QCOMPARE(s->state(), before);

        s->showReminder(true, ReminderKind::eyeRest, std::nullopt);
        s->skipBreak();
        QCOMPARE(s->state(), before);
        const QDateTime skipped = s->now();
        s->mutateState([&](SavedState& state) { state.nextEyeDue = skipped; });
        QVERIFY2(showsFirstAt(*s, skipped.addSecs(60)), "skipping holds reminders back for a minute, even in a preview");
    }

    void aBreakRunningAtQuitIsNotResumedAtLaunch()
    {
        {
            auto s = storeWithBreaks();
            untilShows(*s, ReminderKind::eyeRest);
            s->startBreak();
        }
        auto reopened = openStore(folder.path());
        QVERIFY(!reopened->state().activeBreakKind);
        QVERIFY(!reopened->reminderVisible());
        QVERIFY(reopened->state().nextEyeDue);
        QVERIFY(*reopened->state().nextEyeDue > QDateTime::currentDateTimeUtc());
    }
};

QTEST_GUILESS_MAIN(StoreBreaksTest)
#include "test_store_breaks.moc"
