#include "ReminderTesting.h"

#include "MovieBuddy.h"
#include "PictureButton.h"
#include "ReduceMotion.h"
#include "ReminderSurface.h"
#include "ReminderView.h"
#include "SpeechBubbleCard.h"
#include "StoreAction.h"

#include <QMediaPlayer>
#include <QVideoSink>
#include <QtTest>
#include <thread>

using namespace ReminderTesting;

class ReminderSurfaceTest : public QObject {
    Q_OBJECT

private slots:
    void init() { ReduceMotion::setOverride(false); }
    void cleanup() { ReduceMotion::setOverride(std::nullopt); }

    void clicksReachTheCanvasAtAnyScale_data();
    void clicksReachTheCanvasAtAnyScale();
    void walkingCardTakesNoClickAndHidingStopsTheWalk();
    void nothingTakesKeyboardFocus();
    void actionsRefuseOtherThreads();
    void aMovieCompanionShowsItsFrames();
};

namespace {

// Clicks the window, as the window system would, where the canvas shows the widget's centre.
void clickCanvas(ReminderSurface& surface, const QString& name) {
    const QWidget* canvas = surface.reminderView();
    const QWidget* widget = child(canvas, name);
    const QPointF centre = QRectF(widget->mapTo(canvas, QPoint(0, 0)), QSizeF(widget->size())).center();
    QTest::mouseClick(surface.windowHandle(), Qt::LeftButton, {}, surface.mapFromCanvas(centre));
}

// Whether this machine's media backend plays a movie at all (its format list cannot be trusted).
bool backendPlays(const QString& movieFile) {
    QMediaPlayer player;
    QVideoSink sink;
    player.setVideoSink(&sink);
    QSignalSpy frames(&sink, &QVideoSink::videoFrameChanged);
    QSignalSpy errors(&player, &QMediaPlayer::errorOccurred);
    player.setSource(QUrl::fromLocalFile(movieFile));
    player.play();
    const bool answered = QTest::qWaitFor([&] { return !frames.isEmpty() || !errors.isEmpty(); }, 20000);
    const bool played = answered && errors.isEmpty();
    player.stop();
    return played;
}

} // namespace

void ReminderSurfaceTest::clicksReachTheCanvasAtAnyScale_data() {
    QTest::addColumn<double>("firstScale");
    QTest::addColumn<double>("scale");
    QTest::newRow("full size") << 1.0 << 1.0;
    QTest::newRow("small screen") << 0.6 << 0.6;
    QTest::newRow("moved to a small screen") << 1.0 << 0.6;
    QTest::newRow("moved to a large screen") << 0.6 << 1.0;
}

void ReminderSurfaceTest::clicksReachTheCanvasAtAnyScale() {
    QFETCH(double, firstScale);
    QFETCH(double, scale);
    TestStore store;
    ReminderSurface surface(store.get(), firstScale);
    surface.show();
    surface.setScale(scale);
    QVERIFY(QTest::qWaitForWindowExposed(&surface));
    store->showReminder(false, ReminderKind::water);
    store.tickUntil(CompanionPhase::asking);

    QCOMPARE(surface.size(), (QSizeF(410, 760) * scale).toSize());
    clickCanvas(surface, "drankButton");
    QCOMPARE(store->state().drinks.size(), 1);
    QCOMPARE(store->phase(), CompanionPhase::celebrating);
}

void ReminderSurfaceTest::walkingCardTakesNoClickAndHidingStopsTheWalk() {
    TestStore store;
    ReminderSurface surface(store.get());
    surface.show();
    QVERIFY(QTest::qWaitForWindowExposed(&surface));
    store->showReminder(false, ReminderKind::water);
    clickCanvas(surface, "drankButton");
    QCOMPARE(store->state().drinks.size(), 0);
    QCOMPARE(store->phase(), CompanionPhase::entering);
    QVERIFY(surface.reminderView()->isTimelineRunning());
    surface.hide();
    QVERIFY(!surface.reminderView()->isTimelineRunning());
    surface.show();
    QVERIFY(surface.reminderView()->isTimelineRunning());
}

void ReminderSurfaceTest::nothingTakesKeyboardFocus() {
    TestStore store;
    ReminderSurface surface(store.get());
    surface.show();
    QCOMPARE(surface.focusPolicy(), Qt::NoFocus);
    for (double scale : {0.6, 1.0}) { // a scaled canvas and a full-size one sit in different children
        surface.setScale(scale);
        for (QWidget* child : surface.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            QVERIFY2(child->focusPolicy() == Qt::NoFocus, child->metaObject()->className());
    }
    for (ReminderKind kind : {ReminderKind::water, ReminderKind::eyeRest}) {
        store->showReminder(false, kind);
        store.tickUntil(CompanionPhase::asking);
        for (QAbstractButton* button : surface.reminderView()->findChildren<QAbstractButton*>())
            QVERIFY2(button->focusPolicy() == Qt::NoFocus, qPrintable(button->objectName()));
        store->dismiss();
    }
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

// The movie is drawn as part of the canvas, which the panel paints scaled in a graphics view:
// a frame of the movie must reach the screen, not just the player.
void ReminderSurfaceTest::aMovieCompanionShowsItsFrames() {
    TestStore store;
    store.useCompanion("nimbi");
    const CharacterPack nimbi = store->presentedCompanion();
    if (!backendPlays(*nimbi.asset(nimbi.entry)))
        QSKIP("This machine's media backend cannot play the bundled movies");
    ReminderSurface surface(store.get());
    surface.show();
    QVERIFY(QTest::qWaitForWindowExposed(&surface));
    store->showReminder(true, ReminderKind::water);
    store.tickUntil(CompanionPhase::asking);

    PictureButton* companion = surface.reminderView()->companion();
    auto* movie = qobject_cast<MovieBuddy*>(companion->picture());
    QVERIFY(movie && movie->player());
    QTRY_VERIFY_WITH_TIMEOUT(movie->hasFrame() || movie->isShowingStill(), 20000);
    QVERIFY2(!movie->isShowingStill(), "the bundled movie could not be played");
    movie->player()->pause();

    // Unlike the still shown before the first frame, a movie frame is opaque to its corners.
    const QImage shown = surface.grab(companion->geometry()).toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(shown.size(), QSize(370, 218));
    for (const QPoint corner : {QPoint(2, 2), QPoint(367, 2), QPoint(2, 215), QPoint(367, 215)})
        QCOMPARE(qAlpha(shown.pixel(corner)), 255);
    QSet<QRgb> colours;
    for (int x = 0; x < shown.width(); x += 4)
        colours.insert(shown.pixel(x, shown.height() / 2));
    QVERIFY(colours.size() > 10);
}

QTEST_MAIN(ReminderSurfaceTest)
#include "test_reminder_surface.moc"
