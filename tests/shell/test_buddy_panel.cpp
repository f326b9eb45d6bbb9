#include "ArtCache.h"
#include "BuddyPanel.h"
#include "PictureButton.h"
#include "PoseCache.h"
#include "ReminderSurface.h"
#include "ReminderView.h"
#include "SpeechBubbleCard.h"
#include "ViewTesting.h"

#include <QWindow>
#include <QtTest>

using namespace ViewTesting;

namespace {

// The desktop's answer, changeable between presentations.
class FakeCompositor : public CompositorReading {
public:
    explicit FakeCompositor(std::shared_ptr<bool> blends) : blends_(std::move(blends)) {}
    bool blendsTranslucency() override { return *blends_; }

private:
    std::shared_ptr<bool> blends_;
};

// What the panel asked of its native window, which the offscreen platform cannot shape.
struct Shapes {
    bool shapesInput = true;
    // None while that shape is the whole window.
    std::optional<QRegion> bounding;
    std::optional<QRegion> input;
};

class RecordingShaping : public WindowShaping {
public:
    explicit RecordingShaping(std::shared_ptr<Shapes> shapes) : shapes_(std::move(shapes)) {}
    bool shapesInput() override { return shapes_->shapesInput; }
    void cut(QWindow&, WindowShapeKind kind, const QRegion& region) override { shape(kind) = region; }
    void uncut(QWindow&, WindowShapeKind kind) override { shape(kind).reset(); }

private:
    std::optional<QRegion>& shape(WindowShapeKind kind)
    {
        return kind == WindowShapeKind::bounding ? shapes_->bounding : shapes_->input;
    }
    std::shared_ptr<Shapes> shapes_;
};

} // namespace

class BuddyPanelTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void theShapeFollowsTheCompositor();
    void theCutFollowsTheCanvas_data();
    void theCutFollowsTheCanvas();
    void withoutInputShapesABlendedPanelStaysWhole();
    void aReminderThatHasGoneLeavesNoPicturesBehind();

private:
    void present(bool blends);
    // The shape that follows the content: the bounding cut without a compositor, else the input shape.
    QRegion followed(bool blends) const { return (blends ? shapes_->input : shapes_->bounding).value_or(QRegion()); }
    // A point of the reminder canvas in the panel's coordinates.
    QPoint onPanel(const QPoint& canvasPoint) const;
    QRect cardOnPanel() const;
    QPoint companionCentre() const;
    QPoint buttonCentre(const char* name) const;
    // Everything a click may reach and nothing of the empty corners or the card's faint shadow.
    void verifyContentOnly(const QRegion& shape) const;

    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<DewbellStore> store_;
    std::unique_ptr<BuddyPanel> panel_;
    std::shared_ptr<bool> blends_;
    std::shared_ptr<Shapes> shapes_;
};

void BuddyPanelTest::init()
{
    folder_ = std::make_unique<QTemporaryDir>();
    store_ = makeStore(*folder_);
    store_->update([](Preferences& preferences) { preferences.companionID = QStringLiteral("vossik-fan"); });
    blends_ = std::make_shared<bool>(false);
    shapes_ = std::make_shared<Shapes>();
    panel_ = std::make_unique<BuddyPanel>(store_.get(), true, nullptr, std::make_unique<FakeCompositor>(blends_),
                                          std::make_unique<RecordingShaping>(shapes_));
    store_->onPresent = [this] { panel_->presentBuddy(); };
    store_->onDismiss = [this] { panel_->hide(); };
}

void BuddyPanelTest::cleanup()
{
    panel_.reset();
    store_.reset();
}

// A water reminder whose companion has walked in and asks.
void BuddyPanelTest::present(bool blends)
{
    *blends_ = blends;
    store_->showReminder(false, ReminderKind::water);
    store_->tick(store_->now().addSecs(3));
    QCOMPARE(store_->phase(), CompanionPhase::asking);
    QVERIFY(panel_->isVisible());
}

QPoint BuddyPanelTest::onPanel(const QPoint& canvasPoint) const
{
    const ReminderSurface* surface = panel_->surface();
    return surface->mapTo(panel_.get(), surface->mapFromCanvas(QPointF(canvasPoint)));
}

QRect BuddyPanelTest::cardOnPanel() const
{
    const QRect card = panel_->surface()->reminderView()->bubble()->geometry();
    return {onPanel(card.topLeft()), onPanel(card.bottomRight())};
}

QPoint BuddyPanelTest::companionCentre() const
{
    return onPanel(panel_->surface()->reminderView()->companion()->geometry().center());
}

QPoint BuddyPanelTest::buttonCentre(const char* name) const
{
    const QWidget* canvas = panel_->surface()->reminderView();
    const auto* button = canvas->findChild<QWidget*>(QLatin1String(name));
    return onPanel(button->mapTo(canvas, button->rect().center()));
}

void BuddyPanelTest::verifyContentOnly(const QRegion& shape) const
{
    const QRect card = cardOnPanel();
    QVERIFY(shape.contains(companionCentre()) && shape.contains(card.topLeft() + QPoint(12, 12)));
    for (const char* name : {"closeButton", "drankButton", "notYetButton", "pauseButton"})
        QVERIFY2(shape.contains(buttonCentre(name)), name);
    for (const QPoint corner : {QPoint(0, 0), QPoint(panel_->width() - 1, 0), QPoint(0, panel_->height() - 1)})
        QVERIFY(!shape.contains(corner));
    QVERIFY((shape & QRect(card.left() + 10, card.bottom() + 2, 40, 10)).isEmpty());
}

// Without a compositor the window is cut to card and companion (which also keeps clicks off the rest).
// A blended window keeps its whole rectangle, shadow and all, and takes clicks only where the cut
// window would show. A compositor starting or stopping between reminders switches the shape.
void BuddyPanelTest::theShapeFollowsTheCompositor()
{
    present(false);
    QTRY_VERIFY(followed(false).contains(companionCentre()));
    verifyContentOnly(*shapes_->bounding);
    QVERIFY(!shapes_->input);
    const QRegion cut = *shapes_->bounding;
    store_->dismiss();

    present(true);
    QTRY_VERIFY(followed(true).contains(companionCentre()));
    QVERIFY(!shapes_->bounding);
    QVERIFY(panel_->mask().isEmpty());
    QCOMPARE(*shapes_->input, cut);
    store_->dismiss();

    present(false);
    QVERIFY(!shapes_->input);
    QTRY_VERIFY(followed(false).contains(companionCentre()));
}

void BuddyPanelTest::theCutFollowsTheCanvas_data()
{
    QTest::addColumn<bool>("blends");
    QTest::newRow("bounding, without compositor") << false;
    QTest::newRow("input, with compositor") << true;
}

void BuddyPanelTest::theCutFollowsTheCanvas()
{
    QFETCH(bool, blends);
    present(blends);
    const QPoint cardCentre = cardOnPanel().center();
    const QPoint standing = companionCentre();
    QTRY_VERIFY(followed(blends).contains(cardCentre) && followed(blends).contains(standing));

    // The answer hides the card and sends the companion off to the right.
    store_->decline();
    for (int second = 0; second < 10 && store_->phase() != CompanionPhase::leaving; ++second)
        store_->tick(store_->now().addSecs(1));
    QCOMPARE(store_->phase(), CompanionPhase::leaving);
    QTRY_VERIFY(!followed(blends).contains(cardCentre));
    QVERIFY(!followed(blends).contains(standing));

    // A panel shown again starts from nothing, then takes the new reminder's shape.
    store_->dismiss();
    QVERIFY(!panel_->isVisible());
    present(blends);
    QVERIFY(!followed(blends).contains(cardCentre));
    QTRY_VERIFY(followed(blends).contains(cardCentre) && followed(blends).contains(standing));
}

// A blending desktop that cannot shape clicks (any platform but X11) pays nothing for a shape.
void BuddyPanelTest::withoutInputShapesABlendedPanelStaysWhole()
{
    shapes_->shapesInput = false;
    present(true);
    QCoreApplication::processEvents();
    QVERIFY(!shapes_->bounding);
    QVERIFY(!shapes_->input);
    QVERIFY(panel_->mask().isEmpty());
}

void BuddyPanelTest::aReminderThatHasGoneLeavesNoPicturesBehind()
{
    // A companion cut from sprite sheets, then one drawn by code.
    present(false);
    QTRY_VERIFY(ArtCache::slicesMade() > 0);
    store_->dismiss();
    QCOMPARE(ArtCache::slicesMade(), 0);

    store_->update([](Preferences& preferences) { preferences.companionID = QStringLiteral("viru"); });
    present(false);
    QTRY_VERIFY(PoseCache::picturesDrawn() > 0);
    store_->dismiss();
    QCOMPARE(PoseCache::picturesDrawn(), 0);
}

QTEST_MAIN(BuddyPanelTest)
#include "test_buddy_panel.moc"
