#include "support/ModelTesting.h"
#include "support/StoreTesting.h"
#include "support/TableTesting.h"

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

    // A movement break that runs to its end is recorded as movement, with its length, on disk.
    void aFinishedMovementBreakIsSavedAsMovement()
    {
        auto s = startedStore(folder.path());
        s->update([](Preferences& p) {
            p.intervalMinutes = 180;
            p.breaks.movementEnabled = true;
            p.breaks.movementDurationMinutes = 3;
        });
        s->tick(*s->state().nextMovementDue);
        QVERIFY(s->reminderVisible() && s->reminderKind() == ReminderKind::movement);
        s->answerYes();
        s->tick(*s->breakEndsAt());
        const QList<BreakRecord> saved = savedState(folder.path()).breakHistory;
        QCOMPARE(saved.size(), 1);
        QCOMPARE(saved.first().kind, ReminderKind::movement);
        QCOMPARE(saved.first().seconds, 180);
    }

    void anAnswerMovesOnlyItsOwnKind_data()
    {
        addColumns<ReminderKind, bool, int>("kind", "snooze", "seconds");
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

    void outOfRangeSettingsAreBroughtIntoRange_data()
    {
        addColumns<QByteArray, Preferences>("preferences", "expected");
        Preferences low;
        low.intervalMinutes = 5;
        low.dailyGoal = 1;
        low.glassML = 50;
        low.focusMinutes = 5;
        low.quietStart = 0;
        low.quietEnd = 0;
        low.breaks = {true, 10, 20, true, 30, 1};
        low.safeguards.idleMinutes = 5;
        QTest::newRow("zero and below") << QByteArray(R"({"intervalMinutes": 0, "dailyGoal": 0, "glassML": -250,
            "focusMinutes": 0, "quietStart": -1, "quietEnd": -30, "companionID": "", "breaks": {"eyeEnabled": true,
            "eyeIntervalMinutes": 0, "eyeDurationSeconds": -20, "movementEnabled": true,
            "movementIntervalMinutes": 1, "movementDurationMinutes": 0}, "safeguards": {"idleMinutes": 0}})")
                                        << low;
        Preferences high;
        high.intervalMinutes = 180;
        high.dailyGoal = 20;
        high.glassML = 1000;
        high.focusMinutes = 240;
        high.quietStart = 23;
        high.quietEnd = 23;
        high.recipient = QString(80, u'r');
        high.sender = QString(80, u's');
        high.loveNote = QString(1000, u'n');
        high.breaks = {false, 120, 120, false, 180, 15};
        high.safeguards.idleMinutes = 15;
        high.safeguards.protectedApps = {QStringLiteral("org.gnome.Calls"), QStringLiteral("org.kde.kdenlive")};
        QTest::newRow("huge") << (R"({"intervalMinutes": 100000, "dailyGoal": 1e300, "glassML": 5000,
            "focusMinutes": 10000, "quietStart": 24, "quietEnd": 99, "recipient": ")"
                                  + QByteArray(200, 'r') + R"(", "sender": ")" + QByteArray(200, 's')
                                  + R"(", "loveNote": ")" + QByteArray(3000, 'n')
                                  + R"(", "breaks": {"eyeIntervalMinutes": 1000,
            "eyeDurationSeconds": 1000, "movementIntervalMinutes": 1000, "movementDurationMinutes": 60},
            "safeguards": {"idleMinutes": 60,
            "protectedApps": [" org.kde.kdenlive ", "", "org.gnome.Calls", "org.kde.kdenlive"]}})")
                              << high;
    }
    // A hand-edited file and a care package go through the same limits: an interval of 0 would
    // otherwise remind on every tick.
    void outOfRangeSettingsAreBroughtIntoRange()
    {
        QFETCH(QByteArray, preferences);
        QFETCH(Preferences, expected);
        ModelTesting::writeFile(QDir(folder.path()).filePath(QStringLiteral("state.json")),
                                R"({"schemaVersion": 2, "tourVersion": 1, "preferences": )" + preferences + '}');
        QCOMPARE(openStore(folder.path())->preferences(), expected);

        QTemporaryDir elsewhere;
        const QString package = elsewhere.filePath(QStringLiteral("package.json"));
        ModelTesting::writeFile(package, preferences);
        auto receiver = startedStore(elsewhere.path());
        receiver->chooseFileToOpen = [&](const QString&, const QString&) { return std::optional(package); };
        receiver->importGiftSettings();
        expected.safeguards = SafeguardPreferences{};
        QCOMPARE(receiver->preferences(), expected);
        QCOMPARE(receiver->state().nextDue, receiver->now().addSecs(expected.intervalMinutes * 60));
    }

    // A glass logged from the popover answers a water reminder on screen, never a break.
    void aGlassAnswersOnlyAWaterReminder()
    {
        for (ReminderKind kind : allReminderKinds) {
            cleanup();
            auto s = startedStore(folder.path());
            s->showReminder(false, kind);
            s->drink();
            QCOMPARE(s->phase() == CompanionPhase::celebrating, kind == ReminderKind::water);
            QCOMPARE(s->state().drinks.size(), 1);
        }
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
