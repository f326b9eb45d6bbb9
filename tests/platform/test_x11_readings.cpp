// Runs against a real X server: scripts/test starts one for it, and fails the test if it skips.
// By hand: xvfb-run -a -s "-screen 0 1280x800x24" tests/test_x11_readings
#include "platform/DesktopFileIndex.h"
#include "platform/IdleReadings.h"
#include "platform/TrayPanelColour.h"
#include "platform/X11Connection.h"
#include "platform/X11FrontApplicationReading.h"
#include "platform/X11KeyOrClickReading.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

using namespace Qt::StringLiterals;

namespace {

bool xdotool(const QStringList& arguments)
{
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

}  // namespace

class TestX11Readings : public QObject {
    Q_OBJECT

private:
    Display* display = nullptr;

    Atom atom(const char* name) { return XInternAtom(display, name, False); }

    // Another application's window.
    Window openWindow(const char* instance, const char* windowClass, const QByteArray& applicationID = {})
    {
        const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 100, 100, 0, 0, 0);
        XClassHint hint{const_cast<char*>(instance), const_cast<char*>(windowClass)};
        XSetClassHint(display, window, &hint);
        if (!applicationID.isEmpty())
            XChangeProperty(display, window, atom("_GTK_APPLICATION_ID"), atom("UTF8_STRING"), 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(applicationID.constData()),
                            int(applicationID.size()));
        XMapWindow(display, window);
        return window;
    }

    // What a window manager does when a window takes the focus.
    void makeActive(Window window)
    {
        const long value = long(window);
        XChangeProperty(display, DefaultRootWindow(display), atom("_NET_ACTIVE_WINDOW"), XA_WINDOW, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&value), 1);
        XSync(display, False);
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(!qEnvironmentVariableIsEmpty("DISPLAY"), "needs an X server: run it through scripts/test");
        QVERIFY2(!QStandardPaths::findExecutable(u"xdotool"_s).isEmpty(),
                 "xdotool is missing: scripts/setup installs it");
        display = XOpenDisplay(nullptr);
        QVERIFY(display);
    }

    void cleanupTestCase()
    {
        if (display)
            XCloseDisplay(display);
    }

    void idleTimeMovesWithInjectedInput()
    {
        X11IdleReading idle(std::make_shared<X11Connection>());
        QVERIFY(xdotool({"mousemove", "5", "5"}));
        QTest::qWait(600);
        const double before = idle.secondsSinceAnyInput().value_or(-1);
        QVERIFY2(before >= 0.5, qPrintable(QString::number(before)));
        QVERIFY(xdotool({"mousemove", "40", "40"}));
        QVERIFY(idle.secondsSinceAnyInput().value_or(before) < before);
    }

    void keysAndClicksButNotPointerMoves()
    {
        X11KeyOrClickReading keys(std::make_shared<X11Connection>());
        QVERIFY(keys.secondsSinceKeyOrClick().has_value());  // time since listening began, before any key
        QTest::qWait(300);
        QVERIFY(xdotool({"key", "a"}));
        QTRY_VERIFY(*keys.secondsSinceKeyOrClick() < 0.2);
        QTest::qWait(300);
        QVERIFY(xdotool({"mousemove", "60", "60"}));
        QTest::qWait(50);
        QVERIFY(*keys.secondsSinceKeyOrClick() >= 0.3);
        QVERIFY(xdotool({"click", "1"}));
        QTRY_VERIFY(*keys.secondsSinceKeyOrClick() < 0.2);
    }

    void activeWindowNamesItsApplication()
    {
        QTemporaryDir applications;
        QFile desktopFile(applications.filePath(u"org.example.Notes.desktop"_s));
        QVERIFY(desktopFile.open(QIODevice::WriteOnly));
        desktopFile.write("[Desktop Entry]\nType=Application\nName=Notes\nStartupWMClass=notes-app\n");
        desktopFile.close();
        X11FrontApplicationReading front(std::make_shared<X11Connection>(), DesktopFileIndex({applications.path()}));
        makeActive(openWindow("editor", "Editor", "org.example.Editor"));
        QCOMPARE(front.frontApplicationID(), u"org.example.Editor"_s);
        const Window plain = openWindow("notes-app", "Notes-app");
        makeActive(plain);
        QCOMPARE(front.frontApplicationID(), u"org.example.Notes"_s);
        makeActive(openWindow("zzz", "Zzz"));
        QCOMPARE(front.frontApplicationID(), std::nullopt);
        // The window vanishes while still named active: an answer, not the end of the process.
        XDestroyWindow(display, plain);
        makeActive(plain);
        QCOMPARE(front.frontApplicationID(), std::nullopt);
    }

    // A tray host owns the screen's tray selection and may publish the colours it wants.
    void trayColoursNameTheForeground()
    {
        X11Connection x11;
        QCOMPARE(trayPanelForeground(x11), std::nullopt);
        const Window tray = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 10, 10, 0, 0, 0);
        XSetSelectionOwner(display, atom("_NET_SYSTEM_TRAY_S0"), tray, CurrentTime);
        XSync(display, False);
        QCOMPARE(trayPanelForeground(x11), std::nullopt);

        // Foreground, error, warning and success, 16 bits a channel.
        const long colours[12] = {0xEEEE, 0xEEEE, 0xECEC, 0xCCCC, 0, 0, 0xF5F5, 0x7979, 0, 0x4E4E, 0x9A9A, 0x0606};
        XChangeProperty(display, tray, atom("_NET_SYSTEM_TRAY_COLORS"), XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(colours), 12);
        XSync(display, False);
        QCOMPARE(trayPanelForeground(x11), std::optional(QColor(0xEE, 0xEE, 0xEC)));

        XDestroyWindow(display, tray);
        XSync(display, False);
        QCOMPARE(trayPanelForeground(x11), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(TestX11Readings)
#include "test_x11_readings.moc"
