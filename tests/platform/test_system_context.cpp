#include "model/Preferences.h"
#include "platform/SystemContext.h"
#include "support/FakeReadings.h"
#include "support/TableTesting.h"

#include <QSignalSpy>
#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(std::optional<bool>)
Q_DECLARE_METATYPE(FocusAuthorization)

namespace {

struct Watched {
    Fakes fakes;
    SystemContext context{std::move(fakes.all)};
    int suppressions = 0;
    int resumptions = 0;

    Watched()
    {
        context.onSuppress = [this] { ++suppressions; };
        context.onResume = [this] { ++resumptions; };
    }
    ContextSnapshot read(bool activity, bool idle, bool microphone, bool focus = false)
    {
        return context.snapshot({.activity = activity, .idle = idle, .microphone = microphone, .followFocus = focus});
    }
};

}  // namespace

class TestSystemContext : public QObject {
    Q_OBJECT

private slots:
    void displaysThenSystemSleepResumeOnceAtDisplayWake()
    {
        Watched watched;
        QSignalSpy changes(&watched.context, &SystemContext::changed);
        watched.fakes.displaySleep->send(true);
        watched.fakes.systemSleep->send(true);
        watched.fakes.systemSleep->send(false);
        QCOMPARE(watched.resumptions, 0);
        QVERIFY(watched.context.sleeping());
        watched.fakes.displaySleep->send(false);
        QCOMPARE(watched.suppressions, 3);
        QCOMPARE(watched.resumptions, 1);
        QVERIFY(!watched.context.sleeping());
        QCOMPARE(changes.count(), 2);
    }

    void lockDuringAnInactiveSession()
    {
        Watched watched;
        watched.fakes.sessionActive->send(false);
        watched.fakes.lock->send(true);
        watched.fakes.lock->send(false);  // unlocked while still inactive: no return yet
        QVERIFY2(watched.read(false, false, false).isLocked, "a session switched away from counts as locked");
        watched.fakes.lock->send(true);
        watched.fakes.sessionActive->send(true);
        QCOMPARE(watched.suppressions, 3);
        QCOMPARE(watched.resumptions, 0);
        QVERIFY(watched.read(false, false, false).isLocked);
        watched.fakes.lock->send(false);
        QCOMPARE(watched.resumptions, 1);
        QVERIFY(!watched.read(false, false, false).isLocked);
    }

    void eachFlagTakesOnlyItsReading()
    {
        for (int mask = 0; mask < 64; ++mask) {
            const auto flag = [mask](int bit) { return (mask & (1 << bit)) != 0; };
            const auto only = [&](int bit, auto value) { return flag(bit) ? std::optional(value) : std::nullopt; };
            Watched watched;
            const Fakes& fakes = watched.fakes;
            fakes.displaySleep->send(true);
            const int focusReads = fakes.doNotDisturb->reads;
            const ContextSnapshot snapshot = watched.context.snapshot({.activity = flag(0),
                                                                       .idle = flag(1),
                                                                       .microphone = flag(2),
                                                                       .mirroring = flag(3),
                                                                       .selectedApps = flag(4),
                                                                       .followFocus = flag(5)});
            const QByteArray row = "flags " + QByteArray::number(mask, 2);
            QVERIFY2(snapshot.recentInputSeconds == only(0, 2.5) && snapshot.inputIdleSeconds == only(1, 30.0), row);
            QVERIFY2(snapshot.microphoneActive == only(2, true) && snapshot.screenMirrored == flag(3), row);
            QVERIFY2(snapshot.frontmostBundleID == only(4, u"org.gnome.Calculator"_s), row);
            QVERIFY2(snapshot.systemFocused == only(5, true) && snapshot.isSleeping && !snapshot.isLocked, row);
            const int reads[] = {fakes.keyOrClick->reads,       fakes.idle->reads,
                                 fakes.microphone->reads,       fakes.mirroring->reads,
                                 fakes.frontApplication->reads, fakes.doNotDisturb->reads - focusReads};
            for (int bit = 0; bit < 6; ++bit)
                QVERIFY2(reads[bit] == int(flag(bit)), row);
        }
    }

    void eachSafeguardAsksForItsReading()
    {
        using Switch = std::function<void(SafeguardPreferences&)>;
        const std::pair<Switch, SnapshotOptions> rows[] = {
            {[](SafeguardPreferences&) {}, {}},
            {[](SafeguardPreferences& s) { s.idleMinutes = 15; }, {}},
            {[](SafeguardPreferences& s) { s.flowDelay = true; }, {.activity = true}},
            {[](SafeguardPreferences& s) { s.pauseWhenIdle = true; }, {.idle = true}},
            {[](SafeguardPreferences& s) { s.microphoneGuard = true; }, {.microphone = true}},
            {[](SafeguardPreferences& s) { s.mirrorGuard = true; }, {.mirroring = true}},
            {[](SafeguardPreferences& s) { s.protectedApps = {u"org.gnome.Calculator"_s}; }, {.selectedApps = true}},
            {[](SafeguardPreferences& s) { s.followSystemFocus = true; }, {.followFocus = true}},
        };
        for (const auto& [switchOn, expected] : rows) {
            SafeguardPreferences safeguards;
            switchOn(safeguards);
            QVERIFY(SnapshotOptions::forSafeguards(safeguards) == expected);
        }
    }

    void unusableInputTimesAndTheMicrophonesThreeAnswers()
    {
        for (double bad : {-1.0, std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()}) {
            Watched watched;
            watched.fakes.keyOrClick->seconds = bad;
            watched.fakes.idle->seconds = bad;
            const ContextSnapshot snapshot = watched.read(true, true, false);
            QVERIFY(!snapshot.recentInputSeconds && !snapshot.inputIdleSeconds);
        }
        for (const std::optional<bool> inUse : {std::optional<bool>(), std::optional(false), std::optional(true)}) {
            Watched watched;
            watched.fakes.microphone->inUse = inUse;
            QCOMPARE(watched.read(false, false, true).microphoneActive, inUse);
        }
    }

    void focusSentences_data()
    {
        addColumns<FocusAuthorization, std::optional<bool>, QString, std::optional<bool>>("authorization", "on",
                                                                                          "sentence", "focused");
        const std::optional<bool> none;
        QTest::newRow("following") << FocusAuthorization::authorized << std::optional(false)
                                   << u"Following your desktop's Do Not Disturb."_s << std::optional(false);
        QTest::newRow("nothing shared")
            << FocusAuthorization::authorized << none
            << u"Focus sharing is allowed but no status is shared. Manual Focus still works."_s << none;
        QTest::newRow("not looked for") << FocusAuthorization::notDetermined << std::optional(true)
                                        << u"Focus sharing hasn't been allowed yet. Manual Focus still works."_s
                                        << none;
        QTest::newRow("no source")
            << FocusAuthorization::restricted << std::optional(true)
            << u"Do Not Disturb status is unavailable on this desktop. Manual Focus still works."_s << none;
        QTest::newRow("refused") << FocusAuthorization::denied << std::optional(true)
                                 << u"Do Not Disturb can't be read on this desktop. Manual Focus still works."_s
                                 << none;
    }

    void focusSentences()
    {
        QFETCH(FocusAuthorization, authorization);
        QFETCH(std::optional<bool>, on);
        Watched watched;
        watched.fakes.doNotDisturb->current = authorization;
        watched.fakes.doNotDisturb->on = on;
        const QString before = watched.context.focusStatusText();
        QSignalSpy changes(&watched.context, &SystemContext::changed);
        QTEST(watched.read(false, false, false, true).systemFocused, "focused");
        QTEST(watched.context.focusStatusText(), "sentence");
        QCOMPARE(changes.count(), int(before != watched.context.focusStatusText()));
    }
};

QTEST_GUILESS_MAIN(TestSystemContext)
#include "test_system_context.moc"
