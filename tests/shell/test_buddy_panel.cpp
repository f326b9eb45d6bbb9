#include "BuddyPanel.h"
#include "PictureButton.h"
#include "ReminderSurface.h"
#include "ReminderView.h"
#include "SpeechBubbleCard.h"
#include "ViewTesting.h"

#include <QGraphicsView>
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

// The offscreen platform cannot cut windows and says so each time; the cut is still recorded.
QtMessageHandler defaultHandler = nullptr;

void quietAboutMasks(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (!message.contains(QLatin1String("does not support setting window masks")))
        defaultHandler(type, context, message);
}

} // namespace

class BuddyPanelTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void withoutCompositorThePanelIsCutToCardAndCompanion();
    void theCutFollowsTheCanvas();
    void withCompositorThePanelIsNotCut();
    void aCompositorStartingLaterLiftsTheCut();

private:
    void present(bool blends);
    QRegion cut() const { return panel_->windowHandle() ? panel_->windowHandle()->mask() : QRegion(); }
    // A point of the reminder canvas in the panel's coordinates.
    QPoint onPanel(const QPoint& canvasPoint) const;
    QRect cardOnPanel() const;
    QPoint companionCentre() const;

    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<DewbellStore> store_;
    std::unique_ptr<BuddyPanel> panel_;
    std::shared_ptr<bool> blends_;
};

void BuddyPanelTest::initTestCase()
{
    defaultHandler = qInstallMessageHandler(quietAboutMasks);
}

void BuddyPanelTest::init()
{
    folder_ = std::make_unique<QTemporaryDir>();
    store_ = makeStore(*folder_);
    store_->update([](Preferences& preferences) { preferences.companionID = QStringLiteral("vossik-fan"); });
    blends_ = std::make_shared<bool>(false);
    panel_ = std::make_unique<BuddyPanel>(store_.get(), true, nullptr, std::make_unique<FakeCompositor>(blends_));
    store_->onPresent = [this] { panel_->presentBuddy(); };
    store_->onDismiss = [this] { panel_->hide(); };
}

void BuddyPanelTest::cleanup()
{
    panel_.reset();
    store_.reset();
    folder_.reset();
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
    const auto* view = panel_->findChild<QGraphicsView*>();
    return view->viewport()->mapTo(panel_.get(), view->mapFromScene(QPointF(canvasPoint)));
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

void BuddyPanelTest::withoutCompositorThePanelIsCutToCardAndCompanion()
{
    present(false);
    QTRY_VERIFY(cut().contains(companionCentre()));
    const QRect card = cardOnPanel();
    QVERIFY(cut().contains(card.center()));
    QVERIFY(cut().contains(card.topLeft() + QPoint(12, 12)));
    // Nothing of the empty corners, nor the card's faint shadow below its left part.
    QVERIFY(!cut().contains(QPoint(0, 0)));
    QVERIFY(!cut().contains(QPoint(panel_->width() - 1, 0)));
    QVERIFY(!cut().contains(QPoint(0, panel_->height() - 1)));
    QVERIFY((cut() & QRect(card.left() + 10, card.bottom() + 2, 40, 10)).isEmpty());
    QVERIFY(QRect(QPoint(0, 0), panel_->size()).contains(cut().boundingRect()));
}

void BuddyPanelTest::theCutFollowsTheCanvas()
{
    present(false);
    const QPoint cardCentre = cardOnPanel().center();
    const QPoint standing = companionCentre();
    QTRY_VERIFY(cut().contains(cardCentre) && cut().contains(standing));

    // The answer hides the card and sends the companion off to the right.
    store_->decline();
    for (int second = 0; second < 10 && store_->phase() != CompanionPhase::leaving; ++second)
        store_->tick(store_->now().addSecs(1));
    QCOMPARE(store_->phase(), CompanionPhase::leaving);
    QTRY_VERIFY(!cut().contains(cardCentre));
    QVERIFY(!cut().contains(standing));

    // A panel shown again starts from nothing, then takes the new reminder's shape.
    store_->dismiss();
    QVERIFY(!panel_->isVisible());
    present(false);
    QVERIFY(!cut().contains(cardCentre));
    QTRY_VERIFY(cut().contains(cardCentre) && cut().contains(standing));
}

void BuddyPanelTest::withCompositorThePanelIsNotCut()
{
    present(true);
    QCoreApplication::processEvents();
    QVERIFY(cut().isEmpty());
    QVERIFY(panel_->mask().isEmpty());
}

void BuddyPanelTest::aCompositorStartingLaterLiftsTheCut()
{
    present(false);
    QTRY_VERIFY(!cut().isEmpty());
    store_->dismiss();

    present(true);
    QVERIFY(cut().isEmpty());
    store_->dismiss();

    // And one that stops cuts it again.
    present(false);
    QTRY_VERIFY(cut().contains(companionCentre()));
}

QTEST_MAIN(BuddyPanelTest)
#include "test_buddy_panel.moc"
