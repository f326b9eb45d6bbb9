// What a change of preferences does to a reminder that is planned or already on screen.
#include "support/StoreTesting.h"
#include "support/TableTesting.h"

#include <QtTest>

using namespace StoreTesting;

namespace {

using Change = std::function<void(Preferences&)>;

const Change quietOff = [](Preferences& p) { p.quietEnabled = false; };
const Change quietEndsAtSeven = [](Preferences& p) { p.quietEnd = 7; };
const Change quietEndsAtTen = [](Preferences& p) { p.quietEnd = 10; };
const Change quietFromEleven = [](Preferences& p) { p.quietStart = 23; };
const Change remindersOff = [](Preferences& p) { p.enabled = false; };
const Change quietFromTen = [](Preferences& p) { p.quietStart = 10; };
const Change biggerGlass = [](Preferences& p) { p.glassML = 300; };

// What happened between the drink and the change.
enum class Before { nothing, away, restart };

// A store reopened plans from the real clock, so these evenings lie a week ahead of it.
QDateTime nextWeek(int dayAfter, int hour, int minute = 0)
{
    const QDate day = QDate::currentDate().addDays(7 + dayAfter);
    return at(day.year(), day.month(), day.day(), hour, minute);
}

}  // namespace

Q_DECLARE_METATYPE(Change)
Q_DECLARE_METATYPE(Before)

class PreferenceChangesTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir folder;

private slots:
    void init() { QVERIFY(folder.isValid()); }
    void cleanup() { QDir(folder.path()).removeRecursively(); }

    // Quiet hours 22:00 to 09:00 and a 45-minute interval: a drink at 21:50 plans the next
    // reminder for 22:35, which quiet hours push to 09:00.
    void quietHoursChangedAfterTheyPushedAReminder_data()
    {
        addColumns<Change, QDateTime, Before, QDateTime>("change", "changedAt", "before", "expected");
        const QDateTime evening = nextWeek(0, 22, 50);
        const QDateTime planned = nextWeek(0, 22, 35);
        QTest::newRow("switched off: due as planned") << quietOff << evening << Before::nothing << planned;
        QTest::newRow("ending earlier") << quietEndsAtSeven << evening << Before::nothing << nextWeek(1, 7);
        QTest::newRow("ending later") << quietEndsAtTen << evening << Before::nothing << nextWeek(1, 10);
        QTest::newRow("starting after the plan")
            << quietFromEleven << nextWeek(0, 22, 20) << Before::nothing << planned;
        QTest::newRow("switched off after the screen was locked") << quietOff << evening << Before::away << planned;
        // Where the reminder was planned died with the process: a full interval from now.
        QTest::newRow("switched off after a restart") << quietOff << evening << Before::restart << nextWeek(0, 23, 35);
        QTest::newRow("ending earlier after a restart")
            << quietEndsAtSeven << evening << Before::restart << nextWeek(1, 7);
        QTest::newRow("another setting") << biggerGlass << evening << Before::nothing << nextWeek(1, 9);
    }

    void quietHoursChangedAfterTheyPushedAReminder()
    {
        QFETCH(Change, change);
        QFETCH(QDateTime, changedAt);
        QFETCH(Before, before);
        QFETCH(QDateTime, expected);
        auto store = startedStore(folder.path(), nextWeek(0, 21, 50));
        store->drink();
        QCOMPARE(store->state().nextDue, nextWeek(1, 9));
        if (before == Before::restart)
            store = openStore(folder.path());
        if (before == Before::away) {
            store->suppressForSystemAbsence();
            store->resumeAfterAbsence(nextWeek(0, 22, 40));
        }

        store->tick(changedAt);
        store->update(change);
        QCOMPARE(store->state().nextDue, expected);
        store->save();
        QCOMPARE(openStore(folder.path())->state().nextDue, expected);
        if (expected <= changedAt) {
            store->tick(changedAt.addSecs(1));
            QVERIFY(store->reminderVisible());
        }
    }

    void aReminderNotPushedStaysWhereItWas()
    {
        auto store = startedStore(folder.path(), at(2024, 3, 4, 20, 0));
        store->drink();
        const QDateTime due = at(2024, 3, 4, 20, 45);
        QCOMPARE(store->state().nextDue, due);
        store->tick(at(2024, 3, 4, 20, 10));
        store->update(quietOff);
        QCOMPARE(store->state().nextDue, due);
        // Quiet hours switched on again cover it: pushed to their end, and back when switched off.
        store->update([](Preferences& p) {
            p.quietEnabled = true;
            p.quietStart = 20;
        });
        QCOMPARE(store->state().nextDue, at(2024, 3, 5, 9, 0));
        store->update(quietOff);
        QCOMPARE(store->state().nextDue, due);
    }

    void aReminderOnScreenWhenRemindersStop_data()
    {
        addColumns<bool, Change, bool>("preview", "change", "stays");
        for (const bool preview : {false, true}) {
            const char* kind = preview ? "preview" : "live";
            QTest::addRow("%s, reminders switched off", kind) << preview << remindersOff << false;
            QTest::addRow("%s, quiet hours begin", kind) << preview << quietFromTen << false;
            QTest::addRow("%s, another setting", kind) << preview << biggerGlass << true;
        }
    }

    void aReminderOnScreenWhenRemindersStop()
    {
        QFETCH(bool, preview);
        QFETCH(Change, change);
        QFETCH(bool, stays);
        auto store = startedStore(folder.path());
        int dismissals = 0;
        store->onDismiss = [&dismissals] { ++dismissals; };
        if (preview)
            store->showReminder(true, ReminderKind::water);
        else
            store->tick(store->state().nextDue);
        QVERIFY(store->reminderVisible());
        store->update(change);
        QCOMPARE(store->reminderVisible(), stays);
        QCOMPARE(dismissals, stays ? 0 : 1);
    }

    void aPreviewShownDuringQuietHoursStaysThroughOtherChanges()
    {
        auto store = startedStore(folder.path(), at(2024, 3, 4, 23, 0));
        store->showReminder(true, ReminderKind::water);
        QVERIFY(store->reminderVisible());
        store->update(biggerGlass);
        QVERIFY(store->reminderVisible());
        store->update(remindersOff);
        QVERIFY(!store->reminderVisible());
    }
};

QTEST_GUILESS_MAIN(PreferenceChangesTest)
#include "test_preference_changes.moc"
