// Runs against a real X server: scripts/test starts one for it.
// By hand: xvfb-run -a -s "-screen 0 1280x800x24" tests/test_window_close_x11
//
// The close the window manager sends (the title bar's close button) reaches the main window
// while the tour is open over it: closing the window is one way to leave the tour.
#include "support/StoreTesting.h"
#include "window/MainView.h"
#include "window/MainWindow.h"
#include "window/TourSheet.h"

#include <QtTest>

#include <X11/Xlib.h>

using namespace StoreTesting;

namespace {

// What a window manager sends when the user closes a window from its title bar.
void askToClose(Display* display, Window window)
{
    XEvent request{};
    request.xclient.type = ClientMessage;
    request.xclient.window = window;
    request.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    request.xclient.format = 32;
    request.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
    request.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &request);
    XFlush(display);
}

}  // namespace

class WindowCloseTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        display_ = XOpenDisplay(nullptr);
        QVERIFY(display_);
    }

    void cleanupTestCase()
    {
        if (display_)
            XCloseDisplay(display_);
    }

    void theDesktopClosesTheWindowBehindTheTour()
    {
        QTemporaryDir folder;
        auto store = openStore(folder.path(), Saving::off);
        store->tick(morning());
        MainWindow window(store.get(), false);
        // What the application does when its window closes.
        int closes = 0;
        connect(&window, &MainWindow::closing, store.get(), [&] {
            ++closes;
            if (store->tourVisible())
                store->finishTour();
        });
        window.present();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        store->presentTourIfNeeded();
        TourSheet* sheet = window.findChild<MainView*>()->tourSheet();
        QTRY_VERIFY(sheet->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(sheet));

        askToClose(display_, Window(window.winId()));
        QTRY_VERIFY(!window.isVisible());
        QCOMPARE(closes, 1);
        QVERIFY(!sheet->isVisible());
        QVERIFY(!store->tourVisible());
        QCOMPARE(store->state().tourVersion, 1);
    }

private:
    Display* display_ = nullptr;
};

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::puts("FAIL!  : needs an X server: run it through scripts/test");
        return 1;
    }
    // The close has to come through the X server, as the window manager's does.
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication application(argc, argv);
    WindowCloseTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_window_close_x11.moc"
