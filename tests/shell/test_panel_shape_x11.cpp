// Runs against a real X server: scripts/test starts one for it.
// By hand: xvfb-run -a -s "-screen 0 1280x800x24" tests/test_panel_shape_x11
//
// The shape the server holds for the reminder panel, read back over a connection of the test's
// own, must be the one the panel cut, after every change of the panel: a cut that waits in Qt's
// queue leaves the companion without its bubble on the screen.
#include "reminders/ReminderSurface.h"
#include "reminders/ReminderView.h"
#include "reminders/SpeechBubbleCard.h"
#include "shell/BuddyPanel.h"
#include "support/TableTesting.h"
#include "support/ViewTesting.h"

#include <QtTest>

#include <X11/Xlib.h>
#include <X11/extensions/shape.h>

using namespace StoreTesting;

namespace {

class FakeCompositor : public CompositorReading {
public:
    explicit FakeCompositor(bool blends) : blends_(blends) { }
    bool blendsTranslucency() override { return blends_; }

private:
    bool blends_;
};

QRegion serverShape(Display* display, Window window, int kind)
{
    int count = 0;
    int ordering = 0;
    XRectangle* rectangles = XShapeGetRectangles(display, window, kind, &count, &ordering);
    QRegion shape;
    for (int index = 0; index < count; ++index)
        shape |= QRect(rectangles[index].x, rectangles[index].y, rectangles[index].width, rectangles[index].height);
    if (rectangles)
        XFree(rectangles);
    return shape;
}

}  // namespace

class PanelShapeTest : public QObject {
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

    void theServerHoldsTheShapeThePanelCut_data()
    {
        addColumns<bool, int>("blends", "kind");
        QTest::newRow("shown pixels, without compositor") << false << ShapeBounding;
        QTest::newRow("clicks, with compositor") << true << ShapeInput;
    }

    void theServerHoldsTheShapeThePanelCut()
    {
        QFETCH(bool, blends);
        QFETCH(int, kind);
        TestStore store;
        BuddyPanel panel(store.get(), true, nullptr, std::make_unique<FakeCompositor>(blends));
        store->onPresent = [&panel] { panel.presentBuddy(); };
        store->onDismiss = [&panel] { panel.hide(); };

        struct Change {
            const char* what;
            std::function<void()> make;
            bool asks;
        };
        const Change changes[] = {
            {"walks in", [&] { store->showReminder(false, ReminderKind::water); }, false},
            {"asks", [&] { store->tick(store->now().addSecs(3)); }, true},
            {"is declined", [&] { store->decline(); }, true},
            {"leaves", [&] { store->tick(store->now().addSecs(4)); }, false},
            {"comes back as a preview",
             [&] {
                 store->dismiss();
                 store->showReminder(true, ReminderKind::water);
                 store->tick(store->now().addSecs(3));
             },
             true},
            {"celebrates", [&] { store->answerYes(); }, true},
        };
        for (const Change& change : changes) {
            change.make();
            QVERIFY2(panel.isVisible(), change.what);
            QRegion server;
            // Between turns of the event loop the server holds what the panel cut last, also after
            // a pause without event processing in which any request already sent has arrived.
            for (int look = 0; look < 40; ++look) {
                QTest::qWait(15);
                QThread::msleep(5);
                server = serverShape(display_, Window(panel.winId()), kind) & panel.rect();
                const QRegion cut = panel.cutShape().value_or(panel.rect()) & panel.rect();
                QVERIFY2(server == cut,
                         qPrintable(QStringLiteral("%1, look %2").arg(QLatin1String(change.what)).arg(look)));
            }
            const SpeechBubbleCard* bubble = panel.surface()->reminderView()->bubble();
            const QPoint bubbleCentre = bubble->mapTo(&panel, bubble->rect().center());
            QVERIFY2(server.contains(bubbleCentre) == change.asks, change.what);
        }
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
    // The panel is cut on the X server itself, through Qt's own connection to it.
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication application(argc, argv);
    PanelShapeTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_panel_shape_x11.moc"
