// The D-Bus readings against desktop services faked on a private bus of the test's own.
#include "platform/DoNotDisturbReadings.h"
#include "platform/GSettingsSwitch.h"
#include "platform/IdleReadings.h"
#include "platform/SleepSources.h"
#include "platform/SystemReadings.h"
#include "support/TableTesting.h"

#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>

using namespace Qt::StringLiterals;

namespace {

// Answers as Mutter, ScreenSaver and Notifications would, from its own thread for blocking calls.
class FakeDesktop : public QDBusVirtualObject {
public:
    std::atomic<bool> hasInhibited = true;
    std::atomic<bool> inhibited = false;

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        const QString member = message.member();
        if (member == "GetIdletime"_L1)
            connection.send(message.createReply(QVariant::fromValue(quint64(4200))));
        else if (member == "GetSessionIdleTime"_L1)
            connection.send(message.createReply(QVariant::fromValue(quint32(7))));
        else if (member == "Get"_L1 && hasInhibited)
            connection.send(message.createReply(QVariant::fromValue(QDBusVariant(bool(inhibited)))));
        else if (member == "Get"_L1)
            connection.send(message.createErrorReply(QDBusError::UnknownProperty, u"No such property"_s));
        else
            return false;
        return true;
    }
};

}  // namespace

class TestDesktopServices : public QObject {
    Q_OBJECT

private:
    QProcess daemon;
    // The bus's socket lives here, not in /tmp, and the bus removes it when it ends.
    QTemporaryDir socketFolder;
    QThread serviceThread;
    FakeDesktop* desktop = nullptr;

    QDBusConnection services() const { return QDBusConnection(u"services"_s); }
    QDBusConnection client() const { return QDBusConnection(u"client"_s); }

    void emitSignal(const QString& path, const QString& interface, const QString& name, const QVariantList& arguments)
    {
        QDBusMessage message = QDBusMessage::createSignal(path, interface, name);
        message.setArguments(arguments);
        QVERIFY(services().send(message));
    }

private slots:
    void initTestCase()
    {
        const QString program = QStandardPaths::findExecutable(u"dbus-daemon"_s);
        QVERIFY2(!program.isEmpty(), "dbus-daemon is missing: scripts/setup installs it");
        QVERIFY(socketFolder.isValid());
        daemon.start(program, {u"--session"_s, u"--nofork"_s, u"--nopidfile"_s, u"--print-address=1"_s,
                               u"--address=unix:dir="_s + socketFolder.path()});
        QVERIFY(daemon.waitForStarted() && daemon.waitForReadyRead(5000));
        const QString address = QString::fromUtf8(daemon.readLine().trimmed());
        // The readings of this desktop take the session bus: this one.
        qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());
        QVERIFY(QDBusConnection::connectToBus(address, u"services"_s).isConnected());
        QVERIFY(QDBusConnection::connectToBus(address, u"client"_s).isConnected());

        desktop = new FakeDesktop;
        QVERIFY(services().registerVirtualObject(u"/"_s, desktop, QDBusConnection::SubPath));
        serviceThread.start();
        desktop->moveToThread(&serviceThread);
        for (const char* name : {"org.freedesktop.login1", "org.freedesktop.Notifications",
                                 "org.gnome.Mutter.IdleMonitor", "org.freedesktop.ScreenSaver"})
            QVERIFY(services().registerService(QString::fromLatin1(name)));
    }

    void cleanupTestCase()
    {
        QDBusConnection::disconnectFromBus(u"client"_s);
        QDBusConnection::disconnectFromBus(u"services"_s);
        serviceThread.quit();
        serviceThread.wait();
        delete desktop;
        // SIGTERM lets the bus remove its socket; SIGKILL would leave it behind.
        if (daemon.state() == QProcess::NotRunning)
            return;
        daemon.terminate();
        QVERIFY(daemon.waitForFinished(5000));
        QCOMPARE(QDir(socketFolder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
                 QStringList());
    }

    void sleepAndWakeFromLogind()
    {
        LogindSleepSource source(client());
        QList<bool> delivered;
        source.start([&delivered](bool asleep) { delivered.append(asleep); });
        for (bool asleep : {true, false})
            emitSignal(u"/org/freedesktop/login1"_s, u"org.freedesktop.login1.Manager"_s, u"PrepareForSleep"_s,
                       {asleep});
        QTRY_COMPARE(delivered, QList<bool>({true, false}));
    }

    void idleFromMutterAndTheScreenSaver()
    {
        QCOMPARE(DBusIdleReading::mutter(client())->secondsSinceAnyInput(), std::optional(4.2));
        QCOMPARE(DBusIdleReading::screenSaver(client())->secondsSinceAnyInput(), std::optional(7.0));
        QCOMPARE(DBusIdleReading::mutter(QDBusConnection(u"nowhere"_s))->secondsSinceAnyInput(), std::nullopt);
    }

    void doNotDisturbFromTheNotificationServer()
    {
        NotificationsDoNotDisturb reading(client());
        QCOMPARE(reading.authorization(), FocusAuthorization::authorized);
        QCOMPARE(reading.isOn(), std::optional(false));
        const QString notifications = u"org.freedesktop.Notifications"_s;
        emitSignal(u"/org/freedesktop/Notifications"_s, u"org.freedesktop.DBus.Properties"_s, u"PropertiesChanged"_s,
                   {notifications, QVariantMap{{u"Inhibited"_s, true}}, QStringList()});
        QTRY_COMPARE(reading.isOn(), std::optional(true));

        desktop->hasInhibited = false;
        reading.probe();
        QCOMPARE(reading.authorization(), FocusAuthorization::denied);
        QCOMPARE(reading.isOn(), std::nullopt);
        desktop->hasInhibited = true;

        QVERIFY(services().unregisterService(notifications));
        reading.probe();
        QCOMPARE(reading.authorization(), FocusAuthorization::restricted);
        QVERIFY(services().registerService(notifications));
    }

    // The notification server says Do Not Disturb is on, GNOME's banners are at their default (shown).
    void doNotDisturbOfTheDesktopInUse_data()
    {
        addColumns<QString, bool>("desktops", "gnome");
        QTest::newRow("Plasma") << u"KDE"_s << false;
        QTest::newRow("Xfce") << u"XFCE"_s << false;
        QTest::newRow("Cinnamon") << u"X-Cinnamon"_s << false;
        QTest::newRow("unnamed") << QString() << false;
        QTest::newRow("Ubuntu's GNOME") << u"ubuntu:GNOME"_s << true;
        QTest::newRow("GNOME Classic") << u"GNOME-Classic:GNOME"_s << true;
    }

    void doNotDisturbOfTheDesktopInUse()
    {
        QFETCH(QString, desktops);
        QFETCH(bool, gnome);
        qputenv("XDG_CURRENT_DESKTOP", desktops.toUtf8());
        desktop->inhibited = true;
        const SystemReadings readings = SystemReadings::ofThisDesktop();
        readings.doNotDisturb->probe();
        desktop->inhibited = false;
        QCOMPARE(readings.doNotDisturb->authorization(), FocusAuthorization::authorized);
        // GNOME without its schema would have nothing but the server to ask.
        const bool gnomeSwitch = gnome && GSettingsSwitch("org.gnome.desktop.notifications", "show-banners").open();
        QCOMPARE(readings.doNotDisturb->isOn(), std::optional(!gnomeSwitch));
    }
};

QTEST_GUILESS_MAIN(TestDesktopServices)
#include "test_desktop_services.moc"
