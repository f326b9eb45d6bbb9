#include "platform/DesktopReduceMotion.h"
#include "platform/DoNotDisturbReadings.h"
#include "platform/IdleReadings.h"
#include "platform/MicrophoneReadings.h"
#include "platform/SleepSources.h"
#include "platform/SystemContext.h"
#include "support/FakeReadings.h"

#include <QDir>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

void writeFile(const QString& path, const QByteArray& contents)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size());
}

template<typename Base, typename Fake>
std::vector<std::unique_ptr<Base>> sources(Fake* first, Fake* second)
{
    std::vector<std::unique_ptr<Base>> all;
    all.emplace_back(first);
    all.emplace_back(second);
    return all;
}

}  // namespace

class TestPlatformReadings : public QObject {
    Q_OBJECT

private slots:
    void microphoneFromPulseElseTheSoundCards()
    {
        const QByteArray previous = qgetenv("PULSE_SERVER");
        qputenv("PULSE_SERVER", "unix:/nonexistent/dewbell-test-socket");
        QTemporaryDir sound;
        FirstMicrophoneReading reading{std::make_unique<PulseMicrophoneReading>(),
                                       std::make_unique<AlsaCaptureReading>(sound.path())};
        writeFile(sound.filePath(u"card0/pcm0p/sub0/status"_s), "state: RUNNING\n");
        QCOMPARE(reading.microphoneInUse(), std::nullopt);  // playback only
        writeFile(sound.filePath(u"card0/pcm0c/sub0/status"_s), "closed\n");
        QCOMPARE(reading.microphoneInUse(), std::optional(false));
        writeFile(sound.filePath(u"card1/pcm2c/sub1/status"_s), "state: RUNNING\nowner_pid   : 42\n");
        QCOMPARE(reading.microphoneInUse(), std::optional(true));
        qputenv("PULSE_SERVER", previous);
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

    // Without logind the context's once-a-second clock check is all that notices a sleep.
    void clockGapTellsASleepAfterTheFact()
    {
        std::chrono::nanoseconds gap{0};
        SystemReadings readings;
        readings.systemSleep = std::make_unique<ClockGapSleepSource>([&gap] { return gap; });
        SystemContext context(std::move(readings));
        QList<QString> told;
        context.onSuppress = [&told] { told.append(u"away"_s); };
        context.onResume = [&told] { told.append(u"back"_s); };
        gap += std::chrono::milliseconds(30);  // drift
        context.checkClocks();
        QVERIFY(told.isEmpty());
        gap += std::chrono::minutes(40);
        context.checkClocks();
        context.checkClocks();
        QCOMPARE(told, QList<QString>({u"away"_s, u"back"_s}));
        QVERIFY(!context.sleeping());
    }

    void kdeGlobalsTellReducedMotionByAZeroFactor()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("kdeglobals"));
        QVERIFY(!DesktopReduceMotion::readKdeGlobals(path));
        const auto write = [&](const QByteArray& text) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(text);
        };
        write("[General]\nColorScheme=Breeze\n\n[KDE]\nAnimationDurationFactor=0\n");
        QCOMPARE(DesktopReduceMotion::readKdeGlobals(path), std::optional<bool>(true));
        write("[KDE]\nAnimationDurationFactor=0.5\n");
        QCOMPARE(DesktopReduceMotion::readKdeGlobals(path), std::optional<bool>(false));
        write("[KDE]\nSingleClick=true\n");
        QVERIFY(!DesktopReduceMotion::readKdeGlobals(path));
    }

    // GNOME's answer comes from the gsettings tool; anything but a clear answer says nothing.
    void gnomeTellsReducedMotionThroughGsettings()
    {
        QTemporaryDir tools;
        const auto restorePath = qScopeGuard([path = qgetenv("PATH")] { qputenv("PATH", path); });
        qputenv("PATH", tools.path().toUtf8());
        QVERIFY(!DesktopReduceMotion::readGnome());
        const QString tool = tools.filePath(u"gsettings"_s);
        const auto answer = [&](const QByteArray& body) {
            writeFile(tool, "#!/bin/sh\n[ \"$*\" = \"get org.gnome.desktop.interface enable-animations\" ] || exit 3\n"
                                + body + "\n");
            QVERIFY(QFile::setPermissions(tool, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        };
        const QList<std::pair<QByteArray, std::optional<bool>>> cases{{"echo false", true},
                                                                      {"echo true", false},
                                                                      {"echo maybe", std::nullopt},
                                                                      {"echo false; exit 1", std::nullopt}};
        for (const auto& [body, reduce] : cases) {
            answer(body);
            QCOMPARE(DesktopReduceMotion::readGnome(), reduce);
        }
    }

    // GNOME's schema, installed or not, must not hide the choice a Plasma user made.
    void onPlasmaKdeGlobalsDecide()
    {
        QTemporaryDir configuration;
        qputenv("XDG_CONFIG_HOME", configuration.path().toUtf8());
        writeFile(configuration.filePath(u"kdeglobals"_s), "[KDE]\nAnimationDurationFactor=0\n");
        qputenv("XDG_CURRENT_DESKTOP", "KDE");
        QVERIFY(DesktopReduceMotion::read());
        writeFile(configuration.filePath(u"kdeglobals"_s), "[KDE]\nAnimationDurationFactor=0.5\n");
        QVERIFY(!DesktopReduceMotion::read());
    }
};

QTEST_GUILESS_MAIN(TestPlatformReadings)
#include "test_platform_readings.moc"
