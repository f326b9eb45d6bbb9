// Runs against a real X server and skips without one, e.g.:
//   xvfb-run -a -s "-screen 0 1280x800x24" tests/test_x11_readings
#include "DesktopFileIndex.h"
#include "IdleReadings.h"
#include "X11Connection.h"
#include "X11FrontApplicationReading.h"
#include "X11KeyOrClickReading.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

// A tiny client of its own, as another application would be.
class Client {
public:
    Client() : display_(XOpenDisplay(nullptr)) {}
    ~Client()
    {
        if (display_)
            XCloseDisplay(display_);
    }
    bool isOpen() const { return display_ != nullptr; }

    Window openWindow(const char* instance, const char* windowClass, const QByteArray& applicationID = {})
    {
        const Window window = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 100, 100, 0, 0, 0);
        XClassHint hint{const_cast<char*>(instance), const_cast<char*>(windowClass)};
        XSetClassHint(display_, window, &hint);
        if (!applicationID.isEmpty()) {
            XChangeProperty(display_, window, atom("_GTK_APPLICATION_ID"), atom("UTF8_STRING"), 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(applicationID.constData()),
                            int(applicationID.size()));
        }
        XMapWindow(display_, window);
        XSync(display_, False);
        return window;
    }

    // What a window manager does when a window takes the focus.
    void makeActive(Window window, bool destroyFirst = false)
    {
        if (destroyFirst)
            XDestroyWindow(display_, window);
        const long value = long(window);
        XChangeProperty(display_, DefaultRootWindow(display_), atom("_NET_ACTIVE_WINDOW"), XA_WINDOW, 32,
                        PropModeReplace, reinterpret_cast<const unsigned char*>(&value), 1);
        XSync(display_, False);
    }

private:
    Atom atom(const char* name) { return XInternAtom(display_, name, False); }
    Display* display_;
};

bool xdotool(const char* command, const char* argument, const char* more = nullptr)
{
    QStringList arguments{QString::fromLatin1(command), QString::fromLatin1(argument)};
    if (more)
        arguments.append(QString::fromLatin1(more));
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

} // namespace

class TestX11Readings : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs an X server (run under xvfb-run)");
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            QSKIP("needs xdotool");
    }

    void idleTimeMovesWithInjectedInput()
    {
        X11IdleReading idle(std::make_shared<X11Connection>());
        QVERIFY(xdotool("mousemove", "5", "5"));
        QTest::qWait(600);
        const double before = idle.secondsSinceAnyInput().value_or(-1);
        QVERIFY2(before >= 0.5, qPrintable(QString::number(before)));
        QVERIFY(xdotool("mousemove", "40", "40"));
        QVERIFY(idle.secondsSinceAnyInput().value_or(before) < before);
    }

    void keyTypedByAnotherClientIsSeen()
    {
        X11KeyOrClickReading keys(std::make_shared<X11Connection>());
        // Before any key, the time since listening began stands in as a lower bound.
        QVERIFY(keys.secondsSinceKeyOrClick().has_value());
        QTest::qWait(300);
        QVERIFY(xdotool("key", "a"));
        QTRY_VERIFY(*keys.secondsSinceKeyOrClick() < 0.2);
        QTest::qWait(300);
        // Moving the pointer is not a key press or click.
        QVERIFY(xdotool("mousemove", "60", "60"));
        QTest::qWait(50);
        QVERIFY(*keys.secondsSinceKeyOrClick() >= 0.3);
        QVERIFY(xdotool("click", "1"));
        QTRY_VERIFY(*keys.secondsSinceKeyOrClick() < 0.2);
    }

    void activeWindowNamesItsApplication()
    {
        QTemporaryDir applications;
        QFile desktopFile(applications.filePath(QStringLiteral("org.example.Notes.desktop")));
        QVERIFY(desktopFile.open(QIODevice::WriteOnly));
        desktopFile.write("[Desktop Entry]\nType=Application\nName=Notes\nStartupWMClass=notes-app\n");
        desktopFile.close();

        Client client;
        QVERIFY(client.isOpen());
        X11FrontApplicationReading front(std::make_shared<X11Connection>(), DesktopFileIndex({applications.path()}));
        client.makeActive(client.openWindow("editor", "Editor", "org.example.Editor"));
        QCOMPARE(front.frontApplicationID(), QStringLiteral("org.example.Editor"));
        const Window plain = client.openWindow("notes-app", "Notes-app");
        client.makeActive(plain);
        QCOMPARE(front.frontApplicationID(), QStringLiteral("org.example.Notes"));
        client.makeActive(client.openWindow("zzz", "Zzz"));
        QCOMPARE(front.frontApplicationID(), std::nullopt);
        // The window vanishes while still named active: an answer, not the end of the process.
        client.makeActive(plain, true);
        QCOMPARE(front.frontApplicationID(), std::nullopt);
    }

};

QTEST_GUILESS_MAIN(TestX11Readings)
#include "test_x11_readings.moc"
