#include "support/ModelTesting.h"
#include "support/StoreTesting.h"
#include "support/TableTesting.h"

#include "model/ImportError.h"
#include "store/PackLibrary.h"

#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using namespace StoreTesting;
using ModelTesting::emptyFolders;
using ModelTesting::spoilPictureKeepingItsTime;
using ModelTesting::touchLater;
using ModelTesting::writeFile;

namespace {

// A companion folder with one small picture, art.png.
void writePack(const QString& folder, const QString& id, const QString& artwork = QStringLiteral("art.png"),
               const QString& name = QStringLiteral("Mossy"))
{
    QDir().mkpath(folder);
    QImage image(8, 8, QImage::Format_ARGB32);
    image.fill(Qt::blue);
    QVERIFY(image.save(QDir(folder).filePath(QStringLiteral("art.png"))));
    const QJsonObject character{{"id", id}, {"name", name}, {"kind", "image"}, {"artwork", artwork}};
    writeFile(QDir(folder).filePath(QStringLiteral("character.json")), QJsonDocument(character).toJson());
}

}  // namespace

// Companion folders the user imports or places by hand, and the shipped ones, as the store loads them.
class StorePacksTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir folder;
    QTemporaryDir elsewhere;

    QString inFolder(const QString& name) const { return QDir(folder.path()).filePath(name); }

private slots:
    void init() { QVERIFY(folder.isValid() && elsewhere.isValid()); }
    void cleanup() { emptyFolders({&folder, &elsewhere}); }

    void packImports_data()
    {
        addColumns<QString, QString, QString>("id", "artwork", "refusal");
        QTest::newRow("a good pack") << "mossy"
                                     << "art.png" << QString();
        QTest::newRow("an id with a dot") << "rain.cloud"
                                          << "art.png" << QString();
        QTest::newRow("an id with an umlaut") << "wolke-ü"
                                              << "art.png" << QString();
        QTest::newRow("a name with two dots") << "mossy"
                                              << "my..pic.png" << QString();
        QTest::newRow("a hidden id") << ".mossy"
                                     << "art.png"
                                     << "This companion's character.json has an id that can't be a folder name "
                                        "(it begins with \".\" or holds \"/\").";
        QTest::newRow("escaping path") << "mossy"
                                       << "../art.png"
                                       << "This companion names a file outside its folder: “../art.png”.";
        QTest::newRow("symlink") << "mossy"
                                 << "outside.png"
                                 << "This companion's “outside.png” points outside its folder.";
        QTest::newRow("oversized file") << "mossy"
                                        << "huge.png"
                                        << "“huge.png” is too large to open (over 24 MiB).";
        QTest::newRow("undecodable image") << "mossy"
                                           << "bad.png"
                                           << "The picture “bad.png” can't be read.";
    }
    void packImports()
    {
        QFETCH(QString, id);
        QFETCH(QString, artwork);
        QFETCH(QString, refusal);
        const QDir root(elsewhere.path());
        const QString pack = root.filePath(QStringLiteral("source"));
        writePack(pack, id, artwork);
        // A readable picture waits outside the pack for the escaping path and the link.
        QVERIFY(QFile::copy(QDir(pack).filePath(QStringLiteral("art.png")), root.filePath(QStringLiteral("art.png"))));
        QFile art(QDir(pack).filePath(artwork));
        if (artwork == QStringLiteral("outside.png")) {
            QVERIFY(QFile::link(root.filePath(QStringLiteral("art.png")), art.fileName()));
        } else if (artwork == QStringLiteral("huge.png")) {
            QVERIFY(art.open(QIODevice::WriteOnly) && art.resize(LocalFiles::imageLimit + 1));
            art.close();
        } else if (artwork == QStringLiteral("bad.png")) {
            writeFile(art.fileName(), "not a picture at all");
        } else if (artwork == QStringLiteral("my..pic.png")) {
            QVERIFY(QFile::copy(QDir(pack).filePath(QStringLiteral("art.png")), art.fileName()));
        }
        auto s = openStore(folder.path());
        const QList<CharacterPack> before = s->packs();
        QString message;
        try {
            s->importPack(pack);
        } catch (const ImportError& error) {
            message = error.message();
        }
        QCOMPARE(message, refusal);
        const QDir characters(inFolder(QStringLiteral("Characters")));
        const QStringList imported = characters.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(imported, refusal.isNull() ? QStringList{id} : QStringList());
        auto reopened = openStore(folder.path());
        QCOMPARE(reopened->packs().size(), before.size() + imported.size());
        QCOMPARE(reopened->notice(), std::nullopt);
    }

    // The user's own pack may be imported again and replaces the first copy; a pack may not
    // take the id of one that comes with Dewbell.
    void aPackIsReplacedOnlyByTheUsersOwn()
    {
        const QDir root(elsewhere.path());
        auto s = openStore(folder.path());
        const qsizetype shipped = s->packs().size();
        for (const QString& name : {QStringLiteral("Mossy"), QStringLiteral("Mossy the Second")}) {
            writePack(root.filePath(QStringLiteral("mossy")), QStringLiteral("mossy"), QStringLiteral("art.png"), name);
            QCOMPARE(s->importPack(root.filePath(QStringLiteral("mossy"))).name, name);
        }
        const auto reopened = openStore(folder.path());
        for (const DewbellStore* store : {s.get(), reopened.get()}) {
            QCOMPARE(store->packs().size(), shipped + 1);
            QCOMPARE(store->packs().last().name, QStringLiteral("Mossy the Second"));
        }

        // Nor does one with such an id that was put in the folder by hand.
        writePack(inFolder(QStringLiteral("Characters/bloop")), QStringLiteral("bloop"));
        QCOMPARE(openStore(folder.path())->packs().size(), shipped + 1);

        const QDir characters(inFolder(QStringLiteral("Characters")));
        const QStringList installed = characters.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        const std::pair<const char*, const char*> shippedPacks[] = {{"bloop", "Pemmy"}, {"nimbi", "Nimbi"}};
        for (const auto& [id, name] : shippedPacks) {
            const QString folderName = QStringLiteral("my-") + QLatin1String(id);
            writePack(root.filePath(folderName), QLatin1String(id));
            QString message;
            try {
                s->importPack(root.filePath(folderName));
            } catch (const ImportError& error) {
                message = error.message();
            }
            QCOMPARE(message, QStringLiteral("“%1” comes with Dewbell, so a pack with the id “%2” can't replace it. "
                                             "Give the pack an id of its own.")
                                  .arg(QLatin1String(name), QLatin1String(id)));
            QCOMPARE(s->packs().size(), shipped + 1);
            QCOMPARE(characters.entryList(QDir::Dirs | QDir::NoDotAndDotDot), installed);
        }
    }

    // A pack that cannot load at launch is named in the notice, never dropped without a word.
    // Its pictures are decoded once, and again only when their files change.
    void packsAtLaunchAreDecodedOnceAndNamedWhenTheyFail()
    {
        writePack(inFolder(QStringLiteral("Characters/rain.cloud")), QStringLiteral("rain.cloud"));
        writePack(inFolder(QStringLiteral("Characters/broken")), QStringLiteral("broken"), QStringLiteral("gone.png"));
        const auto ids = [](const DewbellStore& store) {
            QStringList found;
            for (const CharacterPack& pack : store.packs())
                found.append(pack.id);
            return found;
        };
        auto first = openStore(folder.path());
        QVERIFY(ids(*first).contains(QStringLiteral("rain.cloud")) && !ids(*first).contains(QStringLiteral("broken")));
        QVERIFY2(first->notice() && first->notice()->contains(QStringLiteral("“broken”: "))
                     && first->notice()->contains(QStringLiteral("gone.png")),
                 qPrintable(first->notice().value_or(QString())));

        const QString art = inFolder(QStringLiteral("Characters/rain.cloud/art.png"));
        spoilPictureKeepingItsTime(art);
        QVERIFY(ids(*openStore(folder.path())).contains(QStringLiteral("rain.cloud")));
        touchLater(art);
        auto changed = openStore(folder.path());
        QVERIFY(!ids(*changed).contains(QStringLiteral("rain.cloud")));
        QVERIFY(changed->notice() && changed->notice()->contains(QStringLiteral("“rain.cloud”: ")));
    }

    // The art Dewbell ships is decoded by its tests when it is built, so a launch reads only the
    // headers of its pictures; the user's own packs are decoded in full.
    void onlyTheUsersOwnPicturesAreDecodedAtLaunch()
    {
        writePack(inFolder(QStringLiteral("bundle/rain.cloud")), QStringLiteral("rain.cloud"));
        writePack(inFolder(QStringLiteral("own/drizzle")), QStringLiteral("drizzle"));
        spoilPictureKeepingItsTime(inFolder(QStringLiteral("bundle/rain.cloud/art.png")));
        spoilPictureKeepingItsTime(inFolder(QStringLiteral("own/drizzle/art.png")));
        const PackScan scan =
            PackLibrary::load(inFolder(QStringLiteral("bundle")), inFolder(QStringLiteral("own")), false);
        QCOMPARE(scan.packs.last().id, QStringLiteral("rain.cloud"));
        QCOMPARE(scan.notLoaded.size(), 1);
        QCOMPARE(scan.notLoaded.first().folder, inFolder(QStringLiteral("own/drizzle")));
    }
};

QTEST_GUILESS_MAIN(StorePacksTest)
#include "test_store_packs.moc"
