// scripts/setup on a machine faked through PATH: which packages dpkg knows, who runs it, and
// whether sudo exists. apt-get and sudo only write down how they were called.
#include "support/TableTesting.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

class SetupScriptTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir bin;

    QString log() const { return bin.filePath(u"calls.log"_s); }

    void writeTool(const QString& name, const QByteArray& body)
    {
        QFile file(bin.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("#!/bin/sh\n" + body);
        file.close();
        QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

private slots:
    void initTestCase() { QVERIFY(QFile::link(u"/bin/bash"_s, bin.filePath(u"bash"_s))); }

    void missingPackagesAreInstalledOrNamed_data()
    {
        addColumns<int, bool, int, QString>("uid", "hasSudo", "exitCode", "calls");
        QTest::newRow("root installs directly") << 0 << false << 0 << "apt-get update\napt-get install";
        QTest::newRow("a user with sudo") << 1000 << true << 0 << "sudo apt-get update\nsudo apt-get install";
        QTest::newRow("a user without sudo") << 1000 << false << 1 << "";
    }
    void missingPackagesAreInstalledOrNamed()
    {
        QFETCH(int, uid);
        QFETCH(bool, hasSudo);
        QFETCH(int, exitCode);
        QFETCH(QString, calls);
        QFile::remove(log());
        QFile::remove(bin.filePath(u"sudo"_s));
        // Every package is installed except xdotool and xvfb.
        writeTool(u"dpkg-query"_s, "for a; do last=$a; done\n"
                                   "case $last in xdotool|xvfb) exit 1;; esac\n"
                                   "printf 'install ok installed'\n");
        writeTool(u"id"_s, QByteArray("echo ") + QByteArray::number(uid) + "\n");
        writeTool(u"apt-get"_s, "echo \"$PREFIX apt-get $1\" >> " + QFile::encodeName(log()) + "\n");
        if (hasSudo)
            writeTool(u"sudo"_s, "PREFIX=sudo exec \"$@\"\n");

        QProcess setup;
        QProcessEnvironment environment;
        environment.insert(u"PATH"_s, bin.path());
        setup.setProcessEnvironment(environment);
        setup.start(bin.filePath(u"bash"_s), {qEnvironmentVariable("DEWBELL_SOURCE_DIR") + u"/scripts/setup"_s});
        QVERIFY(setup.waitForFinished(20000));
        QCOMPARE(setup.exitCode(), exitCode);

        QFile written(log());
        const QString madeCalls = written.open(QIODevice::ReadOnly) ? QString::fromUtf8(written.readAll()) : QString();
        QCOMPARE(madeCalls.trimmed().replace(u"\n "_s, u"\n"_s), calls);
        if (exitCode != 0) {
            const QString said = QString::fromUtf8(setup.readAllStandardError());
            QVERIFY2(said.contains(u"xvfb xdotool"_s) && said.contains(u"as root"_s)
                         && said.contains(u"apt-get install -y --no-install-recommends xvfb xdotool"_s),
                     qPrintable(said));
        }
    }
};

QTEST_GUILESS_MAIN(SetupScriptTest)
#include "test_setup_script.moc"
