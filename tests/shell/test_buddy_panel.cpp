#include "characters/ArtCache.h"
#include "characters/PoseCache.h"
#include "reminders/BreakReminderView.h"
#include "reminders/PictureButton.h"
#include "reminders/ReminderSurface.h"
#include "reminders/ReminderView.h"
#include "reminders/SpeechBubbleCard.h"
#include "shell/BuddyPanel.h"
#include "support/ViewTesting.h"

#include <QAccessible>
#include <QScreen>
#include <QToolTip>
#include <QWindow>
#include <QtTest>

using namespace StoreTesting;
using namespace ViewTesting;

namespace {

class FakeCompositor : public CompositorReading {
public:
    explicit FakeCompositor(std::shared_ptr<bool> blends) : blends_(std::move(blends)) { }
    bool blendsTranslucency() override { return *blends_; }

private:
    std::shared_ptr<bool> blends_;
};

// What the panel asked of its native window (none while a shape is the whole window).
struct Shapes {
    std::optional<QRegion> bounding;
    std::optional<QRegion> input;
};

class RecordingShaping : public WindowShaping {
public:
    explicit RecordingShaping(std::shared_ptr<Shapes> shapes) : shapes_(std::move(shapes)) { }
    bool shapesInput() override { return true; }
    void cut(QWindow&, WindowShapeKind kind, const QRegion& region) override { shape(kind) = region; }
    void uncut(QWindow&, WindowShapeKind kind) override { shape(kind).reset(); }

private:
    std::optional<QRegion>& shape(WindowShapeKind kind)
    {
        return kind == WindowShapeKind::bounding ? shapes_->bounding : shapes_->input;
    }
    std::shared_ptr<Shapes> shapes_;
};

}  // namespace

class BuddyPanelTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        folder_ = std::make_unique<QTemporaryDir>();
        store_ = startedStore(folder_->path(), morning(), Saving::off);
        store_->update([](Preferences& preferences) { preferences.companionID = QStringLiteral("vossik-fan"); });
        blends_ = std::make_shared<bool>(false);
        shapes_ = std::make_shared<Shapes>();
        panel_ = std::make_unique<BuddyPanel>(store_.get(), true, nullptr, std::make_unique<FakeCompositor>(blends_),
                                              std::make_unique<RecordingShaping>(shapes_));
        store_->onPresent = [this] { panel_->presentBuddy(); };
        store_->onDismiss = [this] { panel_->hide(); };
    }

    void cleanup()
    {
        panel_.reset();
        store_.reset();
    }

    void theShapeFollowsTheVisiblePixels_data()
    {
        QTest::addColumn<bool>("blends");
        QTest::newRow("bounding, without compositor") << false;
        QTest::newRow("input, with compositor") << true;
    }

    void theShapeFollowsTheVisiblePixels()
    {
        QFETCH(bool, blends);
        present(blends);
        const ReminderView* view = panel_->surface()->reminderView();
        const QRect card(onPanel(view->bubble()->geometry().topLeft()),
                         onPanel(view->bubble()->geometry().bottomRight()));
        const QPoint standing = onPanel(view->companion()->geometry().center());
        QTRY_VERIFY(followed(blends).contains(standing));
        const QRegion shape = followed(blends);
        QVERIFY(shape.contains(card.center()) && shape.contains(card.topLeft() + QPoint(12, 12)));
        for (const QPoint corner : {QPoint(0, 0), QPoint(panel_->width() - 1, 0), QPoint(0, panel_->height() - 1)})
            QVERIFY(!shape.contains(corner));
        // Nothing of the card's faint shadow.
        QVERIFY((shape & QRect(card.left() + 10, card.bottom() + 2, 40, 10)).isEmpty());
        QVERIFY(!followed(!blends).contains(standing));
        QVERIFY(!blends || panel_->mask().isEmpty());

        // The answer hides the card and sends the companion off to the right.
        store_->decline();
        for (int second = 0; second < 10 && store_->phase() != CompanionPhase::leaving; ++second)
            store_->tick(store_->now().addSecs(1));
        QTRY_VERIFY(!followed(blends).contains(card.center()));
        QVERIFY(!followed(blends).contains(standing));

        // A compositor starting or stopping between reminders switches the shape.
        store_->dismiss();
        present(!blends);
        QTRY_VERIFY(followed(!blends).contains(card.center()) && followed(!blends).contains(standing));
        QVERIFY(!(blends ? shapes_->input : shapes_->bounding));
    }

    void aReminderThatHasGoneLeavesNoPicturesBehind()
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

    // Tooltips show although the panel is never the active window, and assistive tools hear
    // what the symbol buttons do and what the painted texts say.
    void itsControlsExplainThemselves()
    {
        const auto spoken = [](QWidget* widget, QAccessible::Text text) {
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
            return accessible ? accessible->text(text) : QStringLiteral("<nothing>");
        };
        store_->update([](Preferences& preferences) { preferences.loveNote = QStringLiteral("Drink, my dear."); });
        present(false);
        const ReminderView* view = panel_->surface()->reminderView();
        auto* close = view->bubble()->findChild<QAbstractButton*>(QStringLiteral("closeButton"));
        // Another window is in front, as another application's would be.
        QWidget front;
        front.resize(100, 100);
        front.show();
        QVERIFY(QTest::qWaitForWindowActive(&front));
        QTest::mouseMove(close);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), QStringLiteral("Snooze for 10 minutes"));
        QCOMPARE(spoken(close, QAccessible::Name), QStringLiteral("Snooze for 10 minutes"));
        QWidget* note = view->bubble()->findChild<QWidget*>(QStringLiteral("loveNote"));
        QCOMPARE(spoken(note, QAccessible::Name), QStringLiteral("A note for you"));
        QCOMPARE(spoken(note, QAccessible::Value), QStringLiteral("Drink, my dear."));
        store_->dismiss();

        store_->showReminder(false, ReminderKind::eyeRest);
        store_->startBreak();
        QWidget* countdown = view->breakCard()->findChild<QWidget*>(QStringLiteral("countdown"));
        QCOMPARE(spoken(countdown, QAccessible::Name), QStringLiteral("Break time left"));
        QCOMPARE(spoken(countdown, QAccessible::Value), QStringLiteral("00:20"));
        store_->tick(store_->now().addSecs(5));
        QCOMPARE(spoken(countdown, QAccessible::Value), QStringLiteral("00:15"));
        auto* skip = view->breakCard()->findChild<QAbstractButton*>(QStringLiteral("closeButton"));
        QCOMPARE(spoken(skip, QAccessible::Name), QStringLiteral("Skip this break"));
    }

    // The sprite's water art has room below its feet: a water reminder stands lower on the
    // screen's edge than a break with the same companion.
    void aWaterReminderStandsLowerThanABreak()
    {
        const int screenBottom = QGuiApplication::primaryScreen()->availableGeometry().bottom();
        present(false);
        const int water = panel_->geometry().bottom() - screenBottom;
        store_->dismiss();
        store_->showReminder(false, ReminderKind::eyeRest);
        const int eyeRest = panel_->geometry().bottom() - screenBottom;
        QVERIFY2(water > eyeRest + 10 && eyeRest > 0, qPrintable(QStringLiteral("%1 %2").arg(water).arg(eyeRest)));
    }

private:
    // A water reminder whose companion has walked in and asks.
    void present(bool blends)
    {
        *blends_ = blends;
        store_->showReminder(false, ReminderKind::water);
        store_->tick(store_->now().addSecs(3));
        QCOMPARE(store_->phase(), CompanionPhase::asking);
        QVERIFY(panel_->isVisible());
    }
    // Without a compositor the window itself is cut; with one only the clicks are.
    QRegion followed(bool blends) const { return (blends ? shapes_->input : shapes_->bounding).value_or(QRegion()); }
    QPoint onPanel(const QPoint& canvasPoint) const
    {
        const ReminderSurface* surface = panel_->surface();
        return surface->mapTo(panel_.get(), surface->mapFromCanvas(QPointF(canvasPoint)));
    }

    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<DewbellStore> store_;
    std::unique_ptr<BuddyPanel> panel_;
    std::shared_ptr<bool> blends_;
    std::shared_ptr<Shapes> shapes_;
};

QTEST_MAIN(BuddyPanelTest)
#include "test_buddy_panel.moc"
