#include "AssetDiagnostics.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

const QStringList reportKeys{
    QStringLiteral("automaticChecksDefault"), QStringLiteral("automaticInstallDefault"),
    QStringLiteral("configurationValid"),     QStringLiteral("feedURL"),
    QStringLiteral("frameworkLinked"),        QStringLiteral("releaseBuild"),
    QStringLiteral("signedFeedRequired"),     QStringLiteral("systemProfiling"),
    QStringLiteral("verifyBeforeExtraction"),
};

const char* validFeed = "https://updates.dewbell.app/linux/appcast.xml";
const char* validKey = "BC3ZuKDniC4gawkpqjspKhba7BfoSogGzeSEEJaYy5Q=";

struct Run {
    QByteArray output;
    int exitCode = -1;
    QProcess::ExitStatus status = QProcess::CrashExit;
};

} // namespace

class EntryPointTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void updateReportOfAReleaseConfiguration();
    void updateReportReadsOnlyRealBooleans();
    void updateReportWithoutInformationDictionary();
    void updatesWinWhenBothReportsAreAsked();
    void assetReportIsWrittenUnchangedWithOneLineFeed();
    void incompleteArtExitsWithOne();
    void lookalikeSwitchesStartTheApplication_data();
    void lookalikeSwitchesStartTheApplication();
    void terminationSavesTheState_data();
    void terminationSavesTheState();

private:
    QString writeBundle(const QByteArray& info);
    QProcessEnvironment environment(const QString& bundle) const;
    Run runReport(const QStringList& arguments, const QString& bundle);
    QJsonObject parseReport(const Run& run);

    std::unique_ptr<QTemporaryDir> scratch_;
    QString buildBundle_;
};

void EntryPointTest::initTestCase()
{
    buildBundle_ = qEnvironmentVariable("DEWBELL_BUNDLE_DIR");
    QVERIFY(!buildBundle_.isEmpty());
}

void EntryPointTest::init()
{
    scratch_ = std::make_unique<QTemporaryDir>();
    QVERIFY(scratch_->isValid());
}

QString EntryPointTest::writeBundle(const QByteArray& info)
{
    const QString bundle = scratch_->filePath(QStringLiteral("bundle"));
    QDir().mkpath(bundle);
    if (!info.isNull()) {
        QFile file(bundle + QStringLiteral("/info.json"));
        if (!file.open(QIODevice::WriteOnly) || file.write(info) != info.size())
            qFatal("cannot write the test bundle");
    }
    return bundle;
}

// A process that sees nothing of the real user: its own home, data and config folders.
QProcessEnvironment EntryPointTest::environment(const QString& bundle) const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DEWBELL_BUNDLE_DIR"), bundle);
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"}) {
        const QString folder = scratch_->filePath(QLatin1String(name));
        QDir().mkpath(folder);
        environment.insert(QLatin1String(name), folder);
    }
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("disabled:"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    return environment;
}

Run EntryPointTest::runReport(const QStringList& arguments, const QString& bundle)
{
    QProcess process;
    process.setProcessEnvironment(environment(bundle));
    process.start(qEnvironmentVariable("DEWBELL_BINARY"), arguments);
    if (!process.waitForFinished(30000))
        process.kill();
    return {process.readAllStandardOutput(), process.exitCode(), process.exitStatus()};
}

QJsonObject EntryPointTest::parseReport(const Run& run)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(run.output, &error);
    if (error.error != QJsonParseError::NoError)
        qWarning() << "not JSON:" << run.output;
    return document.object();
}

void EntryPointTest::updateReportOfAReleaseConfiguration()
{
    const QByteArray info = QStringLiteral(R"({"SUFeedURL": "%1", "SUPublicEDKey": "%2", "DWDistribution": "developer-id",
        "SURequireSignedFeed": true, "SUVerifyUpdateBeforeExtraction": true, "SUEnableAutomaticChecks": true,
        "SUAutomaticallyUpdate": false, "SUEnableSystemProfiling": true})")
                                .arg(QLatin1String(validFeed), QLatin1String(validKey))
                                .toUtf8();
    const Run run = runReport({QStringLiteral("--diagnose-updates")}, writeBundle(info));
    QCOMPARE(run.status, QProcess::NormalExit);
    QCOMPARE(run.exitCode, 0);

    // Sorted keys, one per line, and exactly one line feed at the end.
    QVERIFY(run.output.endsWith("}\n"));
    QVERIFY(!run.output.endsWith("\n\n"));
    QList<qsizetype> positions;
    for (const QString& key : reportKeys)
        positions.append(run.output.indexOf(QByteArray('"' + key.toUtf8() + "\":")));
    QVERIFY(!positions.contains(-1));
    QVERIFY(std::is_sorted(positions.begin(), positions.end()));
    QCOMPARE(run.output.count('\n'), reportKeys.size() + 2);

    const QJsonObject report = parseReport(run);
    QCOMPARE(report.keys(), reportKeys);
    QCOMPARE(report.value(QStringLiteral("configurationValid")), QJsonValue(true));
    QCOMPARE(report.value(QStringLiteral("releaseBuild")), QJsonValue(true));
    QCOMPARE(report.value(QStringLiteral("feedURL")), QJsonValue(QLatin1String(validFeed)));
    QCOMPARE(report.value(QStringLiteral("frameworkLinked")), QJsonValue(true));
    QCOMPARE(report.value(QStringLiteral("signedFeedRequired")), QJsonValue(true));
    QCOMPARE(report.value(QStringLiteral("automaticInstallDefault")), QJsonValue(false));
    QCOMPARE(report.value(QStringLiteral("systemProfiling")), QJsonValue(true));
}

void EntryPointTest::updateReportReadsOnlyRealBooleans()
{
    const QByteArray info = QStringLiteral(R"({"SUFeedURL": "http://insecure.example/feed.xml", "SUPublicEDKey": "%1",
        "SURequireSignedFeed": "YES", "SUVerifyUpdateBeforeExtraction": 1, "SUEnableAutomaticChecks": "true",
        "SUAutomaticallyUpdate": null, "SUEnableSystemProfiling": {"value": true}})")
                                .arg(QLatin1String(validKey))
                                .toUtf8();
    const Run run = runReport({QStringLiteral("--diagnose-updates")}, writeBundle(info));
    QCOMPARE(run.exitCode, 1);
    const QJsonObject report = parseReport(run);
    QCOMPARE(report.keys(), reportKeys);
    for (const char* key : {"signedFeedRequired", "verifyBeforeExtraction", "automaticChecksDefault",
                            "automaticInstallDefault", "systemProfiling", "configurationValid", "releaseBuild"})
        QVERIFY2(report.value(QLatin1String(key)) == QJsonValue(false), key);
    QCOMPARE(report.value(QStringLiteral("feedURL")), QJsonValue(QString()));
}

void EntryPointTest::updateReportWithoutInformationDictionary()
{
    for (const QByteArray& info : {QByteArray(), QByteArray("not json at all"), QByteArray("[true, true]")}) {
        const Run run = runReport({QStringLiteral("--diagnose-updates")}, writeBundle(info));
        QCOMPARE(run.status, QProcess::NormalExit);
        QCOMPARE(run.exitCode, 1);
        const QJsonObject report = parseReport(run);
        QCOMPARE(report.keys(), reportKeys);
        for (const QString& key : reportKeys) {
            if (key == QLatin1String("feedURL"))
                QCOMPARE(report.value(key), QJsonValue(QString()));
            else
                QCOMPARE(report.value(key), QJsonValue(key == QLatin1String("frameworkLinked")));
        }
        QFile::remove(scratch_->filePath(QStringLiteral("bundle/info.json")));
    }
}

void EntryPointTest::updatesWinWhenBothReportsAreAsked()
{
    const QString bundle = writeBundle({});
    for (const QStringList& arguments : {QStringList{QStringLiteral("--diagnose-assets"), QStringLiteral("--diagnose-updates")},
                                         QStringList{QStringLiteral("--diagnose-updates"), QStringLiteral("--diagnose-assets")}}) {
        const Run run = runReport(arguments, bundle);
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(parseReport(run).keys(), reportKeys);
    }
}

void EntryPointTest::assetReportIsWrittenUnchangedWithOneLineFeed()
{
    const auto [expected, valid] = AssetDiagnostics::report();
    QVERIFY(valid);
    const Run run = runReport({QStringLiteral("--diagnose-assets")}, buildBundle_);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.output, expected + '\n');
}

void EntryPointTest::incompleteArtExitsWithOne()
{
    const QString bundle = writeBundle("{}");
    qputenv("DEWBELL_BUNDLE_DIR", bundle.toUtf8());
    const auto [expected, valid] = AssetDiagnostics::report();
    qputenv("DEWBELL_BUNDLE_DIR", buildBundle_.toUtf8());
    QVERIFY(!valid);
    const Run run = runReport({QStringLiteral("--diagnose-assets")}, bundle);
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.output, expected + '\n');
}

void EntryPointTest::lookalikeSwitchesStartTheApplication_data()
{
    QTest::addColumn<QString>("lookalike");
    QTest::newRow("extra characters") << QStringLiteral("--diagnose-updatesX");
    QTest::newRow("attached value") << QStringLiteral("--diagnose-assets=yes");
    QTest::newRow("other letter case") << QStringLiteral("--Diagnose-Updates");
    QTest::newRow("prefix only") << QStringLiteral("--diagnose");
}

// The application starts (prints nothing and keeps running) and a SIGTERM ends it cleanly.
void EntryPointTest::lookalikeSwitchesStartTheApplication()
{
    QFETCH(QString, lookalike);
    QProcess process;
    process.setProcessEnvironment(environment(buildBundle_));
    process.start(qEnvironmentVariable("DEWBELL_BINARY"),
                  {lookalike, QStringLiteral("--ui-test"), QStringLiteral("--background")});
    QVERIFY(process.waitForStarted());
    QVERIFY(!process.waitForFinished(1500));
    QVERIFY(process.readAllStandardOutput().isEmpty());
    process.terminate();
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
}

void EntryPointTest::terminationSavesTheState_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
}

void EntryPointTest::terminationSavesTheState()
{
    QFETCH(int, signalNumber);
    QProcess process;
    process.setProcessEnvironment(environment(buildBundle_));
    process.start(qEnvironmentVariable("DEWBELL_BINARY"), {QStringLiteral("--background")});
    QVERIFY(process.waitForStarted());
    QVERIFY(!process.waitForFinished(1500));
    const QString stateFile = scratch_->filePath(QStringLiteral("XDG_DATA_HOME/dewbell/state.json"));
    QVERIFY(!QFile::exists(stateFile));

    ::kill(pid_t(process.processId()), signalNumber);
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    QFile saved(stateFile);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    // Without a tray the window showed the tour; ending the process is no answer to it.
    QCOMPARE(QJsonDocument::fromJson(saved.readAll()).object().value(QStringLiteral("tourVersion")), QJsonValue(0));
}

QTEST_GUILESS_MAIN(EntryPointTest)
#include "test_entry_point.moc"
