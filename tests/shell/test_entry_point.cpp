#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

#include "support/ProcessTesting.h"
#include "support/TableTesting.h"

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
};

}  // namespace

class EntryPointTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void updateReportOfAReleaseConfiguration();
    void brokenInformationGivesTheEmptyReport_data();
    void brokenInformationGivesTheEmptyReport();
    void assetReportExitsWithItsVerdict();
    void anImportedPackThatWouldNotLoadIsNamed();
    void lookalikeSwitchStartsTheApplicationAndSavesOnTermination();
    void withoutADisplayItSaysSoInOneLine_data();
    void withoutADisplayItSaysSoInOneLine();
    void aSecondLaunchLeavesTheRunningOneAndItsFileAlone();

private:
    QString writeBundle(const QByteArray& info);
    static void writeImportedPack(const QString& folder, const char* id, const char* artwork);
    QProcessEnvironment environment(const QString& bundle) const;
    void start(QProcess& process, const QStringList& arguments, const QString& bundle) const;
    Run runReport(const QStringList& arguments, const QString& bundle);
    QString dataFolder() const { return scratch_->filePath(QStringLiteral("XDG_DATA_HOME/dewbell")); }

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

// A companion with one small picture, my..pic.png, whose manifest names `artwork`.
void EntryPointTest::writeImportedPack(const QString& folder, const char* id, const char* artwork)
{
    QDir().mkpath(folder);
    // A one-pixel PNG.
    const QByteArray picture = QByteArray::fromBase64(
        "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mNk+M9QDwADhgGAWjR9awAAAABJRU5ErkJggg==");
    QFile art(folder + QStringLiteral("/my..pic.png"));
    if (!art.open(QIODevice::WriteOnly) || art.write(picture) != picture.size())
        qFatal("cannot write the test picture");
    const QJsonObject manifest{{QStringLiteral("id"), QString::fromUtf8(id)},
                               {QStringLiteral("name"), QStringLiteral("Drizzle")},
                               {QStringLiteral("kind"), QStringLiteral("image")},
                               {QStringLiteral("artwork"), QLatin1String(artwork)}};
    QFile file(folder + QStringLiteral("/character.json"));
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(manifest).toJson()) < 0)
        qFatal("cannot write the test manifest");
}

QProcessEnvironment EntryPointTest::environment(const QString& bundle) const
{
    QProcessEnvironment environment = isolatedEnvironment(*scratch_);
    environment.insert(QStringLiteral("DEWBELL_BUNDLE_DIR"), bundle);
    return environment;
}

void EntryPointTest::start(QProcess& process, const QStringList& arguments, const QString& bundle) const
{
    process.setProcessEnvironment(environment(bundle));
    process.start(qEnvironmentVariable("DEWBELL_BINARY"), arguments);
}

Run EntryPointTest::runReport(const QStringList& arguments, const QString& bundle)
{
    QProcess process;
    start(process, arguments, bundle);
    if (!process.waitForFinished(30000))
        process.kill();
    return {process.readAllStandardOutput(), process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1};
}

void EntryPointTest::updateReportOfAReleaseConfiguration()
{
    const QByteArray info =
        QStringLiteral(R"({"SUFeedURL": "%1", "SUPublicEDKey": "%2", "DWDistribution": "developer-id",
        "SURequireSignedFeed": true, "SUVerifyUpdateBeforeExtraction": true, "SUEnableAutomaticChecks": true,
        "SUAutomaticallyUpdate": false, "SUEnableSystemProfiling": true})")
            .arg(QLatin1String(validFeed), QLatin1String(validKey))
            .toUtf8();
    const Run run = runReport({QStringLiteral("--diagnose-updates")}, writeBundle(info));
    QCOMPARE(run.exitCode, 0);
    QJsonObject expected;
    for (const QString& key : reportKeys)
        expected.insert(key, key != QLatin1String("automaticInstallDefault"));
    expected.insert(QStringLiteral("feedURL"), QLatin1String(validFeed));
    // Sorted keys, one per line, and exactly one line feed at the end.
    QCOMPARE(run.output, QJsonDocument(expected).toJson());
}

void EntryPointTest::brokenInformationGivesTheEmptyReport_data()
{
    const QString updates = QStringLiteral("--diagnose-updates");
    const QString assets = QStringLiteral("--diagnose-assets");
    addColumns<QByteArray, QStringList>("info", "arguments");
    QTest::newRow("wrong types") << QStringLiteral(R"({"SUFeedURL": "http://insecure.example/feed.xml",
        "SUPublicEDKey": "%1", "SURequireSignedFeed": "YES", "SUVerifyUpdateBeforeExtraction": 1,
        "SUEnableAutomaticChecks": "true", "SUAutomaticallyUpdate": null, "SUEnableSystemProfiling": {"value": true}})")
                                        .arg(QLatin1String(validKey))
                                        .toUtf8()
                                 << QStringList{updates};
    QTest::newRow("not JSON") << QByteArray("not json at all") << QStringList{updates};
    // With both switches the update report wins, whatever their order.
    QTest::newRow("no info.json, assets first") << QByteArray() << QStringList{assets, updates};
    QTest::newRow("no info.json, updates first") << QByteArray() << QStringList{updates, assets};
}

// Only real booleans count and only an https feed is named; everything else reads as off.
void EntryPointTest::brokenInformationGivesTheEmptyReport()
{
    QFETCH(QByteArray, info);
    QFETCH(QStringList, arguments);
    const Run run = runReport(arguments, writeBundle(info));
    QCOMPARE(run.exitCode, 1);
    QJsonObject expected;
    for (const QString& key : reportKeys)
        expected.insert(key, key == QLatin1String("frameworkLinked"));
    expected.insert(QStringLiteral("feedURL"), QString());
    QCOMPARE(run.output, QJsonDocument(expected).toJson());
}

// The asset report ends in one line feed and its verdict is the exit status: a complete bundle
// passes; one whose sound is cut short fails and says so.
void EntryPointTest::assetReportExitsWithItsVerdict()
{
    const QString bundle = scratch_->filePath(QStringLiteral("bundle"));
    QCOMPARE(QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-R"), buildBundle_, bundle}), 0);
    for (const bool truncated : {false, true}) {
        if (truncated)
            QVERIFY(QFile(bundle + QStringLiteral("/Sounds/pop.wav")).resize(20));
        const Run run = runReport({QStringLiteral("--diagnose-assets")}, bundle);
        QCOMPARE(run.exitCode, truncated ? 1 : 0);
        QVERIFY(run.output.endsWith("}\n"));
        const QJsonObject report = QJsonDocument::fromJson(run.output).object();
        QCOMPARE(report.value(QStringLiteral("valid")).toBool(), !truncated);
        QCOMPARE(
            report.value(QStringLiteral("problems")).toArray().contains(QStringLiteral("Sounds/pop.wav: undecodable")),
            truncated);
    }
}

// A companion the user imported that a launch would leave out is named, with why, and fails the
// report; one with a dotted id and a file name with two dots loads.
void EntryPointTest::anImportedPackThatWouldNotLoadIsNamed()
{
    const QString imported = scratch_->filePath(QStringLiteral("XDG_DATA_HOME/dewbell/Characters"));
    writeImportedPack(imported + QStringLiteral("/rain.cloud"), "rain.cloud", "my..pic.png");
    writeImportedPack(imported + QStringLiteral("/wolke"), "wolke-ü", "gone.png");
    const Run run = runReport({QStringLiteral("--diagnose-assets")}, buildBundle_);
    QCOMPARE(run.exitCode, 1);
    const QJsonObject report = QJsonDocument::fromJson(run.output).object();
    const QJsonObject packs = report.value(QStringLiteral("importedPacks")).toObject();
    QCOMPARE(packs.value(QStringLiteral("loaded")).toArray(), QJsonArray{QStringLiteral("rain.cloud")});
    const QJsonArray notLoaded = packs.value(QStringLiteral("notLoaded")).toArray();
    QCOMPARE(notLoaded.size(), 1);
    QVERIFY(
        notLoaded.first().toObject().value(QStringLiteral("problem")).toString().contains(QStringLiteral("gone.png")));
    const QJsonArray problems = report.value(QStringLiteral("problems")).toArray();
    QCOMPARE(problems.size(), 1);
    QVERIFY2(problems.first().toString().startsWith(QStringLiteral("Imported companion “wolke”: not loaded")),
             qPrintable(problems.first().toString()));
}

// The application starts (prints nothing and keeps running); a termination signal ends it cleanly and saves.
void EntryPointTest::lookalikeSwitchStartsTheApplicationAndSavesOnTermination()
{
    QProcess process;
    start(process, {QStringLiteral("--diagnose-updatesX"), QStringLiteral("--background")}, buildBundle_);
    QVERIFY(process.waitForStarted());
    QVERIFY(!process.waitForFinished(1500));
    QVERIFY(process.readAllStandardOutput().isEmpty());
    const QString stateFile = scratch_->filePath(QStringLiteral("XDG_DATA_HOME/dewbell/state.json"));
    QVERIFY(!QFile::exists(stateFile));

    ::kill(pid_t(process.processId()), SIGTERM);
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    QFile saved(stateFile);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    // Without a tray the window showed the tour; ending the process is no answer to it.
    QCOMPARE(QJsonDocument::fromJson(saved.readAll()).object().value(QStringLiteral("tourVersion")), QJsonValue(0));
}

void EntryPointTest::withoutADisplayItSaysSoInOneLine_data()
{
    QTest::addColumn<QStringList>("settings");
    QTest::newRow("no display at all") << QStringList();
    QTest::newRow("a display that is gone") << QStringList{QStringLiteral("DISPLAY=:4093")};
    QTest::newRow("X11 asked for, only Wayland there")
        << QStringList{QStringLiteral("QT_QPA_PLATFORM=xcb"), QStringLiteral("WAYLAND_DISPLAY=wayland-9")};
}

// Over SSH, say: one sentence and a failing status, before Qt's platform plugin aborts.
void EntryPointTest::withoutADisplayItSaysSoInOneLine()
{
    QFETCH(QStringList, settings);
    QProcessEnvironment environment = this->environment(buildBundle_);
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    for (const QString& setting : settings)
        environment.insert(setting.section(QLatin1Char('='), 0, 0), setting.section(QLatin1Char('='), 1));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(qEnvironmentVariable("DEWBELL_BINARY"), {QStringLiteral("--background")});
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 1);
    QCOMPARE(process.readAllStandardError(),
             QByteArray("Dewbell needs a graphical session (an X11 or Wayland desktop), and none was found.\n"));
    QVERIFY(!QFileInfo::exists(dataFolder()));
}

// Two real processes on one data folder: the later launch (from the menu, or at login) ends at
// once and leaves the running one and its file alone. A lock left by a process that was killed
// does not keep the next launch out.
void EntryPointTest::aSecondLaunchLeavesTheRunningOneAndItsFileAlone()
{
    const QString stateFile = dataFolder() + QStringLiteral("/state.json");
    QDir().mkpath(dataFolder());
    const QByteArray saved = R"({"schemaVersion":2,"tourVersion":1,"drinks":[)"
                             R"({"date":757382400,"id":"0B7A2E44-2D0B-4C5E-9A57-8F1C3E2B6D10","ml":250}]})";
    QFile file(stateFile);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(saved) == saved.size());
    file.close();

    QProcess first;
    start(first, {QStringLiteral("--background")}, buildBundle_);
    QVERIFY(first.waitForStarted());
    QTRY_VERIFY(QFile::exists(dataFolder() + QStringLiteral("/dewbell.lock")));
    const QDateTime modified = QFileInfo(stateFile).lastModified();

    for (const QStringList& arguments : {QStringList(), QStringList{QStringLiteral("--autostart")}}) {
        QProcess later;
        start(later, arguments, buildBundle_);
        QVERIFY2(later.waitForFinished(5000), qPrintable(arguments.join(u' ')));
        QCOMPARE(later.exitStatus(), QProcess::NormalExit);
        QCOMPARE(later.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);
    }
    QFile unchanged(stateFile);
    QVERIFY(unchanged.open(QIODevice::ReadOnly));
    QCOMPARE(unchanged.readAll(), saved);
    QCOMPARE(QFileInfo(stateFile).lastModified(), modified);

    first.kill();
    QVERIFY(first.waitForFinished(5000));
    QProcess next;
    start(next, {QStringLiteral("--background")}, buildBundle_);
    QVERIFY(next.waitForStarted());
    QVERIFY(!next.waitForFinished(2000));
    ::kill(pid_t(next.processId()), SIGTERM);
    QVERIFY(next.waitForFinished(10000));
    QCOMPARE(next.exitCode(), 0);
    QVERIFY(unchanged.seek(0));
    QCOMPARE(QJsonDocument::fromJson(unchanged.readAll()).object().value(QStringLiteral("drinks")).toArray().size(), 1);
}

QTEST_GUILESS_MAIN(EntryPointTest)
#include "test_entry_point.moc"
