#include "ReminderTesting.h"

#include "ReduceMotion.h"
#include "ReminderSurface.h"
#include "ReminderView.h"
#include "SpeechBubbleCard.h"
#include "StoreAction.h"

#include <QGraphicsView>
#include <QtTest>
#include <thread>

using namespace ReminderTesting;

class ReminderSurfaceTest : public QObject {
    Q_OBJECT

private slots:
    void init() { ReduceMotion::setOverride(false); }
    void cleanup() { ReduceMotion::setOverride(std::nullopt); }

    void sizeFollowsTheScale();
    void clicksReachTheCanvasAtAnyScale_data();
    void clicksReachTheCanvasAtAnyScale();
    void hiddenCardTakesNoClick();
    void nothingTakesKeyboardFocus();
    void hidingTheSurfaceStopsTheWalk();
    void actionsRefuseOtherThreads();
};

namespace {

// Where a canvas point lands on the surface's screen.
QPoint onScreen(const ReminderSurface& surface, QPointF canvasPoint) {
    return (canvasPoint * surface.scale()).toPoint();
}

QWidget* viewport(const ReminderSurface& surface) { return surface.findChild<QGraphicsView*>()->viewport(); }

QPointF canvasCentre(const QWidget* widget, const QWidget* canvas) {
    return QRectF(widget->mapTo(canvas, QPoint(0, 0)), QSizeF(widget->size())).center();
}

} // namespace

void ReminderSurfaceTest::sizeFollowsTheScale() {
    TestStore store;
    ReminderSurface surface(store.get());
    QCOMPARE(surface.scale(), 1.0);
    QCOMPARE(surface.size(), QSize(410, 760));
    surface.setScale(0.75);
    QCOMPARE(surface.size(), QSize(308, 570));
    QCOMPARE(surface.reminderView()->size(), QSize(410, 760));
    ReminderSurface small(store.get(), 0.5);
    QCOMPARE(small.size(), QSize(205, 380));
}

void ReminderSurfaceTest::clicksReachTheCanvasAtAnyScale_data() {
    QTest::addColumn<double>("scale");
    QTest::newRow("full size") << 1.0;
    QTest::newRow("small screen") << 0.6;
}

void ReminderSurfaceTest::clicksReachTheCanvasAtAnyScale() {
    QFETCH(double, scale);
    TestStore store;
    ReminderSurface surface(store.get(), scale);
    surface.show();
    QVERIFY(QTest::qWaitForWindowExposed(&surface));
    store->showReminder(false, ReminderKind::water);
    store.tickUntil(CompanionPhase::asking);

    ReminderView* canvas = surface.reminderView();
    QWidget* drank = child(canvas, "drankButton");
    QTest::mouseClick(viewport(surface), Qt::LeftButton, {}, onScreen(surface, canvasCentre(drank, canvas)));
    QCOMPARE(store->state().drinks.size(), 1);
    QCOMPARE(store->phase(), CompanionPhase::celebrating);
}

void ReminderSurfaceTest::hiddenCardTakesNoClick() {
    TestStore store;
    ReminderSurface surface(store.get());
    surface.show();
    store->showReminder(false, ReminderKind::water);
    ReminderView* canvas = surface.reminderView();
    QWidget* drank = child(canvas, "drankButton");
    QVERIFY(!drank->isVisible());
    QTest::mouseClick(viewport(surface), Qt::LeftButton, {}, onScreen(surface, canvasCentre(drank, canvas)));
    QCOMPARE(store->state().drinks.size(), 0);
    QCOMPARE(store->phase(), CompanionPhase::entering);
}

void ReminderSurfaceTest::nothingTakesKeyboardFocus() {
    TestStore store;
    ReminderSurface surface(store.get());
    surface.show();
    QCOMPARE(surface.focusPolicy(), Qt::NoFocus);
    QCOMPARE(surface.findChild<QGraphicsView*>()->focusPolicy(), Qt::NoFocus);
    for (ReminderKind kind : {ReminderKind::water, ReminderKind::eyeRest}) {
        store->showReminder(false, kind);
        store.tickUntil(CompanionPhase::asking);
        for (QAbstractButton* button : surface.reminderView()->findChildren<QAbstractButton*>())
            QVERIFY2(button->focusPolicy() == Qt::NoFocus, qPrintable(button->objectName()));
        store->dismiss();
    }
}

void ReminderSurfaceTest::hidingTheSurfaceStopsTheWalk() {
    TestStore store;
    ReminderSurface surface(store.get());
    surface.show();
    store->showReminder(false, ReminderKind::water);
    QVERIFY(surface.reminderView()->isTimelineRunning());
    surface.hide();
    QVERIFY(!surface.reminderView()->isTimelineRunning());
    surface.show();
    QVERIFY(surface.reminderView()->isTimelineRunning());
}

void ReminderSurfaceTest::actionsRefuseOtherThreads() {
    TestStore store;
    store->showReminder(false, ReminderKind::water);
    store.tickUntil(CompanionPhase::asking);
    const auto answer = storeAction(store.get(), &DewbellStore::answerYes);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("outside the main thread"));
    std::thread worker(answer);
    worker.join();
    QCOMPARE(store->state().drinks.size(), 0);
    answer();
    QCOMPARE(store->state().drinks.size(), 1);
}

QTEST_MAIN(ReminderSurfaceTest)
#include "test_reminder_surface.moc"
