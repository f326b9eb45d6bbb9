#include "StoreTesting.h"

#include "model/ImportError.h"
#include "model/LocalFiles.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using namespace StoreTesting;

namespace {

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray json(const QJsonObject& object)
{
    return QJsonDocument(object).toJson();
}

// A companion folder with one small picture.
void writePack(const QString& folder, const QString& id, const QString& artwork = QStringLiteral("art.png"))
{
    QDir().mkpath(folder);
    QImage image(8, 8, QImage::Format_ARGB32);
    image.fill(Qt::blue);
    QVERIFY(image.save(QDir(folder).filePath(QStringLiteral("art.png"))));
    writeFile(QDir(folder).filePath(QStringLiteral("character.json")),
              json({{"id", id}, {"name", QStringLiteral("Mossy")}, {"kind", QStringLiteral("image")},
                    {"artwork", artwork}}));
}

} // namespace

class StoreFilesTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir folder;
    QTemporaryDir elsewhere;

    QString statePath() const { return QDir(folder.path()).filePath(QStringLiteral("state.json")); }
    QString inFolder(const QString& name) const { return QDir(folder.path()).filePath(name); }

    QStringList keptAside() const
    {
        return QDir(folder.path()).entryList({QStringLiteral("state-unreadable-*.json")}, QDir::Files | QDir::Dirs);
    }

    // Offers `bytes` as the care package the user picks, and imports it.
    void importPackage(DewbellStore& store, const QByteArray& bytes)
    {
        const QString package = QDir(elsewhere.path()).filePath(QStringLiteral("package.json"));
        writeFile(package, bytes);
        store.chooseFileToOpen = [package](const QString&, const QString&) { return std::optional(package); };
        store.importGiftSettings();
    }

    void expectStartedFresh(const QByteArray& original)
    {
        auto s = openStore(folder.path());
        QVERIFY(s->notice());
        QVERIFY(s->notice()->startsWith(QStringLiteral("Your saved data couldn't be read, so Dewbell started fresh.")));
        QCOMPARE(keptAside().size(), 1);
        QVERIFY(s->notice()->contains(keptAside().first()));
        QCOMPARE(readFile(inFolder(keptAside().first())), original);
        QCOMPARE(s->preferences(), Preferences{});
        s->drink();
        QCOMPARE(readFile(inFolder(keptAside().first())), original);
        QCOMPARE(openStore(folder.path())->state().drinks.size(), 1);
    }

private slots:
    void init() { QVERIFY(folder.isValid() && elsewhere.isValid()); }
    void cleanup()
    {
        QDir(folder.path()).removeRecursively();
        QDir(elsewhere.path()).removeRecursively();
        QDir().mkpath(folder.path());
        QDir().mkpath(elsewhere.path());
    }

    void changesSurviveARestartInAPrivateFile()
    {
        {
            auto s = startedStore(folder.path());
            s->update([](Preferences& p) { p.recipient = QStringLiteral("Sam"); });
            s->drink();
        }
        const auto ownerGroupOther = QFile::permissions(statePath()) & QFileDevice::Permissions(0x7077);
        QCOMPARE(ownerGroupOther, QFile::ReadOwner | QFile::WriteOwner);
        auto s = openStore(folder.path());
        QCOMPARE(s->preferences().recipient, QStringLiteral("Sam"));
        QCOMPARE(s->state().drinks.size(), 1);
        QVERIFY(!s->notice());
    }

    void withoutPersistenceNothingIsWrittenOrMoved()
    {
        auto s = openStore(folder.path(), false);
        s->drink();
        s->save();
        QVERIFY(!QFileInfo::exists(statePath()));

        writeFile(statePath(), "{ broken");
        auto broken = openStore(folder.path(), false);
        QVERIFY(broken->notice());
        QVERIFY(keptAside().isEmpty());
        QCOMPARE(readFile(statePath()), QByteArray("{ broken"));
    }

    void aSaveThatFailsBecomesTheNotice()
    {
        auto s = openStore(folder.path());
        QVERIFY(QDir().mkpath(statePath()));
        s->drink();
        QVERIFY(s->notice());
        QVERIFY2(s->notice()->startsWith(QStringLiteral("Couldn't save your settings: ")), qPrintable(*s->notice()));
        QCOMPARE(s->state().drinks.size(), 1);
    }

    void anUnreadableStateFileIsKeptAside_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("truncated") << QByteArray("{\"schemaVersion\": 2, \"drinks\": [{\"id\": \"");
        QTest::newRow("not JSON") << QByteArray("hello, this is not JSON");
        QTest::newRow("an array") << QByteArray("[1, 2, 3]");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("oversized") << QByteArray(LocalFiles::stateLimit + 1, ' ');
    }

    void anUnreadableStateFileIsKeptAside()
    {
        QFETCH(QByteArray, bytes);
        writeFile(statePath(), bytes);
        expectStartedFresh(bytes);
    }

    void aStateFileWithoutReadPermissionIsKeptAside()
    {
        const QByteArray bytes = encodeStateFile(SavedState{});
        writeFile(statePath(), bytes);
        QVERIFY(QFile::setPermissions(statePath(), QFileDevice::Permissions{}));
        if (QFile(statePath()).open(QIODevice::ReadOnly))
            QSKIP("File permissions do not stop this user from reading (running as root).");
        openStore(folder.path());
        QCOMPARE(keptAside().size(), 1);
        QVERIFY(!QFileInfo::exists(statePath()));
    }

    void aMalformedRecordIsDroppedAndTheRestKept()
    {
        SavedState state;
        state.drinks.append(Drink{QUuid::createUuid(), morning(), 250});
        QJsonObject encoded = encode(state);
        encoded.insert(QStringLiteral("drinks"), encoded.value(QStringLiteral("drinks")).toArray() + QJsonObject{});
        writeFile(statePath(), json(encoded));
        QCOMPARE(openStore(folder.path())->state().drinks, state.drinks);
        QVERIFY(keptAside().isEmpty());
    }

    void aFirstFormatFileIsCopiedOnceBeforeItIsRewritten()
    {
        const QByteArray firstFormat = json({{"preferences", QJsonObject{{"recipient", QStringLiteral("Robin")}}}});
        writeFile(statePath(), firstFormat);
        {
            auto s = openStore(folder.path());
            QCOMPARE(s->preferences().recipient, QStringLiteral("Robin"));
            QCOMPARE(readFile(inFolder(QStringLiteral("state-before-v2.json"))), firstFormat);
            s->drink();
        }

        // Another old file later never replaces the first copy.
        writeFile(statePath(), json({{"preferences", QJsonObject{{"recipient", QStringLiteral("Kim")}}}}));
        auto again = openStore(folder.path());
        QCOMPARE(again->preferences().recipient, QStringLiteral("Kim"));
        QCOMPARE(readFile(inFolder(QStringLiteral("state-before-v2.json"))), firstFormat);
    }

    void staleDatesAreClearedAtLaunch()
    {
        SavedState state;
        state.pausedUntil = state.focusUntil = state.meetingUntil = morning();
        state.nextDue = morning();
        state.nextEyeDue = morning();
        writeFile(statePath(), encodeStateFile(state));
        auto s = openStore(folder.path());
        QVERIFY(!s->state().pausedUntil && !s->state().focusUntil && !s->state().meetingUntil);
        QVERIFY2(!s->state().nextEyeDue, "eye rest is off, so it has no deadline");
        QVERIFY(s->state().nextDue > QDateTime::currentDateTimeUtc());
    }

    void aGoodPackIsImportedAndLoadedAgainAtLaunch()
    {
        const QString source = QDir(elsewhere.path()).filePath(QStringLiteral("mossy"));
        writePack(source, QStringLiteral("mossy"));
        auto s = openStore(folder.path());
        const int builtIns = int(s->packs().size());
        const CharacterPack pack = s->importPack(source);
        QCOMPARE(QFileInfo(pack.folder.value_or(QString())).canonicalFilePath(),
                 QFileInfo(inFolder(QStringLiteral("Characters/mossy"))).canonicalFilePath());
        s->importPack(source);

        auto reopened = openStore(folder.path());
        QCOMPARE(reopened->packs().size(), builtIns + 1);
        QCOMPARE(reopened->packs().last().id, QStringLiteral("mossy"));
    }

    void packImportRefusals()
    {
        auto s = openStore(folder.path());
        const QList<CharacterPack> before = s->packs();
        const QDir root(elsewhere.path());
        // The refusal's sentence; empty when the pack was taken.
        const auto refused = [&](const QString& folderName) -> QString {
            try {
                s->importPack(root.filePath(folderName));
            } catch (const ImportError& error) {
                return error.message();
            }
            return {};
        };

        writePack(root.filePath(QStringLiteral("escaping")), QStringLiteral("escaping"), QStringLiteral("../art.png"));
        QVERIFY(!refused(QStringLiteral("escaping")).isEmpty());

        writePack(root.filePath(QStringLiteral("linked")), QStringLiteral("linked"), QStringLiteral("outside.png"));
        QImage(4, 4, QImage::Format_RGB32).save(root.filePath(QStringLiteral("secret.png")));
        QVERIFY(QFile::link(root.filePath(QStringLiteral("secret.png")),
                            root.filePath(QStringLiteral("linked/outside.png"))));
        QVERIFY(!refused(QStringLiteral("linked")).isEmpty());

        writePack(root.filePath(QStringLiteral("huge")), QStringLiteral("huge"), QStringLiteral("huge.png"));
        QFile huge(root.filePath(QStringLiteral("huge/huge.png")));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(LocalFiles::imageLimit + 1));
        huge.close();
        QVERIFY(refused(QStringLiteral("huge")).contains(QStringLiteral("too large")));

        writePack(root.filePath(QStringLiteral("garbled")), QStringLiteral("garbled"), QStringLiteral("bad.png"));
        writeFile(root.filePath(QStringLiteral("garbled/bad.png")), "not a picture at all");
        QVERIFY(!refused(QStringLiteral("garbled")).isEmpty());

        writePack(root.filePath(QStringLiteral("impostor")), QStringLiteral("bloop"));
        QVERIFY(refused(QStringLiteral("impostor")).contains(QStringLiteral("comes with Dewbell")));

        QVERIFY(!refused(QStringLiteral("missing")).isEmpty());
        QCOMPARE(s->packs(), before);
        QVERIFY(QDir(inFolder(QStringLiteral("Characters"))).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
    }

    void aBrokenPackInThePrivateFolderIsSkippedAtLaunch()
    {
        writePack(inFolder(QStringLiteral("Characters/fine")), QStringLiteral("fine"));
        writePack(inFolder(QStringLiteral("Characters/broken")), QStringLiteral("broken"), QStringLiteral("gone.png"));
        writePack(inFolder(QStringLiteral("Characters/twin")), QStringLiteral("fine"));
        writePack(inFolder(QStringLiteral("Characters/viru-again")), QStringLiteral("viru"));
        auto s = openStore(folder.path());
        QStringList ids;
        for (const CharacterPack& pack : s->packs())
            ids.append(pack.id);
        QCOMPARE(ids.mid(0, 4), (QStringList{"bloop", "sprout", "viru", "vuzo"}));
        QCOMPARE(ids.last(), QStringLiteral("fine"));
        QCOMPARE(ids.count(QStringLiteral("fine")) + ids.count(QStringLiteral("viru")), 2);
        QVERIFY(!ids.contains(QStringLiteral("broken")));
        QCOMPARE(s->packs()[2].folder, std::nullopt);
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
        giver->chooseSaveLocation = [&](const QString&, const QString&, const QString&) { return std::optional(package); };
        giver->exportGiftSettings();
        const QJsonObject exported = QJsonDocument::fromJson(readFile(package)).object();
        QCOMPARE(exported.keys(), encode(Preferences{}).keys());
        QCOMPARE(decodeSafeguardPreferences(exported.value(QStringLiteral("safeguards")).toObject()),
                 SafeguardPreferences{});

        QTemporaryDir otherFolder;
        auto receiver = startedStore(otherFolder.path());
        receiver->update([](Preferences& p) { p.safeguards.mirrorGuard = true; });
        const SafeguardPreferences ownSafeguards = receiver->preferences().safeguards;
        receiver->chooseFileToOpen = [&](const QString&, const QString&) { return std::optional(package); };
        receiver->importGiftSettings();
        Preferences expected = giver->preferences();
        expected.safeguards = ownSafeguards;
        QCOMPARE(receiver->preferences(), expected);
        QCOMPARE(receiver->state().nextDue, receiver->now().addSecs(30 * 60));
        QCOMPARE(openStore(otherFolder.path())->preferences(), expected);
    }

    void aBadCarePackageChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("not JSON") << QByteArray("{ \"recipient\": ");
        QTest::newRow("an array") << QByteArray("[]");
        QTest::newRow("no settings") << QByteArray("{\"drinks\": []}");
        QTest::newRow("a wrong type") << QByteArray("{\"recipient\": \"Kim\", \"intervalMinutes\": \"often\"}");
        QTest::newRow("a wrong nested type") << QByteArray("{\"breaks\": {\"eyeEnabled\": \"yes\"}}");
        QTest::newRow("an unknown personality") << QByteArray("{\"personality\": \"grumpy\"}");
        QTest::newRow("too large") << QByteArray("{\"loveNote\": \"") + QByteArray(300 * 1024, 'a') + "\"}";
    }

    void aBadCarePackageChangesNothing()
    {
        QFETCH(QByteArray, bytes);
        auto s = startedStore(folder.path());
        const QByteArray saved = readFile(statePath());
        importPackage(*s, bytes);
        QVERIFY(s->notice());
        QCOMPARE(s->preferences(), Preferences{});
        QCOMPARE(readFile(statePath()), saved);
    }

    void aCarePackageIsClamped()
    {
        auto s = startedStore(folder.path());
        importPackage(*s, R"({"intervalMinutes": 2, "dailyGoal": 999, "breaks": {"eyeDurationSeconds": 1}})");
        QCOMPARE(s->preferences().intervalMinutes, 5);
        QCOMPARE(s->preferences().dailyGoal, 20);
        QCOMPARE(s->preferences().breaks.eyeDurationSeconds, 20);
    }

    void cancelledOrUnavailableDialogsDoNothing()
    {
        auto s = startedStore(folder.path());
        s->exportGiftSettings();
        s->importGiftSettings();
        s->selectProtectedApp();
        s->chooseSaveLocation = [](const QString&, const QString&, const QString&) { return std::optional<QString>(); };
        s->chooseFileToOpen = [](const QString&, const QString&) { return std::optional<QString>(); };
        s->chooseApplication = [](const QString&) { return std::optional<QString>(); };
        s->exportGiftSettings();
        s->importGiftSettings();
        s->selectProtectedApp();
        QVERIFY(!s->notice());
        QCOMPARE(s->preferences(), Preferences{});
        QCOMPARE(QDir(elsewhere.path()).entryList(QDir::Files).size(), 0);
    }

    void aCarePackageThatCannotBeWrittenSaysSo()
    {
        auto s = startedStore(folder.path());
        s->chooseSaveLocation = [&](const QString&, const QString&, const QString&) {
            return std::optional(QDir(elsewhere.path()).filePath(QStringLiteral("no/such/folder/note.json")));
        };
        s->exportGiftSettings();
        QVERIFY(s->notice() && s->notice()->startsWith(QStringLiteral("Couldn't save the care package: ")));
    }

    void aChosenApplicationIsProtected()
    {
        auto s = startedStore(folder.path());
        s->chooseApplication = [](const QString&) { return std::optional(QStringLiteral("org.gnome.Terminal")); };
        s->selectProtectedApp();
        s->selectProtectedApp();
        QCOMPARE(s->preferences().safeguards.protectedApps, QStringList{QStringLiteral("org.gnome.Terminal")});
    }
};

QTEST_GUILESS_MAIN(StoreFilesTest)
#include "test_store_files.moc"
