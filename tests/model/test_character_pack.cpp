#include "ModelTesting.h"
#include "model/CharacterPack.h"

#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>

using namespace ModelTesting;

namespace {

const QByteArray fullManifest = R"({
    "id": "moss-9", "name": "Moss", "subtitle": "Quiet and green", "kind": "sprite", "tint": "a1B2c3",
    "artwork": "art.png", "happyArtwork": "happy.png", "entry": "in.webm", "success": "yay.webm",
    "disappointed": "aw.webm", "poseLayout": "bear24",
    "walkSheet": {"file": "walk.png", "columns": 4, "rows": 2, "frames": 7, "fps": 12},
    "idleSheet": {"file": "art.png"},
    "poseSheet": {"file": "poses.png", "columns": 6, "rows": 4},
    "wellnessSheet": {"file": "well.png", "columns": 3, "rows": 2, "frames": 6, "fps": 2.5}
})";

} // namespace

class TestCharacterPack : public QObject {
    Q_OBJECT

private slots:
    void fullManifestDecodesAndRoundTrips()
    {
        const CharacterPack pack = decodeCharacterPack(fullManifest, QStringLiteral("/packs/moss"));
        QCOMPARE(pack.walkSheet, (SpriteSheet{"walk.png", 4, 2, 7, 12.0}));
        QVERIFY(pack.isBear() && !pack.isHumanSprite());
        QCOMPARE(pack.referencedFiles(), (QStringList{"art.png", "happy.png", "in.webm", "yay.webm", "aw.webm",
                                                      "walk.png", "poses.png", "well.png"}));
        QCOMPARE(decodeCharacterPack(QJsonDocument(encode(pack)).toJson(), pack.folder), pack);
        QVERIFY(CharacterPack::isMovieFile(QStringLiteral("clips/in.WebM")));
        QVERIFY(!CharacterPack::isMovieFile(QStringLiteral("webm")));
    }

    void badManifestsAreRefusedWithASentence_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("why");
        QTest::newRow("not JSON") << QByteArray("{id:") << "isn't valid JSON";
        QTest::newRow("array") << QByteArray("[]") << "doesn't describe a companion";
        QTest::newRow("blank name") << QByteArray(R"({"id":"a","name":"  ","kind":"drop"})") << "has no name";
        QTest::newRow("no id") << QByteArray(R"({"name":"A","kind":"drop"})") << "has no id";
        QTest::newRow("numeric kind") << QByteArray(R"({"id":"a","name":"A","kind":3})") << "has no kind";
        QTest::newRow("path id") << QByteArray(R"({"id":"../x","name":"A","kind":"drop"})") << "has an id that";
        QTest::newRow("long id") << "{\"id\":\"" + QByteArray(65, 'a') + "\",\"name\":\"A\",\"kind\":\"d\"}"
                                 << "longer than 64";
        QTest::newRow("hash tint") << QByteArray("{\"id\":\"a\",\"name\":\"A\",\"kind\":\"d\",\"tint\":\"#7FC8F8\"}") << "tint";
        QTest::newRow("sheet string") << QByteArray(R"({"id":"a","name":"A","kind":"d","walkSheet":"w.png"})")
                                      << "walkSheet";
        QTest::newRow("sheet no file") << QByteArray(R"({"id":"a","name":"A","kind":"d","idleSheet":{}})")
                                       << "idleSheet without a file";
        QTest::newRow("zero columns")
            << QByteArray(R"({"id":"a","name":"A","kind":"d","sadSheet":{"file":"s","columns":0}})") << "sadSheet";
        QTest::newRow("too many frames")
            << QByteArray(R"({"id":"a","name":"A","kind":"d","sadSheet":{"file":"s","rows":2,"frames":3}})")
            << "more frames than cells";
        QTest::newRow("huge grid")
            << QByteArray(R"({"id":"a","name":"A","kind":"d","sadSheet":{"file":"s","columns":1e300}})") << "sadSheet";
        QTest::newRow("zero fps")
            << QByteArray(R"({"id":"a","name":"A","kind":"d","sadSheet":{"file":"s","fps":0}})") << "speed";
    }
    void badManifestsAreRefusedWithASentence()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, why);
        const QString message = refusal([&] { decodeCharacterPack(json, {}); });
        QVERIFY2(message.startsWith(QStringLiteral("This companion's character.json ")), qPrintable(message));
        QVERIFY2(message.contains(why), qPrintable(message));
    }

    void assetStaysInsideThePack()
    {
        QTemporaryDir root;
        const QString folder = root.filePath(QStringLiteral("pack"));
        writeFile(folder + "/art.png");
        writeFile(folder + "/sub/walk.png");
        writeFile(root.filePath(QStringLiteral("secret.png")));
        writeFile(root.filePath(QStringLiteral("pack-evil/x.png")));
        QDir().mkpath(folder + "/folder.png");
        QVERIFY(QFile::link(root.filePath(QStringLiteral("secret.png")), folder + "/escape.png"));
        QVERIFY(QFile::link(folder + "/art.png", folder + "/alias.png"));
        QVERIFY(QFile::link(root.filePath(QStringLiteral("pack-evil")), folder + "/sibling"));

        CharacterPack pack;
        pack.folder = folder;
        const QString canonical = QFileInfo(folder).canonicalFilePath();
        QCOMPARE(pack.asset(QStringLiteral("art.png")), canonical + "/art.png");
        QCOMPARE(pack.asset(QStringLiteral("sub/walk.png")), canonical + "/sub/walk.png");
        QCOMPARE(pack.asset(QStringLiteral("alias.png")), canonical + "/art.png");
        for (const char* refused : {"../secret.png", "/etc/passwd", "sub/../art.png", "escape.png", "missing.png",
                                    "folder.png", "sibling/x.png", ""})
            QVERIFY2(!pack.asset(QString::fromUtf8(refused)), refused);
        QVERIFY(!pack.asset(std::nullopt));

        pack.folder.reset();
        QVERIFY(!pack.asset(QStringLiteral("art.png")));

        QVERIFY(QFile::link(folder, root.filePath(QStringLiteral("linked"))));
        pack.folder = root.filePath(QStringLiteral("linked"));
        QCOMPARE(pack.asset(QStringLiteral("art.png")), canonical + "/art.png");
    }
};

QTEST_GUILESS_MAIN(TestCharacterPack)
#include "test_character_pack.moc"
