#include "support/FakeUrlOpener.h"
#include "support/ViewTesting.h"
#include "window/Stepper.h"
#include "window/WellbeingView.h"

#include <QtTest>

using namespace StoreTesting;
using namespace ViewTesting;

namespace {

bool shown(const QWidget* widget)
{
    return widget && widget->isVisible();
}

// Steps a stepper from the keyboard, the way a user without a mouse does.
void press(Stepper* stepper, Qt::Key key, int times = 1)
{
    for (int i = 0; i < times; ++i)
        QTest::keyClick(stepper, key);
}

int focusMinutes(const DewbellStore& store)
{
    return store.preferences().focusMinutes;
}

}  // namespace

class WellbeingViewTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        folder_ = std::make_unique<QTemporaryDir>();
        store_ = startedStore(folder_->path(), morning(), Saving::off);
        opener_ = FakeUrlOpener();
        view_ = makeView();
    }

    void cleanup()
    {
        view_.reset();
        store_.reset();
        folder_.reset();
    }

    void focusCardSwitchesBetweenItsTwoForms()
    {
        auto* length = view_->findChild<Stepper*>(QStringLiteral("focusMinutes"));
        QCOMPARE(length->text(), QStringLiteral("Focus for 50 minutes"));
        // Choosing a length remembers it for the menu bar and starts nothing.
        press(length, Qt::Key_End);
        QCOMPARE(focusMinutes(*store_), 240);
        QCOMPARE(length->text(), QStringLiteral("Focus for 240 minutes"));
        QVERIFY(!store_->isFocused());

        QTest::mouseClick(button(view_.get(), "startFocus"), Qt::LeftButton);
        QCOMPARE(store_->state().focusUntil, morning().addSecs(240 * 60));
        QVERIFY(!shown(length) && !shown(button(view_.get(), "startFocus"))
                && !shown(button(view_.get(), "focusUntilEnded")));
        QVERIFY(shown(button(view_.get(), "endFocus")));
        QVERIFY(labelText(view_.get(), "focusStatus").startsWith(QStringLiteral("Focus until ")));

        // The period running out on the tick brings the start form back.
        store_->tick(morning().addSecs(240 * 60 + 1));
        QVERIFY(shown(length) && !shown(button(view_.get(), "endFocus")));

        QTest::mouseClick(button(view_.get(), "focusUntilEnded"), Qt::LeftButton);
        QVERIFY(store_->state().focusIndefinite);
        QCOMPARE(labelText(view_.get(), "focusStatus"), QStringLiteral("Focus · until you end it"));
        QTest::mouseClick(button(view_.get(), "endFocus"), Qt::LeftButton);
        QVERIFY(!store_->isFocused());
        QVERIFY(shown(length));
    }

    void meetingLengthStartsAtSixtyOnEveryNewPage()
    {
        auto* length = view_->findChild<Stepper*>(QStringLiteral("meetingMinutes"));
        QCOMPARE(length->value(), 60);
        for (int i = 0; i < 6; ++i)
            QTest::mouseClick(length, Qt::LeftButton, {}, QPoint(length->width() - 8, length->height() / 2));  // "+"
        QCOMPARE(length->text(), QStringLiteral("Protect for 90 minutes"));

        QTest::mouseClick(button(view_.get(), "protectSession"), Qt::LeftButton);
        QCOMPARE(store_->state().meetingUntil, morning().addSecs(90 * 60));
        QVERIFY(!shown(length) && !shown(button(view_.get(), "meetingUntilEnded")));
        QTest::mouseClick(button(view_.get(), "endMeeting"), Qt::LeftButton);
        QVERIFY(!store_->inMeeting());
        QCOMPARE(length->value(), 90);  // the same page keeps its choice

        view_ = makeView();
        length = view_->findChild<Stepper*>(QStringLiteral("meetingMinutes"));
        QCOMPARE(length->value(), 60);
        QTest::mouseClick(button(view_.get(), "meetingUntilEnded"), Qt::LeftButton);
        QVERIFY(store_->state().meetingIndefinite);
        QVERIFY(shown(button(view_.get(), "endMeeting")) && !shown(length));
    }

    // Each preference stepper keeps the store's range and steps by its own amount.
    void preferenceSteppersKeepTheirRangeAndStep_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("step");
        QTest::newRow("focus length") << QStringLiteral("focusMinutes") << 5 << 240 << 5;
        QTest::newRow("eye-rest interval") << QStringLiteral("eyeRestInterval") << 10 << 120 << 5;
        QTest::newRow("eye-rest length") << QStringLiteral("eyeRestSeconds") << 20 << 120 << 10;
        QTest::newRow("movement interval") << QStringLiteral("movementInterval") << 30 << 180 << 5;
        QTest::newRow("movement length") << QStringLiteral("movementMinutes") << 1 << 15 << 1;
    }

    void preferenceSteppersKeepTheirRangeAndStep()
    {
        QFETCH(QString, name);
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(int, step);
        store_->update([](Preferences& preferences) {
            preferences.breaks.eyeEnabled = true;
            preferences.breaks.movementEnabled = true;
        });
        auto* stepper = view_->findChild<Stepper*>(name);
        const auto stored = [&] {
            const Preferences& p = store_->preferences();
            const QHash<QString, int> values{
                {QStringLiteral("focusMinutes"), p.focusMinutes},
                {QStringLiteral("eyeRestInterval"), p.breaks.eyeIntervalMinutes},
                {QStringLiteral("eyeRestSeconds"), p.breaks.eyeDurationSeconds},
                {QStringLiteral("movementInterval"), p.breaks.movementIntervalMinutes},
                {QStringLiteral("movementMinutes"), p.breaks.movementDurationMinutes},
            };
            return values.value(name);
        };
        press(stepper, Qt::Key_Home);
        QCOMPARE(stored(), minimum);
        press(stepper, Qt::Key_Down);
        QCOMPARE(stored(), minimum);
        press(stepper, Qt::Key_Up, 2);
        QCOMPARE(stored(), minimum + 2 * step);
        QVERIFY(stepper->text().contains(QString::number(minimum + 2 * step)));
        press(stepper, Qt::Key_End);
        press(stepper, Qt::Key_Up);
        QCOMPARE(stored(), maximum);
    }

    void breakGroupsAreDisabledWithTheirSwitch()
    {
        const QStringList eyeRest{QStringLiteral("eyeRestInterval"), QStringLiteral("eyeRestSeconds"),
                                  QStringLiteral("eyeRestPreset"), QStringLiteral("eyeRestPreview")};
        const QStringList movement{QStringLiteral("movementInterval"), QStringLiteral("movementMinutes"),
                                   QStringLiteral("movementPreview")};
        const auto usable = [this](const QStringList& names) {
            int count = 0;
            for (const QString& name : names)
                count += view_->findChild<QWidget*>(name)->isEnabled() ? 1 : 0;
            return count;
        };
        QCOMPARE(usable(eyeRest), 0);
        QCOMPARE(usable(movement), 0);

        store_->update([](Preferences& preferences) { preferences.breaks.eyeIntervalMinutes = 45; });
        QTest::mouseClick(button(view_.get(), "eyeRestPreset"), Qt::LeftButton);
        QTest::mouseClick(button(view_.get(), "eyeRestPreview"), Qt::LeftButton);
        QCOMPARE(store_->preferences().breaks.eyeIntervalMinutes, 45);
        QVERIFY(!store_->reminderVisible());

        QTest::mouseClick(button(view_.get(), "eyeRestSwitch"), Qt::LeftButton);
        QVERIFY(store_->preferences().breaks.eyeEnabled);
        QCOMPARE(usable(eyeRest), eyeRest.size());
        QCOMPARE(usable(movement), 0);
        QTest::mouseClick(button(view_.get(), "movementSwitch"), Qt::LeftButton);
        QCOMPARE(usable(movement), movement.size());
        QTest::mouseClick(button(view_.get(), "eyeRestSwitch"), Qt::LeftButton);
        QCOMPARE(usable(eyeRest), 0);
        QCOMPARE(usable(movement), movement.size());
    }

    void presetSetsTwentyAndTwentyAndLeavesTheSwitch()
    {
        store_->update([](Preferences& preferences) {
            preferences.breaks.eyeEnabled = true;
            preferences.breaks.eyeIntervalMinutes = 45;
            preferences.breaks.eyeDurationSeconds = 60;
        });
        QTest::mouseClick(button(view_.get(), "eyeRestPreset"), Qt::LeftButton);
        const BreakPreferences& breaks = store_->preferences().breaks;
        QCOMPARE(breaks.eyeIntervalMinutes, 20);
        QCOMPARE(breaks.eyeDurationSeconds, 20);
        QVERIFY(breaks.eyeEnabled);
        QCOMPARE(view_->findChild<Stepper*>(QStringLiteral("eyeRestSeconds"))->text(),
                 QStringLiteral("Rest for 20 seconds"));
    }

    void previewsShowTheirKindAsAPreview_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<ReminderKind>("kind");
        QTest::newRow("eye rest") << QStringLiteral("eyeRestPreview") << ReminderKind::eyeRest;
        QTest::newRow("movement") << QStringLiteral("movementPreview") << ReminderKind::movement;
    }

    void previewsShowTheirKindAsAPreview()
    {
        QFETCH(QString, name);
        QFETCH(ReminderKind, kind);
        store_->update([](Preferences& preferences) {
            preferences.breaks.eyeEnabled = true;
            preferences.breaks.movementEnabled = true;
        });
        QTest::mouseClick(view_->findChild<QAbstractButton*>(name), Qt::LeftButton);
        QVERIFY(store_->reminderVisible() && store_->preview());
        QCOMPARE(store_->reminderKind(), kind);
    }

    void completedBreaksCountOnlyTodaysBreaks()
    {
        const QDateTime yesterday = morning().addDays(-1);
        store_->mutateState([&](SavedState& state) {
            state.breakHistory = {
                {QUuid::createUuid(), ReminderKind::eyeRest, yesterday, 20},
                {QUuid::createUuid(), ReminderKind::eyeRest, morning().addSecs(-600), 20},
                {QUuid::createUuid(), ReminderKind::movement, morning().addSecs(-300), 300},
            };
        });
        store_->drink();
        const QString line = QStringLiteral("%1 completed breaks today · water totals stay separate");
        QCOMPARE(labelText(view_.get(), "completedBreaks"), line.arg(2));
        // Past midnight in the store's zone nothing of yesterday counts.
        store_->tick(QDateTime(QDate(2024, 3, 5), QTime(0, 0, 1), zone()));
        QCOMPARE(labelText(view_.get(), "completedBreaks"), line.arg(0));
    }

    void guidanceLinksOpenThroughTheOpener()
    {
        QTest::mouseClick(button(view_.get(), "eyeRestGuidance"), Qt::LeftButton);
        QTest::mouseClick(button(view_.get(), "workBreakGuidance"), Qt::LeftButton);
        QCOMPARE(opener_.opened, (QList<QUrl>{WellbeingView::eyeRestGuidance(), WellbeingView::workBreakGuidance()}));
        for (const QUrl& address : opener_.opened)
            QCOMPARE(address.scheme(), QStringLiteral("https"));
        QVERIFY(opener_.opened.first().host() != opener_.opened.last().host());
    }

private:
    std::unique_ptr<WellbeingView> makeView()
    {
        auto view = std::make_unique<WellbeingView>(store_.get(), opener_);
        view->resize(700, 1400);
        view->show();
        return view;
    }

    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<DewbellStore> store_;
    FakeUrlOpener opener_;
    std::unique_ptr<WellbeingView> view_;
};

QTEST_MAIN(WellbeingViewTest)
#include "test_wellbeing_view.moc"
