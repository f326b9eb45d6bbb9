#include "CapsuleProgress.h"
#include "MenuBarView.h"
#include "PrimaryButton.h"
#include "UpdateCheckButton.h"
#include "ViewTesting.h"
#include "model/ReminderClock.h"

#include <QtTest>

using namespace ViewTesting;

class MenuBarViewTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void countdownRoundsMinutesUp_data();
    void countdownRoundsMinutesUp();
    void cardShowsTheUpcomingReminder();
    void headlineWithoutUpcomingReminder();
    void drinkAndUndo();
    void focusPauseAndMeetingToggle();
    void linksCallTheirClosures();
    void updateCheckFollowsTheManager();

private:
    void setWaterDue(qint64 milliseconds);

    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<DewbellStore> store_;
    std::unique_ptr<MenuBarView> view_;
    QStringList calls_;
};

void MenuBarViewTest::init()
{
    folder_ = std::make_unique<QTemporaryDir>();
    store_ = makeStore(*folder_);
    calls_.clear();
    auto record = [this](const char* name) { return [this, name] { calls_.append(QLatin1String(name)); }; };
    view_ = std::make_unique<MenuBarView>(store_.get(), record("dashboard"), record("crew"), record("settings"),
                                          record("quit"));
    view_->show();
}

void MenuBarViewTest::cleanup()
{
    view_.reset();
    store_.reset();
    folder_.reset();
}

// Water becomes the next reminder, due `milliseconds` after the store's clock.
void MenuBarViewTest::setWaterDue(qint64 milliseconds)
{
    store_->mutateState([this, milliseconds](SavedState& state) {
        state.nextDue = store_->now().addMSecs(milliseconds);
        state.nextEyeDue.reset();
        state.nextMovementDue.reset();
    });
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
    QCOMPARE(MenuBarView::countdownText(morning().addMSecs(milliseconds), morning()), expected);

    setWaterDue(milliseconds);
    QCOMPARE(labelText(view_.get(), "countdown"), expected);
}

void MenuBarViewTest::cardShowsTheUpcomingReminder()
{
    // The time of day in the store's zone, never with seconds.
    setWaterDue(25 * 60 * 1000 + 17 * 1000);
    QVERIFY(view_->findChild<QLabel*>(QStringLiteral("upcomingKind"))->isVisible());
    QVERIFY(!view_->findChild<QLabel*>(QStringLiteral("headline"))->isVisible());
    QCOMPARE(labelText(view_.get(), "upcomingKind"), QStringLiteral("Water break"));
    const QDateTime due = store_->now().addSecs(25 * 60 + 17);
    QCOMPARE(labelText(view_.get(), "aroundTime"), QStringLiteral("Around ") + ReminderClock::timeOfDay(due, zone()) +
                                                       QStringLiteral(" · your pace, your choice"));
    QVERIFY(labelText(view_.get(), "aroundTime").contains(QStringLiteral("10:25")));
    QVERIFY(!labelText(view_.get(), "aroundTime").contains(QStringLiteral("17")));

    // An eye break due earlier comes first.
    store_->mutateState([this](SavedState& state) { state.nextEyeDue = store_->now().addSecs(90); });
    QCOMPARE(labelText(view_.get(), "upcomingKind"), QStringLiteral("Rest your eyes"));
    QCOMPARE(labelText(view_.get(), "countdown"), QStringLiteral("in 2 min"));
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
    QVERIFY(!labelText(view_.get(), "headline").endsWith(QStringLiteral(" is here")));
    QCOMPARE(labelText(view_.get(), "headline"), store_->status());
}

void MenuBarViewTest::drinkAndUndo()
{
    auto* undo = button(view_.get(), "undoButton");
    auto* drink = button<PrimaryButton>(view_.get(), "drinkButton");
    QVERIFY(!undo->isVisible());

    QTest::mouseClick(drink, Qt::LeftButton);
    QTest::mouseClick(drink, Qt::LeftButton);
    QCOMPARE(store_->today().size(), 2);
    QVERIFY(undo->isVisible());
    QCOMPARE(labelText(view_.get(), "drinkCount"), QStringLiteral("2"));
    QCOMPARE(labelText(view_.get(), "totalML"), QStringLiteral("500 ml"));
    QCOMPARE(view_->findChild<CapsuleProgress*>()->progress(), 0.25);

    QTest::mouseClick(undo, Qt::LeftButton);
    QCOMPARE(store_->today().size(), 1);

    // Past the goal the bar stays full; numbers carry no grouping separators.
    store_->update([](Preferences& preferences) {
        preferences.dailyGoal = 1;
        preferences.glassML = 750;
    });
    QTest::mouseClick(drink, Qt::LeftButton);
    QCOMPARE(view_->findChild<CapsuleProgress*>()->progress(), 1.0);
    QCOMPARE(drink->text(), QStringLiteral("I drank 750 ml"));
    QCOMPARE(labelText(view_.get(), "totalML"), QStringLiteral("1000 ml"));
}

void MenuBarViewTest::focusPauseAndMeetingToggle()
{
    struct Toggle {
        const char* name;
        bool (DewbellStore::*isOn)() const;
        QString onText;
    };
    const Toggle toggles[] = {{"focusButton", &DewbellStore::isFocused, QStringLiteral("End Focus")},
                              {"pauseButton", &DewbellStore::isPaused, QStringLiteral("Resume")},
                              {"meetingButton", &DewbellStore::inMeeting, QStringLiteral("End meeting protection")}};
    for (const Toggle& toggle : toggles) {
        auto* switchButton = button(view_.get(), toggle.name);
        QTest::mouseClick(switchButton, Qt::LeftButton);
        QVERIFY2((store_.get()->*toggle.isOn)(), toggle.name);
        QCOMPARE(switchButton->text(), toggle.onText);
        QTest::mouseClick(switchButton, Qt::LeftButton);
        QVERIFY2(!(store_.get()->*toggle.isOn)(), toggle.name);
    }
}

void MenuBarViewTest::linksCallTheirClosures()
{
    for (const char* name : {"openAppButton", "meetCrewButton", "settingsButton", "quitButton"})
        QTest::mouseClick(button(view_.get(), name), Qt::LeftButton);
    QCOMPARE(calls_, (QStringList{QStringLiteral("dashboard"), QStringLiteral("crew"), QStringLiteral("settings"),
                                  QStringLiteral("quit")}));
}

// A store on its own folder has updates switched off: the check waits, and says why.
void MenuBarViewTest::updateCheckFollowsTheManager()
{
    auto* check = view_->findChild<UpdateCheckButton*>();
    QVERIFY(!check->isEnabled());
    QVERIFY(!check->toolTip().isEmpty());
    QCOMPARE(check->toolTip(), store_->updates()->checkHelp());
}

QTEST_MAIN(MenuBarViewTest)
#include "test_menu_bar_view.moc"
