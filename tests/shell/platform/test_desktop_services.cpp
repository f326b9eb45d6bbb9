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

namespace {

const QString sessionPath = QStringLiteral("/org/freedesktop/login1/session/_31");

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
        if (member == QLatin1String("GetSession"))
            return reply(message, connection, QVariant::fromValue(QDBusObjectPath(sessionPath)));
        if (member == QLatin1String("GetIdletime"))
            return reply(message, connection, QVariant::fromValue(quint64(4200)));
        if (member == QLatin1String("GetSessionIdleTime"))
            return reply(message, connection, QVariant::fromValue(quint32(7)));
        if (member != QLatin1String("Get") || message.arguments().size() != 2)
            return false;
        const QString property = message.arguments().at(1).toString();
        if (property == QLatin1String("Inhibited") && !hasInhibited) {
            connection.send(message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.UnknownProperty"),
                                                     QStringLiteral("No such property")));
            return true;
        }
        const bool value = property == QLatin1String("LockedHint") ? lockedHint.load()
            : property == QLatin1String("Active")                  ? active.load()
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
    QString address;
    QThread serviceThread;
    FakeDesktop* desktop = nullptr;

    QDBusConnection services() const { return QDBusConnection(QStringLiteral("services")); }
    QDBusConnection client() const { return QDBusConnection(QStringLiteral("client")); }

    void emitSignal(const QString& path, const QString& interface, const QString& name, const QVariantList& arguments)
    {
        QDBusMessage message = QDBusMessage::createSignal(path, interface, name);
        message.setArguments(arguments);
        QVERIFY(services().send(message));
    }

    void changeProperty(const QString& path, const QString& interface, const QVariantMap& changed,
                        const QStringList& invalidated = {})
    {
        emitSignal(path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"),
                   {interface, changed, invalidated});
    }

private slots:
    void initTestCase()
    {
        const QString program = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (program.isEmpty())
            QSKIP("needs dbus-daemon");
        daemon.start(program, {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                               QStringLiteral("--print-address=1")});
        QVERIFY(daemon.waitForStarted());
        QVERIFY(daemon.waitForReadyRead(5000));
        address = QString::fromUtf8(daemon.readLine().trimmed());
        QVERIFY(QDBusConnection::connectToBus(address, QStringLiteral("services")).isConnected());
        QVERIFY(QDBusConnection::connectToBus(address, QStringLiteral("client")).isConnected());

        desktop = new FakeDesktop;
        QVERIFY(services().registerVirtualObject(QStringLiteral("/"), desktop, QDBusConnection::SubPath));
        serviceThread.start();
        desktop->moveToThread(&serviceThread);
        for (const char* name : {"org.freedesktop.login1", "org.freedesktop.Notifications",
                                 "org.gnome.Mutter.IdleMonitor", "org.freedesktop.ScreenSaver"})
            QVERIFY(services().registerService(QString::fromLatin1(name)));
    }

    void cleanupTestCase()
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("client"));
        QDBusConnection::disconnectFromBus(QStringLiteral("services"));
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
        emitSignal(QStringLiteral("/org/freedesktop/login1"), QStringLiteral("org.freedesktop.login1.Manager"),
                   QStringLiteral("PrepareForSleep"), {true});
        emitSignal(QStringLiteral("/org/freedesktop/login1"), QStringLiteral("org.freedesktop.login1.Manager"),
                   QStringLiteral("PrepareForSleep"), {false});
        QTRY_COMPARE(delivered, QList<bool>({true, false}));
    }

    void lockFromLogindRequestsAndHint()
    {
        LogindSessionSource source(client(), LogindSessionSource::Watched::lock);
        QList<bool> delivered;
        source.start([&delivered](bool locked) { delivered.append(locked); });
        const QString session = QStringLiteral("org.freedesktop.login1.Session");
        emitSignal(sessionPath, session, QStringLiteral("Lock"), {});
        emitSignal(sessionPath, session, QStringLiteral("Unlock"), {});
        changeProperty(sessionPath, session, {{QStringLiteral("LockedHint"), true}});
        desktop->lockedHint = false;  // a change announced without its value is read back
        changeProperty(sessionPath, session, {}, {QStringLiteral("LockedHint")});
        QTRY_COMPARE(delivered, QList<bool>({true, false, true, false}));
        changeProperty(sessionPath, session, {{QStringLiteral("IdleHint"), true}});
        changeProperty(QStringLiteral("/org/freedesktop/login1/session/_32"), session,
                       {{QStringLiteral("LockedHint"), true}});
        QTest::qWait(50);
        QCOMPARE(delivered.size(), 4);
    }

    void sessionActiveFromLogind()
    {
        LogindSessionSource source(client(), LogindSessionSource::Watched::active);
        QList<bool> delivered;
        source.start([&delivered](bool active) { delivered.append(active); });
        const QString session = QStringLiteral("org.freedesktop.login1.Session");
        changeProperty(sessionPath, session, {{QStringLiteral("Active"), false}});
        desktop->active = true;  // read back when only announced
        changeProperty(sessionPath, session, {}, {QStringLiteral("Active")});
        QTRY_COMPARE(delivered, QList<bool>({false, true}));
    }

    void screenSaverUnderBothNames()
    {
        ScreenSaverSource source(client());
        QList<bool> delivered;
        source.start([&delivered](bool active) { delivered.append(active); });
        emitSignal(QStringLiteral("/org/freedesktop/ScreenSaver"), QStringLiteral("org.freedesktop.ScreenSaver"),
                   QStringLiteral("ActiveChanged"), {true});
        emitSignal(QStringLiteral("/org/gnome/ScreenSaver"), QStringLiteral("org.gnome.ScreenSaver"),
                   QStringLiteral("ActiveChanged"), {false});
        QTRY_COMPARE(delivered, QList<bool>({true, false}));
    }

    void idleFromMutterAndTheScreenSaver()
    {
        QCOMPARE(DBusIdleReading::mutter(client())->secondsSinceAnyInput(), std::optional(4.2));
        QCOMPARE(DBusIdleReading::screenSaver(client())->secondsSinceAnyInput(), std::optional(7.0));
        QCOMPARE(DBusIdleReading::mutter(QDBusConnection(QStringLiteral("nowhere")))->secondsSinceAnyInput(),
                 std::nullopt);
    }

    void doNotDisturbFromTheNotificationServer()
    {
        NotificationsDoNotDisturb reading(client());
        QCOMPARE(reading.authorization(), FocusAuthorization::authorized);
        QCOMPARE(reading.isOn(), std::optional(false));
        changeProperty(QStringLiteral("/org/freedesktop/Notifications"), QStringLiteral("org.freedesktop.Notifications"),
                       {{QStringLiteral("Inhibited"), true}});
        QTRY_COMPARE(reading.isOn(), std::optional(true));

        desktop->hasInhibited = false;
        reading.probe();
        QCOMPARE(reading.authorization(), FocusAuthorization::denied);
        QCOMPARE(reading.isOn(), std::nullopt);
        desktop->hasInhibited = true;

        QVERIFY(services().unregisterService(QStringLiteral("org.freedesktop.Notifications")));
        reading.probe();
        QCOMPARE(reading.authorization(), FocusAuthorization::restricted);
        QVERIFY(services().registerService(QStringLiteral("org.freedesktop.Notifications")));
    }
};

QTEST_GUILESS_MAIN(TestDesktopServices)
#include "test_desktop_services.moc"
