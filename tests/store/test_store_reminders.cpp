#include "StoreTesting.h"

#include "model/Personality.h"

#include <QSignalSpy>
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

    // Brings the store to the moment its water reminder shows.
    static void untilWaterShows(DewbellStore& store)
    {
        store.tick(store.state().nextDue);
        QVERIFY(store.reminderVisible());
        QCOMPARE(store.reminderKind(), ReminderKind::water);
    }

private slots:
    void init() { QVERIFY(folder.isValid()); }
    void cleanup() { QDir(folder.path()).removeRecursively(); }

    void ignoredWaterReminderAsksAgainAndEscalates()
    {
        auto s = store();
        int presented = 0;
        int sounds = 0;
        s->onPresent = [&] { ++presented; };
        s->playSound = [&](const QString&) { ++sounds; };
        QVERIFY(showsFirstAt(*s, morning().addSecs(45 * 60)));
        QCOMPARE(sounds, 1);

        const QDateTime shown = s->now();
        s->tick(shown.addSecs(2));
        QCOMPARE(s->phase(), CompanionPhase::asking);
        const qint64 retry = qint64(retrySeconds(Personality::cheeky));
        for (const auto& [after, stage] : {std::pair{retry - 1, 0}, {retry, 1}, {2 * retry, 2}, {5 * retry, 2}}) {
            s->tick(shown.addSecs(2 + after));
            QCOMPARE(s->stage(), stage);
        }
        QVERIFY(s->reminderVisible());
        QVERIFY(s->state().drinks.isEmpty());
        QCOMPARE(presented, 1);

        // Asking again presents the reminder on screen instead of replacing it.
        s->showReminder(true, ReminderKind::eyeRest, std::nullopt);
        QCOMPARE(presented, 2);
        QCOMPARE(s->reminderKind(), ReminderKind::water);
        QVERIFY(!s->preview());
    }

    void answeredYesRecordsADrinkCelebratesAndLeaves()
    {
        auto s = store();
        int dismissed = 0;
        s->onDismiss = [&] { ++dismissed; };
        untilWaterShows(*s);
        s->answerYes();
        QCOMPARE(s->state().drinks.first().date, s->now());
        QCOMPARE(s->state().nextDue, s->now().addSecs(45 * 60));
        QCOMPARE(s->phase(), CompanionPhase::celebrating);
        s->answerYes();  // a second click while celebrating counts nothing
        QCOMPARE(s->state().drinks.size(), 1);

        s->tick(s->now().addMSecs(4800));
        s->tick(s->now().addSecs(2));
        QVERIFY(!s->reminderVisible());
        QCOMPARE(dismissed, 1);

        auto reloaded = openStore(folder.path());
        QCOMPARE(reloaded->state().drinks, s->state().drinks);
    }

    void declinedReminderWalksOffSadlyAndComesBackInTenMinutes()
    {
        auto s = store();
        untilWaterShows(*s);
        s->decline();
        QVERIFY(s->state().drinks.isEmpty());

        const QDateTime declined = s->now();
        s->tick(declined.addMSecs(3600));
        QCOMPARE(s->phase(), CompanionPhase::leaving);
        s->tick(s->now().addSecs(2));
        QVERIFY2(s->reminderVisible(), "the sad walk takes longer than the usual one");
        s->tick(s->now().addMSecs(1200));
        QVERIFY(!s->reminderVisible());

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

        // Ten minutes after 21:55 is inside quiet hours: the reminder waits for the morning.
        auto late = startedStore(folder.path(), at(2024, 3, 4, 21, 10));
        late->tick(at(2024, 3, 4, 21, 55));
        QVERIFY(late->reminderVisible());
        late->snooze();
        QCOMPARE(late->state().nextDue, at(2024, 3, 5, 9, 0));
    }

    void quietHoursAcrossMidnightHoldEverythingBackUntilTheEnd()
    {
        auto s = store(at(2024, 3, 4, 21, 30));
        QCOMPARE(s->state().nextDue, at(2024, 3, 5, 9, 0));
        for (const QDateTime& time : {at(2024, 3, 4, 22, 0), at(2024, 3, 4, 23, 59), at(2024, 3, 5, 0, 30),
                                      at(2024, 3, 5, 8, 59, 59)}) {
            s->tick(time);
            QVERIFY(s->isQuiet() && !s->reminderVisible());
        }
        s->tick(at(2024, 3, 5, 9, 0));
        QVERIFY(s->reminderVisible());

        // Quiet hours switched on while a reminder is on screen send the companion away.
        s->update([](Preferences& p) { p.quietEnd = 10; });
        QVERIFY(!s->reminderVisible());
        QVERIFY(s->isQuiet());
    }

    void pauseHoldsRemindersForAnHourAndResumeRestartsTheSchedule()
    {
        auto s = store();
        untilWaterShows(*s);
        const QDateTime paused = s->now();
        s->pause();
        QVERIFY(!s->reminderVisible());
        QVERIFY(!s->upcomingReminder());
        QVERIFY2(showsFirstAt(*s, paused.addSecs(3600)), "the reminder held back by the pause shows once it ends");

        s->dismiss();
        s->update([](Preferences& p) { p.enabled = false; });
        QVERIFY(s->isPaused());
        s->tick(s->now().addSecs(7200));
        QVERIFY(!s->reminderVisible());

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
        for (const Protection& p : {Protection{&DewbellStore::startFocus, &DewbellStore::endFocus, &DewbellStore::isFocused},
                                    Protection{&DewbellStore::startMeeting, &DewbellStore::endMeeting,
                                               &DewbellStore::inMeeting}}) {
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
            QVERIFY(!(*s.*p.active)() && !s->suppressionReason());
            QVERIFY2(s->reminderVisible(), "ending protection ticks at once");
        }
        auto s = store();
        s->startFocus(1000);
        QCOMPARE(s->state().focusUntil, std::optional(s->now().addSecs(240 * 60)));
    }

    void typingDelaysAReminderThreeTimesThenShowsIt()
    {
        auto s = store();
        s->update([](Preferences& p) { p.safeguards.flowDelay = true; });
        s->contextProvider = readings([](ContextSnapshot& c) { c.recentInputSeconds = 1.0; });
        QDateTime due = s->state().nextDue;
        for (int delay = 1; delay <= 3; ++delay) {
            s->tick(due);
            QVERIFY2(!s->reminderVisible(), qPrintable(QStringLiteral("delay %1").arg(delay)));
            QCOMPARE(s->state().nextDue, due.addSecs(120));
            due = s->state().nextDue;
        }
        QVERIFY2(showsFirstAt(*s, due), "after three delays the reminder shows anyway");

        // A fresh reminder starts with three delays of its own.
        s->snooze();
        s->tick(s->state().nextDue);
        QVERIFY(!s->reminderVisible());

        // A pause while the user stops typing: the delay's reason goes once its time is up.
        s->contextProvider = {};
        s->tick(s->now().addSecs(60));
        QVERIFY(s->suppressionReason());
        s->tick(s->now().addSecs(60));
        QVERIFY(s->reminderVisible());
        QVERIFY(!s->suppressionReason());
    }

    void aPreviewRecordsNothing()
    {
        auto s = store();
        const SavedState before = s->state();
        const QString path = QDir(folder.path()).filePath(QStringLiteral("state.json"));
        const QDateTime written = QFileInfo(path).lastModified();

        s->showReminder(true, ReminderKind::water, QStringLiteral("sprout"));
        QVERIFY(s->preview());
        QCOMPARE(s->presentedCompanion().id, QStringLiteral("sprout"));
        s->answerYes();
        runUntil(*s, s->now().addSecs(7));

        s->showReminder(true, ReminderKind::water, std::nullopt);
        s->decline();
        s->snooze();

        s->showReminder(true, ReminderKind::eyeRest, std::nullopt);
        s->startBreak();
        runUntil(*s, *s->breakEndsAt());
        QVERIFY(!s->reminderVisible());
        QCOMPARE(s->state(), before);
        QCOMPARE(QFileInfo(path).lastModified(), written);

        // Answering a preview starts no cooldown: a due reminder shows right after it.
        s->showReminder(true, ReminderKind::water, std::nullopt);
        s->dismiss();
        s->tick(s->state().nextDue);
        QVERIFY(s->reminderVisible());
        QVERIFY(!s->preview());
    }

    void aPreviewIgnoresThePauseButNotFocusOrTheTour()
    {
        auto s = store();
        s->pause();
        s->tick(s->now().addSecs(61));
        s->showReminder(true, ReminderKind::water, std::nullopt);
        QVERIFY2(s->reminderVisible(), "pause, reminders off and quiet hours never stop a preview");
        s->dismiss();

        s->startFocus(std::nullopt);
        s->showReminder(true, ReminderKind::water, std::nullopt);
        QVERIFY(!s->reminderVisible());
        s->endFocus();

        s->presentTour();
        s->showReminder(true, ReminderKind::water, std::nullopt);
        QVERIFY(!s->reminderVisible());
    }

    void theEarliestDueKindShowsFirstAndADismissalMovesNoDeadline()
    {
        auto s = store();
        s->update([](Preferences& p) {
            p.breaks.eyeEnabled = true;
            p.breaks.movementEnabled = true;
        });
        s->mutateState([](SavedState& state) {
            state.nextDue = morning().addSecs(100);
            state.nextEyeDue = morning().addSecs(90);
            state.nextMovementDue = morning().addSecs(95);
        });
        s->tick(morning().addSecs(100));
        QCOMPARE(s->reminderKind(), ReminderKind::eyeRest);
        s->dismiss();
        QVERIFY2(showsFirstAt(*s, s->now().addSecs(60)), "the same reminder is back after a minute");
        QCOMPARE(s->reminderKind(), ReminderKind::eyeRest);

        s->update([](Preferences& p) { p.breaks.movementEnabled = false; });
        QVERIFY(!s->state().nextMovementDue);
    }

    void drinksUndoAndTodaysFigures()
    {
        auto s = store(at(2024, 3, 4, 23, 50));
        s->drink();
        s->tick(at(2024, 3, 5, 9, 30));
        QVERIFY(s->today().isEmpty());
        QCOMPARE(s->totalML(), 0);
        s->undo();
        QCOMPARE(s->state().drinks.size(), 1);

        s->update([](Preferences& p) {
            p.glassML = 300;
            p.dailyGoal = 2;
        });
        for (int glass = 0; glass < 3; ++glass)
            s->drink();
        QCOMPARE(s->progress(), 1.0);
        s->undo();
        QCOMPARE(s->totalML(), 600);
        QCOMPARE(s->state().drinks.size(), 3);
        QCOMPARE(s->state().drinks.first().date, at(2024, 3, 4, 23, 50));
    }

    void countdownAndStatusTexts()
    {
        auto s = store();
        s->tick(morning().addMSecs(500));
        QCOMPARE(s->countdown(), QStringLiteral("44:59"));
        // The time of day is the store's zone, without seconds in any locale.
        const QDateTime due = at(2024, 3, 4, 12, 7, 42);
        s->mutateState([&due](SavedState& state) { state.nextDue = due; });
        QVERIFY2(s->status().contains(QStringLiteral("12:07")) && !s->status().contains(QStringLiteral("42")),
                 qPrintable(s->status()));
    }

    void contextAvailabilityNamesTheMissingReadings()
    {
        auto s = store();
        s->tick(s->now().addSecs(1));
        QVERIFY(!s->contextAvailability());
        s->update([](Preferences& p) {
            p.safeguards.microphoneGuard = true;
            p.safeguards.pauseWhenIdle = true;
            p.safeguards.flowDelay = true;
        });
        s->tick(s->now().addSecs(1));
        QVERIFY(s->contextAvailability()->startsWith(QStringLiteral("Microphone status unavailable")));
        s->contextProvider = readings([](ContextSnapshot& c) {
            c.microphoneActive = false;
            c.inputIdleSeconds = 3.0;
            c.recentInputSeconds = 9.0;
        });
        s->tick(s->now().addSecs(1));
        QVERIFY(!s->contextAvailability());
    }

    void updateNormalizesAndReplans()
    {
        auto s = store();
        s->update([](Preferences& p) { p.intervalMinutes = 30; });
        QCOMPARE(s->state().nextDue, morning().addSecs(30 * 60));
    }

    void theTourFlagsAndItsCompletion()
    {
        auto s = openStore(folder.path());
        s->tick(morning());
        QList<bool> highlights;
        s->onTourMenuHighlight = [&](bool on) { highlights.append(on); };
        s->presentTourIfNeeded();
        QVERIFY(s->tourVisible());
        s->highlightTourMenu(true);
        s->presentTourIfNeeded();
        s->completeTour(QStringLiteral("sprout"), 500, false, 30, true, std::nullopt,
                        QStringLiteral("  Sam the very long-named friend \n"), true);
        QVERIFY(!s->tourVisible());
        QCOMPARE(highlights, (QList<bool>{false, true, false}));
        QCOMPARE(s->preferences().recipient, QStringLiteral("Sam the very long-named friend"));
        QCOMPARE(s->state().nextEyeDue, std::optional(morning().addSecs(20 * 60)));
        QCOMPARE(s->companion().id, QStringLiteral("sprout"));

        s->highlightTourMenu(true);
        s->presentTourIfNeeded();
        QVERIFY(!s->tourVisible());
        QCOMPARE(highlights.last(), false);
    }

    void everyChangeIsAnnounced()
    {
        auto s = store();
        QSignalSpy spy(s.get(), &DewbellStore::changed);
        s->tick(s->now().addSecs(1));
        QCOMPARE(spy.count(), 1);
        s->drink();
        s->setSelectedPage(QStringLiteral("Settings"));
        s->setNotice(QStringLiteral("Hello"));
        s->mutateState([](SavedState&) {});
        QCOMPARE(spy.count(), 5);
    }
};

QTEST_GUILESS_MAIN(StoreRemindersTest)
#include "test_store_reminders.moc"
