#include "support/TableTesting.h"
#include "updates/Installation.h"
#include "updates/UpdateArchive.h"

#include "support/ReleaseTesting.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

using namespace ReleaseTesting;

Q_DECLARE_METATYPE(QList<ReleaseTesting::Entry>)
Q_DECLARE_METATYPE(std::optional<UpdateProblem>)

class UpdateArchiveTest : public QObject {
    Q_OBJECT

    QTemporaryDir scratch_;

    QString freshFolder(const QString& name)
    {
        const QString path = scratch_.filePath(name);
        QDir(path).removeRecursively();
        QDir().mkpath(path);
        return path;
    }

    static int mode(const QString& path)
    {
        struct stat status { };
        return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? int(status.st_mode & 07777) : -1;
    }

    QStringList besideRoot(const QString& root) const
    {
        return QDir(QFileInfo(root).absolutePath()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

private slots:
    void unpacking_data()
    {
        addColumns<QList<Entry>, std::optional<UpdateProblem>>("entries", "problem");
        const auto unsafe = std::optional(UpdateProblem::unsafeArchive);
        const QList<Entry> tree = dewbellTree("2.0");
        QTest::newRow("a plain installed tree") << tree << std::optional<UpdateProblem>();
        QTest::newRow("dotted and doubled slashes")
            << QList<Entry>{file("./bin//dewbell", "x", 0755), folder("./")} << std::optional<UpdateProblem>();
        QTest::newRow("a link further down")
            << tree + QList<Entry>{softLink("share/dewbell/app/current", "Characters/bloop")}
            << std::optional<UpdateProblem>();
        QTest::newRow("climbs with ..") << tree + QList<Entry>{file("share/../../evil", "x")} << unsafe;
        QTest::newRow(".. in the middle") << QList<Entry>{file("bin/../../../tmp/evil", "x")} << unsafe;
        QTest::newRow("absolute path") << QList<Entry>{file("/tmp/dewbell-evil", "x")} << unsafe;
        QTest::newRow("link to an absolute path") << QList<Entry>{softLink("bin/sh", "/bin/sh")} << unsafe;
        QTest::newRow("link that climbs out") << QList<Entry>{softLink("share/up", "../../..")} << unsafe;
        QTest::newRow("link that climbs back in") << QList<Entry>{softLink("share/x", "../share")} << unsafe;
        QTest::newRow("written through a link")
            << QList<Entry>{softLink("share/dewbell", "Characters"), file("share/dewbell/evil", "x")} << unsafe;
        QTest::newRow("link over a file")
            << QList<Entry>{file("bin/dewbell", "x"), softLink("bin/dewbell", "y")} << unsafe;
        QTest::newRow("file twice") << QList<Entry>{file("bin/dewbell", "x"), file("bin/dewbell", "y")} << unsafe;
        QTest::newRow("hard link") << QList<Entry>{file("bin/dewbell", "x"),
                                                   Entry{Entry::Kind::hardLink, "bin/copy", "bin/dewbell", 0644}}
                                   << unsafe;
        QTest::newRow("device") << QList<Entry>{Entry{Entry::Kind::device, "share/null", {}, 0644}} << unsafe;
        QList<Entry> crowd;
        for (int index = 0; index < 21; ++index)
            crowd.append(file("share/dewbell/" + QByteArray::number(index), "x"));
        QTest::newRow("too many entries") << crowd << unsafe;
        QTest::newRow("too many bytes") << QList<Entry>{file("share/big", QByteArray(5000, 'b'))} << unsafe;
    }
    void unpacking()
    {
        QFETCH(QList<Entry>, entries);
        QFETCH(std::optional<UpdateProblem>, problem);
        const QString destination = freshFolder(QStringLiteral("staged"));
        const QByteArray archive = tarXz(entries);
        QCOMPARE(UpdateArchive::unpack(archive, destination, UpdateArchive::Limits{4096, 20}), problem);
        QVERIFY(!QFileInfo::exists(QStringLiteral("/tmp/dewbell-evil")));
        QVERIFY(!QFileInfo::exists(scratch_.filePath(QStringLiteral("evil"))));
        if (!problem) {
            const auto unpacked = snapshot(destination);
            for (const Entry& entry : entries) {
                const QString path = *UpdateArchive::confinedPath(QString::fromUtf8(entry.path));
                if (entry.kind == Entry::Kind::file)
                    QCOMPARE(unpacked.value(path), entry.content);
            }
        }
    }

    void permissionsKeepOnlyExecuteBits()
    {
        const QString destination = freshFolder(QStringLiteral("modes"));
        const QByteArray archive =
            tarXz({file("bin/dewbell", "x", 04777), file("share/dewbell/info.json", "{}", 0666)});
        QCOMPARE(UpdateArchive::unpack(archive, destination), std::optional<UpdateProblem>());
        QCOMPARE(mode(destination + QStringLiteral("/bin/dewbell")), 0755);
        QCOMPARE(mode(destination + QStringLiteral("/share/dewbell/info.json")), 0644);
    }

    void notAnArchive()
    {
        const QString destination = freshFolder(QStringLiteral("garbage"));
        QCOMPARE(UpdateArchive::unpack(QByteArray("this is not a tar file at all"), destination),
                 std::optional(UpdateProblem::notDewbell));
    }

    // Which folders Dewbell may replace by itself: only one that holds Dewbell and nothing
    // else, and never one that holds the user's data.
    void installationsThatReplaceThemselves_data()
    {
        addColumns<QList<Entry>, QString, bool>("tree", "dataFolder", "replaces");
        const QList<Entry> tree = dewbellTree("1.0");
        QTest::newRow("its own folder") << tree << "data" << true;
        QTest::newRow("with its desktop file and icon")
            << tree
                   + QList<Entry>{file("share/applications/app.dewbell.Dewbell.desktop", "[Desktop Entry]"),
                                  file("share/icons/hicolor/256x256/apps/app.dewbell.Dewbell.png", "png")}
            << "data" << true;
        QTest::newRow("as cmake --install lays it out")
            << tree
                   + QList<Entry>{file("share/metainfo/app.dewbell.Dewbell.metainfo.xml", "<component/>"),
                                  file("share/man/man1/dewbell.1", ".TH DEWBELL 1"),
                                  file("share/doc/dewbell/LICENSE", "GPL")}
            << "data" << true;
        QTest::newRow("a prefix with other programs")
            << tree + QList<Entry>{file("bin/python3", "x", 0755)} << "data" << false;
        QTest::newRow("a prefix with other folders") << tree + QList<Entry>{folder("etc")} << "data" << false;
        QTest::newRow("other applications' data") << tree + QList<Entry>{folder("share/fonts")} << "data" << false;
        QTest::newRow("the user's data inside") << tree << "root/share/dewbell" << false;
        QTest::newRow("no Dewbell in it")
            << QList<Entry>{folder("bin"), folder("share/dewbell/app")} << "data" << false;
    }
    void installationsThatReplaceThemselves()
    {
        QFETCH(QList<Entry>, tree);
        QFETCH(QString, dataFolder);
        QFETCH(bool, replaces);
        const QString base = freshFolder(QStringLiteral("prefix"));
        writeTree(base + QStringLiteral("/root"), tree);
        QDir().mkpath(base + QLatin1Char('/') + dataFolder);
        const Installation installation(base + QStringLiteral("/root"), base + QLatin1Char('/') + dataFolder);
        QCOMPARE(installation.canReplaceItself(), replaces);
        QCOMPARE(installation.handInstall(QStringLiteral("dewbell-2.0.tar.xz")).sharedFolder, !replaces);
    }

    void theHandInstallCommand_data()
    {
        addColumns<QString, bool>("dataFolder", "clears");
        QTest::newRow("the user's data elsewhere") << "data" << true;
        QTest::newRow("the user's data around Dewbell's (~/.local as prefix)")
            << "it's $HOME; a prefix/share/dewbell" << true;
        QTest::newRow("the user's data inside Dewbell's") << "it's $HOME; a prefix/share/dewbell/app" << false;
    }
    // The command shown for installing a saved update by hand, run as shown in the folder the
    // archive was saved in, whatever the shell would make of the names. It clears what the old
    // version left unless the user's data lie inside it, and never touches the user's files (nor
    // their folder's mode) or other programs' files.
    void theHandInstallCommand()
    {
        QFETCH(QString, dataFolder);
        QFETCH(bool, clears);
        const QString base = freshFolder(QStringLiteral("by hand"));
        const QString root = base + QStringLiteral("/it's $HOME; a prefix");
        const QString userData = base + QLatin1Char('/') + dataFolder;
        const QString archive = QStringLiteral("dewbell 2.0 \"final\".tar.xz");
        writeTree(root, dewbellTree("1.0")
                            + QList<Entry>{file("share/dewbell/app/Characters/dropped/character.json", "{}"),
                                           file("share/doc/dewbell/dropped.html", "old"),
                                           file("bin/other-program", "theirs", 0755),
                                           file("share/applications/other.desktop", "theirs")});
        const QList<Entry> usersFiles{
            file("state.json", "{\"schemaVersion\": 2}"), file("state-unreadable-2024-03-01.json", "{\"schemaVers"),
            file("dewbell.lock", "4242"), file("Characters/x/character.json", "{\"id\": \"x\"}")};
        writeTree(userData, usersFiles);
        ::chmod(QFile::encodeName(userData).constData(), 0700);
        writeTree(base, {file(archive.toUtf8(), tarXz(dewbellTree("2.0")))});
        const Installation installation(root, userData);
        const auto run = [&](const QString& archiveName) {
            QProcess shell;
            shell.setWorkingDirectory(base);
            shell.start(QStringLiteral("/bin/sh"),
                        {QStringLiteral("-c"), installation.handInstall(archiveName).command});
            return shell.waitForFinished(30000) && shell.exitCode() == 0;
        };

        const auto before = snapshot(base);
        QVERIFY2(!run(QStringLiteral("dewbell-2.0.tar.xz")), "an archive that isn't there");
        QCOMPARE(snapshot(base), before);

        QVERIFY(run(archive));
        const auto installed = snapshot(root);
        QVERIFY(installed.value(QStringLiteral("bin/dewbell")).contains("echo 2.0"));
        QCOMPARE(Installation::versionOf(root), QStringLiteral("2.0"));
        const auto kept = snapshot(userData);
        for (const Entry& own : usersFiles)
            QCOMPARE(kept.value(QString::fromUtf8(own.path)), own.content);
        QCOMPARE(mode(userData), 0700);
        QCOMPARE(installation.handInstall(archive).clearsOldVersion, clears);
        QCOMPARE(installed.contains(QStringLiteral("share/dewbell/app/Characters/dropped/character.json")), !clears);
        QCOMPARE(installed.contains(QStringLiteral("share/doc/dewbell/dropped.html")), !clears);
        QCOMPARE(installed.value(QStringLiteral("bin/other-program")), QByteArray("theirs"));
        QCOMPARE(installed.value(QStringLiteral("share/applications/other.desktop")), QByteArray("theirs"));
    }

    void swapReplacesTheWholeTree()
    {
        const QString base = freshFolder(QStringLiteral("swap"));
        const QString root = base + QStringLiteral("/Dewbell");
        writeTree(root, dewbellTree("1.0") + QList<Entry>{file("share/dewbell/app/only-in-1.0.txt", "old")});
        const Installation installation(root, base + QStringLiteral("/data"));
        const QString staged = installation.makeStagingFolder();
        QVERIFY(!staged.isEmpty());
        QCOMPARE(QFileInfo(staged).absolutePath(), base);
        QCOMPARE(UpdateArchive::unpack(tarXz(dewbellTree("2.0")), staged), std::optional<UpdateProblem>());

        QVERIFY(installation.swapIn(staged));
        QVERIFY(snapshot(root).value(QStringLiteral("bin/dewbell")).contains("echo 2.0"));
        QVERIFY(!QFileInfo::exists(root + QStringLiteral("/share/dewbell/app/only-in-1.0.txt")));
        QCOMPARE(besideRoot(root), QStringList{QStringLiteral("Dewbell")});
    }

    void swapRefusesATreeWithoutDewbell()
    {
        const QString base = freshFolder(QStringLiteral("refuse"));
        const QString root = base + QStringLiteral("/Dewbell");
        writeTree(root, dewbellTree("1.0"));
        const auto before = snapshot(root);
        const Installation installation(root, base + QStringLiteral("/data"));
        const QString staged = installation.makeStagingFolder();
        writeTree(staged, {file("share/dewbell/app/info.json", "{}")});
        QVERIFY(!installation.swapIn(staged));
        Installation::discard(staged);
        QCOMPARE(snapshot(root), before);
        QCOMPARE(besideRoot(root), QStringList{QStringLiteral("Dewbell")});
    }
};

QTEST_GUILESS_MAIN(UpdateArchiveTest)
#include "test_update_archive.moc"
