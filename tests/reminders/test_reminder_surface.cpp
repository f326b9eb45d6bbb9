#include "support/ReminderTesting.h"
#include "support/TableTesting.h"

#include "reminders/ReminderSurface.h"
#include "reminders/ReminderView.h"
#include "ui/ReduceMotion.h"

#include <QtTest>

using namespace ReminderTesting;
using namespace StoreTesting;

namespace {

// Clicks the window, as the window system would, where the canvas shows the widget's centre.
void clickCanvas(ReminderSurface& surface, const QString& name)
{
    const QWidget* canvas = surface.reminderView();
    const QWidget* widget = child(canvas, name);
    const QPointF centre = QRectF(widget->mapTo(canvas, QPoint(0, 0)), QSizeF(widget->size())).center();
    QTest::mouseClick(surface.windowHandle(), Qt::LeftButton, {}, surface.mapFromCanvas(centre));
}

}  // namespace

class ReminderSurfaceTest : public QObject {
    Q_OBJECT

private slots:
    void init() { ReduceMotion::setOverride(false); }
    void cleanup() { ReduceMotion::setOverride(std::nullopt); }

    void clicksReachTheCardOnlyWhileItWaits_data()
    {
        addColumns<double, double>("firstScale", "scale");
        QTest::newRow("full size") << 1.0 << 1.0;
        QTest::newRow("small screen") << 0.6 << 0.6;
        QTest::newRow("moved to a small screen") << 1.0 << 0.6;
        QTest::newRow("moved to a large screen") << 0.6 << 1.0;
    }

    void clicksReachTheCardOnlyWhileItWaits()
    {
        QFETCH(double, firstScale);
        QFETCH(double, scale);
        TestStore store;
        ReminderSurface surface(store.get(), firstScale);
        surface.show();
        surface.setScale(scale);
        QVERIFY(QTest::qWaitForWindowExposed(&surface));
        QCOMPARE(surface.size(), (QSizeF(410, 760) * scale).toSize());
        store->showReminder(false, ReminderKind::water);
        clickCanvas(surface, "drankButton");  // still walking in
        QCOMPARE(store->state().drinks.size(), 0);
        store.tickUntil(CompanionPhase::asking);
        clickCanvas(surface, "drankButton");
        QCOMPARE(store->state().drinks.size(), 1);
        QVERIFY(store.tickUntil(CompanionPhase::leaving));
        clickCanvas(surface, "closeButton");
        QCOMPARE(store->phase(), CompanionPhase::leaving);
    }
};

QTEST_MAIN(ReminderSurfaceTest)
#include "test_reminder_surface.moc"
