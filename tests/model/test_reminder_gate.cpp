#include "model/ReminderGate.h"

#include <QTest>

namespace {

using Cause = GateDecision::Cause;

const QDateTime noon(QDate(2024, 6, 12), QTime(12, 0), Qt::UTC);
const QDateTime midnight(QDate(2024, 6, 12), QTime(0, 30), Qt::UTC);

struct Situation {
    QDateTime now = noon;
    SavedState state;
    ContextSnapshot context;
};

// Every suppression holds at once; each step below lifts the one that should have won.
Situation everythingHolds()
{
    Situation s;
    s.now = midnight;
    SafeguardPreferences& guard = s.state.preferences.safeguards;
    guard = {true, true, 10, true, true, {QStringLiteral("org.gnome.Calls")}, true};
    s.state.preferences.enabled = false;
    s.state.pausedUntil = noon.addSecs(3600);
    s.state.focusIndefinite = true;
    s.state.meetingUntil = noon.addSecs(3600);
    s.context = {true, true, 1.0, 3600.0, true, true, QStringLiteral("org.gnome.Calls"), true};
    return s;
}

struct Step {
    Cause cause;
    const char* reason;
    void (*lift)(Situation&);
};

const Step precedence[] = {
    {Cause::locked, "Screen locked · waiting for you", [](Situation& s) { s.context.isLocked = false; }},
    {Cause::asleep, "Sleeping · see you soon", [](Situation& s) { s.context.isSleeping = false; }},
    {Cause::remindersOff, "Reminders are off", [](Situation& s) { s.state.preferences.enabled = true; }},
    {Cause::paused, "On pause", [](Situation& s) { s.state.pausedUntil = s.now; }},
    {Cause::focus, "Focus mode", [](Situation& s) { s.state.focusIndefinite = false; }},
    {Cause::meeting, "Meeting / presentation", [](Situation& s) { s.state.meetingUntil = s.now.addSecs(-1); }},
    {Cause::quietHours, "Quiet hours · sleep well", [](Situation& s) { s.now = noon; }},
    {Cause::away, "Away from the keyboard · waiting for you", [](Situation& s) { s.context.inputIdleSeconds = 599.0; }},
    {Cause::microphone, "Microphone in use · staying quiet",
     [](Situation& s) { s.context.microphoneActive = std::nullopt; }},
    {Cause::mirroring, "Screen mirrored · staying off the big screen",
     [](Situation& s) { s.state.preferences.safeguards.mirrorGuard = false; }},
    {Cause::protectedApp, "Protected app in front",
     [](Situation& s) { s.context.frontmostBundleID = QStringLiteral("org.gnome.Calls.Other"); }},
    {Cause::systemFocus, "Do Not Disturb is on", [](Situation& s) { s.context.systemFocused = false; }},
    {Cause::typing, "Delayed while you work · 2 minutes", [](Situation& s) { s.context.recentInputSeconds = 5.0; }},
};

GateDecision evaluate(const Situation& s)
{
    return ReminderGate::evaluate(s.now, s.state, s.context, QTimeZone::utc());
}

}  // namespace

class TestReminderGate : public QObject {
    Q_OBJECT

private slots:
    void suppressionsWinInTheirOrder()
    {
        Situation s = everythingHolds();
        for (const Step& step : precedence) {
            const GateDecision decision = evaluate(s);
            QCOMPARE(decision.cause, step.cause);
            QCOMPARE(decision.reason, QString::fromUtf8(step.reason));
            step.lift(s);
        }
        QVERIFY(evaluate(s).allowed());
    }

    // A safeguard that is off ignores its reading; one that is on holds back from its exact limit.
    void eachSafeguardHoldsBackOnlyWhenOn()
    {
        Situation s;
        s.context = {false, false, 0.0, 86400.0, true, true, QStringLiteral("org.gnome.Calls"), true};
        QVERIFY(evaluate(s).allowed());

        SafeguardPreferences& guard = s.state.preferences.safeguards;
        guard.protectedApps = {QStringLiteral("org.gnome.Calls")};
        QCOMPARE(evaluate(s).cause, Cause::protectedApp);
        guard.protectedApps.clear();
        guard.pauseWhenIdle = true;
        guard.idleMinutes = 7;
        for (const auto& [idle, cause] : {std::pair{419.5, Cause::none}, {420.0, Cause::away}}) {
            s.context.inputIdleSeconds = idle;
            QCOMPARE(evaluate(s).cause, cause);
        }
    }
};

QTEST_GUILESS_MAIN(TestReminderGate)
#include "test_reminder_gate.moc"
