#include "DesktopFileIndex.h"
#include "DoNotDisturbReadings.h"
#include "FakeReadings.h"
#include "IdleReadings.h"
#include "MicrophoneReadings.h"
#include "MirroringReadings.h"
#include "SleepSources.h"
#include "SystemContext.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

void writeFile(const QString& path, const QByteArray& contents)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

template <typename Base, typename Fake>
std::vector<std::unique_ptr<Base>> sources(Fake* first, Fake* second)
{
    std::vector<std::unique_ptr<Base>> all;
    all.emplace_back(first);
    all.emplace_back(second);
    return all;
}

} // namespace

class TestPlatformReadings : public QObject {
    Q_OBJECT

private slots:
    void alsaCaptureTellsAbsentFalseAndTrue()
    {
        QTemporaryDir sound;
        AlsaCaptureReading reading(sound.path());
        writeFile(sound.filePath(u"card0/pcm0p/sub0/status"_s), "state: RUNNING\n");
        QCOMPARE(reading.microphoneInUse(), std::nullopt);  // playback only
        writeFile(sound.filePath(u"card0/pcm0c/sub0/status"_s), "closed\n");
        QCOMPARE(reading.microphoneInUse(), std::optional(false));
        writeFile(sound.filePath(u"card1/pcm2c/sub1/status"_s), "state: RUNNING\nowner_pid   : 42\n");
        QCOMPARE(reading.microphoneInUse(), std::optional(true));
    }

    void microphoneFallsBackOnlyWhenTheFirstSourceDoesNotKnow()
    {
        auto* first = new FakeMicrophone;
        auto* second = new FakeMicrophone;
        FirstMicrophoneReading reading{std::unique_ptr<MicrophoneReading>(first),
                                       std::unique_ptr<MicrophoneReading>(second)};
        first->inUse = false;
        QCOMPARE(reading.microphoneInUse(), std::optional(false));
        QCOMPARE(second->reads, 0);
        first->inUse.reset();
        QCOMPARE(reading.microphoneInUse(), std::optional(true));
    }

    void pulseWithoutAServerIsAbsent()
    {
        const QByteArray previous = qgetenv("PULSE_SERVER");
        qputenv("PULSE_SERVER", "unix:/nonexistent/dewbell-test-socket");
        QCOMPARE(PulseMicrophoneReading().microphoneInUse(), std::nullopt);
        qputenv("PULSE_SERVER", previous);
    }

    void idleTakesTheFirstUsableReading()
    {
        auto* broken = new FakeIdle;
        auto* working = new FakeIdle;
        FirstIdleReading reading(sources<IdleReading>(broken, working));
        working->seconds = 12.0;
        for (double bad : {-0.5, std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()}) {
            broken->seconds = bad;
            QCOMPARE(reading.secondsSinceAnyInput(), std::optional(12.0));
        }
        broken->seconds = 3.0;
        QCOMPARE(reading.secondsSinceAnyInput(), std::optional(3.0));
        broken->seconds.reset();
        working->seconds.reset();
        QCOMPARE(reading.secondsSinceAnyInput(), std::nullopt);
    }

    void doNotDisturbFollowsTheFirstReadableSource()
    {
        auto* gsettings = new FakeDoNotDisturb;
        auto* notifications = new FakeDoNotDisturb;
        FirstDoNotDisturbReading reading(sources<DoNotDisturbReading>(gsettings, notifications));
        gsettings->afterProbe = FocusAuthorization::restricted;
        notifications->afterProbe = FocusAuthorization::denied;
        QCOMPARE(reading.authorization(), FocusAuthorization::denied);
        QCOMPARE(reading.isOn(), std::nullopt);

        notifications->afterProbe = FocusAuthorization::authorized;
        notifications->on = false;
        reading.probe();
        QCOMPARE(reading.isOn(), std::optional(false));

        gsettings->afterProbe = FocusAuthorization::authorized;
        reading.probe();
        QCOMPARE(reading.isOn(), std::optional(true));
    }

    void clockGapTellsASleepAfterTheFact()
    {
        std::chrono::nanoseconds gap{0};
        ClockGapSleepSource source([&gap] { return gap; });
        QList<bool> delivered;
        source.start([&delivered](bool asleep) { delivered.append(asleep); });
        gap += std::chrono::milliseconds(30);  // drift
        source.check();
        QVERIFY(delivered.isEmpty());
        gap += std::chrono::minutes(40);
        source.check();
        source.check();
        QCOMPARE(delivered, QList<bool>({true, false}));
    }

    void mirroringNeedsTwoDisplaysWithOneRectangle()
    {
        QVERIFY(!hasSameRectangleTwice({QRect(0, 0, 1920, 1080), QRect(1920, 0, 1920, 1080)}));
        QVERIFY(hasSameRectangleTwice({QRect(0, 0, 1920, 1080), QRect(1920, 0, 800, 600), QRect(0, 0, 1920, 1080)}));
        std::vector<QRect> many;
        for (int i = 0; i < maximumDisplays; ++i)
            many.emplace_back(i * 100, 0, 100, 100);
        many.emplace_back(0, 0, 100, 100);  // past the limit: not looked at
        QVERIFY(!hasSameRectangleTwice(many));
    }

    void desktopFilesAreFoundByWindowClass()
    {
        QTemporaryDir user;
        QTemporaryDir system;
        writeFile(user.filePath(u"org.example.Editor.desktop"_s),
                  "[Desktop Entry]\nName=Editor\nStartupWMClass=ed-main\n");
        writeFile(system.filePath(u"org.example.Editor.desktop"_s),
                  "[Desktop Entry]\nName=Old editor\nStartupWMClass=old-ed\n");
        writeFile(system.filePath(u"kde/konsole.desktop"_s), "[Desktop Entry]\nName=Konsole\n");
        writeFile(system.filePath(u"org.gnome.Calculator.desktop"_s),
                  "[Desktop Entry]\nName=Calculator\n[Desktop Action x]\nStartupWMClass=wrong-group\n");
        DesktopFileIndex index({user.path(), system.path()});
        const auto find = [&index](const char* windowClass, const char* instance) {
            return index.identifier(QString::fromLatin1(windowClass), QString::fromLatin1(instance));
        };
        QCOMPARE(find("Ed-main", "ed-main"), u"org.example.Editor"_s);
        QCOMPARE(find("old-ed", ""), u"org.example.Editor"_s);
        QCOMPARE(find("Kde-Konsole", ""), u"kde-konsole"_s);
        QCOMPARE(find("Calculator", "calc"), u"org.gnome.Calculator"_s);
        QCOMPARE(find("wrong-group", ""), std::nullopt);
    }

    // Without a display and with the session bus off, every source must give up at once and quietly.
    void thisDesktopWithoutDisplayOrBusIsQuiet()
    {
        if (!qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
            || qgetenv("DBUS_SESSION_BUS_ADDRESS") != "disabled:")
            QSKIP("needs the test environment: no display, session bus disabled");
        SystemContext context;
        const ContextSnapshot snapshot = context.snapshot(true, true, true, true, true, true);
        QVERIFY(!snapshot.isLocked && !snapshot.isSleeping && !snapshot.frontmostBundleID);
        QVERIFY(!snapshot.recentInputSeconds && !snapshot.inputIdleSeconds);
        QVERIFY(!context.focusStatusText().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPlatformReadings)
#include "test_platform_readings.moc"
