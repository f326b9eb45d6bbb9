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
    void makeActive(Window window)
    {
        const long value = long(window);
        XChangeProperty(display_, DefaultRootWindow(display_), atom("_NET_ACTIVE_WINDOW"), XA_WINDOW, 32,
                        PropModeReplace, reinterpret_cast<const unsigned char*>(&value), 1);
        XSync(display_, False);
    }

    void destroy(Window window)
    {
        XDestroyWindow(display_, window);
        XSync(display_, False);
    }

private:
    Atom atom(const char* name) { return XInternAtom(display_, name, False); }
    Display* display_;
};

bool runXdotool(const QStringList& arguments)
{
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
        auto connection = std::make_shared<X11Connection>();
        X11IdleReading idle(connection);
        QVERIFY(runXdotool({QStringLiteral("mousemove"), QStringLiteral("5"), QStringLiteral("5")}));
        QTest::qWait(600);
        const std::optional<double> before = idle.secondsSinceAnyInput();
        QVERIFY(before);
        QVERIFY2(*before >= 0.5, qPrintable(QString::number(*before)));
        QVERIFY(runXdotool({QStringLiteral("mousemove"), QStringLiteral("40"), QStringLiteral("40")}));
        const std::optional<double> after = idle.secondsSinceAnyInput();
        QVERIFY(after);
        QVERIFY2(*after < *before, qPrintable(QStringLiteral("%1 then %2").arg(*before).arg(*after)));
        qInfo("idle %.3f s, after a pointer move %.3f s", *before, *after);
    }

    void keyTypedByAnotherClientIsSeen()
    {
        auto connection = std::make_shared<X11Connection>();
        X11KeyOrClickReading keys(connection);
        // Before any key, the time since listening began stands in as a lower bound.
        QVERIFY(keys.secondsSinceKeyOrClick().has_value());
        QTest::qWait(300);
        QVERIFY(runXdotool({QStringLiteral("key"), QStringLiteral("a")}));
        QTRY_VERIFY(*keys.secondsSinceKeyOrClick() < 0.2);
        QTest::qWait(300);
        const double later = *keys.secondsSinceKeyOrClick();
        QVERIFY(later >= 0.3);
        // Moving the pointer is not a key press or click.
        QVERIFY(runXdotool({QStringLiteral("mousemove"), QStringLiteral("60"), QStringLiteral("60")}));
        QTest::qWait(50);
        QVERIFY(*keys.secondsSinceKeyOrClick() >= later);
        QVERIFY(runXdotool({QStringLiteral("click"), QStringLiteral("1")}));
        QTRY_VERIFY(*keys.secondsSinceKeyOrClick() < 0.2);
        qInfo("key press seen; %.3f s since the click", *keys.secondsSinceKeyOrClick());
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
        auto connection = std::make_shared<X11Connection>();
        X11FrontApplicationReading front(connection, DesktopFileIndex({applications.path()}));

        const Window gtk = client.openWindow("editor", "Editor", "org.example.Editor");
        client.makeActive(gtk);
        QCOMPARE(front.frontApplicationID(), QStringLiteral("org.example.Editor"));

        const Window plain = client.openWindow("notes-app", "Notes-app");
        client.makeActive(plain);
        QCOMPARE(front.frontApplicationID(), QStringLiteral("org.example.Notes"));

        const Window unknown = client.openWindow("zzz", "Zzz");
        client.makeActive(unknown);
        QCOMPARE(front.frontApplicationID(), std::nullopt);

        // The window vanishes while still named active: an answer, not the end of the process.
        client.makeActive(plain);
        client.destroy(plain);
        client.makeActive(plain);
        QCOMPARE(front.frontApplicationID(), std::nullopt);
    }

};

QTEST_GUILESS_MAIN(TestX11Readings)
#include "test_x11_readings.moc"
