#include "support/StoreTesting.h"

#include "reminders/lab/ReminderLab.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace StoreTesting;

// The user's own store (saving to its folder) and a lab on it that the test drives by hand,
// every 0.2 s of made-up time.
struct LabBench {
    QTemporaryDir folder;
    std::unique_ptr<DewbellStore> user = startedStore(folder.path());
    std::unique_ptr<ReminderLab> lab = std::make_unique<ReminderLab>(user.get(), false);
    QDateTime now = user->now();

    DewbellStore& player() const { return *lab->player(); }

    void play(LabPlayback playback) { lab->play(playback, now); }
    void step(qint64 milliseconds = ReminderLab::tickMilliseconds)
    {
        now = now.addMSecs(milliseconds);
        lab->tick(now);
    }
    // Ticks until `done` holds (at most a minute of made-up time); true when it came.
    bool stepUntil(const std::function<bool()>& done)
    {
        for (int tick = 0; tick < 300 && !done(); ++tick)
            step();
        return done();
    }
};

class ReminderLabTest : public QObject {
    Q_OBJECT

private slots:
    void bothAnswersYesThenNotYet()
    {
        LabBench bench;
        bench.play(LabPlayback::both);
        QCOMPARE(bench.lab->status(), QStringLiteral("1 of 2 · Yes → celebrate → walk out"));
        QVERIFY(bench.player().reminderVisible() && bench.player().preview());

        // Yes comes at the first tick at least 1.2 s into the asking phase.
        QVERIFY(bench.stepUntil([&] { return bench.player().phase() == CompanionPhase::asking; }));
        const QDateTime asking = bench.player().phaseStarted();
        QVERIFY(bench.stepUntil([&] { return bench.player().response().has_value(); }));
        QCOMPARE(bench.player().response(), CompanionPhase::celebrating);
        QVERIFY(asking.msecsTo(bench.now) >= 1200);
        QVERIFY(asking.msecsTo(bench.now) < 1200 + ReminderLab::tickMilliseconds);

        // After the companion has walked out, 0.8 s of nothing, then Not yet.
        QVERIFY(bench.stepUntil([&] { return !bench.player().reminderVisible(); }));
        const QDateTime gone = bench.now;
        QVERIFY(bench.stepUntil([&] { return bench.player().reminderVisible(); }));
        QVERIFY(gone.msecsTo(bench.now) >= 800);
        QVERIFY(gone.msecsTo(bench.now) < 800 + ReminderLab::tickMilliseconds);
        QCOMPARE(bench.lab->status(), QStringLiteral("2 of 2 · Not yet → shrug → sad → walk out"));
        QVERIFY(bench.stepUntil([&] { return bench.player().response().has_value(); }));
        QCOMPARE(bench.player().response(), CompanionPhase::declined);

        QVERIFY(bench.stepUntil([&] { return !bench.lab->isPlaying(); }));
        QVERIFY(!bench.player().reminderVisible());
        QCOMPARE(bench.lab->status(), QStringLiteral("All done. Replay either response, or try another companion."));
    }

    void eachStepIsAnsweredOnce()
    {
        LabBench bench;
        bench.play(LabPlayback::yes);
        int answers = 0;
        std::optional<CompanionPhase> before;
        while (bench.lab->isPlaying() && bench.now < bench.user->now().addSecs(60)) {
            bench.step();
            if (bench.player().response() != before)
                ++answers;
            before = bench.player().response();
        }
        QCOMPARE(answers, 1);
        QVERIFY(!bench.lab->isPlaying());
    }

    void interactiveWaitsForTheUser()
    {
        LabBench bench;
        bench.play(LabPlayback::interactive);
        QCOMPARE(bench.lab->status(), QStringLiteral("Your turn. Click Yes or Not yet in the preview."));
        for (int tick = 0; tick < 150; ++tick)
            bench.step();
        QCOMPARE(bench.player().phase(), CompanionPhase::asking);
        QVERIFY(!bench.player().response());
        QVERIFY(bench.lab->isPlaying());

        bench.player().decline();  // the user's own answer on the preview
        QVERIFY(bench.stepUntil([&] { return !bench.lab->isPlaying(); }));
        QCOMPARE(bench.lab->status(), QStringLiteral("All done. Replay either response, or try another companion."));
    }

    void playingAgainStartsOver()
    {
        LabBench bench;
        bench.play(LabPlayback::both);
        QVERIFY(bench.stepUntil([&] { return bench.lab->status().startsWith(QStringLiteral("2 of 2")); }));
        bench.play(LabPlayback::both);
        QCOMPARE(bench.lab->status(), QStringLiteral("1 of 2 · Yes → celebrate → walk out"));
        QCOMPARE(bench.player().phase(), CompanionPhase::entering);
        QVERIFY(!bench.player().response());
    }

    void focusOrMeetingRefusesAPreview_data()
    {
        QTest::addColumn<bool>("meeting");
        QTest::newRow("focus") << false;
        QTest::newRow("meeting") << true;
    }

    void focusOrMeetingRefusesAPreview()
    {
        QFETCH(bool, meeting);
        LabBench bench;
        meeting ? bench.user->startMeeting(30) : bench.user->startFocus(std::nullopt);
        bench.play(LabPlayback::yes);
        QCOMPARE(bench.lab->status(), QStringLiteral("End Focus or meeting protection before starting a preview."));
        QVERIFY(!bench.lab->isPlaying());
        QVERIFY(!bench.player().reminderVisible());
    }

    void gateVerdictPausesThePreview_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("status");  // empty: the preview plays on
        QTest::newRow("screen locked") << "locked"
                                       << "Preview paused: ";
        QTest::newRow("protected app in front") << "protected app"
                                                << "Preview paused: ";
        QTest::newRow("reminders switched off") << "off"
                                                << "";
        QTest::newRow("paused for an hour") << "paused"
                                            << "";
        QTest::newRow("quiet hours") << "quiet"
                                     << "";
        QTest::newRow("typing with the flow safeguard") << "typing"
                                                        << "";
    }

    // What would keep a real reminder away pauses the preview; what the user chose to switch off,
    // pause or sleep through does not, and neither does the click that started it.
    void gateVerdictPausesThePreview()
    {
        QFETCH(QString, what);
        QFETCH(QString, status);
        LabBench bench;
        bench.play(LabPlayback::interactive);
        bench.step();
        ContextSnapshot context;
        if (what == QLatin1String("locked"))
            context.isLocked = true;
        if (what == QLatin1String("protected app")) {
            bench.user->update([](Preferences& p) { p.safeguards.protectedApps = {QStringLiteral("slides.desktop")}; });
            context.frontmostBundleID = QStringLiteral("slides.desktop");
        }
        if (what == QLatin1String("off"))
            bench.user->update([](Preferences& p) { p.enabled = false; });
        if (what == QLatin1String("paused"))
            bench.user->pause();
        if (what == QLatin1String("quiet"))
            bench.user->update([](Preferences& p) { p.quietStart = 0, p.quietEnd = 23; });
        if (what == QLatin1String("typing")) {
            bench.user->update([](Preferences& p) { p.safeguards.flowDelay = true; });
            context.recentInputSeconds = 0.5;
        }
        bench.user->contextProvider = [context] { return context; };
        bench.step();

        if (status.isEmpty()) {
            QVERIFY(bench.lab->isPlaying());
            QVERIFY(bench.player().reminderVisible());
            return;
        }
        QVERIFY2(bench.lab->status().startsWith(status) && bench.lab->status().size() > status.size(),
                 qPrintable(bench.lab->status()));
        QVERIFY(!bench.lab->isPlaying());
        QVERIFY(!bench.player().reminderVisible());
    }

    void anotherCompanionStopsThePreview()
    {
        LabBench bench;
        QCOMPARE(bench.lab->selectedID(), QStringLiteral("bloop"));
        bench.play(LabPlayback::both);
        bench.lab->setSelectedID(QStringLiteral("bloop"));
        QVERIFY(bench.lab->isPlaying());

        bench.lab->setSelectedID(QStringLiteral("zuv"));
        QVERIFY(!bench.lab->isPlaying());
        QVERIFY(!bench.player().reminderVisible());
        QCOMPARE(bench.lab->status(), QStringLiteral("Ready for another little test drive."));
        QCOMPARE(bench.player().preferences().companionID, QStringLiteral("zuv"));
        bench.play(LabPlayback::yes);
        QCOMPARE(bench.player().presentedCompanion().id, QStringLiteral("zuv"));
        QCOMPARE(bench.user->preferences().companionID, QStringLiteral("bloop"));
    }

    void nothingReachesTheUsersStateOrFolder()
    {
        LabBench bench;
        bench.user->drink();
        const SavedState before = bench.user->state();
        const QStringList files = QDir(bench.folder.path()).entryList(QDir::Files | QDir::NoDotAndDotDot);
        QFile saved(bench.folder.filePath(QStringLiteral("state.json")));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray bytes = saved.readAll();
        const QString labFolder = bench.lab->folder();
        QVERIFY(QFileInfo(labFolder).fileName().startsWith(QStringLiteral("dewbell-lab-")));

        bench.play(LabPlayback::both);
        QVERIFY(bench.stepUntil([&] { return !bench.lab->isPlaying(); }));
        QVERIFY(bench.player().state().drinks.isEmpty());
        QCOMPARE(bench.user->state(), before);
        QCOMPARE(QDir(bench.folder.path()).entryList(QDir::Files | QDir::NoDotAndDotDot), files);
        saved.seek(0);
        QCOMPARE(saved.readAll(), bytes);
        QVERIFY(QDir(labFolder).isEmpty());

        bench.lab.reset();
        QVERIFY(!QFileInfo::exists(labFolder));
    }

    void timerRunsOnlyWhilePlaying()
    {
        LabBench bench;
        bench.play(LabPlayback::yes);
        QVERIFY(!bench.lab->isTicking());  // not running: only the host's ticks move it

        ReminderLab running(bench.user.get());
        QVERIFY(!running.isTicking());
        running.play(LabPlayback::yes);
        QVERIFY(running.isTicking());
        running.stop();
        QVERIFY(!running.isTicking());

        // A playback that runs to its end stops the timer too.
        running.play(LabPlayback::yes, bench.now);
        for (QDateTime now = bench.now; running.isPlaying() && now < bench.now.addSecs(60); now = now.addMSecs(200))
            running.tick(now);
        QCOMPARE(running.status(), QStringLiteral("All done. Replay either response, or try another companion."));
        QVERIFY(!running.isTicking());
        bench.user->startFocus(30);
        running.play(LabPlayback::yes);  // refused
        QVERIFY(!running.isTicking());
        QVERIFY(!running.player()->reminderVisible());
    }
};

QTEST_MAIN(ReminderLabTest)
#include "test_reminder_lab.moc"
