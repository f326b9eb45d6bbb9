#include "model/LocalFiles.h"
#include "support/ModelTesting.h"
#include "support/PictureTesting.h"
#include "support/TableTesting.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <unistd.h>

using namespace ModelTesting;
using PictureTesting::imageBytes;

namespace {

int mode(const QString& path)
{
    struct stat info { };
    if (stat(QFile::encodeName(path).constData(), &info) != 0)
        return -1;
    return int(info.st_mode & 0777);
}

// A file of this size that takes no disk space.
void writeSparse(const QString& path, qint64 size)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.resize(size));
}

// A pack folder with a picture, a sheet in a sub-folder and a movie.
QString makePack(const QTemporaryDir& root, const QByteArray& extraKeys = {})
{
    const QString folder = root.filePath(QStringLiteral("source"));
    writeFile(folder + "/art.png", imageBytes());
    writeFile(folder + "/sheets/walk.png", imageBytes());
    writeFile(folder + "/in.webm", "not really a movie");
    writeFile(folder + "/character.json", R"({"id":"moss","name":"Moss","kind":"sprite","artwork":"art.png",
        "entry":"in.webm","walkSheet":{"file":"sheets/walk.png"})"
                                              + extraKeys + "}");
    return folder;
}

}  // namespace

class TestLocalFiles : public QObject {
    Q_OBJECT

private slots:
    void privateFoldersAndAtomicWritesAreOwnerOnly()
    {
        QTemporaryDir root;
        const QString nested = root.filePath(QStringLiteral("a/b/dewbell"));
        LocalFiles::ensurePrivateFolder(nested);
        QCOMPARE(mode(nested), 0700);
        QCOMPARE(chmod(QFile::encodeName(nested).constData(), 0755), 0);
        LocalFiles::ensurePrivateFolder(nested);
        QCOMPARE(mode(nested), 0700);

        const QString path = nested + "/state.json";
        writeFile(path, "old contents that are longer");
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
        QVERIFY(!refusal([&] { LocalFiles::ensurePrivateFolder(path); }).isEmpty());
        LocalFiles::writeAtomically(path, "new");
        QCOMPARE(LocalFiles::readBounded(path, 100), QByteArray("new"));
        QCOMPARE(mode(path), 0600);
        QCOMPARE(QDir(nested).entryList(QDir::Files | QDir::Hidden), QStringList{"state.json"});
        QVERIFY(!refusal([&] { LocalFiles::writeAtomically(root.filePath("missing/state.json"), "x"); }).isEmpty());
    }

    // Only "no such file" is absent; a path that cannot be looked up is never taken for one.
    void aPathIsAbsentOnlyWhenItIsNotThere()
    {
        using Kind = LocalFiles::PathStatus::Kind;
        QTemporaryDir root;
        const QString file = root.filePath(QStringLiteral("state.json"));
        QCOMPARE(LocalFiles::pathStatus(file).kind, Kind::absent);
        writeFile(file, "{}");
        QCOMPARE(LocalFiles::pathStatus(file).kind, Kind::present);
        const LocalFiles::PathStatus underAFile = LocalFiles::pathStatus(file + QStringLiteral("/state.json"));
        QCOMPARE(underAFile.kind, Kind::unreachable);
        QCOMPARE(underAFile.reason, QStringLiteral("Not a directory"));
        if (geteuid() != 0) {
            QCOMPARE(chmod(QFile::encodeName(file).constData(), 0), 0);
            QCOMPARE(LocalFiles::pathStatus(file).kind, Kind::unreadable);
            QCOMPARE(chmod(QFile::encodeName(root.path()).constData(), 0), 0);
            QCOMPARE(LocalFiles::pathStatus(file).kind, Kind::unreachable);
            QCOMPARE(chmod(QFile::encodeName(root.path()).constData(), 0700), 0);
        }
    }

    void readsAreBounded()
    {
        QTemporaryDir root;
        const QString path = root.filePath(QStringLiteral("state.json"));
        writeSparse(path, 2 * LocalFiles::MiB);
        QCOMPARE(LocalFiles::readBounded(path, 2 * LocalFiles::MiB).size(), 2 * LocalFiles::MiB);
        writeSparse(path, 2 * LocalFiles::MiB + 1);
        QVERIFY(refusal([&] { LocalFiles::readBounded(path, 2 * LocalFiles::MiB); }).contains("over 2 MiB"));
        const QString fifo = root.filePath(QStringLiteral("fifo"));
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        for (const QString& notAFile : {root.path(), fifo})
            QVERIFY(refusal([&] { LocalFiles::readBounded(notAFile, 10); }).contains("isn't a regular file"));
    }

    // A FIFO has no writer here: opening it the ordinary way would wait for ever.
    void onlyRegularFilesAreOpened()
    {
        QTemporaryDir root;
        const QString fifo = root.filePath(QStringLiteral("fifo"));
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(QFile::link(fifo, root.filePath(QStringLiteral("link-to-fifo"))));
        writeFile(root.filePath(QStringLiteral("file")), "bytes");
        for (const char* name : {"fifo", "link-to-fifo", "."}) {
            QFile special(root.filePath(QLatin1String(name)));
            QVERIFY2(LocalFiles::isSpecialFile(special.fileName()), name);
            QVERIFY2(!LocalFiles::openRegularFile(special), name);
        }
        QFile file(root.filePath(QStringLiteral("file")));
        QVERIFY(!LocalFiles::isSpecialFile(file.fileName()) && !LocalFiles::isSpecialFile(root.filePath("absent")));
        QVERIFY(LocalFiles::openRegularFile(file));
        QCOMPARE(file.readAll(), QByteArray("bytes"));
    }

    // A link in Dewbell's folder is replaced by Dewbell's file, never written through; a file of
    // the user's elsewhere is replaced whole and keeps its mode.
    void writesNeverFollowALinkOutOfTheFolder()
    {
        QTemporaryDir root;
        const QString theirs = root.filePath(QStringLiteral("elsewhere/theirs.json"));
        writeFile(theirs, "theirs");
        QCOMPARE(chmod(QFile::encodeName(theirs).constData(), 0644), 0);
        const QString ours = root.filePath(QStringLiteral("dewbell/state.json"));
        QVERIFY(QDir().mkpath(QFileInfo(ours).path()));
        QVERIFY(QFile::link(theirs, ours));

        LocalFiles::writeAtomically(ours, "ours");
        QVERIFY(!QFileInfo(ours).isSymLink());
        QCOMPARE(LocalFiles::readBounded(ours, 100), QByteArray("ours"));
        QCOMPARE(mode(ours), 0600);
        QCOMPARE(LocalFiles::readBounded(theirs, 100), QByteArray("theirs"));
        QCOMPARE(mode(theirs), 0644);
        QCOMPARE(QDir(QFileInfo(ours).path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{"state.json"});

        LocalFiles::replaceKeepingMode(theirs, "replaced");
        QCOMPARE(LocalFiles::readBounded(theirs, 100), QByteArray("replaced"));
        QCOMPARE(mode(theirs), 0644);
        QVERIFY(!refusal([&] { LocalFiles::replaceKeepingMode(root.filePath("elsewhere"), "x"); }).isEmpty());
    }

    // Replacing an installed pack deletes nothing outside the folder of packs: a pack's name that
    // is a link, to a folder or to nothing, is removed as a link, and a folder of packs that is a
    // link is not installed into at all.
    void aPackNameThatIsALinkIsReplacedAsALink()
    {
        QTemporaryDir root;
        const QString source = makePack(root);
        const CharacterPack pack = LocalFiles::validatePack(source);
        const QString elsewhere = root.filePath(QStringLiteral("elsewhere"));
        writeFile(elsewhere + "/precious.txt", "never part of a pack");
        writeFile(elsewhere + "/notes/more.txt", "nor this");
        const QString packs = root.filePath(QStringLiteral("private/Characters"));
        QVERIFY(QDir().mkpath(packs));

        for (const QString& target : {elsewhere, root.filePath(QStringLiteral("gone"))}) {
            QFile::remove(packs + "/moss");
            QVERIFY(QFile::link(target, packs + "/moss"));
            const QString installed = LocalFiles::installPack(source, pack, packs);
            QVERIFY(!QFileInfo(installed).isSymLink());
            LocalFiles::validatePack(installed);
            QVERIFY(QDir(installed).removeRecursively());
        }
        QCOMPARE(LocalFiles::readBounded(elsewhere + "/precious.txt", 100), QByteArray("never part of a pack"));
        QCOMPARE(LocalFiles::readBounded(elsewhere + "/notes/more.txt", 100), QByteArray("nor this"));
        QCOMPARE(QDir(packs).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System),
                 QStringList());

        const QString linkedPacks = root.filePath(QStringLiteral("private/LinkedCharacters"));
        QVERIFY(QFile::link(elsewhere, linkedPacks));
        QCOMPARE(chmod(QFile::encodeName(elsewhere).constData(), 0755), 0);
        const QString message = refusal([&] { LocalFiles::installPack(source, pack, linkedPacks); });
        QVERIFY2(message.contains("is a link to another place"), qPrintable(message));
        QCOMPARE(mode(elsewhere), 0755);
        QCOMPARE(QDir(elsewhere).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 (QStringList{"notes", "precious.txt"}));
    }

    void badPacksAreRefused_data()
    {
        addColumns<QByteArray, QString, QString>("extraKeys", "setup", "expected");
        QTest::newRow("escape") << QByteArray(R"(,"happyArtwork":"../outside.png")") << ""
                                << "outside its folder";
        QTest::newRow("link out") << QByteArray(R"(,"happyArtwork":"link.png")") << "link-out"
                                  << "points outside";
        QTest::newRow("undecodable") << QByteArray(R"(,"happyArtwork":"junk.png")") << "junk"
                                     << "can't be read";
        QTest::newRow("big image") << QByteArray(R"(,"happyArtwork":"big.png")") << "big-image"
                                   << "over 24 MiB";
        QTest::newRow("big movie") << QByteArray(R"(,"success":"big.mp4")") << "big-movie"
                                   << "over 128 MiB";
        QTest::newRow("big pack") << QByteArray(R"(,"success":"a.mp4","disappointed":"b.mp4")") << "big-pack"
                                  << "over 256 MiB in all";
        QTest::newRow("manifest out") << QByteArray() << "manifest-out"
                                      << "“character.json” points outside";
        // "source-other" begins with "source" but is another folder.
        QTest::newRow("link into a sibling folder") << QByteArray(R"(,"happyArtwork":"sibling.png")") << "link-sibling"
                                                    << "points outside";
        // Two small files that unpack to 16.8 million pixels.
        QTest::newRow("too many pixels") << QByteArray(R"(,"happyArtwork":"wide.png","sadSheet":{"file":"tall.png"})")
                                         << "many-pixels"
                                         << "too large in all (over 16 million pixels)";
    }
    void badPacksAreRefused()
    {
        QFETCH(QByteArray, extraKeys);
        QFETCH(QString, setup);
        QFETCH(QString, expected);
        QTemporaryDir root;
        const QString folder = makePack(root, extraKeys);
        writeFile(root.filePath("outside.png"), imageBytes());
        if (setup == "link-out")
            QVERIFY(QFile::link(root.filePath("outside.png"), folder + "/link.png"));
        if (setup == "link-sibling") {
            writeFile(folder + "-other/sibling.png", imageBytes());
            QVERIFY(QFile::link(folder + "-other/sibling.png", folder + "/sibling.png"));
        }
        if (setup == "junk")
            writeFile(folder + "/junk.png", "junk");
        if (setup == "big-image")
            writeSparse(folder + "/big.png", LocalFiles::imageLimit + 1);
        if (setup == "big-movie")
            writeSparse(folder + "/big.mp4", LocalFiles::movieLimit + 1);
        if (setup == "big-pack") {
            for (const char* name : {"/a.mp4", "/b.mp4", "/in.webm"})
                writeSparse(folder + name, 100 * LocalFiles::MiB);
        }
        if (setup == "many-pixels") {
            QImage wide(4100, 2050, QImage::Format_RGB32);
            wide.fill(Qt::darkCyan);
            QVERIFY(wide.save(folder + "/wide.png") && wide.save(folder + "/tall.png"));
        }
        if (setup == "manifest-out") {
            QVERIFY(QFile::rename(folder + "/character.json", root.filePath("character.json")));
            QVERIFY(QFile::link(root.filePath("character.json"), folder + "/character.json"));
        }
        const QString message = refusal([&] { LocalFiles::validatePack(folder); });
        QVERIFY2(message.contains(expected), qPrintable(message));
    }

    // A picture found good is decoded again only once its file changes; a damaged picture whose
    // file did not change passes on its header (drawing it then shows the missing-art symbol).
    void unchangedPicturesAreDecodedOnce()
    {
        QTemporaryDir root;
        const QString folder = makePack(root);
        const QString record = root.filePath(QStringLiteral("cache/checked-pictures.json"));
        {
            PictureChecks checks(record);
            LocalFiles::validatePack(folder, &checks);
            checks.save();
        }
        spoilPictureKeepingItsTime(folder + "/art.png");
        PictureChecks checks(record);
        QCOMPARE(refusal([&] { LocalFiles::validatePack(folder, &checks); }), QString());
        QVERIFY(refusal([&] { LocalFiles::validatePack(folder); }).contains("can't be read"));
        touchLater(folder + "/art.png");
        QVERIFY(refusal([&] { LocalFiles::validatePack(folder, &checks); }).contains("can't be read"));
    }

    void aGoodPackValidatesAndReplacesAnEarlierCopyPrivately()
    {
        QTemporaryDir root;
        const QString source = makePack(root);
        QVERIFY(QFile::link(source + "/art.png", source + "/alias.png"));
        writeFile(source + "/character.json", R"({"id":"moss","name":"Moss","kind":"sprite","artwork":"alias.png",
            "walkSheet":{"file":"sheets/walk.png"}})");
        const QString packs = root.filePath(QStringLiteral("private/Characters"));
        writeFile(packs + "/moss/stale.png", "left from an older copy");

        const CharacterPack pack = LocalFiles::validatePack(source);
        QCOMPARE(pack.asset(pack.artwork), QFileInfo(source + "/art.png").canonicalFilePath());
        const QString installed = LocalFiles::installPack(source, pack, packs);
        QCOMPARE(installed, QFileInfo(packs).canonicalFilePath() + "/moss");
        QCOMPARE(QDir(packs).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList{"moss"});
        QVERIFY(!QFileInfo::exists(installed + "/stale.png"));
        QVERIFY(!QFileInfo::exists(installed + "/in.webm"));
        QVERIFY(!QFileInfo(installed + "/alias.png").isSymLink());
        for (const QString& folder : {packs, installed, installed + "/sheets"})
            QCOMPARE(mode(folder), 0700);
        for (const char* file : {"/character.json", "/alias.png", "/sheets/walk.png"})
            QCOMPARE(mode(installed + QString::fromUtf8(file)), 0600);
        LocalFiles::validatePack(installed);
    }
};

QTEST_GUILESS_MAIN(TestLocalFiles)
#include "test_local_files.moc"
