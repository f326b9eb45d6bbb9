// GLib's headers come before Qt's: Qt's "signals" keyword would break them.
#include <gio/gdesktopappinfo.h>

#include "platform/LoginService.h"
#include "support/FakeUrlOpener.h"
#include "support/TableTesting.h"

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString off = u"Doesn't open at login."_s;

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

void writeEntry(const QString& path, const QByteArray& mainGroup)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile entry(path);
    QVERIFY(entry.open(QIODevice::WriteOnly));
    entry.write("[Desktop Entry]\nType=Application\nName=Dewbell\n" + mainGroup);
}

// Starts the entry as desktops do, through GLib, which reads Exec by the desktop-entry rules.
void launchAsTheDesktopDoes(const QString& entryPath)
{
    GDesktopAppInfo* entry = g_desktop_app_info_new_from_filename(QFile::encodeName(entryPath).constData());
    QVERIFY(entry);
    GError* error = nullptr;
    const bool launched = g_app_info_launch(G_APP_INFO(entry), nullptr, nullptr, &error);
    const QString problem = error ? QString::fromUtf8(error->message) : QString();
    g_clear_error(&error);
    g_object_unref(entry);
    QVERIFY2(launched, qPrintable(problem));
}

}  // namespace

class TestLoginService : public QObject {
    Q_OBJECT

private:
    QTemporaryDir scratch;
    FakeUrlOpener opener;
    QString folder() const { return scratch.filePath(u"config/autostart"_s); }
    // Spaces, a percent sign and quotes: each needs its own escape in the entry's Exec line.
    QString program() const { return scratch.filePath(u"my apps/100% \"dew\"/dewbell"_s); }

private slots:
    void init()
    {
        QDir(scratch.path()).removeRecursively();
        QDir().mkpath(QFileInfo(program()).path());
        QFile file(program());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    void switchOnThenOff()
    {
        LoginService login(folder(), program(), opener);
        QCOMPARE(login.statusText(), off);
        QSignalSpy changes(&login, &LoginService::changed);
        login.setEnabled(true);
        QVERIFY(login.busy());
        login.setEnabled(false);  // ignored while the first request runs
        QTRY_VERIFY(!login.busy());
        QVERIFY(login.isEnabled() && !login.needsApproval());
        QCOMPARE(login.statusText(), u"Opens automatically when you log in."_s);
        QCOMPARE(changes.count(), 2);
        QFile entry(login.entryPath());
        QVERIFY(entry.open(QIODevice::ReadOnly));
        const QString exec = u"\nExec=\"%1\" --autostart\n"_s.arg(
            QString(program()).replace("%"_L1, "%%"_L1).replace("\""_L1, "\\\\\""_L1));
        QVERIFY2(entry.readAll().contains(exec.toUtf8()), qPrintable(exec));
        QVERIFY(LoginService::isLoginLaunch({program(), u"--autostart"_s}));
        checkValid(login.entryPath());

        LoginService again(folder(), program(), opener);
        again.setEnabled(true);  // already on: no request
        QVERIFY(!again.busy() && again.isEnabled());
        switchTo(again, false);
        QVERIFY(!QFile::exists(login.entryPath()));
        QCOMPARE(again.statusText(), off);
        again.setEnabled(false);
        QVERIFY(!again.busy());
    }

    // Each desktop turns an entry off in place with its own key: Hidden (the standard), or GNOME's
    // X-GNOME-Autostart-enabled. Only the main group counts.
    void theDesktopsOwnSwitch_data()
    {
        addColumns<QByteArray, bool>("added", "turnedOff");
        QTest::newRow("Hidden") << QByteArray("Hidden=true\n") << true;
        QTest::newRow("GNOME off") << QByteArray("X-GNOME-Autostart-enabled=false\n") << true;
        QTest::newRow("GNOME on") << QByteArray("X-GNOME-Autostart-enabled=true\n") << false;
        QTest::newRow("not hidden") << QByteArray("Hidden=false\n") << false;
        QTest::newRow("in another group") << QByteArray("[Desktop Action quit]\nName=Quit\nHidden=true\n") << false;
    }
    void theDesktopsOwnSwitch()
    {
        QFETCH(QByteArray, added);
        QFETCH(bool, turnedOff);
        LoginService login(folder(), program(), opener);
        switchTo(login, true);
        QFile entry(login.entryPath());
        QVERIFY(entry.open(QIODevice::Append) && entry.write(added) > 0);
        entry.close();
        login.refresh();
        QCOMPARE(login.needsApproval(), turnedOff);
        QCOMPARE(login.isEnabled(), !turnedOff);
        QCOMPARE(login.statusText(), turnedOff ? u"Turned off in your desktop's startup settings."_s
                                               : u"Opens automatically when you log in."_s);
        login.openSettings();  // the folder where the desktop's startup settings keep the entry
        QCOMPARE(opener.opened.last(), QUrl::fromLocalFile(folder()));
        switchTo(login, true);  // the user's own switch wins over the desktop's
        QVERIFY(login.isEnabled());
    }

    // The entry starts this very program, quoted so that spaces, quotes and a dollar sign in its
    // path survive, and tells it that it runs at login.
    void theEntryStartsThisProgramAtLogin()
    {
        const QString startable = scratch.filePath(u"my apps/dew $bell \"2\"/dewbell"_s);
        QDir().mkpath(QFileInfo(startable).path());
        QFile script(startable);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$(dirname \"$0\")/started.part\"\n"
                     "mv \"$(dirname \"$0\")/started.part\" \"$(dirname \"$0\")/started\"\n");
        script.close();
        QVERIFY(script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
        LoginService login(folder(), startable, opener);
        switchTo(login, true);
        launchAsTheDesktopDoes(login.entryPath());
        QFile started(QFileInfo(startable).path() + u"/started"_s);
        QTRY_VERIFY(started.exists());
        QVERIFY(started.open(QIODevice::ReadOnly));
        QCOMPARE(started.readAll(), QByteArray("--autostart\n"));
    }

    // A login item left behind by a copy that was removed starts nothing: it is shown as not
    // found, naming what it points to, and switching on writes it again for this copy. One that
    // starts another copy that is there still works.
    void anEntryWhoseProgramIsGoneIsWrittenAgain_data()
    {
        addColumns<QByteArray, QString, bool>("mainGroup", "pointsTo", "startsSomething");
        const QString gone = scratch.filePath(u"removed copy/bin/dewbell"_s);
        const QByteArray goneExec = "Exec=\"" + QFile::encodeName(gone) + "\" --autostart\n";
        QTest::newRow("the copy was removed") << goneExec << gone << false;
        QTest::newRow("turned off as well") << goneExec + "Hidden=true\n" << gone << false;
        QTest::newRow("a file that cannot run")
            << "Exec=" + QFile::encodeName(scratch.filePath(u"notes.txt"_s)) + " --autostart\n"
            << scratch.filePath(u"notes.txt"_s) << false;
        QTest::newRow("a name not on PATH")
            << QByteArray("Exec=dewbell-long-gone --autostart\n") << u"dewbell-long-gone"_s << false;
        QTest::newRow("a quote left open")
            << QByteArray("Exec=\"/opt/dewbell --autostart\n") << u"\"/opt/dewbell --autostart"_s << false;
        QTest::newRow("no Exec at all") << QByteArray() << QString() << false;
        QTest::newRow("another copy on PATH") << QByteArray("Exec=sh -c true\n") << QString() << true;
    }
    void anEntryWhoseProgramIsGoneIsWrittenAgain()
    {
        QFETCH(QByteArray, mainGroup);
        QFETCH(QString, pointsTo);
        QFETCH(bool, startsSomething);
        QFile notes(scratch.filePath(u"notes.txt"_s));
        QVERIFY(notes.open(QIODevice::WriteOnly));
        LoginService login(folder(), program(), opener);
        writeEntry(login.entryPath(), mainGroup);
        login.refresh();
        if (startsSomething) {
            QVERIFY(login.isEnabled());
            QCOMPARE(login.statusText(), u"Opens automatically when you log in."_s);
            return;
        }
        QCOMPARE(login.status(), LoginService::Status::notFound);
        QVERIFY(!login.isEnabled() && !login.needsApproval());
        const QString named = pointsTo.isEmpty() ? u"."_s : u": %1."_s.arg(pointsTo);
        QCOMPARE(login.statusText(), u"The login item points to a program that no longer exists%1 Turn on “Launch "
                                     u"at login” to start this copy instead."_s.arg(named));

        switchTo(login, true);
        QVERIFY(login.isEnabled());
        QCOMPARE(login.statusText(), u"Opens automatically when you log in."_s);
        QFile entry(login.entryPath());
        QVERIFY(entry.open(QIODevice::ReadOnly));
        QVERIFY(!entry.readAll().contains("Hidden"));
    }

    // Without a program that can run, nothing is written and the switch says why.
    void aProgramThatCannotRunIsNotRegistered()
    {
        QFile::setPermissions(program(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        LoginService login(folder(), program(), opener);
        login.setEnabled(true);
        QVERIFY(!login.busy() && !login.isEnabled());
        QCOMPARE(login.statusText(), u"Login item unavailable. Install Dewbell and try again."_s);
        QVERIFY(!QFile::exists(login.entryPath()));
    }

    void failureIsToldWithTheStatus()
    {
        QFile blocker(scratch.filePath(u"config"_s));
        QVERIFY(blocker.open(QIODevice::WriteOnly));  // a file where the folder should be
        blocker.close();
        LoginService login(folder(), program(), opener);
        switchTo(login, true);
        QVERIFY(!login.isEnabled());
        QCOMPARE(login.statusText(),
                 u"Couldn't change login item: The folder %1 can't be created. Doesn't open at login."_s.arg(folder()));
        login.refresh();
        QCOMPARE(login.statusText(), off);
    }
};

QTEST_GUILESS_MAIN(TestLoginService)
#include "test_login_service.moc"
