// "state.json" on disk: what is kept aside, what blocks saving, and what happens at the limit.
#include "store/StateFile.h"
#include "support/ModelTesting.h"
#include "support/TableTesting.h"
#include "support/UnprivilegedTesting.h"

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

int modeOf(const QString& path)
{
    struct stat info { };
    return stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 0777) : -1;
}

bool isLink(const QString& path)
{
    return QFileInfo(path).isSymLink();
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
        addColumns<int, bool, bool>("mode", "throughTheSeam", "unprivileged");
        // Root reads every folder whatever its mode: the seam reports what a user would meet, and
        // the folders' modes are tried again as the user nobody.
        QTest::newRow("the file layer says: permission denied") << 0700 << true << false;
        if (UnprivilegedTesting::runningAsRoot()) {
            QTest::newRow("as the user nobody") << 0700 << false << true;
        } else {
            QTest::newRow("mode 000") << 0000 << false << false;
            QTest::newRow("mode 400") << 0400 << false << false;
            QTest::newRow("mode 600") << 0600 << false << false;
        }
    }
    void aFolderDewbellCannotSearchIsNeverTakenForAnEmptyOne()
    {
        QFETCH(int, mode);
        QFETCH(bool, throughTheSeam);
        QFETCH(bool, unprivileged);
        if (unprivileged)
            return UnprivilegedTesting::runAsNobody(QTest::currentTestFunction());
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

    // Said at load, not at the first save, and saves are still tried: once the folder opens up
    // again the next one succeeds.
    void aFolderDewbellCannotWriteIsToldFromTheStart_data()
    {
        addColumns<bool, QString>("stateThere", "expected");
        if (UnprivilegedTesting::runningAsRoot()) {
            QTest::newRow("as the user nobody") << false << QString();
            return;
        }
        QTest::newRow("a folder that can't be written") << true << "can't write in its folder";
        QTest::newRow("a folder that can't be made") << false << "can't make its folder";
    }
    void aFolderDewbellCannotWriteIsToldFromTheStart()
    {
        QFETCH(bool, stateThere);
        QFETCH(QString, expected);
        if (UnprivilegedTesting::runningAsRoot())
            return UnprivilegedTesting::runAsNobody(QTest::currentTestFunction());
        const QString closed = stateThere ? folder : root->path();
        if (stateThere)
            writeFile(statePath(), encodeStateFile(history(3)));
        else
            QVERIFY(QDir(folder).removeRecursively());
        QCOMPARE(chmod(QFile::encodeName(closed).constData(), 0500), 0);

        StateFile file(folder, true);
        StateFile::Loaded loaded = file.load();
        QFile::setPermissions(closed, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(loaded.notice);
        QVERIFY2(loaded.notice->contains(expected) && loaded.notice->contains(QStringLiteral("Permission denied")),
                 qPrintable(*loaded.notice));
        QCOMPARE(loaded.state.drinks.size(), stateThere ? 3 : 0);
        QVERIFY(file.cannotWrite());
        QVERIFY(!file.writeBlocked());
        QCOMPARE(file.save(loaded.state), std::nullopt);
        QCOMPARE(decodeStateFile(readAll(statePath())).state.drinks.size(), stateThere ? 3 : 0);
        // Nothing to say when all is well.
        QCOMPARE(StateFile(folder, true).load().notice, std::nullopt);
    }

    // Another program's file is never taken for an empty state and written over: one that holds
    // none of the state's keys, or a link to anything but a file of the user's, is kept aside and
    // left as it was, mode included.
    void anotherProgramsFileIsKeptAsideAndNeverWrittenOver_data()
    {
        addColumns<QString, QString>("setup", "expected");
        QTest::newRow("none of the state's keys") << "foreign"
                                                  << "holds another program's data";
        QTest::newRow("a link to another program's JSON") << "link-foreign"
                                                          << "holds another program's data";
        QTest::newRow("a link to a FIFO") << "link-fifo"
                                          << "is a link to";
        QTest::newRow("a link to a folder") << "link-folder"
                                            << "is a link to";
        QTest::newRow("a link to nothing") << "link-nowhere"
                                           << "is a link to";
        if (UnprivilegedTesting::runningAsRoot())
            QTest::newRow("a link to another user's state") << "link-not-mine"
                                                            << "is a link to";
    }
    void anotherProgramsFileIsKeptAsideAndNeverWrittenOver()
    {
        QFETCH(QString, setup);
        QFETCH(QString, expected);
        const QString elsewhere = root->filePath(QStringLiteral("other-program"));
        const QString theirs = elsewhere + QStringLiteral("/settings.json");
        const QByteArray theirBytes = setup == "link-not-mine" ? encodeStateFile(history(2)) : R"({"theme":"dark"})";
        writeFile(theirs, theirBytes);
        QCOMPARE(chmod(QFile::encodeName(theirs).constData(), 0644), 0);
        const QString fifo = elsewhere + QStringLiteral("/pipe");
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
        if (setup == "foreign")
            writeFile(statePath(), theirBytes);
        if (setup == "link-foreign" || setup == "link-not-mine")
            QVERIFY(QFile::link(theirs, statePath()));
        if (setup == "link-not-mine")
            QCOMPARE(chown(QFile::encodeName(theirs).constData(), UnprivilegedTesting::nobody, 0), 0);
        if (setup == "link-fifo")
            QVERIFY(QFile::link(fifo, statePath()));
        if (setup == "link-folder")
            QVERIFY(QFile::link(elsewhere, statePath()));
        if (setup == "link-nowhere")
            QVERIFY(QFile::link(elsewhere + QStringLiteral("/gone.json"), statePath()));

        StateFile file(folder, true);
        StateFile::Loaded loaded = file.load();
        QVERIFY(loaded.notice);
        QVERIFY2(loaded.notice->contains(expected), qPrintable(*loaded.notice));
        QCOMPARE(loaded.state, SavedState());
        const QStringList kept =
            QDir(folder).entryList({QStringLiteral("state-unreadable-*.json")}, QDir::AllEntries | QDir::System);
        QCOMPARE(kept.size(), 1);
        QVERIFY2(loaded.notice->contains(kept.first()), qPrintable(*loaded.notice));
        QCOMPARE(isLink(folder + QLatin1Char('/') + kept.first()), setup.startsWith("link"));
        if (setup == "foreign")
            QCOMPARE(readAll(folder + QLatin1Char('/') + kept.first()), theirBytes);

        loaded.state.drinks.append({QUuid::createUuid(), utc(2026, 1, 1), 250});
        QCOMPARE(file.save(loaded.state), std::nullopt);
        QVERIFY(!isLink(statePath()));
        QCOMPARE(modeOf(statePath()), 0600);
        QCOMPARE(decodeStateFile(readAll(statePath())).state.drinks.size(), 1);
        QCOMPARE(readAll(theirs), theirBytes);
        QCOMPARE(modeOf(theirs), 0644);
        QCOMPARE(QDir(elsewhere).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
                 (QStringList{"pipe", "settings.json"}));
    }

    // A link to the user's own state elsewhere (a synced folder, say) stays a link: the file it
    // leads to is replaced whole and keeps the mode its owner gave it. Once the link leads
    // elsewhere, it is replaced by a file of Dewbell's own instead of followed.
    void aLinkToTheUsersOwnStateIsWrittenThrough()
    {
        const QString synced = root->filePath(QStringLiteral("synced/dewbell-state.json"));
        writeFile(synced, encodeStateFile(history(3)));
        QCOMPARE(chmod(QFile::encodeName(synced).constData(), 0640), 0);
        QVERIFY(QFile::link(synced, statePath()));

        StateFile file(folder, true);
        StateFile::Loaded loaded = file.load();
        QCOMPARE(loaded.notice, std::nullopt);
        QCOMPARE(loaded.state.drinks.size(), 3);
        loaded.state.drinks.append({QUuid::createUuid(), utc(2026, 1, 1), 250});
        QCOMPARE(file.save(loaded.state), std::nullopt);
        QVERIFY(isLink(statePath()));
        QCOMPARE(decodeStateFile(readAll(synced)).state.drinks.size(), 4);
        QCOMPARE(modeOf(synced), 0640);
        QCOMPARE(QDir(QFileInfo(synced).path()).entryList(QDir::Files), QStringList{"dewbell-state.json"});

        const QString other = root->filePath(QStringLiteral("synced/other.json"));
        writeFile(other, R"({"theme":"dark"})");
        QVERIFY(QFile::remove(statePath()) && QFile::link(other, statePath()));
        QCOMPARE(file.save(loaded.state), std::nullopt);
        QVERIFY(!isLink(statePath()));
        QCOMPARE(readAll(other), QByteArray(R"({"theme":"dark"})"));
        QCOMPARE(decodeStateFile(readAll(synced)).state.drinks.size(), 4);
        QCOMPARE(decodeStateFile(readAll(statePath())).state.drinks.size(), 4);
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
