// scripts/setup on a machine faked through PATH: which packages dpkg knows, who runs it, and
// what sudo would let them do. apt-get and sudo only write down how they were called.
#include "support/TableTesting.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

// What sudo does for this user: missing, in without a password, in after the password, or
// never in (sudo asks for the password all the same, then refuses).
enum class Sudo { missing, noPassword, password, refused };

}  // namespace

Q_DECLARE_METATYPE(Sudo)

class SetupScriptTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir bin;

    QString log() const { return bin.filePath(u"calls.log"_s); }
    QString sudoLog() const { return bin.filePath(u"sudo.log"_s); }

    void writeTool(const QString& name, const QByteArray& body)
    {
        QFile file(bin.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("#!/bin/sh\n" + body);
        file.close();
        QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

    void writeSudo(Sudo sudo)
    {
        const QString lets = sudo == Sudo::refused ? u"false"_s : u"true"_s;
        const QString withoutPassword = sudo == Sudo::noPassword ? u"true"_s : u"false"_s;
        const QString script = uR"(echo "$*" >> '%1'
case $1 in
  -n) %2 || { echo 'sudo: a password is required' >&2; exit 1; }
      shift; exec "$@";;
  -v) %3 || { echo 'user is not in the sudoers file.' >&2; exit 1; }
      exit 0;;
esac
%3 || exit 1
PREFIX=sudo exec "$@"
)"_s.arg(sudoLog(), withoutPassword, lets);
        writeTool(u"sudo"_s, script.toUtf8());
    }

    static QString readAll(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(QFile::link(u"/bin/bash"_s, bin.filePath(u"bash"_s)));
        for (const QString& tool : {u"true"_s, u"false"_s})
            QVERIFY(QFile::link(u"/bin/"_s + tool, bin.filePath(tool)));
    }

    void missingPackagesAreInstalledOrNamed_data()
    {
        addColumns<int, Sudo, QString, QStringList, int, QString, bool>("uid", "sudo", "groups", "arguments",
                                                                        "exitCode", "calls", "passwordAsked");
        const QStringList tests{u"--tests"_s};
        QTest::newRow("root installs directly")
            << 0 << Sudo::missing << u"root"_s << tests << 0 << u"apt-get update\napt-get install"_s << false;
        QTest::newRow("a user with sudo") << 1000 << Sudo::noPassword << u"anna"_s << tests << 0
                                          << u"sudo apt-get update\nsudo apt-get install"_s << false;
        QTest::newRow("a user of the sudo group") << 1000 << Sudo::password << u"anna cdrom sudo"_s << tests << 0
                                                  << u"sudo apt-get update\nsudo apt-get install"_s << true;
        QTest::newRow("a user without sudo") << 1000 << Sudo::missing << u"anna"_s << tests << 1 << QString() << false;
        // Debian's installer leaves the first user out of the sudo group when root has a password.
        QTest::newRow("a user sudo would refuse")
            << 1000 << Sudo::refused << u"anna cdrom"_s << tests << 1 << QString() << false;
        QTest::newRow("a group sudo still refuses")
            << 1000 << Sudo::refused << u"anna sudo"_s << tests << 1 << QString() << true;
        // Tests and benchmarks need Xvfb and xdotool; building and running Dewbell do not.
        QTest::newRow("running needs no test tools")
            << 1000 << Sudo::missing << u"anna"_s << QStringList() << 0 << QString() << false;
    }
    void missingPackagesAreInstalledOrNamed()
    {
        QFETCH(int, uid);
        QFETCH(Sudo, sudo);
        QFETCH(QString, groups);
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, calls);
        QFETCH(bool, passwordAsked);
        for (const QString& file : {log(), sudoLog(), bin.filePath(u"sudo"_s)})
            QFile::remove(file);
        // Every package is installed except xdotool and xvfb.
        writeTool(u"dpkg-query"_s, "for a; do last=$a; done\n"
                                   "case $last in xdotool|xvfb) exit 1;; esac\n"
                                   "printf 'install ok installed'\n");
        writeTool(u"id"_s, "case $1 in\n"
                           "  -u) echo "
                               + QByteArray::number(uid)
                               + ";;\n"
                                 "  -nG) echo "
                               + groups.toUtf8()
                               + ";;\n"
                                 "esac\n");
        writeTool(u"apt-get"_s, "echo \"$PREFIX apt-get $1\" >> " + QFile::encodeName(log()) + "\n");
        if (sudo != Sudo::missing)
            writeSudo(sudo);

        QProcess setup;
        QProcessEnvironment environment;
        environment.insert(u"PATH"_s, bin.path());
        setup.setProcessEnvironment(environment);
        setup.start(bin.filePath(u"bash"_s),
                    QStringList{qEnvironmentVariable("DEWBELL_SOURCE_DIR") + u"/scripts/setup"_s} + arguments);
        QVERIFY(setup.waitForFinished(20000));
        const QString said = QString::fromUtf8(setup.readAllStandardError());
        QVERIFY2(setup.exitCode() == exitCode, qPrintable(said));

        QCOMPARE(readAll(log()).trimmed().replace(u"\n "_s, u"\n"_s), calls);
        QCOMPARE(readAll(sudoLog()).split(u'\n').contains(u"-v"_s), passwordAsked);
        if (exitCode != 0) {
            QVERIFY2(said.contains(u"xvfb xdotool"_s) && said.contains(u"as root"_s)
                         && said.contains(u"su -c 'apt-get update && apt-get install -y --no-install-recommends "
                                          u"xvfb xdotool'"_s),
                     qPrintable(said));
        }
    }
};

QTEST_GUILESS_MAIN(SetupScriptTest)
#include "test_setup_script.moc"
