// "state.json" on disk: what is kept aside, what blocks saving, and what happens at the limit.
#include "store/StateFile.h"
#include "support/ModelTesting.h"
#include "support/TableTesting.h"

#include <QDir>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace ModelTesting;

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A drink every hour from `start`, and an eye-rest break every other hour.
SavedState history(int hours, const QDateTime& start = utc(2020, 1, 1))
{
    SavedState state;
    state.tourVersion = 1;
    for (int hour = 0; hour < hours; ++hour) {
        state.drinks.append({QUuid::createUuid(), start.addSecs(hour * 3600), 250});
        if (hour % 2 == 0)
            state.breakHistory.append(
                {QUuid::createUuid(), ReminderKind::eyeRest, start.addSecs(hour * 3600 + 60), 20});
    }
    return state;
}

LocalFiles::PathStatus folderClosed(const QString&)
{
    return {LocalFiles::PathStatus::Kind::unreachable, QStringLiteral("Permission denied")};
}

}  // namespace

class StateFileTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> root;
    QString folder;

    QString statePath() const { return folder + QStringLiteral("/state.json"); }
    QStringList filesLike(const QString& pattern) const { return QDir(folder).entryList({pattern}, QDir::Files); }

private slots:
    void init()
    {
        root = std::make_unique<QTemporaryDir>();
        folder = root->filePath(QStringLiteral("dewbell"));
        QVERIFY(QDir().mkpath(folder));
    }
    void cleanup()
    {
        // A folder a test closed must open again to be removed.
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void aFolderDewbellCannotSearchIsNeverTakenForAnEmptyOne_data()
    {
        addColumns<int, bool>("mode", "throughTheSeam");
        // Root reads every folder whatever its mode; the seam reports what a user would meet.
        QTest::newRow("the file layer says: permission denied") << 0700 << true;
        if (geteuid() != 0) {
            QTest::newRow("mode 000") << 0000 << false;
            QTest::newRow("mode 400") << 0400 << false;
            QTest::newRow("mode 600") << 0600 << false;
        }
    }
    void aFolderDewbellCannotSearchIsNeverTakenForAnEmptyOne()
    {
        QFETCH(int, mode);
        QFETCH(bool, throughTheSeam);
        const QByteArray years = encodeStateFile(history(24 * 365));
        writeFile(statePath(), years);
        QCOMPARE(chmod(QFile::encodeName(folder).constData(), mode_t(mode)), 0);

        StateFileOptions options;
        if (throughTheSeam)
            options.probe = folderClosed;
        StateFile file(folder, true, options);
        const StateFile::Loaded loaded = file.load();
        QVERIFY(loaded.notice);
        QVERIFY2(loaded.notice->contains(QStringLiteral("can't look inside its folder"))
                     && loaded.notice->contains(QStringLiteral("Permission denied")),
                 qPrintable(*loaded.notice));
        QVERIFY(loaded.state.drinks.isEmpty());
        // Not a new user: no tour.
        QCOMPARE(loaded.state.tourVersion, 1);
        QVERIFY(file.writeBlocked());

        SavedState fresh = loaded.state;
        fresh.drinks.append({QUuid::createUuid(), utc(2026, 1, 1), 250});
        QVERIFY(!refusal([&] { file.save(fresh); }).isEmpty());
        // The folder keeps the mode its owner gave it.
        struct stat info { };
        QCOMPARE(stat(QFile::encodeName(folder).constData(), &info), 0);
        QCOMPARE(int(info.st_mode & 0777), mode);
        cleanup();
        QCOMPARE(readAll(statePath()), years);
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"state.json"});
    }

    void aFileDewbellMayNotReadIsLeftAlone()
    {
        writeFile(statePath(), encodeStateFile(history(10)));
        StateFile file(folder, true, {.probe = [](const QString&) {
                           return LocalFiles::PathStatus{LocalFiles::PathStatus::Kind::unreadable,
                                                         QStringLiteral("Permission denied")};
                       }});
        const auto notice = file.load().notice;
        QVERIFY(notice && notice->contains(QStringLiteral("can't read your saved data")));
        SavedState state;
        QVERIFY(!refusal([&] { file.save(state); }).isEmpty());
        QCOMPARE(decodeStateFile(readAll(statePath())).state.drinks.size(), 10);
    }

    // A record this build cannot use is dropped at load; the file as it was is copied aside once,
    // before the next save writes only what was read.
    void recordsDroppedAtLoadAreKeptAsideOnce()
    {
        // One drink with its amount as a string, and two breaks of a kind from a newer Dewbell.
        QByteArray bytes = encodeStateFile(history(4));
        bytes.replace(bytes.indexOf("\"ml\":250}"), 9, "\"ml\":\"250\"}");
        bytes.replace("\"eyeRest\"", "\"stretch\"");
        writeFile(statePath(), bytes);

        for (int launch = 0; launch < 2; ++launch) {
            const StateFile::Loaded loaded = StateFile(folder, true).load();
            QCOMPARE(loaded.state.drinks.size(), 3);
            QVERIFY(loaded.state.breakHistory.isEmpty());
            QVERIFY(loaded.notice);
            QVERIFY2(loaded.notice->contains(QStringLiteral("3 records couldn't be read and were set aside")),
                     qPrintable(*loaded.notice));
            const QStringList copies = filesLike(QStringLiteral("state-partly-read-*.json"));
            QCOMPARE(copies.size(), 1);
            QVERIFY(loaded.notice->contains(copies.first()));
            QCOMPARE(readAll(folder + QLatin1Char('/') + copies.first()), bytes);
        }
        StateFile file(folder, true);
        SavedState read = file.load().state;
        QCOMPARE(file.save(read), std::nullopt);
        QCOMPARE(StateFile(folder, true).load().notice, std::nullopt);
        QCOMPARE(filesLike(QStringLiteral("state-partly-read-*.json")).size(), 1);
    }

    // Past the limit the oldest records move to an archive beside the file: the reader accepts
    // everything the writer wrote, and no record is lost on the way.
    void theWriterStaysWithinWhatTheReaderAccepts()
    {
        const qint64 limit = 16 * LocalFiles::KiB;
        const SavedState everything = history(300);
        const QByteArray whole = encodeStateFile(everything);
        QVERIFY(whole.size() > limit);

        StateFile file(folder, true, {.limit = limit});
        SavedState state = everything;
        const auto notice = file.save(state);
        QVERIFY(notice);
        const QStringList archives = filesLike(QStringLiteral("state-history-until-*.json"));
        QCOMPARE(archives.size(), 1);
        QVERIFY2(notice->contains(archives.first()) && notice->contains(QStringLiteral("Nothing was lost")),
                 qPrintable(*notice));

        const qint64 written = QFileInfo(statePath()).size();
        QVERIFY(written <= limit * 3 / 4);
        const StateFile::Loaded reloaded = StateFile(folder, true, {.limit = limit}).load();
        QCOMPARE(reloaded.notice, std::nullopt);
        QCOMPARE(reloaded.state, state);
        const SavedState archived = decodeStateFile(readAll(folder + QLatin1Char('/') + archives.first())).state;
        QCOMPARE(archived.drinks + state.drinks, everything.drinks);
        QCOMPARE(archived.breakHistory + state.breakHistory, everything.breakHistory);
        QVERIFY(archived.drinks.last().date < state.drinks.first().date);

        // Within the limit nothing moves.
        QCOMPARE(file.save(state), std::nullopt);
        QCOMPARE(filesLike(QStringLiteral("state-history-until-*.json")).size(), 1);
    }

    // Past the limit a file is read only record by record: the JSON parser's tree of a whole
    // gigabyte would take many times that in memory, and a Dewbell that runs out of memory at
    // launch never starts. One that needs the parser whole is kept aside unread.
    void aFilePastTheLimitIsNeverParsedWhole()
    {
        const QByteArray plain = QJsonDocument(encode(history(300))).toJson();
        QVERIFY(plain.size() > 16 * LocalFiles::KiB);
        QByteArray escaped = plain;
        escaped.replace("\"drinks\"", "\"dr\\u0069nks\"");
        QCOMPARE(decodeStateFile(escaped).state.drinks.size(), 300);

        writeFile(statePath(), escaped);
        const StateFile::Loaded loaded = StateFile(folder, true, {.limit = 16 * LocalFiles::KiB}).load();
        QVERIFY(loaded.state.drinks.isEmpty());
        QVERIFY(loaded.notice && loaded.notice->startsWith(QStringLiteral("Your saved data couldn't be read")));
        const QStringList kept = filesLike(QStringLiteral("state-unreadable-*.json"));
        QCOMPARE(kept.size(), 1);
        QCOMPARE(readAll(folder + QLatin1Char('/') + kept.first()), escaped);

        // The same history without the escape is read and split.
        writeFile(statePath(), plain);
        const auto notice = StateFile(folder, true, {.limit = 16 * LocalFiles::KiB}).load().notice;
        QVERIFY(notice && notice->contains(QStringLiteral("Nothing was lost")));
        QCOMPARE(filesLike(QStringLiteral("state-history-until-*.json")).size(), 1);
    }

    // Two splits whose oldest records end on the same day: the second archive gets a name of its
    // own, and the first keeps every byte.
    void aSecondArchiveOfTheSameDayNeverReplacesTheFirst()
    {
        const qint64 limit = 16 * LocalFiles::KiB;
        StateFile file(folder, true, {.limit = limit});
        SavedState everything;
        const auto addMinutes = [&everything](int from, int to) {
            for (int minute = from; minute < to; ++minute)
                everything.drinks.append({QUuid::createUuid(), utc(2020, 1, 1).addSecs(minute * 60), 250});
        };
        addMinutes(0, 300);
        SavedState state = everything;
        QVERIFY(file.save(state));
        const QStringList first = filesLike(QStringLiteral("state-history-until-*.json"));
        QCOMPARE(first, QStringList{QStringLiteral("state-history-until-20200101.json")});
        const QByteArray firstBytes = readAll(folder + QLatin1Char('/') + first.first());

        addMinutes(300, 450);
        state.drinks += everything.drinks.mid(300);
        QVERIFY(file.save(state));
        const QStringList archives = filesLike(QStringLiteral("state-history-until-*.json"));
        QCOMPARE(archives.size(), 2);
        QCOMPARE(readAll(folder + QLatin1Char('/') + first.first()), firstBytes);

        QList<Drink> kept;
        for (const QString& name : archives)
            kept += decodeStateFile(readAll(folder + QLatin1Char('/') + name)).state.drinks;
        kept += state.drinks;
        std::sort(kept.begin(), kept.end(), [](const Drink& a, const Drink& b) { return a.date < b.date; });
        QCOMPARE(kept, everything.drinks);
    }
};

QTEST_GUILESS_MAIN(StateFileTest)
#include "test_state_file.moc"
