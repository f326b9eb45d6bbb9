// The X11 part runs against a real X server, e.g.:
//   xvfb-run -a -s "-screen 0 1280x800x24" tests/test_window_shaping
#include "WindowShaping.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
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

// A ring (rows crossing it have two runs), a faint shadow below it and a pixel exactly half covered.
QImage ringPicture(QImage::Format format)
{
    QImage picture(60, 40, format);
    picture.fill(Qt::transparent);
    for (int y = 5; y < 25; ++y)
        for (int x = 10; x < 40; ++x) {
            const bool hole = x >= 20 && x < 30 && y >= 10 && y < 20;
            if (!hole)
                picture.setPixelColor(x, y, QColor(200, 40, 40));
        }
    for (int x = 10; x < 40; ++x)
        picture.setPixelColor(x, 26, QColor(0, 0, 0, 127));
    picture.setPixelColor(50, 30, QColor(0, 0, 0, 128));
    return picture;
}

QRegion ring()
{
    return QRegion(10, 5, 30, 20) - QRegion(20, 10, 10, 10) + QRegion(50, 30, 1, 1);
}

} // namespace

class TestWindowShaping : public QObject {
    Q_OBJECT

private slots:
    void theBoundingShapeIsQtsMask()
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

        QCOMPARE(shaping.shapesInput(), onX11());
        if (!onX11()) {  // asked anyway, other platforms change nothing
            shaping.cut(window, WindowShapeKind::input, QRegion(0, 0, 5, 5));
            QVERIFY(window.mask().isEmpty());
        }
    }

    void onX11TheInputShapeIsCutAlone()
    {
        if (!onX11())
            QSKIP("needs an X server");
        QWindow window;
        window.setGeometry(20, 20, 100, 80);
        window.create();
        const QRect whole(0, 0, 100, 80);
        DesktopWindowShaping shaping;
        const QRegion part = QRegion(10, 10, 30, 20) + QRegion(50, 40, 20, 20);
        shaping.cut(window, WindowShapeKind::input, part);
        QCOMPARE(serverShape(window, ShapeInput), part);
        QCOMPARE(serverShape(window, ShapeBounding), QRegion(whole));

        shaping.cut(window, WindowShapeKind::input, QRegion());
        QVERIFY(serverShape(window, ShapeInput).isEmpty());

        shaping.uncut(window, WindowShapeKind::input);
        QCOMPARE(serverShape(window, ShapeInput), QRegion(whole));
    }

    void shownPixelsAreTheHalfCoveredOnes()
    {
        for (QImage::Format format : {QImage::Format_ARGB32_Premultiplied, QImage::Format_ARGB32,
                                      QImage::Format_RGBA8888}) {
            const QImage picture = ringPicture(format);
            QCOMPARE(WindowShaping::shownPixels(picture, picture.rect()), ring());
            // Only the area asked about, which may reach past the picture.
            QCOMPARE(WindowShaping::shownPixels(picture, QRect(15, 0, 10, 12)), ring() & QRect(15, 0, 10, 12));
            QCOMPARE(WindowShaping::shownPixels(picture, QRect(45, 25, 40, 40)), QRegion(50, 30, 1, 1));
            QVERIFY(WindowShaping::shownPixels(picture, QRect(0, 0, 5, 5)).isEmpty());
        }
    }

    void shownPixelsCountDeviceIndependentPixelsAndOpaquePicturesShowWhole()
    {
        QImage picture(120, 80, QImage::Format_ARGB32_Premultiplied);
        picture.fill(Qt::transparent);
        picture.setDevicePixelRatio(2);
        QPainter painter(&picture);
        painter.fillRect(QRect(10, 5, 30, 20), Qt::red);
        painter.end();
        QCOMPARE(WindowShaping::shownPixels(picture, QRect(0, 0, 60, 40)), QRegion(10, 5, 30, 20));
        QCOMPARE(WindowShaping::shownPixels(picture, QRect(20, 0, 40, 40)), QRegion(20, 5, 20, 20));
        QImage opaque(60, 40, QImage::Format_RGB32);
        opaque.fill(Qt::black);
        QCOMPARE(WindowShaping::shownPixels(opaque, QRect(5, 5, 10, 10)), QRegion(5, 5, 10, 10));
    }
};

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
