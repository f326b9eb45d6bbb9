#include "support/StoreTesting.h"
#include "support/TableTesting.h"

#include "store/CompanionVisit.h"

#include <QtTest>

using namespace StoreTesting;

namespace {

// Counts what the visit asks of the store; "yes" to water logs a drink the way the store does.
struct FakeHost : VisitHost {
    SavedState& state;
    int saves = 0;
    int phasesBegun = 0;
    int panelHidden = 0;
    int drinks = 0;

    explicit FakeHost(SavedState& saved) : state(saved) { }
    void visitChanged() override { }
    void saveState() override { ++saves; }
    void historyChanged() override { }
    void recordDrink() override { ++drinks; }
    void hidePanel() override { ++panelHidden; }
    void phaseBegan() override { ++phasesBegun; }
};

// One visit on a saved state of its own, its breaks switched on, shown at `shown`.
struct Visit {
    SavedState state;
    ReminderSchedule schedule{state, zone()};
    FakeHost host{state};
    CompanionVisit visit{state, schedule, host, morning()};

    Visit()
    {
        state.preferences.breaks.eyeEnabled = true;
        state.preferences.breaks.movementEnabled = true;
    }
};

const QDateTime shown = morning();

QDateTime after(double seconds)
{
    return shown.addMSecs(qint64(seconds * 1000));
}

}  // namespace

class CompanionVisitTest : public QObject {
    Q_OBJECT

private slots:
    // Each timed phase ends at its length, not a moment before; the walk off after "Not yet"
    // is the slower sad walk.
    void phasesEndAtTheirLength_data()
    {
        addColumns<QString, double, double>("answer", "lasts", "walksOff");
        QTest::newRow("yes") << QStringLiteral("yes") << 4.8 << 2.0;
        QTest::newRow("not yet") << QStringLiteral("not yet") << 3.6 << 3.2;
    }
    void phasesEndAtTheirLength()
    {
        QFETCH(QString, answer);
        QFETCH(double, lasts);
        QFETCH(double, walksOff);
        Visit v;
        v.visit.show(ReminderKind::water, false, std::nullopt, shown);
        v.visit.walk(after(1.999));
        QCOMPARE(v.visit.phase(), CompanionPhase::entering);
        v.visit.walk(after(2.0));
        QCOMPARE(v.visit.phase(), CompanionPhase::asking);

        const QDateTime answered = after(10);
        answer == QStringLiteral("yes") ? v.visit.answerYes(answered) : v.visit.decline(answered);
        v.visit.walk(answered.addMSecs(qint64(lasts * 1000) - 1));
        QVERIFY(v.visit.phase() != CompanionPhase::leaving);
        const QDateTime leaving = answered.addMSecs(qint64(lasts * 1000));
        v.visit.walk(leaving);
        QCOMPARE(v.visit.phase(), CompanionPhase::leaving);
        v.visit.walk(leaving.addMSecs(qint64(walksOff * 1000) - 1));
        QVERIFY(v.visit.visible());
        v.visit.walk(leaving.addMSecs(qint64(walksOff * 1000)));
        QVERIFY(!v.visit.visible() && v.host.panelHidden == 1);
        QCOMPARE(v.host.phasesBegun, 4);
    }

    void anUnansweredWaterReminderAsksAgainAtThePersonalitysPaceTwiceAtMost_data()
    {
        addColumns<Personality, int>("personality", "retrySeconds");
        QTest::newRow("sweet") << Personality::sweet << 600;
        QTest::newRow("menace") << Personality::menace << 120;
    }
    void anUnansweredWaterReminderAsksAgainAtThePersonalitysPaceTwiceAtMost()
    {
        QFETCH(Personality, personality);
        QFETCH(int, retrySeconds);
        Visit v;
        v.state.preferences.personality = personality;
        v.visit.show(ReminderKind::water, false, std::nullopt, shown);
        v.visit.walk(after(2));
        for (const auto& [seconds, stage] :
             {std::pair{retrySeconds - 1, 0}, {retrySeconds, 1}, {2 * retrySeconds, 2}, {10 * retrySeconds, 2}}) {
            v.visit.walk(after(2 + seconds));
            QCOMPARE(v.visit.stage(), stage);
        }

        Visit eyes;
        eyes.visit.show(ReminderKind::eyeRest, false, std::nullopt, shown);
        eyes.visit.walk(after(2));
        eyes.visit.walk(after(2 + 10 * retrySeconds));
        QVERIFY2(eyes.visit.stage() == 0 && eyes.visit.isWaiting(), "a break reminder waits without asking again");
    }

    void aBreakCountsDownRoundedUpAndIsRecordedWithItsLength()
    {
        Visit v;
        v.state.preferences.breaks.movementDurationMinutes = 2;
        v.visit.show(ReminderKind::movement, false, std::nullopt, shown);
        v.visit.answerYes(shown);
        QCOMPARE(v.state.activeBreakKind, ReminderKind::movement);
        QCOMPARE(v.visit.breakRemaining(after(0.2)), 120);
        QCOMPARE(v.visit.breakRemaining(after(118.5)), 2);
        v.visit.extendBreak(-5);
        QCOMPARE(v.visit.breakRemaining(after(120.5)), 1);
        QCOMPARE(v.visit.breakRemaining(after(500)), 0);

        v.visit.walk(after(121));
        QVERIFY(!v.visit.visible() && !v.state.activeBreakKind);
        QCOMPARE(v.state.breakHistory.size(), 1);
        QCOMPARE(v.state.breakHistory.first().seconds, 121);
        QCOMPARE(v.state.nextMovementDue, std::optional(after(121 + 60 * 60)));
        QVERIFY(v.schedule.isHeldBack(after(121 + 59)));
    }

    void skippingOrSteppingAwayRecordsNoBreak()
    {
        Visit v;
        v.visit.show(ReminderKind::eyeRest, false, std::nullopt, shown);
        v.visit.startBreak(shown);
        v.visit.stepAway(after(5));
        QVERIFY2(v.visit.visible() && v.visit.breakEndsAt(), "the break goes on behind the hidden panel");
        QCOMPARE(v.host.panelHidden, 1);
        v.visit.skipBreak(after(8));
        QVERIFY(!v.visit.visible() && v.state.breakHistory.isEmpty() && !v.state.activeBreakKind);
        QCOMPARE(v.state.nextEyeDue, std::optional(after(8 + 20 * 60)));
    }

    void aPreviewLogsMovesAndSavesNothing()
    {
        Visit v;
        const SavedState before = v.state;
        v.visit.show(ReminderKind::water, true, QStringLiteral("sprout"), shown);
        QCOMPARE(v.visit.previewCompanionID(), QStringLiteral("sprout"));
        v.visit.answerYes(shown);
        QCOMPARE(v.visit.phase(), CompanionPhase::celebrating);
        v.visit.dismiss(after(1));
        v.visit.show(ReminderKind::eyeRest, true, std::nullopt, after(2));
        v.visit.decline(after(2));
        v.visit.show(ReminderKind::movement, true, std::nullopt, after(3));
        v.visit.startBreak(after(3));
        v.visit.finishBreak(after(4));
        QCOMPARE(v.state, before);
        QVERIFY(v.host.drinks == 0 && v.host.saves == 0);
        QVERIFY(!v.schedule.isHeldBack(after(5)));
    }
};

QTEST_GUILESS_MAIN(CompanionVisitTest)
#include "test_companion_visit.moc"
