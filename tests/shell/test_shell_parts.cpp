#include "shell/CommandLine.h"
#include "shell/Popover.h"
#include "shell/SingleInstance.h"
#include "shell/SoundPlayer.h"
#include "shell/TrayIcon.h"
#include "ui/ReduceMotion.h"

#include "support/TableTesting.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

class ShellPartsTest : public QObject {
    Q_OBJECT

private slots:
    void popoverHangsUnderTheIconInsideTheScreen()
    {
        const QRect screen(0, 0, 1440, 900);
        const QRect available(0, 28, 1440, 872);
        const QSize size(350, 470);

        // Under an icon in a top bar, centred on it.
        QCOMPARE(Popover::placement(QRect(700, 2, 24, 24), size, screen, available), QPoint(711 - 175, 30));
        // Near the right edge it stays on the screen.
        QCOMPARE(Popover::placement(QRect(1420, 2, 20, 24), size, screen, available), QPoint(1440 - 350, 30));
        // A screen too small for the popover keeps its top-left corner visible.
        QCOMPARE(Popover::placement(QRect(100, 2, 20, 20), size, QRect(0, 0, 300, 400), QRect(0, 0, 300, 400)),
                 QPoint(0, 0));
        // Above an icon in a bottom bar of a second screen.
        const QRect bottomAvailable(1440, 0, 1920, 1040);
        const QPoint placed =
            Popover::placement(QRect(3300, 1048, 24, 24), size, QRect(1440, 0, 1920, 1080), bottomAvailable);
        QCOMPARE(placed.x(), 1440 + 1920 - 350);
        QVERIFY(bottomAvailable.contains(QRect(placed, size)));
    }

    void soundIsSilentWithoutOutputAndLetsGoWhenOver()
    {
        QVERIFY(QFile::exists(SoundPlayer::soundPath(QStringLiteral("Pop"))));

        int asked = 0;
        SoundPlayer silent([&asked] {
            ++asked;
            return false;
        });
        silent.play(QStringLiteral("Pop"));
        QCOMPARE(asked, 1);

        // A sound the bundle lacks is skipped before the desktop is even asked.
        silent.play(QStringLiteral("Trumpet"));
        QCOMPARE(asked, 1);
        QVERIFY(!silent.isPlaying());

        // Whether it reaches a speaker or finds no sound server, a pop lets go of the audio
        // connection once it is over: nothing of it stays in memory until the next reminder.
        SoundPlayer player([] { return true; });
        player.play(QStringLiteral("Pop"));
        QTRY_VERIFY_WITH_TIMEOUT(!player.isPlaying(), SoundPlayer::longestSoundMilliseconds + 1000);
    }

    // The first claim on a folder holds it; later ones ask it for its window (a login launch asks
    // nothing), and once it lets go the next claim holds it again. Another folder is another claim.
    void laterLaunchesReachTheFirstOneOnItsFolder()
    {
        QTemporaryDir data;
        const QString folder = data.filePath(QStringLiteral("dewbell"));
        auto first = std::make_unique<SingleInstance>(folder);
        QSignalSpy shown(first.get(), &SingleInstance::showRequested);
        QCOMPARE(first->claim(true), SingleInstance::Claim::first);
        // Made private: nobody else may read it or even look inside.
        QCOMPARE(int(QFile::permissions(folder) & 0x0777), 0x0700);

        // Dewbell runs for weeks: a lock a day old is still held while its process lives.
        QFile lockFile(folder + QStringLiteral("/dewbell.lock"));
        QVERIFY(lockFile.open(QIODevice::ReadWrite));
        QVERIFY(lockFile.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime));
        lockFile.close();
        QCOMPARE(SingleInstance(folder).claim(true), SingleInstance::Claim::alreadyRunning);
        QTRY_COMPARE(shown.count(), 1);
        QCOMPARE(SingleInstance(folder).claim(false), SingleInstance::Claim::alreadyRunning);
        QTest::qWait(100);
        QCOMPARE(shown.count(), 1);
        QCOMPARE(SingleInstance(data.filePath(QStringLiteral("other"))).claim(true), SingleInstance::Claim::first);

        first.reset();
        QCOMPARE(SingleInstance(folder).claim(true), SingleInstance::Claim::first);
    }

    void aLockHeldOnAnotherComputerIsNotTakenOver()
    {
        QTemporaryDir data;
        QFile lock(data.filePath(QStringLiteral("dewbell.lock")));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write("4242\ndewbell\nelsewhere.example\n");
        lock.close();
        SingleInstance later(data.path());
        QCOMPARE(later.claim(true), SingleInstance::Claim::unreachable);
        QVERIFY2(later.unreachableMessage().contains(QStringLiteral("process 4242 on elsewhere.example")),
                 qPrintable(later.unreachableMessage()));
    }

    // A power cut can leave the lock empty or half written, and the process it names can since
    // be another program: only a lock its owner still holds keeps the next launch out.
    void aLockWithoutALiveOwnerIsStaleWhateverItHolds_data()
    {
        addColumns<QByteArray, bool>("contents", "held");
        const QByteArray thisProcess = QByteArray::number(QCoreApplication::applicationPid()) + '\n'
                                       + QCoreApplication::applicationName().toUtf8() + '\n'
                                       + QSysInfo::machineHostName().toUtf8() + '\n';
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("half written") << QByteArray("12") << false;
        QTest::newRow("garbled") << QByteArray("\x00\x17\xff\nnot a lock\n", 15) << false;
        QTest::newRow("a live process that holds no lock") << thisProcess << false;
        QTest::newRow("garbled but held") << QByteArray("garbled") << true;
    }
    void aLockWithoutALiveOwnerIsStaleWhateverItHolds()
    {
        QFETCH(QByteArray, contents);
        QFETCH(bool, held);
        QTemporaryDir data;
        QFile lock(data.filePath(QStringLiteral("dewbell.lock")));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        QVERIFY(lock.write(contents) == contents.size() && lock.flush());
        QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime));
        lock.close();
        const int owner = ::open(QFile::encodeName(lock.fileName()).constData(), O_RDONLY | O_CLOEXEC);
        QVERIFY(owner >= 0);
        if (held)
            QCOMPARE(::flock(owner, LOCK_EX | LOCK_NB), 0);

        SingleInstance later(data.path());
        QCOMPARE(later.claim(false), held ? SingleInstance::Claim::alreadyRunning : SingleInstance::Claim::first);
        ::close(owner);
    }

    // Something that is no lock file under the lock's name is left alone, and never opened (a
    // FIFO would never answer): the lock is kept elsewhere, and still only one claim holds it.
    void somethingElseUnderTheLocksNameIsLeftAlone()
    {
        QTemporaryDir data;
        const QString lockPath = data.filePath(QStringLiteral("dewbell.lock"));
        QCOMPARE(mkfifo(QFile::encodeName(lockPath).constData(), 0600), 0);
        const SingleInstance::Place place = SingleInstance::place(data.path());
        QVERIFY2(!place.lock.startsWith(data.path()) && !place.socket.startsWith(data.path()), qPrintable(place.lock));

        SingleInstance first(data.path());
        QSignalSpy shown(&first, &SingleInstance::showRequested);
        QCOMPARE(first.claim(true), SingleInstance::Claim::first);
        QVERIFY(first.notice() && first.notice()->contains(lockPath));
        QCOMPARE(SingleInstance(data.path()).claim(true), SingleInstance::Claim::alreadyRunning);
        QTRY_COMPARE(shown.count(), 1);
        struct stat info { };
        QCOMPARE(::lstat(QFile::encodeName(lockPath).constData(), &info), 0);
        QVERIFY(S_ISFIFO(info.st_mode));
    }

    // Launches meet through the data folder, whatever session they come from; a folder whose
    // path leaves no room for a socket's name in it is met in the user's temporary folder.
    void laterLaunchesFindTheSocketFromTheDataFolderAlone()
    {
        QTemporaryDir data;
        const QString folder = data.filePath(QStringLiteral("dewbell"));
        QVERIFY(QDir().mkpath(folder));
        QCOMPARE(SingleInstance::place(folder).socket, folder + QStringLiteral("/dewbell.socket"));
        const QString deep = data.filePath(QString(100, QLatin1Char('d')) + QStringLiteral("/dewbell"));
        QVERIFY(QDir().mkpath(deep));
        const SingleInstance::Place place = SingleInstance::place(deep);
        QCOMPARE(place.lock, deep + QStringLiteral("/dewbell.lock"));
        QVERIFY2(place.socket.startsWith(QDir::tempPath()) && place.socket.size() <= 106, qPrintable(place.socket));

        for (const QString& dataFolder : {folder, deep}) {
            qputenv("XDG_RUNTIME_DIR", data.filePath(QStringLiteral("first-session")).toUtf8());
            SingleInstance first(dataFolder);
            QSignalSpy shown(&first, &SingleInstance::showRequested);
            QCOMPARE(first.claim(true), SingleInstance::Claim::first);
            qputenv("XDG_RUNTIME_DIR", data.filePath(QStringLiteral("second-session")).toUtf8());
            QCOMPARE(SingleInstance(dataFolder).claim(true), SingleInstance::Claim::alreadyRunning);
            QTRY_COMPARE(shown.count(), 1);
        }
    }

    void tourHighlightPulsesUnlessMotionIsReduced()
    {
        TrayIcon icon([] { return false; });
        for (const bool reduce : {false, true}) {
            ReduceMotion::setOverride(reduce);
            icon.setHighlighted(true);
            QCOMPARE(icon.isPulsing(), !reduce);
            icon.setHighlighted(false);
            QVERIFY(!icon.isPulsing());
        }
        ReduceMotion::setOverride(std::nullopt);
    }

    // A switch counts only when an argument is exactly it: other letter case, a prefix or an
    // attached value make another argument.
    void switchesMatchExactly()
    {
        const QStringList lookalikes{QStringLiteral("--Diagnose-Assets"),   QStringLiteral("--DIAGNOSE-UPDATES"),
                                     QStringLiteral("--diagnose-assets=1"), QStringLiteral("--diagnose-update"),
                                     QStringLiteral("-diagnose-updates"),   QStringLiteral("--Background"),
                                     QStringLiteral("--preview "),          QStringLiteral("--UI-TEST")};
        for (const QString& name : {CommandLine::diagnoseUpdates, CommandLine::diagnoseAssets, CommandLine::uiTest,
                                    CommandLine::background, CommandLine::preview, CommandLine::testLab})
            QVERIFY2(!CommandLine::hasSwitch(lookalikes, name), qPrintable(name));
        QVERIFY(
            CommandLine::hasSwitch(lookalikes + QStringList{CommandLine::diagnoseAssets}, CommandLine::diagnoseAssets));
    }
};

QTEST_MAIN(ShellPartsTest)
#include "test_shell_parts.moc"
