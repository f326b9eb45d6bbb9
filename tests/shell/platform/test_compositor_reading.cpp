// The X11 part runs against a real X server without a compositing manager, e.g.:
//   xvfb-run -a -s "-screen 0 1280x800x24" tests/test_compositor_reading
#include "CompositorReading.h"

#include <QGuiApplication>
#include <QTest>

#include <X11/Xlib.h>

class TestCompositorReading : public QObject {
    Q_OBJECT

private slots:
    void otherPlatformsBlend()
    {
        if (QGuiApplication::platformName() == QLatin1String("xcb"))
            QSKIP("runs on a platform other than X11");
        QVERIFY(DesktopCompositorReading().blendsTranslucency());
    }

    // A client of its own stands in for the compositing manager: it takes the selection that a
    // compositing manager holds while it runs.
    void aCompositingManagerOwnsTheScreensSelection()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X server");
        Display* manager = XOpenDisplay(nullptr);
        QVERIFY(manager);
        const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(DefaultScreen(manager));
        const Atom selection = XInternAtom(manager, name.constData(), False);
        if (XGetSelectionOwner(manager, selection) != None) {
            XCloseDisplay(manager);
            QSKIP("a compositing manager runs on this display");
        }

        DesktopCompositorReading reading;
        QVERIFY(!reading.blendsTranslucency());

        const Window window = XCreateSimpleWindow(manager, DefaultRootWindow(manager), 0, 0, 1, 1, 0, 0, 0);
        XSetSelectionOwner(manager, selection, window, CurrentTime);
        XSync(manager, False);
        QVERIFY(reading.blendsTranslucency());

        // The manager stops: asked again, the reading says so.
        XDestroyWindow(manager, window);
        XSync(manager, False);
        QVERIFY(!reading.blendsTranslucency());
        XCloseDisplay(manager);
    }
};

int main(int argc, char** argv)
{
    // The reading asks Qt's own X11 connection, so it runs on X11 whenever a display is there.
    if (!qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication application(argc, argv);
    TestCompositorReading test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_compositor_reading.moc"
