#include "support/ModelTesting.h"
#include "support/StoreTesting.h"
#include "support/TableTesting.h"
#include "support/UnprivilegedTesting.h"

#include "model/LocalFiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using namespace StoreTesting;
using ModelTesting::emptyFolders;
using ModelTesting::writeFile;

namespace {

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class StoreFilesTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir folder;
    QTemporaryDir elsewhere;

    QString inFolder(const QString& name) const { return QDir(folder.path()).filePath(name); }
    QString statePath() const { return inFolder(QStringLiteral("state.json")); }

    // A store whose state file holds only a few KiB, so that a little history fills it.
    std::unique_ptr<DewbellStore> openSmall() const
    {
        return std::make_unique<DewbellStore>(StoreOptions{.directory = folder.path(),
                                                           .persistChanges = true,
                                                           .zone = zone(),
                                                           .stateFile = {.limit = 6 * LocalFiles::KiB}});
    }

    QStringList keptAside() const
    {
        return QDir(folder.path()).entryList({QStringLiteral("state-unreadable-*.json")}, QDir::Files);
    }

private slots:
    void init() { QVERIFY(folder.isValid() && elsewhere.isValid()); }
    void cleanup() { emptyFolders({&folder, &elsewhere}); }

    // The failure stays where drinks are logged, closed banner or not, until a save succeeds.
    void aSaveThatFailsIsToldUntilASaveSucceeds()
    {
        auto s = openStore(folder.path());
        QCOMPARE(s->saveFailure(), std::nullopt);
        QVERIFY(QDir().mkpath(statePath()));
        s->drink();
        QVERIFY(s->notice());
        QVERIFY2(s->notice()->startsWith(QStringLiteral("Couldn't save your settings: ")), qPrintable(*s->notice()));
        QCOMPARE(s->saveFailure(), s->notice());
        s->setNotice(std::nullopt);
        s->drink();
        s->setNotice(std::nullopt);
        QVERIFY(s->saveFailure());
        QVERIFY(QDir(statePath()).removeRecursively());
        s->drink();
        QCOMPARE(s->saveFailure(), std::nullopt);
        QCOMPARE(openStore(folder.path())->state().drinks.size(), 3);
        QCOMPARE(s->state().drinks.size(), 3);
    }

    // Dewbell cannot tell whether its folder holds a file: it neither greets a new user nor
    // saves anything, and says why from the start.
    void aClosedFolderBlocksSavingFromTheStart()
    {
        const QByteArray saved = encodeStateFile(openStore(folder.path())->state());
        writeFile(statePath(), saved);
        const auto permissionDenied = [](const QString&) {
            return LocalFiles::PathStatus{LocalFiles::PathStatus::Kind::unreachable,
                                          QStringLiteral("Permission denied")};
        };
        QStandardPaths::setTestModeEnabled(true);
        DewbellStore s({.directory = folder.path(),
                        .persistChanges = true,
                        .zone = zone(),
                        .stateFile = {.probe = permissionDenied}});
        QVERIFY(s.notice() && s.notice()->contains(QStringLiteral("Permission denied")));
        QVERIFY2(s.saveFailure() && s.saveFailure()->contains(QStringLiteral("can't look inside its folder")),
                 qPrintable(s.saveFailure().value_or(QString())));
        s.presentTourIfNeeded();
        QVERIFY(!s.tourVisible());
        s.drink();
        QVERIFY(s.saveFailure());
        QCOMPARE(readFile(statePath()), saved);
    }

    // A folder Dewbell may not write in is told from the start, also where drinks are logged; a
    // drink still counts, and reaches the disk once the folder opens again.
    void aFolderThatCannotBeWrittenIsToldFromTheStart()
    {
        if (UnprivilegedTesting::runningAsRoot())
            return UnprivilegedTesting::runAsNobody(QTest::currentTestFunction());
        const QString closed = inFolder(QStringLiteral("closed"));
        QVERIFY(QDir().mkpath(closed));
        QVERIFY(QFile::setPermissions(closed, QFile::ReadOwner | QFile::ExeOwner));
        auto s = openStore(closed);
        QVERIFY(s->notice() && s->notice()->contains(QStringLiteral("can't write in its folder")));
        QVERIFY2(s->saveFailure()
                     && s->saveFailure()->startsWith(QStringLiteral("Nothing is being saved: Dewbell can't write")),
                 qPrintable(s->saveFailure().value_or(QString())));
        s->drink();
        QVERIFY(s->saveFailure());
        QVERIFY(QFile::setPermissions(closed, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        s->drink();
        QCOMPARE(s->saveFailure(), std::nullopt);
        QCOMPARE(openStore(closed)->state().drinks.size(), 2);

        // A quit with nothing new to write does not make the closed folder's warning go away.
        QVERIFY(QFile::setPermissions(closed, QFile::ReadOwner | QFile::ExeOwner));
        auto reopened = openStore(closed);
        reopened->saveAndWait();
        QVERIFY(reopened->saveFailure());
    }

    // Sixteen MiB of history was once the most the reader took, while the writer wrote more.
    void aHistoryPastSixteenMiBSurvivesTheNextLaunch()
    {
        SavedState state;
        state.tourVersion = 1;
        const QDateTime start = at(2000, 1, 1, 9);
        for (int i = 0; i < 240000; ++i)
            state.drinks.append({QUuid::createUuid(), start.addMSecs(qint64(i) * 1800123), 250});
        const QByteArray bytes = encodeStateFile(state);
        QVERIFY(bytes.size() > 16 * LocalFiles::MiB);
        writeFile(statePath(), bytes);
        auto s = openStore(folder.path());
        QCOMPARE(s->notice(), std::nullopt);
        s->drink();
        // A history this long is written in the background.
        QTRY_VERIFY(!s->hasUnsavedEdits());
        QCOMPARE(openStore(folder.path())->state().drinks.size(), 240001);
    }

    // A file past the limit came from elsewhere (a computer with a longer history, a newer
    // Dewbell): it is read whole and split as the writer splits, so the settings, today's drinks
    // and every old record stay, and the tour is not offered again.
    void aFileLargerThanTheLimitIsSplitNotSetAside()
    {
        SavedState state = startedStore(folder.path())->state();
        state.preferences.recipient = QStringLiteral("Robin");
        for (int i = 0; i < 300; ++i)
            state.drinks.append({QUuid::createUuid(), morning().addDays(-3).addSecs(i * 60), 250});
        for (int i = 0; i < 2; ++i)
            state.drinks.append({QUuid::createUuid(), morning().addSecs(i * 60), 250});
        // Indented, as another program may write it.
        writeFile(statePath(), QJsonDocument(encode(state)).toJson());
        QVERIFY(encodeStateFile(state).size() > 6 * LocalFiles::KiB);

        auto s = openSmall();
        s->tick(morning().addSecs(600));
        QVERIFY2(s->notice() && s->notice()->contains(QStringLiteral("Nothing was lost")),
                 qPrintable(s->notice().value_or(QString())));
        QVERIFY(keptAside().isEmpty());
        s->presentTourIfNeeded();
        QVERIFY(!s->tourVisible());
        QCOMPARE(s->preferences().recipient, QStringLiteral("Robin"));
        QCOMPARE(s->today().size(), 2);

        const QStringList archives = QDir(folder.path()).entryList({QStringLiteral("state-history-until-*.json")});
        QCOMPARE(archives.size(), 1);
        const SavedState archived = decodeStateFile(readFile(inFolder(archives.first()))).state;
        QCOMPARE(archived.drinks + s->state().drinks, state.drinks);
        QVERIFY(QFileInfo(statePath()).size() <= 6 * LocalFiles::KiB);
        QCOMPARE(openSmall()->state().drinks, s->state().drinks);
    }

    // Dewbell never writes a file anywhere near 1 GiB: one past that is damaged or not Dewbell's.
    // It is kept aside unread (it might not even fit in memory), and the notice says how to bring
    // a good copy back.
    void aFileBeyondWhatDewbellEverWritesIsKeptAsideUnread()
    {
        const qint64 beyond = 1024 * LocalFiles::MiB + 1;
        {
            QFile file(statePath());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(encodeStateFile(startedStore(folder.path(), morning(), Saving::off)->state()));
            // Sparse: the test writes a few bytes, not a gigabyte.
            QVERIFY(file.resize(beyond));
        }
        auto s = openStore(folder.path());
        QCOMPARE(keptAside().size(), 1);
        const QString notice = s->notice().value_or(QString());
        QVERIFY2(notice.contains(keptAside().first()) && notice.contains(QStringLiteral("backup"))
                     && notice.contains(folder.path()),
                 qPrintable(notice));
        QCOMPARE(QFileInfo(inFolder(keptAside().first())).size(), beyond);
        s->drink();
        QCOMPARE(openStore(folder.path())->state().drinks.size(), 1);
    }

    // Two drinks of the largest int a file can hold: today's total stays a sum of real glasses.
    void todaysTotalCannotOverflow()
    {
        SavedState state = startedStore(folder.path())->state();
        for (int i = 0; i < 2; ++i)
            state.drinks.append({QUuid::createUuid(), morning().addSecs(i), std::numeric_limits<int>::max()});
        writeFile(statePath(), encodeStateFile(state));
        auto s = openStore(folder.path());
        s->tick(morning().addSecs(60));
        QCOMPARE(s->totalML(), 2000);
        QVERIFY2(s->notice() && s->notice()->contains(QStringLiteral("2 records held impossible amounts")),
                 qPrintable(s->notice().value_or(QString())));
    }

    // Past the limit, the oldest history goes to an archive; today's drinks stay where they are counted.
    void theOldestHistoryMovesAsideAtTheLimit()
    {
        QStandardPaths::setTestModeEnabled(true);
        auto s = openSmall();
        s->tick(morning().addDays(-2));
        for (int i = 0; i < 60; ++i)
            s->drink();
        s->tick(morning());
        for (int i = 0; i < 40 && !s->notice(); ++i)
            s->drink();
        QVERIFY(s->notice() && s->notice()->contains(QStringLiteral("Nothing was lost")));
        QVERIFY(s->state().drinks.size() < 60);
        QCOMPARE(s->totalML(), qint64(250) * s->today().size());
        QVERIFY(s->today().size() > 0);
        QCOMPARE(openSmall()->state().drinks, s->state().drinks);
        QCOMPARE(QDir(folder.path()).entryList({QStringLiteral("state-history-until-*.json")}).size(), 1);
    }

    // An edit written in the background moves the oldest history aside just as an action's write
    // does, and the store lets go of what went to the archive.
    void aBackgroundWriteMovesTheOldestHistoryAsideToo()
    {
        QStandardPaths::setTestModeEnabled(true);
        auto s = openSmall();
        s->tick(morning());
        s->mutateState([](SavedState& state) {
            for (int i = 0; i < 150; ++i) {
                const QDateTime date = morning().addDays(-2).addSecs(i * 60);
                state.drinks.append({QUuid::createUuid(), date, 250});
                state.breakHistory.append({QUuid::createUuid(), ReminderKind::eyeRest, date, 20});
            }
        });
        s->update([](Preferences& p) { p.sender = QStringLiteral("Mo"); });
        QVERIFY(!s->notice());
        QTRY_VERIFY(s->notice());
        QVERIFY(s->notice()->contains(QStringLiteral("Nothing was lost")));
        QVERIFY(s->state().drinks.size() < 150);
        QVERIFY(s->state().breakHistory.size() < 150);
        const auto reopened = openSmall();
        QCOMPARE(reopened->state().drinks, s->state().drinks);
        QCOMPARE(reopened->state().breakHistory, s->state().breakHistory);
        QCOMPARE(reopened->preferences().sender, QStringLiteral("Mo"));
        QCOMPARE(QDir(folder.path()).entryList({QStringLiteral("state-history-until-*.json")}).size(), 1);
    }

    void anUnreadableStateFileIsKeptAside_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("truncated") << QByteArray("{\"schemaVersion\": 2, \"drinks\": [{\"id\": \"");
        QTest::newRow("an array") << QByteArray("[1, 2, 3]");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("oversized") << QByteArray(LocalFiles::stateLimit + 1, ' ');
    }
    void anUnreadableStateFileIsKeptAside()
    {
        QFETCH(QByteArray, bytes);
        writeFile(statePath(), bytes);
        auto s = openStore(folder.path());
        QVERIFY(s->notice() && s->notice()->startsWith(QStringLiteral("Your saved data couldn't be read")));
        QCOMPARE(keptAside().size(), 1);
        QVERIFY(s->notice()->contains(keptAside().first()));
        QCOMPARE(s->preferences(), Preferences{});
        s->drink();
        QCOMPARE(readFile(inFolder(keptAside().first())), bytes);
        QCOMPARE(openStore(folder.path())->state().drinks.size(), 1);
    }

    void withoutPersistenceABrokenFileIsLeftAlone()
    {
        writeFile(statePath(), "{ broken");
        auto s = openStore(folder.path(), Saving::off);
        s->drink();
        s->save();
        QVERIFY(s->notice() && keptAside().isEmpty());
        QCOMPARE(readFile(statePath()), QByteArray("{ broken"));
    }

    void aMalformedRecordIsDroppedAndTheRestKept()
    {
        SavedState state;
        state.drinks.append(Drink{QUuid::createUuid(), morning(), 250});
        QJsonObject encoded = encode(state);
        encoded.insert(QStringLiteral("drinks"), encoded.value(QStringLiteral("drinks")).toArray() + QJsonObject{});
        writeFile(statePath(), QJsonDocument(encoded).toJson());
        QCOMPARE(openStore(folder.path())->state().drinks, state.drinks);
        QVERIFY(keptAside().isEmpty());
    }

    void aFirstFormatFileIsCopiedOnceBeforeItIsRewritten()
    {
        const QString copy = inFolder(QStringLiteral("state-before-v2.json"));
        QByteArray first;
        for (const char* recipient : {"Robin", "Kim"}) {
            const QJsonObject preferences{{"recipient", recipient}};
            const QByteArray bytes = QJsonDocument(QJsonObject{{"preferences", preferences}}).toJson();
            first = first.isEmpty() ? bytes : first;
            writeFile(statePath(), bytes);
            auto s = openStore(folder.path());
            QCOMPARE(s->preferences().recipient, QString::fromLatin1(recipient));
            s->drink();
            QCOMPARE(readFile(copy), first);
        }
    }

    // Edits of the preferences wait to be written together; any action writes them along with
    // its own change at once, and so does closing the store.
    void editsWaitForTheNextWriteAndAreNeverLost()
    {
        const auto savedNote = [this] {
            const QJsonObject state = QJsonDocument::fromJson(readFile(statePath())).object();
            return state[QStringLiteral("preferences")][QStringLiteral("loveNote")].toString();
        };
        auto s = startedStore(folder.path());
        s->update([](Preferences& p) { p.loveNote = QStringLiteral("S"); });
        s->update([](Preferences& p) { p.loveNote = QStringLiteral("Si"); });
        QVERIFY(s->hasUnsavedEdits());
        QCOMPARE(savedNote(), Preferences{}.loveNote);

        s->drink();
        QVERIFY(!s->hasUnsavedEdits());
        QCOMPARE(savedNote(), QStringLiteral("Si"));
        QCOMPARE(openStore(folder.path())->state().drinks.size(), 1);

        s->update([](Preferences& p) { p.loveNote = QStringLiteral("Sip"); });
        s.reset();
        QCOMPARE(savedNote(), QStringLiteral("Sip"));
    }

    void aCarePackageTravelsWithoutHistoryOrSafeguards()
    {
        auto giver = startedStore(folder.path());
        giver->update([](Preferences& p) {
            p.recipient = QStringLiteral("Robin");
            p.intervalMinutes = 30;
            p.safeguards.flowDelay = true;
        });
        giver->drink();
        const QString package = QDir(elsewhere.path()).filePath(QStringLiteral("A little note for you.json"));
        giver->chooseSaveLocation = [&](const QString&, const QString&, const QString&) {
            return std::optional(package);
        };
        giver->exportGiftSettings();
        QCOMPARE(giver->notice(), QStringLiteral("Care package saved. Send it with the app; they can open it here. "
                                                 "Your drink history stays on your computer."));
        const QJsonObject sent = QJsonDocument::fromJson(readFile(package)).object();
        QCOMPARE(sent.keys(), encode(Preferences{}).keys());
        QCOMPARE(sent.value(QStringLiteral("safeguards")).toObject().value(QStringLiteral("flowDelay")), false);

        QTemporaryDir otherFolder;
        auto receiver = startedStore(otherFolder.path());
        receiver->update([](Preferences& p) { p.safeguards.mirrorGuard = true; });
        Preferences expected = giver->preferences();
        expected.safeguards = receiver->preferences().safeguards;
        receiver->chooseFileToOpen = [&](const QString&, const QString&) { return std::optional(package); };
        receiver->importGiftSettings();
        QCOMPARE(receiver->notice(), QStringLiteral("Your little care package is here. You can change every setting."));
        QCOMPARE(receiver->preferences(), expected);
        QCOMPARE(receiver->state().nextDue, receiver->now().addSecs(30 * 60));
        QCOMPARE(openStore(otherFolder.path())->preferences(), expected);
    }

    // A package from an older version, or written by hand, holds some settings only: those are
    // applied, and everything else stays as the recipient had it, inside the breaks too.
    void aPartialCarePackageKeepsTheRecipientsOtherSettings()
    {
        auto receiver = startedStore(folder.path());
        receiver->update([](Preferences& p) {
            p.companionID = QStringLiteral("sprout");
            p.personality = Personality::menace;
            p.recipient = QStringLiteral("Robin");
            p.sender = QStringLiteral("Kim");
            p.quietEnabled = false;
            p.quietStart = 23;
            p.soundEnabled = false;
            p.breaks.eyeIntervalMinutes = 40;
            p.breaks.movementEnabled = true;
            p.safeguards.flowDelay = true;
        });
        Preferences expected = receiver->preferences();
        expected.intervalMinutes = 30;
        expected.dailyGoal = 6;
        expected.glassML = 300;
        expected.loveNote = QStringLiteral("Drink up, dear.");
        expected.breaks.eyeEnabled = true;

        const QString package = QDir(elsewhere.path()).filePath(QStringLiteral("older.json"));
        writeFile(package, R"({"intervalMinutes": 30, "dailyGoal": 6, "glassML": 300,
                              "loveNote": "Drink up, dear.", "breaks": {"eyeEnabled": true}})");
        receiver->chooseFileToOpen = [&](const QString&, const QString&) { return std::optional(package); };
        receiver->importGiftSettings();
        QCOMPARE(receiver->notice(), QStringLiteral("Your little care package is here. You can change every setting."));
        QCOMPARE(receiver->preferences(), expected);

        // A package Dewbell wrote holds every setting, so it still replaces them all.
        auto giver = startedStore(elsewhere.path());
        const QString whole = QDir(elsewhere.path()).filePath(QStringLiteral("whole.json"));
        giver->chooseSaveLocation = [&](const QString&, const QString&, const QString&) {
            return std::optional(whole);
        };
        giver->exportGiftSettings();
        receiver->chooseFileToOpen = [&](const QString&, const QString&) { return std::optional(whole); };
        receiver->importGiftSettings();
        expected = Preferences{};
        expected.safeguards.flowDelay = true;
        QCOMPARE(receiver->preferences(), expected);
    }

    void aBadCarePackageChangesNothing_data()
    {
        addColumns<QByteArray, QString>("bytes", "why");
        const QString notOne = QStringLiteral("this file isn't a care package.");
        const QString damaged = QStringLiteral("some of its settings are damaged.");
        QTest::newRow("not JSON") << QByteArray("{ \"recipient\": ") << notOne;
        QTest::newRow("an array") << QByteArray("[]") << notOne;
        QTest::newRow("no settings") << QByteArray("{\"drinks\": []}")
                                     << QStringLiteral("this file holds no Dewbell settings.");
        QTest::newRow("a wrong type") << QByteArray("{\"recipient\": \"Kim\", \"intervalMinutes\": \"often\"}")
                                      << damaged;
        QTest::newRow("a wrong nested type") << QByteArray("{\"breaks\": {\"eyeEnabled\": \"yes\"}}") << damaged;
        QTest::newRow("an unknown personality") << QByteArray("{\"personality\": \"grumpy\"}")
                                                << QStringLiteral("it names a personality Dewbell doesn't know.");
        QTest::newRow("too large") << QByteArray("{\"loveNote\": \"") + QByteArray(300 * 1024, 'a') + "\"}"
                                   << QStringLiteral("“package.json” is too large to open (over 256 KiB).");
    }
    void aBadCarePackageChangesNothing()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, why);
        auto s = startedStore(folder.path());
        const QByteArray saved = readFile(statePath());
        const QString package = QDir(elsewhere.path()).filePath(QStringLiteral("package.json"));
        writeFile(package, bytes);
        s->chooseFileToOpen = [package](const QString&, const QString&) { return std::optional(package); };
        s->importGiftSettings();
        QCOMPARE(s->notice(), QStringLiteral("Couldn't open that care package: ") + why);
        QCOMPARE(s->preferences(), Preferences{});
        QCOMPARE(readFile(statePath()), saved);
    }
};

QTEST_GUILESS_MAIN(StoreFilesTest)
#include "test_store_files.moc"
