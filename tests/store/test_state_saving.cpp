// When the state reaches its file: at once or beside the interface, once per change, within a
// second of steady typing, and again after a failure until it lands.
#include "support/StoreTesting.h"

#include "model/ImportError.h"
#include "model/LocalFiles.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QSemaphore>
#include <QThread>
#include <QtTest>

using namespace StoreTesting;

namespace {

// A disk the test controls: it counts writes and the threads they ran on, can be full, and can
// hold each write until the test lets it go.
class Disk {
public:
    void write(const QString& path, const QByteArray& bytes)
    {
        if (holding_)
            // Bounded, so that a write held on the test's own thread fails the test instead of
            // hanging it.
            released_.tryAcquire(1, 10000);
        {
            QMutexLocker lock(&mutex_);
            threads_.append(QThread::currentThread());
            if (full_)
                throw ImportError(QStringLiteral("No space left on device."));
        }
        LocalFiles::writeAtomically(path, bytes);
        QMutexLocker lock(&mutex_);
        ++writes_;
        writtenAt_.append(clock_.elapsed());
    }

    int attempts()
    {
        QMutexLocker lock(&mutex_);
        return int(threads_.size());
    }
    int writes()
    {
        QMutexLocker lock(&mutex_);
        return writes_;
    }
    // The threads that wrote, from the attempt numbered `from` on.
    QSet<QThread*> threads(int from = 0)
    {
        QMutexLocker lock(&mutex_);
        return QSet<QThread*>(threads_.begin() + from, threads_.end());
    }
    qint64 elapsed() const { return clock_.elapsed(); }
    // Milliseconds since the disk was made, one for each write that landed.
    QList<qint64> writtenAt()
    {
        QMutexLocker lock(&mutex_);
        return writtenAt_;
    }
    void setFull(bool full)
    {
        QMutexLocker lock(&mutex_);
        full_ = full;
    }
    void hold() { holding_ = true; }
    void letGo()
    {
        holding_ = false;
        released_.release(1000);
    }

private:
    QMutex mutex_;
    QElapsedTimer clock_ = [] {
        QElapsedTimer clock;
        clock.start();
        return clock;
    }();
    int writes_ = 0;
    bool full_ = false;
    // The thread of each attempt, in order.
    QList<QThread*> threads_;
    QList<qint64> writtenAt_;
    std::atomic<bool> holding_ = false;
    QSemaphore released_;
};

QStringList archivesIn(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("state-history-until-*.json")}, QDir::Files);
}

// Every record id in "state.json" and the archives beside it, once per appearance.
QList<QUuid> recordsOnDisk(const QString& folder)
{
    QList<QUuid> ids;
    const auto collect = [&ids](const SavedState& state) {
        for (const Drink& drink : state.drinks)
            ids.append(drink.id);
        for (const BreakRecord& record : state.breakHistory)
            ids.append(record.id);
    };
    collect(savedState(folder));
    for (const QString& name : archivesIn(folder)) {
        QFile archive(QDir(folder).filePath(name));
        if (archive.open(QIODevice::ReadOnly))
            collect(decodeStateFile(archive.readAll()).state);
    }
    return ids;
}

QList<QUuid> recordsOf(const SavedState& state)
{
    QList<QUuid> ids;
    for (const Drink& drink : state.drinks)
        ids.append(drink.id);
    for (const BreakRecord& record : state.breakHistory)
        ids.append(record.id);
    return ids;
}

// Drinks and eye-rest breaks a minute apart, two days before the morning.
void addOldHistory(DewbellStore& store, int count)
{
    store.mutateState([count](SavedState& state) {
        for (int i = 0; i < count; ++i) {
            const QDateTime date = morning().addDays(-2).addSecs(i * 60);
            state.drinks.append({QUuid::createUuid(), date, 250});
            state.breakHistory.append({QUuid::createUuid(), ReminderKind::eyeRest, date.addSecs(20), 20});
        }
    });
}

}  // namespace

class StateSavingTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> folder_;
    std::shared_ptr<Disk> disk_;

    // A user who finished the tour this morning, on the test's disk.
    std::unique_ptr<DewbellStore> open(StateFileOptions file = {})
    {
        file.write = [disk = disk_](const QString& path, const QByteArray& bytes) { disk->write(path, bytes); };
        QStandardPaths::setTestModeEnabled(true);
        auto store = std::make_unique<DewbellStore>(StoreOptions{.directory = folder_->path(),
                                                                 .persistChanges = true,
                                                                 .zone = zone(),
                                                                 .stateFile = file,
                                                                 .openedAt = morning()});
        store->tick(morning());
        if (store->state().tourVersion == 0)
            store->finishTour();
        return store;
    }

private slots:
    void init()
    {
        folder_ = std::make_unique<QTemporaryDir>();
        disk_ = std::make_shared<Disk>();
    }

    // Encoding decades of history takes a large part of a second: with a long history the click
    // that logs a drink returns before the write, which runs beside the interface. A short one is
    // on disk before the click returns, so that a failure is told at once.
    void aLongHistoryIsWrittenBesideTheInterface()
    {
        auto s = open({.backgroundFromRecords = 100});
        s->drink();
        QCOMPARE(disk_->writes(), 2);
        QCOMPARE(disk_->threads(), QSet<QThread*>{QThread::currentThread()});

        addOldHistory(*s, 50);
        s->drink();
        QTRY_VERIFY(!s->hasUnsavedEdits());
        QCOMPARE(disk_->writes(), 3);
        QCOMPARE(disk_->threads().size(), 2);
        QCOMPARE(savedState(folder_->path()), s->state());
    }

    // The drink that carries the history past the limit moves the oldest records to an archive
    // beside the interface too. A drink logged while that write runs is kept, and the records
    // that went to the archive never come back with it: each record is on disk exactly once.
    void aSplitBesideTheInterfaceKeepsEveryRecordOnce()
    {
        auto s = open({.limit = 8 * LocalFiles::KiB, .backgroundFromRecords = 100});
        addOldHistory(*s, 60);
        const QList<QUuid> before = recordsOf(s->state());
        const int attempts = disk_->attempts();

        disk_->hold();
        s->drink();
        s->drink();
        disk_->letGo();
        QTRY_VERIFY(!s->hasUnsavedEdits());
        QVERIFY2(s->notice() && s->notice()->contains(QStringLiteral("Nothing was lost")),
                 qPrintable(s->notice().value_or(QString())));
        QVERIFY(disk_->attempts() > attempts);
        QVERIFY(!disk_->threads(attempts).contains(QThread::currentThread()));
        QVERIFY(recordsOf(s->state()).size() < before.size());
        QCOMPARE(savedState(folder_->path()), s->state());

        QCOMPARE(archivesIn(folder_->path()).size(), 1);
        const QList<QUuid> onDisk = recordsOnDisk(folder_->path());
        QCOMPARE(onDisk.size(), before.size() + 2);
        QCOMPARE(QSet<QUuid>(onDisk.begin(), onDisk.end()).size(), onDisk.size());
        for (const QUuid& id : before)
            QVERIFY(onDisk.contains(id));
    }

    // The disk is full when a drink is logged. Dewbell tries again on its own, two seconds later
    // and then twice as long each time, never more than a minute apart, without raising the
    // notice again; once a try lands, the failure and its notice are gone.
    void aFailedWriteIsTriedAgainUntilItLands()
    {
        auto s = open();
        disk_->setFull(true);
        s->drink();
        const std::optional<QString> failure = s->saveFailure();
        QVERIFY(failure && failure->contains(QStringLiteral("No space left on device")));
        QCOMPARE(s->notice(), failure);

        const QDateTime failedAt = s->now();
        QList<int> triedAfter;
        for (int second = 1; second <= 200; ++second) {
            const int attempts = disk_->attempts();
            s->tick(failedAt.addSecs(second));
            if (disk_->attempts() > attempts)
                triedAfter.append(second);
        }
        QCOMPARE(triedAfter, (QList<int>{2, 6, 14, 30, 62, 122, 182}));
        QCOMPARE(s->saveFailure(), failure);
        QCOMPARE(s->notice(), failure);

        disk_->setFull(false);
        s->tick(failedAt.addSecs(241));
        QVERIFY(s->saveFailure());
        s->tick(failedAt.addSecs(242));
        QCOMPARE(s->saveFailure(), std::nullopt);
        QCOMPARE(s->notice(), std::nullopt);
        QCOMPARE(savedState(folder_->path()).drinks.size(), 1);
        const int attempts = disk_->attempts();
        runUntil(*s, failedAt.addSecs(400));
        QCOMPARE(disk_->attempts(), attempts);

        // A banner the user closed stays closed while the tries fail.
        disk_->setFull(true);
        s->drink();
        s->setNotice(std::nullopt);
        runUntil(*s, s->now().addSecs(20));
        QVERIFY(disk_->attempts() >= attempts + 3);
        QCOMPARE(s->notice(), std::nullopt);
        QVERIFY(s->saveFailure());
    }

    // Each write replaces the whole file: nothing is written while the file already holds the
    // state. Quitting after an action writes nothing more; an edit still waiting is written once,
    // however many times the quit asks; a launch that changes nothing writes nothing.
    void aWriteHappensOnlyWhenTheFileLacksSomething()
    {
        auto s = open();
        const int started = disk_->writes();
        s->save();
        s->saveAndWait();
        QCOMPARE(disk_->writes(), started);

        s->drink();
        s->saveAndWait();
        s->saveAndWait();
        QCOMPARE(disk_->writes(), started + 1);

        s->update([](Preferences& p) { p.loveNote = QStringLiteral("Sip"); });
        s->saveAndWait();
        s->saveAndWait();
        QCOMPARE(disk_->writes(), started + 2);
        s.reset();
        QCOMPARE(disk_->writes(), started + 2);

        auto again = open();
        again->saveAndWait();
        QCOMPARE(disk_->writes(), started + 2);
        QCOMPARE(again->preferences().loveNote, QStringLiteral("Sip"));

        // A file removed behind Dewbell's back is written again.
        QVERIFY(QFile::remove(QDir(folder_->path()).filePath(QStringLiteral("state.json"))));
        again->saveAndWait();
        QCOMPARE(disk_->writes(), started + 3);
    }

    // Edits wait for a pause of 300 ms, but never more than 800 ms after the first: typing
    // without a pause is still written at least that often. (Real time: the wait is measured
    // in keystrokes, not on the store's clock. The bounds leave room for a busy machine.)
    void steadyTypingIsWrittenAtLeastEveryEightHundredMilliseconds()
    {
        auto s = open();
        const int before = disk_->writes();
        QElapsedTimer typing;
        typing.start();
        const qint64 typingBegan = disk_->elapsed();
        int keys = 0;
        for (QString note; typing.elapsed() < 3000; QTest::qWait(40)) {
            note += QLatin1Char('a');
            ++keys;
            s->update([&note](Preferences& p) { p.loveNote = note; });
        }
        const QList<qint64> written = disk_->writtenAt().mid(before);
        QVERIFY2(written.size() >= 2 && written.size() <= keys / 4, qPrintable(QString::number(written.size())));
        QVERIFY2(written.first() - typingBegan < 1600, qPrintable(QString::number(written.first() - typingBegan)));
        QTRY_VERIFY(!s->hasUnsavedEdits());
        QCOMPARE(savedState(folder_->path()).preferences.loveNote, QString(keys, QLatin1Char('a')));
    }
};

QTEST_GUILESS_MAIN(StateSavingTest)
#include "test_state_saving.moc"
