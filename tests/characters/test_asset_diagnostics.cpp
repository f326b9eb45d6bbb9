#include "AssetDiagnostics.h"

#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void copyFolder(const QString& from, const QString& to) {
    QDirIterator files(from, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString source = files.next();
        const QString target = to + source.mid(from.size());
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::copy(source, target);
    }
}

QJsonObject parsed(const QByteArray& json) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        qWarning() << error.errorString();
    return document.object();
}

QStringList problems(const QJsonObject& report) {
    QStringList lines;
    for (const QJsonValue& problem : report.value(QStringLiteral("problems")).toArray())
        lines.append(problem.toString());
    return lines;
}

} // namespace

// Runs without any application object, as the "--diagnose-assets" switch does.
class TestAssetDiagnostics : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { bundle_ = qEnvironmentVariable("DEWBELL_BUNDLE_DIR"); }
    void cleanup() { qputenv("DEWBELL_BUNDLE_DIR", bundle_.toUtf8()); }

    void theBuiltBundleIsComplete() {
        QVERIFY(!QCoreApplication::instance());
        const auto [json, valid] = AssetDiagnostics::report();
        const QJsonObject report = parsed(json);
        QVERIFY2(valid, json.constData());
        QVERIFY(report.value(QStringLiteral("valid")).toBool());
        QVERIFY(problems(report).isEmpty());
        QCOMPARE(report.value(QStringLiteral("bundle")).toString(), bundle_);
        const QJsonObject brand = report.value(QStringLiteral("brand")).toObject();
        for (const QString& file : AssetDiagnostics::requiredBrandFiles())
            QCOMPARE(brand.value(file).toObject().value(QStringLiteral("status")).toString(), QStringLiteral("ok"));
        QVERIFY(brand.value(QStringLiteral("orvo-wave.gif")).toObject().value(QStringLiteral("frames")).toInt() > 1);
        QStringList ids;
        for (const QJsonValue& pack : report.value(QStringLiteral("packs")).toArray()) {
            ids.append(pack.toObject().value(QStringLiteral("id")).toString());
            QVERIFY(pack.toObject().value(QStringLiteral("valid")).toBool());
        }
        for (const QString& id : AssetDiagnostics::bundledPackIDs())
            QVERIFY(ids.contains(id));
    }

    void theReportIsPrettyWithSortedKeys() {
        const QByteArray json = AssetDiagnostics::report().first;
        QVERIFY(json.startsWith("{\n    \""));
        QVERIFY(!json.endsWith('\n'));
        const qsizetype brand = json.indexOf("\n    \"brand\"");
        const qsizetype bundle = json.indexOf("\n    \"bundle\"");
        const qsizetype valid = json.indexOf("\n    \"valid\"");
        QVERIFY(brand > 0 && brand < bundle && bundle < valid);
    }

    void aMissingOrCorruptFileIsNamed() {
        QTemporaryDir copy;
        copyFolder(bundle_, copy.path());
        qputenv("DEWBELL_BUNDLE_DIR", copy.path().toUtf8());
        QVERIFY(AssetDiagnostics::report().second);

        QVERIFY(QFile::remove(copy.filePath(QStringLiteral("Characters/zuv/zuv-poses.png"))));
        QFile gif(copy.filePath(QStringLiteral("Brand/orvo-wave.gif")));
        QVERIFY(gif.open(QIODevice::WriteOnly | QIODevice::Truncate));
        gif.write("GIF89a but nothing after it");
        gif.close();

        const auto [json, valid] = AssetDiagnostics::report();
        QVERIFY(!valid);
        const QJsonObject report = parsed(json);
        QVERIFY(!report.value(QStringLiteral("valid")).toBool());
        const QStringList found = problems(report);
        QVERIFY2(found.contains(QStringLiteral("Characters/zuv/zuv-poses.png: missing")), json.constData());
        QVERIFY2(found.contains(QStringLiteral("Brand/orvo-wave.gif: undecodable")), json.constData());
        QCOMPARE(found.size(), 2);
        for (const QJsonValue& value : report.value(QStringLiteral("packs")).toArray()) {
            const QJsonObject pack = value.toObject();
            QCOMPARE(pack.value(QStringLiteral("valid")).toBool(), pack.value(QStringLiteral("id")) != QStringLiteral("zuv"));
        }
    }

    void brokenManifestsAndMissingFoldersAreReported() {
        QTemporaryDir copy;
        copyFolder(bundle_, copy.path());
        qputenv("DEWBELL_BUNDLE_DIR", copy.path().toUtf8());
        QFile manifest(copy.filePath(QStringLiteral("Characters/vossik-fan/character.json")));
        QVERIFY(manifest.open(QIODevice::WriteOnly | QIODevice::Truncate));
        manifest.write("{\"id\": \"vossik-fan\"}");
        manifest.close();
        QVERIFY(QDir(copy.filePath(QStringLiteral("Characters/nimbi"))).removeRecursively());
        QVERIFY(QFile::remove(copy.filePath(QStringLiteral("info.json"))));

        const auto [json, valid] = AssetDiagnostics::report();
        QVERIFY(!valid);
        const QStringList found = problems(parsed(json));
        QVERIFY(found.contains(QStringLiteral("info.json: missing")));
        QVERIFY(found.filter(QStringLiteral("Characters/vossik-fan/character.json: invalid")).size() == 1);
        QVERIFY(found.contains(QStringLiteral("Characters: the bundled pack \"nimbi\" is missing")));
    }

    void anEmptyFolderIsNoBundle() {
        QTemporaryDir empty;
        qputenv("DEWBELL_BUNDLE_DIR", empty.path().toUtf8());
        const auto [json, valid] = AssetDiagnostics::report();
        QVERIFY(!valid);
        const QStringList found = problems(parsed(json));
        QVERIFY(found.contains(QStringLiteral("Brand/app-icon-v1.png: missing")));
        QVERIFY(found.contains(QStringLiteral("Characters: missing")));
    }

private:
    QString bundle_;
};

QTEST_APPLESS_MAIN(TestAssetDiagnostics)
#include "test_asset_diagnostics.moc"
