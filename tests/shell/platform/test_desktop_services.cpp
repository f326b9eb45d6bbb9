// The D-Bus readings against desktop services faked on a private bus of the test's own.
#include "DoNotDisturbReadings.h"
#include "IdleReadings.h"
#include "SessionSources.h"
#include "SleepSources.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QThread>

#include <atomic>

using namespace Qt::StringLiterals;

namespace {

const QString sessionPath = u"/org/freedesktop/login1/session/_31"_s;
const QString session = u"org.freedesktop.login1.Session"_s;

// Answers as logind, Notifications, Mutter and ScreenSaver would, from its own thread for blocking calls.
class FakeDesktop : public QDBusVirtualObject {
public:
    std::atomic<bool> lockedHint = false;
    std::atomic<bool> active = true;
    std::atomic<bool> inhibited = false;
    std::atomic<bool> hasInhibited = true;

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        const QString member = message.member();
        if (member == "GetSession"_L1)
            return reply(message, connection, QVariant::fromValue(QDBusObjectPath(sessionPath)));
        if (member == "GetIdletime"_L1)
            return reply(message, connection, QVariant::fromValue(quint64(4200)));
        if (member == "GetSessionIdleTime"_L1)
            return reply(message, connection, QVariant::fromValue(quint32(7)));
        if (member != "Get"_L1 || message.arguments().size() != 2)
            return false;
        const QString property = message.arguments().at(1).toString();
        if (property == "Inhibited"_L1 && !hasInhibited) {
            connection.send(message.createErrorReply(QDBusError::UnknownProperty, u"No such property"_s));
            return true;
        }
        const bool value = property == "LockedHint"_L1 ? lockedHint.load()
            : property == "Active"_L1                 ? active.load()
                                                      : inhibited.load();
        return reply(message, connection, QVariant::fromValue(QDBusVariant(value)));
    }

private:
    static bool reply(const QDBusMessage& message, const QDBusConnection& connection, const QVariant& value)
    {
        connection.send(message.createReply(value));
        return true;
    }
};

} // namespace

class TestDesktopServices : public QObject {
    Q_OBJECT

private:
    QProcess daemon;
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

    void changeProperty(const QString& path, const QString& interface, const QVariantMap& changed,
                        const QStringList& invalidated = {})
    {
        emitSignal(path, u"org.freedesktop.DBus.Properties"_s, u"PropertiesChanged"_s,
                   {interface, changed, invalidated});
    }

private slots:
    void initTestCase()
    {
        const QString program = QStandardPaths::findExecutable(u"dbus-daemon"_s);
        if (program.isEmpty())
            QSKIP("needs dbus-daemon");
        daemon.start(program, {u"--session"_s, u"--nofork"_s, u"--nopidfile"_s, u"--print-address=1"_s});
        QVERIFY(daemon.waitForStarted() && daemon.waitForReadyRead(5000));
        const QString address = QString::fromUtf8(daemon.readLine().trimmed());
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
        daemon.kill();
        daemon.waitForFinished();
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

    void lockFromLogindRequestsAndHint()
    {
        LogindSessionSource source(client(), LogindSessionSource::Watched::lock);
        QList<bool> delivered;
        source.start([&delivered](bool locked) { delivered.append(locked); });
        emitSignal(sessionPath, session, u"Lock"_s, {});
        emitSignal(sessionPath, session, u"Unlock"_s, {});
        changeProperty(sessionPath, session, {{u"LockedHint"_s, true}});
        desktop->lockedHint = false;  // a change announced without its value is read back
        changeProperty(sessionPath, session, {}, {u"LockedHint"_s});
        QTRY_COMPARE(delivered, QList<bool>({true, false, true, false}));
        // Neither another property nor another session's hint is a lock.
        changeProperty(sessionPath, session, {{u"IdleHint"_s, true}});
        changeProperty(u"/org/freedesktop/login1/session/_32"_s, session, {{u"LockedHint"_s, true}});
        QTest::qWait(50);
        QCOMPARE(delivered.size(), 4);
    }

    void sessionActiveFromLogind()
    {
        LogindSessionSource source(client(), LogindSessionSource::Watched::active);
        QList<bool> delivered;
        source.start([&delivered](bool active) { delivered.append(active); });
        changeProperty(sessionPath, session, {{u"Active"_s, false}});
        desktop->active = true;  // read back when only announced
        changeProperty(sessionPath, session, {}, {u"Active"_s});
        QTRY_COMPARE(delivered, QList<bool>({false, true}));
    }

    void screenSaverUnderBothNames()
    {
        ScreenSaverSource source(client());
        QList<bool> delivered;
        source.start([&delivered](bool active) { delivered.append(active); });
        emitSignal(u"/org/freedesktop/ScreenSaver"_s, u"org.freedesktop.ScreenSaver"_s, u"ActiveChanged"_s, {true});
        emitSignal(u"/org/gnome/ScreenSaver"_s, u"org.gnome.ScreenSaver"_s, u"ActiveChanged"_s, {false});
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
        changeProperty(u"/org/freedesktop/Notifications"_s, notifications, {{u"Inhibited"_s, true}});
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
};

QTEST_GUILESS_MAIN(TestDesktopServices)
#include "test_desktop_services.moc"
