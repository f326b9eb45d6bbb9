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
    QCOMPARE(labelText(view_.get(), "headline"), store_->status());
    store_->resume();

    // A real reminder on screen while nothing else is coming: "<kind> is here".
    store_->showReminder(false, ReminderKind::water);
    store_->mutateState([this](SavedState& state) { state.pausedUntil = store_->now().addSecs(600); });
    QCOMPARE(labelText(view_.get(), "headline"), QStringLiteral("Water break is here"));
    store_->dismiss();

    // A preview shows the status line instead.
    store_->mutateState([](SavedState& state) { state.pausedUntil.reset(); });
    store_->showReminder(true, ReminderKind::eyeRest);
    store_->mutateState([this](SavedState& state) { state.pausedUntil = store_->now().addSecs(600); });
    QCOMPARE(labelText(view_.get(), "headline"), store_->status());
}

void MenuBarViewTest::buttonsCallTheStore()
{
    auto click = [this](const char* name) { QTest::mouseClick(button(view_.get(), name), Qt::LeftButton); };
    click("drinkButton");
    click("drinkButton");
    click("undoButton");
    QCOMPARE(store_->today().size(), 1);

    const std::pair<const char*, bool (DewbellStore::*)() const> toggles[] = {
        {"focusButton", &DewbellStore::isFocused},
        {"pauseButton", &DewbellStore::isPaused},
        {"meetingButton", &DewbellStore::inMeeting}};
    for (const auto& [name, isOn] : toggles) {
        click(name);
        QVERIFY2((store_.get()->*isOn)(), name);
        click(name);
        QVERIFY2(!(store_.get()->*isOn)(), name);
    }
}

QTEST_MAIN(MenuBarViewTest)
#include "test_menu_bar_view.moc"
