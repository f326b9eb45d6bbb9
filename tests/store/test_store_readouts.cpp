#include "support/StoreTesting.h"
#include "support/TableTesting.h"

#include "store/ChangeBatcher.h"
#include "store/DayTally.h"
#include "store/ProtectionModes.h"
#include "store/ReminderStatus.h"
#include "store/WindowState.h"

#include "model/DateCoding.h"

#include <QtTest>

using namespace StoreTesting;

// The small rooms behind the store: protections as they are saved, the countdown and status
// wording, the reasons the window shows, today's figures and the one announcement per action.
class StoreReadoutsTest : public QObject {
    Q_OBJECT

private slots:
    void protectionsKeepTheirSavedKeys()
    {
        SavedState state;
        ProtectionModes modes(state);
        const QDateTime now = morning();
        modes.start(ProtectionMode::focus, now, 1);
        modes.start(ProtectionMode::meeting, now, std::nullopt);
        modes.pauseForAnHour(now);
        const QJsonObject saved = encode(state);
        QCOMPARE(saved.value(QStringLiteral("focusUntil")), DateCoding::encodeDate(now.addSecs(5 * 60)));
        QCOMPARE(saved.value(QStringLiteral("focusIndefinite")), QJsonValue(false));
        QVERIFY(!saved.contains(QStringLiteral("meetingUntil")));
        QCOMPARE(saved.value(QStringLiteral("meetingIndefinite")), QJsonValue(true));
        QCOMPARE(saved.value(QStringLiteral("pausedUntil")), DateCoding::encodeDate(now.addSecs(3600)));

        modes.start(ProtectionMode::focus, now, 1000);
        QCOMPARE(state.focusUntil, now.addSecs(240 * 60));
        modes.end(ProtectionMode::meeting);
        QVERIFY(!state.meetingIndefinite && modes.isOn(ProtectionMode::focus, now));
    }

    void aProtectionEndsAtItsTimeAndOnlyTheTimedOnesAreCleared()
    {
        SavedState state;
        ProtectionModes modes(state);
        const QDateTime now = morning();
        modes.start(ProtectionMode::focus, now, 30);
        modes.start(ProtectionMode::meeting, now, std::nullopt);
        modes.pauseForAnHour(now);
        const QDateTime end = now.addSecs(30 * 60);
        QVERIFY(modes.isOn(ProtectionMode::focus, end.addSecs(-1)) && !modes.isOn(ProtectionMode::focus, end));
        modes.clearStale(end.addSecs(-1));
        QVERIFY(state.focusUntil);
        modes.clearStale(end);
        QVERIFY(!state.focusUntil && state.pausedUntil && state.meetingIndefinite);
        QVERIFY(modes.isPaused(end) && !modes.isPaused(now.addSecs(3600)));
        modes.resume();
        QVERIFY(!state.pausedUntil && state.preferences.enabled);
    }

    // The countdown and the status line, one situation per row, the user's own holds first.
    void theStatusWordsTheStrongestHold_data()
    {
        addColumns<std::function<void(ReminderStatus&)>, QString, QString>("situation", "countdown", "line");
        using Situation = std::function<void(ReminderStatus&)>;
        QTest::newRow("two hours ahead") << Situation([](ReminderStatus&) {}) << "125:00"
                                         << "Next hello around";
        QTest::newRow("59 seconds ahead")
            << Situation([](ReminderStatus& s) { s.next->date = s.now.addSecs(59); }) << "00:59"
            << "Next hello around";
        QTest::newRow("due within a second")
            << Situation([](ReminderStatus& s) { s.next->date = s.now.addMSecs(900); }) << "Any moment"
            << "Next hello around";
        QTest::newRow("nothing planned") << Situation([](ReminderStatus& s) { s.next.reset(); }) << "Any moment"
                                         << "Reminders are off";
        QTest::newRow("on screen") << Situation([](ReminderStatus& s) { s.companionHere = true; }) << "125:00"
                                   << "Your little friend is here";
        QTest::newRow("quiet") << Situation([](ReminderStatus& s) { s.quiet = true; }) << "Sleepy time"
                               << "Quiet hours · sleep well";
        QTest::newRow("held back by the gate")
            << Situation([](ReminderStatus& s) { s.heldBackReason = QStringLiteral("Microphone in use"); }) << "125:00"
            << "Microphone in use";
        QTest::newRow("paused") << Situation([](ReminderStatus& s) {
            s.paused = s.quiet = true;
            s.pausedUntil = s.now.addSecs(600);
        }) << "On pause"
                                << "Paused until";
        QTest::newRow("off") << Situation([](ReminderStatus& s) { s.paused = true, s.remindersOn = false; })
                             << "On pause"
                             << "Reminders are off";
        QTest::newRow("meeting over a pause")
            << Situation([](ReminderStatus& s) { s.inMeeting = s.paused = true; }) << "Protected"
            << "Meeting / presentation protection";
        QTest::newRow("focus until ended") << Situation([](ReminderStatus& s) {
            s.focused = s.inMeeting = true;
            s.focus.indefinite = true;
        }) << "Focus mode"
                                           << "Focus · until you end it";
        QTest::newRow("timed focus") << Situation([](ReminderStatus& s) {
            s.focused = true;
            s.focus.until = s.now.addSecs(1800);
        }) << "Focus mode"
                                     << "Focus until";
    }
    void theStatusWordsTheStrongestHold()
    {
        QFETCH(std::function<void(ReminderStatus&)>, situation);
        QFETCH(QString, countdown);
        QFETCH(QString, line);
        ReminderStatus status{.now = morning(), .zone = zone(), .next = UpcomingReminder{ReminderKind::water, {}}};
        status.next->date = morning().addSecs(125 * 60 + 0.4);
        situation(status);
        QCOMPARE(status.countdown(), countdown);
        QVERIFY2(status.line().startsWith(line), qPrintable(status.line()));
    }

    void theWindowNamesOnlyTheReasonsTheUserDidNotSetUp()
    {
        WindowState window;
        using Cause = GateDecision::Cause;
        for (Cause own : {Cause::remindersOff, Cause::paused, Cause::focus, Cause::meeting, Cause::quietHours}) {
            QVERIFY(window.setSuppression(QStringLiteral("reason %1").arg(int(own)), own));
            QCOMPARE(window.reasonForStatus(), std::nullopt);
        }
        QVERIFY2(!window.setSuppression(QStringLiteral("reason 7"), Cause::locked), "the same text is no change");
        QCOMPARE(window.reasonForStatus(), QStringLiteral("reason 7"));
        QVERIFY(window.offersTour(0) && !window.offersTour(1));
        window.tourVisible = true;
        QVERIFY(!window.offersTour(0));
    }

    void missingReadingsAreNamedOnlyForSwitchedOnSafeguards()
    {
        WindowState window;
        SafeguardPreferences safeguards;
        QVERIFY(!window.setContextAvailability(safeguards, ContextSnapshot{}));
        QCOMPARE(window.contextAvailability(), std::nullopt);
        safeguards.flowDelay = safeguards.pauseWhenIdle = safeguards.microphoneGuard = true;
        QVERIFY(window.setContextAvailability(safeguards, ContextSnapshot{}));
        QCOMPARE(window.contextAvailability(),
                 QStringLiteral("Microphone status unavailable · Away detection unavailable · Activity status "
                                "unavailable. Manual protection still works."));
        ContextSnapshot context;
        context.microphoneActive = false;
        context.recentInputSeconds = 3.0;
        window.setContextAvailability(safeguards, context);
        QCOMPARE(window.contextAvailability(),
                 QStringLiteral("Away detection unavailable. Manual protection still works."));
    }

    void todaysFiguresFollowTheDayAndTheHistory()
    {
        SavedState state;
        DayTally tally(state, zone());
        state.drinks = {{QUuid::createUuid(), at(2024, 3, 4, 23, 30), 250},
                        {QUuid::createUuid(), at(2024, 3, 5, 0, 30), 300}};
        state.breakHistory = {{QUuid::createUuid(), ReminderKind::eyeRest, at(2024, 3, 5, 0, 10), 20}};
        QCOMPARE(tally.totalML(at(2024, 3, 4, 23, 59)), 250);
        QCOMPARE(tally.breaks(at(2024, 3, 5, 0, 0)), 1);
        QCOMPARE(tally.totalML(at(2024, 3, 5, 8, 0)), 300);
        state.drinks.append({QUuid::createUuid(), at(2024, 3, 5, 8, 0), 200});
        QCOMPARE(tally.totalML(at(2024, 3, 5, 8, 0)), 300);
        tally.historyChanged();
        QCOMPARE(tally.totalML(at(2024, 3, 5, 8, 0)), 500);
        QCOMPARE(tally.drinks(at(2024, 3, 5, 8, 0)).size(), 2);

        QVERIFY(tally.undoLastDrink(at(2024, 3, 5, 8, 0)));
        QVERIFY(tally.undoLastDrink(at(2024, 3, 5, 8, 0)));
        QVERIFY2(!tally.undoLastDrink(at(2024, 3, 5, 8, 0)), "yesterday's drinks are not undone");
        QCOMPARE(state.drinks.size(), 1);
        tally.logDrink(at(2024, 3, 5, 9, 0), 150);
        QCOMPARE(tally.totalML(at(2024, 3, 5, 9, 0)), 150);
    }

    void nestedActionsAnnounceTheirChangesOnce()
    {
        int announced = 0;
        ChangeBatcher changes([&] { ++announced; });
        changes.changed();
        QCOMPARE(announced, 1);
        {
            ChangeBatcher::Batch outer(changes);
            {
                ChangeBatcher::Batch inner(changes);
                changes.changed();
                changes.changed();
            }
            QCOMPARE(announced, 1);
        }
        QCOMPARE(announced, 2);
        {
            ChangeBatcher::Batch idle(changes);
        }
        QCOMPARE(announced, 2);
    }
};

QTEST_GUILESS_MAIN(StoreReadoutsTest)
#include "test_store_readouts.moc"
