#include "LoginService.h"

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString off = u"Doesn't open at login."_s;
const QString on = u"Opens automatically when you log in."_s;

void makeProgram(const QString& path)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile program(path);
    QVERIFY(program.open(QIODevice::WriteOnly));
    program.write("#!/bin/sh\n");
    program.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void switchTo(LoginService& login, bool enabled)
{
    login.setEnabled(enabled);
    QTRY_VERIFY(!login.busy());
}

void checkValid(const QString& entry)
{
    const QString validator = QStandardPaths::findExecutable(u"desktop-file-validate"_s);
    if (validator.isEmpty())
        return;
    QProcess validate;
    validate.start(validator, {entry});
    QVERIFY(validate.waitForFinished());
    const QByteArray report = validate.readAllStandardOutput() + validate.readAllStandardError();
    QVERIFY2(validate.exitCode() == 0 && report.isEmpty(), report.constData());
}

} // namespace

class TestLoginService : public QObject {
    Q_OBJECT

private:
    QTemporaryDir scratch;
    QString folder() const { return scratch.filePath(u"config/autostart"_s); }
    QString program() const { return scratch.filePath(u"bin/dewbell"_s); }

private slots:
    void init()
    {
        QDir(scratch.path()).removeRecursively();
        makeProgram(program());
    }

    void switchOnThenOff()
    {
        LoginService login(folder(), program());
        QCOMPARE(login.statusText(), off);
        QSignalSpy changes(&login, &LoginService::changed);
        login.setEnabled(true);
        QVERIFY(login.busy());
        login.setEnabled(false);  // ignored while the first request runs
        QTRY_VERIFY(!login.busy());
        QVERIFY(login.isEnabled() && !login.needsApproval());
        QCOMPARE(login.statusText(), on);
        QCOMPARE(changes.count(), 2);
        const QByteArray entry = contents(login.entryPath());
        QVERIFY2(entry.contains("\nExec=" + program().toUtf8() + " --autostart\n"), entry.constData());
        QVERIFY(LoginService::isLoginLaunch({program(), u"--autostart"_s}));
        checkValid(login.entryPath());

        switchTo(login, false);
        QVERIFY(!QFile::exists(login.entryPath()));
        QCOMPARE(login.statusText(), off);
    }

    void alreadyOnMakesNoRequest()
    {
        LoginService login(folder(), program());
        switchTo(login, true);
        LoginService again(folder(), program());
        again.setEnabled(true);
        QVERIFY(!again.busy());
        QCOMPARE(again.statusText(), on);
        switchTo(again, false);
        again.setEnabled(false);
        QVERIFY(!again.busy());
    }

    void entryTurnedOffByTheDesktopNeedsApproval_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("hidden") << QByteArray("Hidden=true");
        QTest::newRow("gnome") << QByteArray("X-GNOME-Autostart-enabled=false");
    }

    void entryTurnedOffByTheDesktopNeedsApproval()
    {
        QFETCH(QByteArray, line);
        LoginService login(folder(), program());
        switchTo(login, true);
        QFile entry(login.entryPath());
        QVERIFY(entry.open(QIODevice::Append));
        entry.write(line + "\n");
        entry.close();
        login.refresh();
        QVERIFY(login.needsApproval() && !login.isEnabled());
        QCOMPARE(login.statusText(), u"Turned off in your desktop's startup settings."_s);
        switchTo(login, true);  // the user's own switch wins over the desktop's
        QVERIFY(login.isEnabled());
    }

    void failureIsToldWithTheStatus()
    {
        QFile blocker(scratch.filePath(u"config"_s));
        QVERIFY(blocker.open(QIODevice::WriteOnly));  // a file where the folder should be
        blocker.close();
        LoginService login(folder(), program());
        switchTo(login, true);
        QVERIFY(!login.isEnabled());
        QCOMPARE(login.statusText(),
                 u"Couldn't change login item: The folder %1 can't be created. Doesn't open at login."_s.arg(folder()));
        login.refresh();
        QCOMPARE(login.statusText(), off);
    }

    void missingProgramIsNotFound()
    {
        LoginService login(folder(), scratch.filePath(u"bin/gone"_s));
        QCOMPARE(login.statusText(), u"Login item unavailable. Install Dewbell and try again."_s);
        login.setEnabled(true);
        QVERIFY(!login.busy() && !QFile::exists(login.entryPath()));
    }

    void pathsWithSpacesAreQuoted()
    {
        const QString odd = scratch.filePath(u"my apps/100% \"dew\"/dewbell"_s);
        makeProgram(odd);
        LoginService login(folder(), odd);
        switchTo(login, true);
        const QString expected =
            u"Exec=\"%1\" --autostart"_s.arg(QString(odd).replace("%"_L1, "%%"_L1).replace("\""_L1, "\\\\\""_L1));
        QVERIFY2(contents(login.entryPath()).contains(expected.toUtf8()), contents(login.entryPath()).constData());
        checkValid(login.entryPath());
    }
};

QTEST_GUILESS_MAIN(TestLoginService)
#include "test_login_service.moc"
