#include "support/StoreTesting.h"
#include "support/TableTesting.h"

#include "model/Personality.h"

#include <QtTest>

using namespace StoreTesting;

class StoreRemindersTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir folder;

    std::unique_ptr<DewbellStore> store(const QDateTime& start = morning())
    {
        return startedStore(folder.path(), start);
    }

    static void untilWaterShows(DewbellStore& store)
    {
        store.tick(store.state().nextDue);
        QVERIFY(store.reminderVisible());
        QCOMPARE(store.reminderKind(), ReminderKind::water);
    }

    // Eye rest due in 20 minutes, shown and its break started; water far away.
    std::unique_ptr<DewbellStore> storeInABreak()
    {
        auto s = store();
        s->update([](Preferences& p) {
            p.intervalMinutes = 180;
            p.breaks.eyeEnabled = true;
        });
        s->tick(*s->state().nextEyeDue);
        s->answerYes();
        return s;
    }

private slots:
    void init() { QVERIFY(folder.isValid()); }
    void cleanup() { QDir(folder.path()).removeRecursively(); }

    void ignoredWaterReminderAsksAgainAndEscalates()
    {
        auto s = store();
        int sounds = 0;
        s->playSound = [&](const QString&) { ++sounds; };
        QVERIFY(showsFirstAt(*s, morning().addSecs(45 * 60)));
        const QDateTime shown = s->now();
        s->tick(shown.addSecs(2));
        QCOMPARE(s->phase(), CompanionPhase::asking);
        const qint64 retry = qint64(retrySeconds(Personality::cheeky));
        for (const auto& [after, stage] : {std::pair{retry - 1, 0}, {retry, 1}, {2 * retry, 2}, {5 * retry, 2}}) {
            s->tick(shown.addSecs(2 + after));
            QCOMPARE(s->stage(), stage);
        }
        QVERIFY(s->reminderVisible() && s->state().drinks.isEmpty());
        QCOMPARE(sounds, 1);
    }

    void answeredYesRecordsADrinkCelebratesAndLeaves()
    {
        auto s = store();
        untilWaterShows(*s);
        s->answerYes();
        const QDateTime answered = s->now();
        QCOMPARE(s->state().nextDue, answered.addSecs(45 * 60));
        QCOMPARE(s->phase(), CompanionPhase::celebrating);
        s->answerYes();  // a second click while celebrating counts nothing
        s->tick(answered.addMSecs(4800));
        s->tick(answered.addMSecs(6800));
        QVERIFY(!s->reminderVisible());
        QCOMPARE(s->state().drinks.size(), 1);
        QCOMPARE(s->state().drinks.first().date, answered);
        QCOMPARE(openStore(folder.path())->state().drinks, s->state().drinks);
        const QString path = QDir(folder.path()).filePath(QStringLiteral("state.json"));
        QCOMPARE(QFile::permissions(path) & QFileDevice::Permissions(0x7077), QFile::ReadOwner | QFile::WriteOwner);
    }

    void declinedReminderWalksOffSadlyAndComesBackInTenMinutes()
    {
        auto s = store();
        untilWaterShows(*s);
        s->decline();
        const QDateTime declined = s->now();
        s->tick(declined.addMSecs(3600));
        QCOMPARE(s->phase(), CompanionPhase::leaving);
        s->tick(s->now().addSecs(2));
        QVERIFY2(s->reminderVisible(), "the sad walk takes longer than the usual one");
        s->tick(s->now().addMSecs(1200));
        QVERIFY(!s->reminderVisible());
        QVERIFY(s->state().drinks.isEmpty());
        QVERIFY(showsFirstAt(*s, declined.addSecs(600)));
    }

    void snoozeHidesAtOnceAndRespectsQuietHours()
    {
        auto s = store();
        untilWaterShows(*s);
        const QDateTime snoozed = s->now();
        s->snooze();
        QVERIFY(!s->reminderVisible());
        runUntil(*s, snoozed.addSecs(598));
        QVERIFY(showsFirstAt(*s, snoozed.addSecs(600)));

        auto late = startedStore(folder.path(), at(2024, 3, 4, 21, 10));
        late->tick(at(2024, 3, 4, 21, 55));
        late->snooze();
        QCOMPARE(late->state().nextDue, at(2024, 3, 5, 9, 0));
    }

    void quietHoursAcrossMidnightHoldEverythingBackUntilTheEnd()
    {
        auto s = store(at(2024, 3, 4, 21, 30));
        for (const QDateTime& time : {at(2024, 3, 4, 22, 0), at(2024, 3, 5, 0, 30), at(2024, 3, 5, 8, 59, 59)}) {
            s->tick(time);
            QVERIFY(s->isQuiet() && !s->reminderVisible());
        }
        s->tick(at(2024, 3, 5, 9, 0));
        QVERIFY(s->reminderVisible());
    }

    // A reminder on screen leaves when a setting now silences it.
    void aReminderLeavesWhenASettingSilencesIt()
    {
        const std::function<void(Preferences&)> changes[] = {
            [](Preferences& p) { p.enabled = false; },
            [](Preferences& p) {
                p.quietStart = 10;
                p.quietEnd = 12;
            },
        };
        for (const auto& change : changes) {
            cleanup();
            auto s = store();
            untilWaterShows(*s);
            s->update(change);
            QVERIFY(!s->reminderVisible());
        }
    }

    void pauseHoldsRemindersForAnHourAndResumeRestartsTheSchedule()
    {
        auto s = store();
        untilWaterShows(*s);
        const QDateTime paused = s->now();
        s->pause();
        QVERIFY(!s->reminderVisible());
        QVERIFY2(showsFirstAt(*s, paused.addSecs(3600)), "the reminder held back by the pause shows once it ends");

        s->dismiss();
        s->update([](Preferences& p) { p.enabled = false; });
        s->tick(s->now().addSecs(7200));
        QVERIFY(s->isPaused() && !s->reminderVisible());
        s->resume();
        QVERIFY(s->preferences().enabled && !s->isPaused());
        QCOMPARE(s->state().nextDue, s->now().addSecs(45 * 60));
    }

    void focusAndMeetingProtectionTimedAndUntilEnded()
    {
        struct Protection {
            void (DewbellStore::*start)(std::optional<int>);
            void (DewbellStore::*end)();
            bool (DewbellStore::*active)() const;
        };
        for (const Protection& p :
             {Protection{&DewbellStore::startFocus, &DewbellStore::endFocus, &DewbellStore::isFocused},
              Protection{&DewbellStore::startMeeting, &DewbellStore::endMeeting, &DewbellStore::inMeeting}}) {
            cleanup();
            auto s = store();
            untilWaterShows(*s);
            (*s.*p.start)(30);
            QVERIFY(!s->reminderVisible());
            QVERIFY2(showsFirstAt(*s, s->now().addSecs(30 * 60)), "the overdue reminder shows when protection ends");
            QVERIFY(!(*s.*p.active)());
            s->snooze();

            (*s.*p.start)(std::nullopt);
            s->tick(s->now().addSecs(24 * 3600));
            QVERIFY((*s.*p.active)() && !s->reminderVisible());
            (*s.*p.end)();
            QVERIFY2(!(*s.*p.active)() && s->reminderVisible(), "ending protection ticks at once");
        }
    }

    void typingDelaysAReminderThreeTimesThenShowsIt()
    {
        auto s = store();
        s->update([](Preferences& p) { p.safeguards.flowDelay = true; });
        s->contextProvider = readings([](ContextSnapshot& c) { c.recentInputSeconds = 1.0; });
        QDateTime due = s->state().nextDue;
        for (int delay = 1; delay <= 3; ++delay) {
            s->tick(due);
            QVERIFY(!s->reminderVisible());
            QCOMPARE(s->state().nextDue, due.addSecs(120));
            due = s->state().nextDue;
        }
        QVERIFY2(showsFirstAt(*s, due), "after three delays the reminder shows anyway");
    }

    void aPreviewRecordsNothing()
    {
        auto s = store();
        const SavedState before = s->state();
        const QString path = QDir(folder.path()).filePath(QStringLiteral("state.json"));
        const QDateTime written = QFileInfo(path).lastModified();

        s->showReminder(true, ReminderKind::water, QStringLiteral("sprout"));
        QVERIFY(s->preview());
        s->answerYes();
        runUntil(*s, s->now().addSecs(7));
        s->showReminder(true, ReminderKind::water, std::nullopt);
        s->decline();
        s->snooze();
        s->showReminder(true, ReminderKind::eyeRest, std::nullopt);
        s->startBreak();
        s->extendBreak(60);
        runUntil(*s, *s->breakEndsAt());
        QVERIFY(!s->reminderVisible());
        QCOMPARE(s->state(), before);
        QCOMPARE(QFileInfo(path).lastModified(), written);
    }

    void aBreakStartedExtendedAndFinishedIsRecorded()
    {
        auto s = storeInABreak();
        const QDateTime started = s->now();
        QCOMPARE(s->breakRemaining(), 20);
        s->startBreak();  // already running: nothing changes
        s->extendBreak();
        s->extendBreak(0);
        s->tick(started.addMSecs(40800));
        QCOMPARE(s->breakRemaining(), 1);

        s->tick(started.addSecs(41));
        QVERIFY(!s->reminderVisible() && !s->state().activeBreakKind);
        const BreakRecord record = s->state().breakHistory.value(0);
        QVERIFY(record.kind == ReminderKind::eyeRest && record.date == started && record.seconds == 41);
        QCOMPARE(s->state().nextEyeDue, std::optional(started.addSecs(41 + 20 * 60)));
        QCOMPARE(openStore(folder.path())->state().breakHistory, s->state().breakHistory);
    }

    // Nothing shows while the user is away, and reminders come back with the user.
    void remindersWaitForTheUserToComeBack()
    {
        auto s = store();
        s->suppressForSystemAbsence();
        s->tick(at(2024, 3, 4, 10, 50));
        QVERIFY(!s->reminderVisible());
        s->resumeAfterAbsence(at(2024, 3, 4, 10, 55));
        QVERIFY(showsFirstAt(*s, at(2024, 3, 4, 10, 56)));
    }

    void anAbsenceDuringABreak_data()
    {
        addColumns<int, bool>("awaySeconds", "locked");
        QTest::newRow("back before it ends") << 8 << false;
        QTest::newRow("ended while away") << 15 * 60 << false;
        QTest::newRow("the gate holds it back") << 5 << true;
    }
    void anAbsenceDuringABreak()
    {
        QFETCH(int, awaySeconds);
        QFETCH(bool, locked);
        auto s = storeInABreak();
        const QDateTime started = s->now();
        s->suppressForSystemAbsence();
        QVERIFY2(s->reminderVisible(), "the break goes on while the panel is hidden");
        if (locked)
            s->contextProvider = readings([](ContextSnapshot& c) { c.isLocked = true; });
        s->resumeAfterAbsence(started.addSecs(awaySeconds));
        QCOMPARE(s->reminderVisible(), awaySeconds < 20 && !locked);
        if (s->reminderVisible()) {
            QCOMPARE(s->breakRemaining(), 20 - awaySeconds);
            s->tick(started.addSecs(20));
        }
        QVERIFY(!s->reminderVisible() && !s->state().activeBreakKind);
        QCOMPARE(s->state().breakHistory.size(), locked ? 0 : 1);
        if (locked)
            QCOMPARE(s->state().nextEyeDue, std::optional(s->now().addSecs(20 * 60)));
        else
            QCOMPARE(s->state().breakHistory.first().seconds, 20);
    }
};

QTEST_GUILESS_MAIN(StoreRemindersTest)
#include "test_store_reminders.moc"
