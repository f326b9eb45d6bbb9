#include "model/CharacterPack.h"
#include "support/ModelTesting.h"
#include "support/TableTesting.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace ModelTesting;

class TestCharacterPack : public QObject {
    Q_OBJECT

private slots:
    void badManifestsAreRefusedWithASentence_data()
    {
        addColumns<QByteArray, QString>("json", "why");
        QTest::newRow("not JSON") << QByteArray("{id:") << "isn't valid JSON";
        QTest::newRow("array") << QByteArray("[]") << "doesn't describe a companion";
        QTest::newRow("no id") << QByteArray(R"({"name":"A","kind":"drop"})") << "has no id";
        QTest::newRow("numeric kind") << QByteArray(R"({"id":"a","name":"A","kind":3})") << "has no kind";
        QTest::newRow("path id") << QByteArray(R"({"id":"../x","name":"A","kind":"drop"})") << "has an id that";
        QTest::newRow("sheet string") << QByteArray(R"({"id":"a","name":"A","kind":"d","walkSheet":"w.png"})")
                                      << "walkSheet";
        QTest::newRow("too many frames") << QByteArray(
            R"({"id":"a","name":"A","kind":"d","sadSheet":{"file":"s","rows":2,"frames":3}})")
                                         << "more frames than cells";
        QTest::newRow("huge grid") << QByteArray(
            R"({"id":"a","name":"A","kind":"d","sadSheet":{"file":"s","columns":1e300}})")
                                   << "sadSheet";
        QTest::newRow("long kind") << QByteArray(R"({"id":"a","name":"A","kind":")") + QByteArray(33, 'k') + "\"}"
                                   << "kind longer than 32";
        QTest::newRow("long file name") << QByteArray(R"({"id":"a","name":"A","kind":"image","artwork":")")
                                               + QByteArray(256, 'f') + "\"}"
                                        << "longer than 255";
    }
    void badManifestsAreRefusedWithASentence()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, why);
        const QString message = refusal([&] { decodeCharacterPack(json, {}); });
        QVERIFY2(message.startsWith(QStringLiteral("This companion's character.json ")), qPrintable(message));
        QVERIFY2(message.contains(why), qPrintable(message));
    }

    // Any folder name is an id, unless it hides the folder or reaches out of it.
    void idsAreFolderNames_data()
    {
        addColumns<QString, bool>("id", "accepted");
        for (const char* id : {"rain.cloud", "wolke-ü", "rain cloud", "a..b", "雨"})
            QTest::newRow(id) << QString::fromUtf8(id) << true;
        for (const char* id : {".hidden", "..", "a/b", "tab\tid"})
            QTest::newRow(id) << QString::fromUtf8(id) << false;
        QTest::newRow("65 characters") << QString(65, QLatin1Char('x')) << false;
    }
    void idsAreFolderNames()
    {
        QFETCH(QString, id);
        QFETCH(bool, accepted);
        const QJsonObject manifest{{"id", id}, {"name", "Drizzle"}, {"kind", "image"}};
        const QString message = refusal([&] { decodeCharacterPack(QJsonDocument(manifest).toJson(), {}); });
        QVERIFY2(message.isEmpty() == accepted, qPrintable(message));
    }

    // One letter with 100,000 accents is one character, but not a small text.
    void namesAreBoundedInCodePointsToo()
    {
        const QString heavy = QStringLiteral("A") + QString(100000, QChar(0x0301));
        const QJsonObject manifest{{"id", "heavy"}, {"name", heavy}, {"subtitle", heavy}, {"kind", "image"}};
        const CharacterPack pack = decodeCharacterPack(QJsonDocument(manifest).toJson(), {});
        QVERIFY(pack.name.startsWith(QLatin1Char('A')));
        QVERIFY2(pack.name.size() <= 60 * 8, qPrintable(QString::number(pack.name.size())));
        QVERIFY2(pack.subtitle.size() <= 160 * 8, qPrintable(QString::number(pack.subtitle.size())));
    }

    // A name cut at its 60 characters reads the same the next time: no space left at its end.
    // Control characters (a line break, a NUL) are no part of a name.
    void namesAreCutCleanlyAndHoldNoControlCharacters()
    {
        const QString cutAtASpace = QString(59, QLatin1Char('n')) + QStringLiteral(" and more");
        const QJsonObject manifest{{"id", "long"}, {"name", cutAtASpace}, {"kind", "image"}};
        const CharacterPack pack = decodeCharacterPack(QJsonDocument(manifest).toJson(), {});
        QCOMPARE(pack.name, QString(59, QLatin1Char('n')));
        QCOMPARE(decodeCharacterPack(QJsonDocument(encode(pack)).toJson(), {}).name, pack.name);

        for (const QString& name : {QStringLiteral("Two\nlines"), QStringLiteral("Nul"), QStringLiteral("Bell\a"),
                                    QStringLiteral("Tab\tbed")}) {
            QString spoiled = name;
            if (name == QLatin1String("Nul"))
                spoiled.append(QChar(0)).append(QLatin1String("end"));
            const QJsonObject bad{{"id", "bad"}, {"name", spoiled}, {"kind", "image"}};
            const QString message = refusal([&] { decodeCharacterPack(QJsonDocument(bad).toJson(), {}); });
            QVERIFY2(message.contains(QStringLiteral("name with control characters")), qPrintable(name));
        }
    }

    void assetStaysInsideThePack()
    {
        QTemporaryDir root;
        const QString folder = root.filePath(QStringLiteral("pack"));
        writeFile(folder + "/art.png");
        writeFile(folder + "/my..pic.png");
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
        QCOMPARE(pack.asset(QStringLiteral("sub/walk.png")), canonical + "/sub/walk.png");
        QCOMPARE(pack.asset(QStringLiteral("alias.png")), canonical + "/art.png");
        QCOMPARE(pack.asset(QStringLiteral("my..pic.png")), canonical + "/my..pic.png");
        for (const char* refused : {"../secret.png", "/etc/passwd", "sub/../art.png", "escape.png", "missing.png",
                                    "folder.png", "sibling/x.png", ""})
            QVERIFY2(!pack.asset(QString::fromUtf8(refused)), refused);
        pack.folder.reset();
        QVERIFY(!pack.asset(QStringLiteral("art.png")));
    }
};

QTEST_GUILESS_MAIN(TestCharacterPack)
#include "test_character_pack.moc"
