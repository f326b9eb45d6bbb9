// Real Dewbell processes on one data folder: how a later launch finds the running one, whatever
// session it comes from and whatever the folders hold, and how a Dewbell ends.
#include <QDirIterator>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

#include "support/ProcessTesting.h"
#include "support/UnprivilegedTesting.h"

class LaunchesTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void aLaunchFromAnotherSessionReachesTheRunningOne();
    void aDataFolderThatCannotBeWrittenStillHoldsOneDewbell();
    void closingTheTerminalSavesAndLetsGoOfTheLock();
    void aSpecialFileInTheFoldersNeverHoldsUpTheStart_data();
    void aSpecialFileInTheFoldersNeverHoldsUpTheStart();

private:
    QProcessEnvironment environment() const;
    void start(QProcess& process, const QProcessEnvironment& environment, const QStringList& arguments = {}) const;
    // Ends a running Dewbell as the desktop does and says whether it went its normal way.
    static bool endsNormally(QProcess& process, int signalNumber = SIGTERM);
    QString dataFolder() const { return scratch_->filePath(QStringLiteral("XDG_DATA_HOME/dewbell")); }

    std::unique_ptr<QTemporaryDir> scratch_;
    bool asNobody_ = false;
};

void LaunchesTest::init()
{
    scratch_ = UnprivilegedTesting::scratchFolder();
    asNobody_ = false;
}

void LaunchesTest::cleanup()
{
    // Folders a test closed must open again to be removed.
    QDirIterator folders(scratch_->path(), QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (folders.hasNext())
        QFile::setPermissions(folders.next(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QProcessEnvironment LaunchesTest::environment() const
{
    QProcessEnvironment environment = isolatedEnvironment(*scratch_);
    const QString temporary = scratch_->filePath(QStringLiteral("tmp"));
    QDir().mkpath(temporary);
    environment.insert(QStringLiteral("TMPDIR"), temporary);
    return environment;
}

void LaunchesTest::start(QProcess& process, const QProcessEnvironment& environment, const QStringList& arguments) const
{
    process.setProcessEnvironment(environment);
    const QString binary = qEnvironmentVariable("DEWBELL_BINARY");
    if (asNobody_) {
        const QStringList command = UnprivilegedTesting::asNobody(binary) + arguments;
        process.start(command.first(), command.mid(1));
    } else {
        process.start(binary, arguments);
    }
}

bool LaunchesTest::endsNormally(QProcess& process, int signalNumber)
{
    // Under setpriv the process is Dewbell itself: setpriv executes it in its own place.
    ::kill(pid_t(process.processId()), signalNumber);
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// su, ssh -X or a second seat bring another runtime folder: the later launch still finds the
// running Dewbell, hands it the request and ends at once.
void LaunchesTest::aLaunchFromAnotherSessionReachesTheRunningOne()
{
    QProcessEnvironment firstSession = environment();
    QProcess first;
    start(first, firstSession, {QStringLiteral("--background")});
    QVERIFY(first.waitForStarted());
    QTRY_VERIFY(QFile::exists(dataFolder() + QStringLiteral("/dewbell.lock")));

    QProcessEnvironment otherSession = firstSession;
    const QString otherRuntime = scratch_->filePath(QStringLiteral("other-runtime"));
    QVERIFY(QDir().mkpath(otherRuntime));
    QVERIFY(QFile::setPermissions(otherRuntime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    otherSession.insert(QStringLiteral("XDG_RUNTIME_DIR"), otherRuntime);
    QProcess later;
    start(later, otherSession);
    QVERIFY(later.waitForFinished(5000));
    QCOMPARE(later.readAllStandardError(), QByteArray());
    QCOMPARE(later.exitStatus(), QProcess::NormalExit);
    QCOMPARE(later.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);
    QVERIFY(endsNormally(first));
}

// A home whose data folder can't be made: nothing can be saved, but a second launch still finds
// the first instead of starting a second Dewbell with a second tray icon.
void LaunchesTest::aDataFolderThatCannotBeWrittenStillHoldsOneDewbell()
{
    const QProcessEnvironment environment = this->environment();
    const QString dataHome = scratch_->filePath(QStringLiteral("XDG_DATA_HOME"));
    if (UnprivilegedTesting::runningAsRoot()) {
        asNobody_ = true;
        UnprivilegedTesting::giveToNobody(scratch_->path());
    }
    QCOMPARE(chmod(QFile::encodeName(dataHome).constData(), 0555), 0);

    QProcess first;
    start(first, environment, {QStringLiteral("--background")});
    QVERIFY(first.waitForStarted());
    QVERIFY2(!first.waitForFinished(2000), first.readAllStandardError().constData());
    QProcess later;
    start(later, environment);
    QVERIFY(later.waitForFinished(5000));
    QCOMPARE(later.exitStatus(), QProcess::NormalExit);
    QCOMPARE(later.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);
    QVERIFY(endsNormally(first));
    QVERIFY(!QFileInfo::exists(dataFolder()));
}

// Closing the terminal Dewbell was started from ends it as Quit does: saved, lock let go.
void LaunchesTest::closingTheTerminalSavesAndLetsGoOfTheLock()
{
    QProcess dewbell;
    start(dewbell, environment(), {QStringLiteral("--background")});
    QVERIFY(dewbell.waitForStarted());
    QTRY_VERIFY(QFile::exists(dataFolder() + QStringLiteral("/dewbell.lock")));
    QVERIFY(!QFile::exists(dataFolder() + QStringLiteral("/state.json")));
    QVERIFY(endsNormally(dewbell, SIGHUP));
    QVERIFY(QFile::exists(dataFolder() + QStringLiteral("/state.json")));
    QVERIFY(!QFile::exists(dataFolder() + QStringLiteral("/dewbell.lock")));
}

void LaunchesTest::aSpecialFileInTheFoldersNeverHoldsUpTheStart_data()
{
    QTest::addColumn<QString>("fifo");
    QTest::newRow("the lock") << QStringLiteral("XDG_DATA_HOME/dewbell/dewbell.lock");
    QTest::newRow("the settings file") << QStringLiteral("XDG_CONFIG_HOME/dewbell/dewbell.conf");
}

// A FIFO answers no one who opens it: Dewbell starts, runs and ends as ever, and leaves it be.
void LaunchesTest::aSpecialFileInTheFoldersNeverHoldsUpTheStart()
{
    QFETCH(QString, fifo);
    const QProcessEnvironment environment = this->environment();
    const QString path = scratch_->filePath(fifo);
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);

    QProcess dewbell;
    start(dewbell, environment, {QStringLiteral("--background")});
    QVERIFY(dewbell.waitForStarted());
    QVERIFY(!dewbell.waitForFinished(2000));
    QVERIFY2(endsNormally(dewbell), dewbell.readAllStandardError().constData());
    QFile saved(dataFolder() + QStringLiteral("/state.json"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QVERIFY(QJsonDocument::fromJson(saved.readAll()).isObject());
    struct stat info { };
    QCOMPARE(lstat(QFile::encodeName(path).constData(), &info), 0);
    QVERIFY(S_ISFIFO(info.st_mode));
}

QTEST_GUILESS_MAIN(LaunchesTest)
#include "test_launches.moc"
