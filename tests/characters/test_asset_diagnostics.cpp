#include "characters/AssetDiagnostics.h"

#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void copyFolder(const QString& from, const QString& to)
{
    QDirIterator files(from, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString source = files.next();
        const QString target = to + source.mid(from.size());
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::copy(source, target);
    }
}

void overwrite(const QString& path, const QByteArray& text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

QStringList problems(const QJsonObject& report)
{
    QStringList lines;
    for (const QJsonValue& problem : report.value(QStringLiteral("problems")).toArray())
        lines.append(problem.toString());
    return lines;
}

}  // namespace

// Runs without any application object, as the "--diagnose-assets" switch does.
class TestAssetDiagnostics : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { bundle_ = qEnvironmentVariable("DEWBELL_BUNDLE_DIR"); }
    void init() { QVERIFY(copy_.emplace().isValid()); }
    void cleanup()
    {
        qputenv("DEWBELL_BUNDLE_DIR", bundle_.toUtf8());
        copy_.reset();
    }

    void theBuiltBundleIsComplete()
    {
        QVERIFY(!QCoreApplication::instance());
        const auto [json, valid] = AssetDiagnostics::report();
        const QJsonObject report = QJsonDocument::fromJson(json).object();
        QVERIFY2(valid && report.value(QStringLiteral("valid")).toBool(), json.constData());
        QVERIFY(problems(report).isEmpty());
        const QJsonObject brand = report.value(QStringLiteral("brand")).toObject();
        for (const QString& file : AssetDiagnostics::requiredBrandFiles()) {
            const QJsonObject entry = brand.value(file).toObject();
            QCOMPARE(entry.value(QStringLiteral("status")).toString(), QStringLiteral("ok"));
            // Named from the content, which for the bundle's own files matches the name.
            QCOMPARE(entry.value(QStringLiteral("format")).toString(), QFileInfo(file).suffix());
        }
        QStringList ids;
        for (const QJsonValue& pack : report.value(QStringLiteral("packs")).toArray()) {
            ids.append(pack.toObject().value(QStringLiteral("id")).toString());
            QVERIFY(pack.toObject().value(QStringLiteral("valid")).toBool());
        }
        for (const QString& id : AssetDiagnostics::bundledPackIDs())
            QVERIFY(ids.contains(id));
    }

    void aMissingOrCorruptFileIsNamed()
    {
        copyBundle();
        QVERIFY(AssetDiagnostics::report().second);
        QVERIFY(QFile::remove(copy_->filePath(QStringLiteral("Characters/zuv/zuv-poses.png"))));
        overwrite(copy_->filePath(QStringLiteral("Brand/orvo-wave.gif")), "GIF89a but nothing after it");
        overwrite(copy_->filePath(QStringLiteral("Sounds/pop.wav")), "RIFF");
        // A pack file that is a link to a picture outside the pack.
        const QString sadPose = copy_->filePath(QStringLiteral("Characters/vossik-fan/zoze-sad.png"));
        QVERIFY(QFile::remove(sadPose));
        QVERIFY(QFile::link(copy_->filePath(QStringLiteral("Brand/app-icon-v1.png")), sadPose));

        const QJsonObject report = invalidReport();
        QCOMPARE(problems(report), (QStringList{QStringLiteral("Brand/orvo-wave.gif: undecodable"),
                                                QStringLiteral("Sounds/pop.wav: undecodable"),
                                                QStringLiteral("Characters/vossik-fan/zoze-sad.png: outside the pack"),
                                                QStringLiteral("Characters/zuv/zuv-poses.png: missing")}));
        for (const QJsonValue& value : report.value(QStringLiteral("packs")).toArray()) {
            const QJsonObject pack = value.toObject();
            QCOMPARE(pack.value(QStringLiteral("valid")).toBool(),
                     pack.value(QStringLiteral("id")) == QStringLiteral("nimbi"));
        }
    }

    void brokenManifestsAndMissingFoldersAreReported()
    {
        copyBundle();
        overwrite(copy_->filePath(QStringLiteral("Characters/vossik-fan/character.json")), "{\"id\": \"vossik-fan\"}");
        QVERIFY(QDir(copy_->filePath(QStringLiteral("Characters/nimbi"))).removeRecursively());
        QVERIFY(QFile::remove(copy_->filePath(QStringLiteral("info.json"))));

        const QStringList found = problems(invalidReport());
        QVERIFY(found.contains(QStringLiteral("info.json: missing")));
        QCOMPARE(found.filter(QStringLiteral("Characters/vossik-fan/character.json: invalid")).size(), 1);
        QVERIFY(found.contains(QStringLiteral("Characters: the bundled pack \"nimbi\" is missing")));
    }

    void anEmptyFolderIsNoBundle()
    {
        qputenv("DEWBELL_BUNDLE_DIR", copy_->path().toUtf8());
        const QStringList found = problems(invalidReport());
        QVERIFY(found.contains(QStringLiteral("Brand/app-icon-v1.png: missing")));
        QVERIFY(found.contains(QStringLiteral("Characters: missing")));
    }

private:
    void copyBundle()
    {
        copyFolder(bundle_, copy_->path());
        qputenv("DEWBELL_BUNDLE_DIR", copy_->path().toUtf8());
    }

    static QJsonObject invalidReport()
    {
        const auto [json, valid] = AssetDiagnostics::report();
        const QJsonObject report = QJsonDocument::fromJson(json).object();
        // A report that calls itself valid yields no problems, failing the caller's checks.
        return valid || report.value(QStringLiteral("valid")).toBool() ? QJsonObject() : report;
    }

    QString bundle_;
    std::optional<QTemporaryDir> copy_;
};

QTEST_APPLESS_MAIN(TestAssetDiagnostics)
#include "test_asset_diagnostics.moc"
