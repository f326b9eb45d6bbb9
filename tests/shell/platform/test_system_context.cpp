#include "FakeReadings.h"
#include "SystemContext.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

Q_DECLARE_METATYPE(std::optional<bool>)
Q_DECLARE_METATYPE(FocusAuthorization)

namespace {

struct Watched {
    Fakes fakes;
    SystemContext context{fakes.readings()};
    int suppressions = 0;
    int resumptions = 0;

    Watched()
    {
        context.onSuppress = [this] { ++suppressions; };
        context.onResume = [this] { ++resumptions; };
    }
};

} // namespace

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
        QCOMPARE(watched.suppressions, 3);
        QCOMPARE(watched.resumptions, 0);
        QVERIFY(watched.context.sleeping());

        watched.fakes.displaySleep->send(false);
        QCOMPARE(watched.suppressions, 3);
        QCOMPARE(watched.resumptions, 1);
        QVERIFY(!watched.context.sleeping());
        QCOMPARE(changes.count(), 2);

        // With nothing holding the user away, every return resumes.
        watched.fakes.systemSleep->send(false);
        QCOMPARE(watched.resumptions, 2);
    }

    void lockDuringAnInactiveSession()
    {
        Watched watched;
        watched.fakes.sessionActive->send(false);
        QVERIFY(watched.context.sessionInactive());
        QVERIFY(watched.context.snapshot(false, false, false, false, false, false).isLocked);
        watched.fakes.lock->send(true);
        watched.fakes.lock->send(false);
        QCOMPARE(watched.resumptions, 0);
        watched.fakes.lock->send(true);
        QCOMPARE(watched.suppressions, 3);

        watched.fakes.sessionActive->send(true);
        QCOMPARE(watched.resumptions, 0);
        QVERIFY(watched.context.snapshot(false, false, false, false, false, false).isLocked);

        watched.fakes.lock->send(false);
        QCOMPARE(watched.resumptions, 1);
        QVERIFY(!watched.context.snapshot(false, false, false, false, false, false).isLocked);
    }

    void unlockWaitsForTheSystemAndDisplaysToWake()
    {
        Watched watched;
        watched.fakes.lock->send(true);
        QVERIFY(watched.context.locked());
        QVERIFY(watched.context.snapshot(false, false, false, false, false, false).isLocked);
        watched.fakes.displaySleep->send(true);
        watched.fakes.lock->send(false);
        QCOMPARE(watched.resumptions, 0);
        watched.fakes.displaySleep->send(false);
        QCOMPARE(watched.resumptions, 1);
    }

    // All flags off: only the service's own flags are read.
    void eachFlagTakesOnlyItsReading()
    {
        for (int mask = 0; mask < 64; ++mask) {
            const auto flag = [mask](int bit) { return (mask & (1 << bit)) != 0; };
            Watched watched;
            watched.fakes.displaySleep->send(true);
            const int focusReads = watched.fakes.doNotDisturb->reads;
            const ContextSnapshot snapshot =
                watched.context.snapshot(flag(0), flag(1), flag(2), flag(3), flag(4), flag(5));
            const QByteArray row = "flags " + QByteArray::number(mask, 2);
            QVERIFY2(snapshot.recentInputSeconds == (flag(0) ? std::optional(2.5) : std::nullopt), row);
            QVERIFY2(snapshot.inputIdleSeconds == (flag(1) ? std::optional(30.0) : std::nullopt), row);
            QVERIFY2(snapshot.microphoneActive == (flag(2) ? std::optional(true) : std::nullopt), row);
            QVERIFY2(snapshot.screenMirrored == flag(3), row);
            QVERIFY2(snapshot.frontmostBundleID
                         == (flag(4) ? std::optional(QStringLiteral("org.gnome.Calculator")) : std::nullopt),
                     row);
            QVERIFY2(snapshot.systemFocused == (flag(5) ? std::optional(true) : std::nullopt), row);
            QVERIFY2(watched.fakes.keyOrClick->reads == int(flag(0)), row);
            QVERIFY2(watched.fakes.idle->reads == int(flag(1)), row);
            QVERIFY2(watched.fakes.microphone->reads == int(flag(2)), row);
            QVERIFY2(watched.fakes.mirroring->reads == int(flag(3)), row);
            QVERIFY2(watched.fakes.frontApplication->reads == int(flag(4)), row);
            QVERIFY2(watched.fakes.doNotDisturb->reads == focusReads + int(flag(5)), row);
            QVERIFY2(snapshot.isSleeping && !snapshot.isLocked, row);
        }
    }

    void unusableInputTimesAreAbsent()
    {
        for (double bad : {-1.0, std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()}) {
            Watched watched;
            watched.fakes.keyOrClick->seconds = bad;
            watched.fakes.idle->seconds = bad;
            const ContextSnapshot snapshot = watched.context.snapshot(true, true, false, false, false, false);
            QVERIFY(!snapshot.recentInputSeconds);
            QVERIFY(!snapshot.inputIdleSeconds);
        }
        Watched watched;
        watched.fakes.keyOrClick->seconds = 0.0;
        QCOMPARE(watched.context.snapshot(true, false, false, false, false, false).recentInputSeconds, 0.0);
    }

    void microphoneAbsentFalseAndTrueStayApart()
    {
        for (const std::optional<bool> inUse : {std::optional<bool>(), std::optional(false), std::optional(true)}) {
            Watched watched;
            watched.fakes.microphone->inUse = inUse;
            QCOMPARE(watched.context.snapshot(false, false, true, false, false, false).microphoneActive, inUse);
        }
    }

    void focusSentences_data()
    {
        QTest::addColumn<FocusAuthorization>("authorization");
        QTest::addColumn<std::optional<bool>>("on");
        QTest::addColumn<QString>("sentence");
        QTest::addColumn<std::optional<bool>>("focused");
        QTest::newRow("following") << FocusAuthorization::authorized << std::optional(false)
                                   << "Following your desktop's Do Not Disturb." << std::optional(false);
        QTest::newRow("nothing shared")
            << FocusAuthorization::authorized << std::optional<bool>()
            << "Focus sharing is allowed but no status is shared. Manual Focus still works." << std::optional<bool>();
        QTest::newRow("not looked for")
            << FocusAuthorization::notDetermined << std::optional(true)
            << "Focus sharing hasn't been allowed yet. Manual Focus still works." << std::optional<bool>();
        QTest::newRow("no source") << FocusAuthorization::restricted << std::optional(true)
                                   << "Do Not Disturb status is unavailable on this desktop. Manual Focus still works."
                                   << std::optional<bool>();
        QTest::newRow("refused") << FocusAuthorization::denied << std::optional(true)
                                 << "Do Not Disturb can't be read on this desktop. Manual Focus still works."
                                 << std::optional<bool>();
    }

    void focusSentences()
    {
        QFETCH(FocusAuthorization, authorization);
        QFETCH(std::optional<bool>, on);
        QFETCH(QString, sentence);
        QFETCH(std::optional<bool>, focused);
        Fakes fakes;
        fakes.doNotDisturb->current = authorization;
        fakes.doNotDisturb->on = on;
        SystemContext context(fakes.readings());
        QCOMPARE(context.focusStatusText(), sentence);
        QCOMPARE(context.snapshot(false, false, false, false, false, true).systemFocused, focused);
    }

    void focusTextFollowsTheSnapshot()
    {
        Watched watched;
        watched.fakes.doNotDisturb->on.reset();
        QSignalSpy changes(&watched.context, &SystemContext::changed);
        watched.context.snapshot(false, false, false, false, false, false);
        QCOMPARE(watched.context.focusStatusText(), QStringLiteral("Following your desktop's Do Not Disturb."));
        watched.context.snapshot(false, false, false, false, false, true);
        QVERIFY(watched.context.focusStatusText().startsWith(QLatin1String("Focus sharing is allowed")));
        QCOMPARE(changes.count(), 1);
    }

    void requestFocusAccessWithoutTheUsageKey()
    {
        QTemporaryDir bundle;
        QFile info(bundle.filePath(QStringLiteral("info.json")));
        QVERIFY(info.open(QIODevice::WriteOnly));
        info.write(R"({"CFBundleName": "Dewbell"})");
        info.close();
        const QByteArray previous = qgetenv("DEWBELL_BUNDLE_DIR");
        qputenv("DEWBELL_BUNDLE_DIR", bundle.path().toUtf8());

        Watched watched;
        watched.context.requestFocusAccess();
        qputenv("DEWBELL_BUNDLE_DIR", previous);
        QCOMPARE(watched.context.focusStatusText(),
                 QStringLiteral("Focus sharing isn't available in this build. Manual Focus still works."));
        QCOMPARE(watched.fakes.doNotDisturb->probes, 0);
    }

    void requestFocusAccessLooksForTheDesktopAgain()
    {
        QVERIFY2(!qEnvironmentVariableIsEmpty("DEWBELL_BUNDLE_DIR"), "the build's bundle carries the usage key");
        Fakes fakes;
        fakes.doNotDisturb->current = FocusAuthorization::restricted;
        fakes.doNotDisturb->on.reset();
        SystemContext context(fakes.readings());
        context.requestFocusAccess();
        QCOMPARE(fakes.doNotDisturb->probes, 1);
        // The answer to a request says only whether the source can be read.
        QCOMPARE(context.focusStatusText(), QStringLiteral("Following your desktop's Do Not Disturb."));

        fakes.doNotDisturb->afterProbe = FocusAuthorization::denied;
        context.requestFocusAccess();
        QCOMPARE(context.focusStatusText(),
                 QStringLiteral("Do Not Disturb can't be read on this desktop. Manual Focus still works."));
    }

    void withoutReadingsNothingIsKnown()
    {
        SystemContext context{SystemReadings{}};
        const ContextSnapshot snapshot = context.snapshot(true, true, true, true, true, true);
        QCOMPARE(snapshot, ContextSnapshot{});
        QCOMPARE(context.focusStatusText(),
                 QStringLiteral("Do Not Disturb status is unavailable on this desktop. Manual Focus still works."));
    }
};

QTEST_GUILESS_MAIN(TestSystemContext)
#include "test_system_context.moc"
