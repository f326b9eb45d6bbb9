#include "support/FakeUrlOpener.h"
#include "support/KeyboardTesting.h"
#include "support/PageTesting.h"
#include "window/Stepper.h"
#include "window/WellbeingView.h"

#include <QtTest>

using namespace StoreTesting;
using namespace ViewTesting;

class WellbeingViewTest : public QObject, private StoreUnderView {
    Q_OBJECT

private slots:
    void init() { view_ = showOnNewStore<WellbeingView>(QSize(700, 1400), opener_); }

    void cleanup()
    {
        view_.reset();
        closeStore();
    }

    void focusCardSwitchesBetweenItsTwoForms()
    {
        auto* length = stepper("focusMinutes");
        QTest::keyClick(length, Qt::Key_End);  // only remembers the length
        QCOMPARE(store_->preferences().focusMinutes, 240);
        QCOMPARE(length->text(), QStringLiteral("Focus for 240 minutes"));
        QVERIFY(!store_->isFocused());

        click("startFocus");
        QCOMPARE(store_->state().focusUntil, morning().addSecs(240 * 60));
        QVERIFY(!length->isVisible() && !shown("startFocus") && !shown("focusUntilEnded") && shown("endFocus"));
        QVERIFY(labelText(view_.get(), "focusStatus").startsWith(QStringLiteral("Focus until ")));
        store_->tick(morning().addSecs(240 * 60 + 1));  // the period runs out on the tick
        QVERIFY(length->isVisible() && !shown("endFocus"));

        click("focusUntilEnded");
        QCOMPARE(labelText(view_.get(), "focusStatus"), QStringLiteral("Focus · until you end it"));
        click("endFocus");
        QVERIFY(!store_->isFocused() && length->isVisible());
    }

    void meetingLengthStartsAtSixtyOnEveryNewPage()
    {
        auto* length = stepper("meetingMinutes");
        for (int i = 0; i < 6; ++i)
            QTest::mouseClick(length, Qt::LeftButton, {}, QPoint(length->width() - 8, length->height() / 2));  // "+"
        click("protectSession");
        QCOMPARE(store_->state().meetingUntil, morning().addSecs(90 * 60));
        QVERIFY(!length->isVisible() && !shown("meetingUntilEnded") && shown("endMeeting"));
        click("endMeeting");
        QCOMPARE(length->text(), QStringLiteral("Protect for 90 minutes"));

        view_ = showOnStore<WellbeingView>(QSize(700, 1400), opener_);
        QCOMPARE(stepper("meetingMinutes")->value(), 60);
        click("meetingUntilEnded");
        QVERIFY(store_->state().meetingIndefinite && shown("endMeeting"));
    }

    void breakSteppersKeepTheirRangeAndStep()
    {
        store_->update([](Preferences& p) { p.breaks.eyeEnabled = p.breaks.movementEnabled = true; });
        const BreakPreferences& breaks = store_->preferences().breaks;
        const struct {
            const char* name;
            const int& stored;
            int minimum, maximum, step;
        } rows[] = {{"eyeRestInterval", breaks.eyeIntervalMinutes, 10, 120, 5},
                    {"eyeRestSeconds", breaks.eyeDurationSeconds, 20, 120, 10},
                    {"movementInterval", breaks.movementIntervalMinutes, 30, 180, 5},
                    {"movementMinutes", breaks.movementDurationMinutes, 1, 15, 1}};
        for (const auto& row : rows) {
            for (Qt::Key key : {Qt::Key_Home, Qt::Key_Down, Qt::Key_Up})
                QTest::keyClick(stepper(row.name), key);
            QCOMPARE(row.stored, row.minimum + row.step);
            QTest::keyClick(stepper(row.name), Qt::Key_End);
            QTest::keyClick(stepper(row.name), Qt::Key_Up);
            QCOMPARE(row.stored, row.maximum);
        }
    }

    void breakGroupsFollowTheirSwitch()
    {
        const QStringList eyeRest{"eyeRestInterval", "eyeRestSeconds", "eyeRestPreset", "eyeRestPreview"};
        const QStringList movement{"movementInterval", "movementMinutes", "movementPreview"};
        const auto usable = [this](const QStringList& names) {
            return std::count_if(names.begin(), names.end(),
                                 [this](const QString& name) { return view_->findChild<QWidget*>(name)->isEnabled(); });
        };
        QCOMPARE(usable(eyeRest) + usable(movement), qsizetype(0));
        store_->update([](Preferences& p) {
            p.breaks.eyeIntervalMinutes = 45;
            p.breaks.eyeDurationSeconds = 60;
        });
        click("eyeRestPreset");  // disabled: nothing happens
        click("eyeRestPreview");
        QVERIFY(store_->preferences().breaks.eyeIntervalMinutes == 45 && !store_->reminderVisible());

        click("eyeRestSwitch");
        QCOMPARE(usable(eyeRest), eyeRest.size());
        QCOMPARE(usable(movement), qsizetype(0));
        click("eyeRestPreset");  // 20 minutes, 20 seconds, the switch left alone
        QCOMPARE(store_->preferences().breaks.eyeIntervalMinutes, 20);
        QCOMPARE(store_->preferences().breaks.eyeDurationSeconds, 20);
        QVERIFY(store_->preferences().breaks.eyeEnabled);
        click("movementSwitch");
        click("eyeRestSwitch");
        QCOMPARE(usable(eyeRest), qsizetype(0));
        QCOMPARE(usable(movement), movement.size());
        click("movementPreview");
        QVERIFY(store_->reminderVisible() && store_->preview() && store_->reminderKind() == ReminderKind::movement);
    }

    void completedBreaksCountOnlyTodaysBreaks()
    {
        store_->mutateState([](SavedState& state) {
            for (int hoursAgo : {24, 1, 0})
                state.breakHistory.append(
                    {QUuid::createUuid(), ReminderKind::eyeRest, morning().addSecs(-hoursAgo * 3600), 20});
        });
        store_->drink();
        QCOMPARE(labelText(view_.get(), "completedBreaks"),
                 QStringLiteral("2 completed breaks today · water totals stay separate"));
        store_->tick(QDateTime(QDate(2024, 3, 5), QTime(0, 0, 1), zone()));
        QCOMPARE(labelText(view_.get(), "completedBreaks"),
                 QStringLiteral("0 completed breaks today · water totals stay separate"));
    }

    // A button that starts something gives way to the one that ends it: the keyboard goes with
    // it, so pressing Space twice starts and ends, never starts something else.
    void theKeyboardMovesToTheButtonThatTookThePressedOnesPlace()
    {
        view_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(view_.get()));
        const auto pressSpaceOn = [this](const char* name) {
            button(view_.get(), name)->setFocus(Qt::TabFocusReason);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        };
        const auto focused = [] { return QApplication::focusWidget()->objectName(); };

        pressSpaceOn("startFocus");
        QVERIFY(store_->isFocused());
        QCOMPARE(focused(), QStringLiteral("endFocus"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QVERIFY(!store_->isFocused() && !store_->inMeeting());
        QCOMPARE(focused(), QStringLiteral("startFocus"));

        pressSpaceOn("focusUntilEnded");
        QCOMPARE(focused(), QStringLiteral("endFocus"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);

        pressSpaceOn("protectSession");
        QVERIFY(store_->inMeeting());
        QCOMPARE(focused(), QStringLiteral("endMeeting"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QVERIFY(!store_->inMeeting() && !store_->isFocused());
        QCOMPARE(focused(), QStringLiteral("protectSession"));

        // Protection started elsewhere (the menu bar) leaves the keyboard where it is.
        pressSpaceOn("eyeRestSwitch");
        store_->startMeeting(30);
        QCOMPARE(focused(), QStringLiteral("eyeRestSwitch"));
    }

    void countsReadInTheSingularAtOne()
    {
        store_->update([](Preferences& p) {
            p.breaks.movementEnabled = true;
            p.breaks.movementDurationMinutes = 1;
        });
        QCOMPARE(stepper("movementMinutes")->text(), QStringLiteral("Break for 1 minute"));
        store_->mutateState([](SavedState& state) {
            state.breakHistory.append({QUuid::createUuid(), ReminderKind::movement, morning(), 60});
        });
        store_->drink();
        QCOMPARE(labelText(view_.get(), "completedBreaks"),
                 QStringLiteral("1 completed break today · water totals stay separate"));
        QTest::keyClick(stepper("movementMinutes"), Qt::Key_Up);
        QCOMPARE(stepper("movementMinutes")->text(), QStringLiteral("Break for 2 minutes"));
    }

    void guidanceLinksOpenThroughTheOpener()
    {
        click("eyeRestGuidance");
        click("workBreakGuidance");
        QCOMPARE(opener_.opened, (QList<QUrl>{WellbeingView::eyeRestGuidance(), WellbeingView::workBreakGuidance()}));
    }

    void everyControlIsReachableWithTheKeyboard()
    {
        store_->update([](Preferences& p) { p.breaks.eyeEnabled = p.breaks.movementEnabled = true; });
        view_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(view_.get()));
        QCOMPARE(tabChain(view_.get()).size(), 17);  // 4 steppers, 2 switches, 9 buttons, 2 links
        QTest::keyClick(view_->findChild<QWidget*>(QStringLiteral("movementSwitch")), Qt::Key_Space);
        QVERIFY(!store_->preferences().breaks.movementEnabled);
    }

private:
    Stepper* stepper(const char* name) const { return view_->findChild<Stepper*>(QLatin1String(name)); }
    bool shown(const char* name) const { return button(view_.get(), name)->isVisible(); }
    void click(const char* name) const { press(button(view_.get(), name)); }

    FakeUrlOpener opener_;
    std::unique_ptr<WellbeingView> view_;
};

QTEST_MAIN(WellbeingViewTest)
#include "test_wellbeing_view.moc"
