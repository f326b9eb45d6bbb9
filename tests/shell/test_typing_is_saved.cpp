#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

#include "support/ProcessTesting.h"

// What the user types in the love note reaches the disk however the application ends: quit,
// SIGTERM, SIGHUP, or killed outright a second after the last keystroke.
class TypingIsSavedTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        scratch_ = std::make_unique<QTemporaryDir>();
        QDir().mkpath(stateFile().section(QLatin1Char('/'), 0, -2));
        QFile state(stateFile());
        QVERIFY(state.open(QIODevice::WriteOnly));
        state.write(R"({"schemaVersion": 2, "tourVersion": 1, "preferences": {"loveNote": ""}})");
    }

    void endingTheApplicationKeepsEveryKeystroke_data()
    {
        QTest::addColumn<QString>("ending");
        QTest::newRow("quit") << QStringLiteral("quit");
        QTest::newRow("SIGTERM at once") << QStringLiteral("SIGTERM");
        // The terminal it was started from closes.
        QTest::newRow("SIGHUP at once") << QStringLiteral("SIGHUP");
        QTest::newRow("SIGKILL a second after the last key") << QStringLiteral("SIGKILL");
    }

    void endingTheApplicationKeepsEveryKeystroke()
    {
        QFETCH(QString, ending);
        const QString typed = QStringLiteral("Sip slowly, you lovely thing");
        QProcess session;
        session.setProcessEnvironment(isolatedEnvironment(*scratch_));
        QStringList arguments{typed};
        if (ending == QLatin1String("quit"))
            arguments.append(QStringLiteral("--quit"));
        session.start(qEnvironmentVariable("DEWBELL_TYPING_SESSION"), arguments);
        QVERIFY(session.waitForStarted());
        QByteArray output;
        QDeadlineTimer deadline(30000);
        while (!output.contains("typed") && session.waitForReadyRead(int(deadline.remainingTime())))
            output += session.readAllStandardOutput();
        QVERIFY(output.contains("typed"));

        if (ending == QLatin1String("SIGTERM")) {
            ::kill(pid_t(session.processId()), SIGTERM);
        } else if (ending == QLatin1String("SIGHUP")) {
            ::kill(pid_t(session.processId()), SIGHUP);
        } else if (ending == QLatin1String("SIGKILL")) {
            QTest::qWait(1000);
            ::kill(pid_t(session.processId()), SIGKILL);
        }
        QVERIFY(session.waitForFinished(10000));
        if (ending != QLatin1String("SIGKILL")) {
            QCOMPARE(session.exitStatus(), QProcess::NormalExit);
            QCOMPARE(session.exitCode(), 0);
        }
        QFile state(stateFile());
        QVERIFY(state.open(QIODevice::ReadOnly));
        const QJsonObject saved = QJsonDocument::fromJson(state.readAll()).object();
        QCOMPARE(saved[QStringLiteral("preferences")][QStringLiteral("loveNote")].toString(), typed);
    }

private:
    QString stateFile() const { return scratch_->filePath(QStringLiteral("XDG_DATA_HOME/dewbell/state.json")); }

    std::unique_ptr<QTemporaryDir> scratch_;
};

QTEST_GUILESS_MAIN(TypingIsSavedTest)
#include "test_typing_is_saved.moc"
