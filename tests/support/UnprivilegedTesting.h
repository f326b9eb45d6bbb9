#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

// Root reads and writes every folder whatever its mode, so a story about permissions is told by
// the user "nobody" when the tests run as root: setpriv starts the program as nobody, in a
// scratch folder of nobody's under /tmp (the suite's own temporary folder is root's alone).
namespace UnprivilegedTesting {

inline constexpr uid_t nobody = 65534;

inline bool runningAsRoot()
{
    return ::geteuid() == 0;
}

// The command that starts `program` as nobody.
inline QStringList asNobody(const QString& program)
{
    return {QStringLiteral("setpriv"), QStringLiteral("--reuid=%1").arg(nobody),
            QStringLiteral("--regid=%1").arg(nobody), QStringLiteral("--clear-groups"), program};
}

// A scratch folder nobody may use: under /tmp, owned by nobody when the tests run as root.
inline std::unique_ptr<QTemporaryDir> scratchFolder()
{
    auto scratch =
        std::make_unique<QTemporaryDir>(runningAsRoot() ? QStringLiteral("/tmp/dewbell-nobody-XXXXXX")
                                                        : QDir::tempPath() + QStringLiteral("/dewbell-XXXXXX"));
    if (runningAsRoot() && ::chown(QFile::encodeName(scratch->path()).constData(), nobody, nobody) != 0)
        qFatal("cannot give the scratch folder to nobody");
    return scratch;
}

// Gives `folder` and everything in it to nobody.
inline void giveToNobody(const QString& folder)
{
    QDirIterator entries(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    QStringList paths{folder};
    while (entries.hasNext())
        paths.append(entries.next());
    for (const QString& path : std::as_const(paths)) {
        if (::lchown(QFile::encodeName(path).constData(), nobody, nobody) != 0)
            qFatal("cannot give %s to nobody", qPrintable(path));
    }
}

// Runs one test function of this test program again as nobody, every row of it, with its
// temporary and home folders in a scratch folder of nobody's. Its output goes to the log when it
// fails.
inline void runAsNobody(const char* testFunction)
{
    const std::unique_ptr<QTemporaryDir> scratch = scratchFolder();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"HOME", "TMPDIR", "XDG_CACHE_HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"})
        environment.insert(QLatin1String(name), scratch->path());
    environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    const QStringList command = asNobody(QCoreApplication::applicationFilePath()) << QLatin1String(testFunction);
    child.start(command.first(), command.mid(1));
    QVERIFY2(child.waitForFinished(60000), "the unprivileged run did not end");
    const QByteArray output = child.readAll();
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, output.constData());
}

}  // namespace UnprivilegedTesting
