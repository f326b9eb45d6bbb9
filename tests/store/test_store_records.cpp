#include "support/StoreTesting.h"

#include <QtTest>

using namespace StoreTesting;

namespace {

std::optional<QDateTime> deadline(const SavedState& state, ReminderKind kind)
{
    switch (kind) {
    case ReminderKind::water:
        return state.nextDue;
    case ReminderKind::eyeRest:
        return state.nextEyeDue;
    case ReminderKind::movement:
        return state.nextMovementDue;
    }
    return std::nullopt;
}

void setDeadline(SavedState& state, ReminderKind kind, const QDateTime& date)
{
    if (kind == ReminderKind::water)
        state.nextDue = date;
    else
        (kind == ReminderKind::eyeRest ? state.nextEyeDue : state.nextMovementDue) = date;
}

// Lets a companion that was answered finish its walk.
void settle(DewbellStore& store)
{
    runUntil(store, store.now().addSecs(10));
}

}  // namespace

// Which records the user's actions touch, that each is on disk at once, and what a restart keeps.
class StoreRecordsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir folder;

private slots:
    void init() { QVERIFY(folder.isValid()); }
    void cleanup() { QDir(folder.path()).removeRecursively(); }

    // A crash or a logout may come right after any action: none may wait for the quit.
    void everyActionIsOnDiskAtOnce()
    {
        auto s = startedStore(folder.path());
        s->update([](Preferences& p) {
            p.intervalMinutes = 180;
            p.breaks.eyeEnabled = true;
        });
        const auto nextEyeRest = [&s] { s->tick(*s->state().nextEyeDue); };
        const std::pair<const char*, std::function<void()>> steps[] = {
            {"a drink", [&] { s->drink(); }},
            {"undo", [&] { s->undo(); }},
            {"a break started",
             [&] {
                 nextEyeRest();
                 s->answerYes();
             }},
            {"the break's record", [&] { s->tick(*s->breakEndsAt()); }},
            {"a snooze",
             [&] {
                 nextEyeRest();
                 s->snooze();
             }},
            {"not yet",
             [&] {
                 nextEyeRest();
                 s->decline();
                 settle(*s);
             }},
            {"a skipped break",
             [&] {
                 nextEyeRest();
                 s->skipBreak();
             }},
            {"a pause", [&] { s->pause(); }},
            {"resume", [&] { s->resume(); }},
            {"focus", [&] { s->startFocus(30); }},
            {"end focus", [&] { s->endFocus(); }},
            {"a meeting", [&] { s->startMeeting(std::nullopt); }},
            {"end meeting", [&] { s->endMeeting(); }},
            {"a typing delay",
             [&] {
                 s->update([](Preferences& p) { p.safeguards.flowDelay = true; });
                 s->contextProvider = readings([](ContextSnapshot& c) { c.recentInputSeconds = 0.5; });
                 nextEyeRest();
             }},
        };
        for (const auto& [name, act] : steps) {
            const SavedState before = s->state();
            act();
            QVERIFY2(s->state() != before, name);
            QVERIFY2(savedState(folder.path()) == s->state(), name);
        }
    }

    void anAnswerMovesOnlyItsOwnKind_data()
    {
        QTest::addColumn<ReminderKind>("kind");
        QTest::addColumn<bool>("snooze");
        QTest::addColumn<int>("seconds");
        QTest::newRow("water, not yet") << ReminderKind::water << false << 600;
        QTest::newRow("eye rest, not yet") << ReminderKind::eyeRest << false << 300;
        QTest::newRow("eye rest, snooze") << ReminderKind::eyeRest << true << 300;
        QTest::newRow("movement, not yet") << ReminderKind::movement << false << 300;
        QTest::newRow("movement, snooze") << ReminderKind::movement << true << 300;
    }
    void anAnswerMovesOnlyItsOwnKind()
    {
        QFETCH(ReminderKind, kind);
        QFETCH(bool, snooze);
        QFETCH(int, seconds);
        auto s = startedStore(folder.path());
        s->update([](Preferences& p) {
            p.breaks.eyeEnabled = true;
            p.breaks.movementEnabled = true;
        });
        const QDateTime shown = morning().addSecs(60);
        s->mutateState([&](SavedState& state) { setDeadline(state, kind, shown); });
        const SavedState before = s->state();
        s->tick(shown);
        QVERIFY(s->reminderVisible() && s->reminderKind() == kind);
        snooze ? s->snooze() : s->decline();
        for (ReminderKind other : allReminderKinds) {
            const auto expected = other == kind ? std::optional(shown.addSecs(seconds)) : deadline(before, other);
            QCOMPARE(deadline(s->state(), other), expected);
        }
        QVERIFY(s->state().drinks.isEmpty() && s->state().breakHistory.isEmpty());
    }

    // The water reminder is due at 10:45; Dewbell restarts at 10:10 in the middle of something.
    void aRestartKeepsWhatTheUserStarted()
    {
        struct Underway {
            const char* name;
            std::function<void(DewbellStore&)> start;
            const char* status;
            // When the reminder first shows after the restart; none: not even by 13:00.
            std::optional<QDateTime> firstShows;
        };
        const QDateTime eleven = at(2024, 3, 4, 11, 0);
        const Underway cases[] = {
            {"timed focus", [](DewbellStore& s) { s.startFocus(60); }, "Focus until ", eleven},
            {"focus until ended", [](DewbellStore& s) { s.startFocus(std::nullopt); }, "Focus · until you end it", {}},
            {"timed meeting", [](DewbellStore& s) { s.startMeeting(60); }, "Meeting / presentation protection", eleven},
            {"meeting until ended",
             [](DewbellStore& s) { s.startMeeting(std::nullopt); },
             "Meeting / presentation protection",
             {}},
            {"a pause", [](DewbellStore& s) { s.pause(); }, "Paused until ", eleven},
            {"reminders off",
             [](DewbellStore& s) { s.update([](Preferences& p) { p.enabled = false; }); },
             "Reminders are off",
             {}},
        };
        for (const Underway& c : cases) {
            cleanup();
            c.start(*startedStore(folder.path()));
            auto s = restartedAt(folder.path(), at(2024, 3, 4, 10, 10));
            QVERIFY2(s->status().startsWith(QString::fromUtf8(c.status)), c.name);
            if (c.firstShows) {
                QVERIFY2(showsFirstAt(*s, *c.firstShows), c.name);
            } else {
                s->tick(at(2024, 3, 4, 13, 0));
                QVERIFY2(!s->reminderVisible(), c.name);
            }
        }
    }

    // An escalated reminder does not greet the user again at once: it starts over a full interval
    // after the restart.
    void anEscalatedReminderStartsOverAfterARestart()
    {
        auto s = startedStore(folder.path());
        s->tick(at(2024, 3, 4, 10, 45));
        runUntil(*s, at(2024, 3, 4, 10, 56));
        QCOMPARE(s->stage(), 2);
        s = restartedAt(folder.path(), at(2024, 3, 4, 11, 0));
        QVERIFY(!s->reminderVisible());
        QVERIFY(showsFirstAt(*s, at(2024, 3, 4, 11, 45)));
        QCOMPARE(s->stage(), 0);
    }
};

QTEST_GUILESS_MAIN(StoreRecordsTest)
#include "test_store_records.moc"
