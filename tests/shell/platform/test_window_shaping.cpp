// The X11 part runs against a real X server, e.g.:
//   xvfb-run -a -s "-screen 0 1280x800x24" tests/test_window_shaping
#include "WindowShaping.h"

#include <QGuiApplication>
#include <QRegion>
#include <QTest>
#include <QWindow>

#include <X11/Xlib.h>
#include <X11/extensions/shape.h>

namespace {

bool onX11()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

// The window's shape of one kind as the server holds it, asked on a connection of our own.
QRegion serverShape(const QWindow& window, int kind)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return {};
    int count = 0;
    int ordering = 0;
    XRectangle* rectangles = XShapeGetRectangles(display, Window(window.winId()), kind, &count, &ordering);
    QRegion shape;
    for (int index = 0; index < count; ++index)
        shape += QRect(rectangles[index].x, rectangles[index].y, rectangles[index].width, rectangles[index].height);
    XFree(rectangles);
    XCloseDisplay(display);
    return shape;
}

} // namespace

class TestWindowShaping : public QObject {
    Q_OBJECT

private slots:
    void theBoundingShapeIsQtsMask();
    void otherPlatformsDoNotShapeInput();
    void onX11TheInputShapeIsCutAlone();
};

void TestWindowShaping::theBoundingShapeIsQtsMask()
{
    QWindow window;
    window.resize(100, 80);
    DesktopWindowShaping shaping;
    const QRegion part = QRegion(10, 10, 30, 20) + QRegion(50, 40, 20, 20);
    shaping.cut(window, WindowShapeKind::bounding, part);
    QCOMPARE(window.mask(), part);

    // Nothing at all is not Qt's "no mask".
    shaping.cut(window, WindowShapeKind::bounding, QRegion());
    QVERIFY(!window.mask().isEmpty());
    QVERIFY((window.mask() & QRect(0, 0, 100, 80)).isEmpty());

    shaping.uncut(window, WindowShapeKind::bounding);
    QVERIFY(window.mask().isEmpty());
}

void TestWindowShaping::otherPlatformsDoNotShapeInput()
{
    if (onX11())
        QSKIP("runs on a platform other than X11");
    QWindow window;
    DesktopWindowShaping shaping;
    QVERIFY(!shaping.shapesInput());
    // Asked anyway, it changes nothing.
    shaping.cut(window, WindowShapeKind::input, QRegion(0, 0, 5, 5));
    QVERIFY(window.mask().isEmpty());
}

void TestWindowShaping::onX11TheInputShapeIsCutAlone()
{
    if (!onX11())
        QSKIP("needs an X server");
    QWindow window;
    window.setGeometry(20, 20, 100, 80);
    window.create();
    const QRect whole(0, 0, 100, 80);
    DesktopWindowShaping shaping;
    QVERIFY(shaping.shapesInput());

    const QRegion part = QRegion(10, 10, 30, 20) + QRegion(50, 40, 20, 20);
    shaping.cut(window, WindowShapeKind::input, part);
    QCOMPARE(serverShape(window, ShapeInput), part);
    QCOMPARE(serverShape(window, ShapeBounding), QRegion(whole));

    shaping.cut(window, WindowShapeKind::input, QRegion());
    QVERIFY(serverShape(window, ShapeInput).isEmpty());

    shaping.uncut(window, WindowShapeKind::input);
    QCOMPARE(serverShape(window, ShapeInput), QRegion(whole));
}

int main(int argc, char** argv)
{
    // The shaping uses Qt's own X11 connection, so it runs on X11 whenever a display is there.
    if (!qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication application(argc, argv);
    TestWindowShaping test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_window_shaping.moc"
