#include "shell/MenuBarView.h"
#include "support/ViewTesting.h"

#include <QtTest>

using namespace StoreTesting;
using namespace ViewTesting;

class MenuBarViewTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void countdownRoundsMinutesUp_data();
    void countdownRoundsMinutesUp();
    void headlineWithoutUpcomingReminder();
    void buttonsCallTheStore();

private:
    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<DewbellStore> store_;
    std::unique_ptr<MenuBarView> view_;
};

void MenuBarViewTest::init()
{
    folder_ = std::make_unique<QTemporaryDir>();
    store_ = startedStore(folder_->path(), morning(), Saving::off);
    view_ = std::make_unique<MenuBarView>(store_.get());
    view_->show();
}

void MenuBarViewTest::cleanup()
{
    view_.reset();
    store_.reset();
    folder_.reset();
}

void MenuBarViewTest::countdownRoundsMinutesUp_data()
{
    QTest::addColumn<qint64>("milliseconds");
    QTest::addColumn<QString>("expected");
    QTest::newRow("half a second") << qint64(500) << QStringLiteral("in 1 min");
    QTest::newRow("exactly a minute") << qint64(60000) << QStringLiteral("in 1 min");
    QTest::newRow("61 s") << qint64(61000) << QStringLiteral("in 2 min");
    QTest::newRow("now") << qint64(0) << QStringLiteral("soon");
    QTest::newRow("overdue") << qint64(-90000) << QStringLiteral("soon");
}

void MenuBarViewTest::countdownRoundsMinutesUp()
{
    QFETCH(qint64, milliseconds);
    QFETCH(QString, expected);
    store_->mutateState([this, milliseconds](SavedState& state) {
        state.nextDue = store_->now().addMSecs(milliseconds);
        state.nextEyeDue.reset();
        state.nextMovementDue.reset();
    });
    QCOMPARE(labelText(view_.get(), "countdown"), expected);
}

void MenuBarViewTest::headlineWithoutUpcomingReminder()
{
    store_->pause();
    QVERIFY(view_->findChild<QLabel*>(QStringLiteral("headline"))->isVisible());
    QVERIFY(!view_->findChild<QLabel*>(QStringLiteral("upcomingKind"))->isVisible());
    QVERIFY(labelText(view_.get(), "headline").startsWith(QStringLiteral("Paused until ")));
    store_->resume();

    // A real reminder on screen while nothing else is coming: "<kind> is here".
    store_->showReminder(false, ReminderKind::water);
    store_->mutateState([this](SavedState& state) { state.pausedUntil = store_->now().addSecs(600); });
    QCOMPARE(labelText(view_.get(), "headline"), QStringLiteral("Water break is here"));
    store_->dismiss();

    // A preview shows the status line instead.
    store_->mutateState([](SavedState& state) { state.pausedUntil.reset(); });
    store_->showReminder(true, ReminderKind::eyeRest);
    store_->update([](Preferences& p) { p.enabled = false; });
    QCOMPARE(labelText(view_.get(), "headline"), QStringLiteral("Reminders are off"));
}

// Each quick action with its exact length; the drink button logs the preferred glass and Undo
// takes back the newest glass.
void MenuBarViewTest::buttonsCallTheStore()
{
    auto click = [this](const char* name) { QTest::mouseClick(button(view_.get(), name), Qt::LeftButton); };
    store_->update([](Preferences& p) { p.glassML = 330; });
    QCOMPARE(button(view_.get(), "drinkButton")->text(), QStringLiteral("I drank 330 ml"));
    QVERIFY(!button(view_.get(), "undoButton")->isVisible());
    click("drinkButton");
    store_->update([](Preferences& p) { p.glassML = 200; });
    click("drinkButton");
    QCOMPARE(labelText(view_.get(), "totalML"), QStringLiteral("530 ml"));
    QCOMPARE(button(view_.get(), "drinkButton")->accessibleDescription(),
             QStringLiteral("Logs one glass. 2 glasses currently logged today."));
    click("undoButton");
    QCOMPARE(labelText(view_.get(), "drinkCount"), QStringLiteral("1"));
    QCOMPARE(labelText(view_.get(), "totalML"), QStringLiteral("330 ml"));

    store_->update([](Preferences& p) { p.focusMinutes = 25; });
    QCOMPARE(button(view_.get(), "focusButton")->text(), QStringLiteral("Focus · 25 min"));
    const QDateTime now = store_->now();
    struct Toggle {
        const char* name;
        std::optional<QDateTime> SavedState::*until;
        int seconds;
        const char* endLabel;
    };
    for (const Toggle& t : {Toggle{"focusButton", &SavedState::focusUntil, 25 * 60, "End Focus"},
                            Toggle{"pauseButton", &SavedState::pausedUntil, 3600, "Resume"},
                            Toggle{"meetingButton", &SavedState::meetingUntil, 3600, "End meeting protection"}}) {
        click(t.name);
        QCOMPARE(store_->state().*t.until, std::optional(now.addSecs(t.seconds)));
        QCOMPARE(button(view_.get(), t.name)->text(), QLatin1String(t.endLabel));
        click(t.name);
        QVERIFY2(!(store_->state().*t.until), t.name);
    }
}

QTEST_MAIN(MenuBarViewTest)
#include "test_menu_bar_view.moc"
