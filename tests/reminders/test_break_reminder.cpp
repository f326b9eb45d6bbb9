#include "ReminderTesting.h"

#include "BreakReminderView.h"
#include "CountdownLabel.h"
#include "PictureButton.h"
#include "WellnessBuddy.h"
#include "model/BreakGuidance.h"
#include "model/CompanionVoice.h"

#include <QSet>
#include <QtTest>

using namespace ReminderTesting;

class BreakReminderTest : public QObject {
    Q_OBJECT

private slots:
    void invitationOffersTheBreak();
    void previewSaysSoInBothStates();
    void startingTurnsTheCardIntoACountdown();
    void extendingAddsTheKindsStep_data();
    void extendingAddsTheKindsStep();
    void countdownRoundsUpAndNeverGoesBelowZero();
    void invitationControlsCallTheirAction_data();
    void invitationControlsCallTheirAction();
    void stopEarlyRecordsNothing();
    void previewControlsSaveNothing();
    void stickerStaysWithOneReminderAndVariesBetweenThem();

private:
    static QString countdown(const QWidget& view) { return child<CountdownLabel>(&view, "countdown")->text(); }
};

void BreakReminderTest::invitationOffersTheBreak() {
    TestStore store;
    BreakReminderView view(store.get());
    view.show();
    store->showReminder(false, ReminderKind::eyeRest);

    QCOMPARE(labelText(&view, "header"), QStringLiteral("A LITTLE ROOM TO BREATHE"));
    QCOMPARE(labelText(&view, "title"), QStringLiteral("Rest your eyes"));
    QCOMPARE(labelText(&view, "prompt"), CompanionVoice(store->presentedCompanion())
                                             .breakPrompt(store->preferences(), ReminderKind::eyeRest));
    QCOMPARE(labelText(&view, "instruction"),
             BreakGuidance::instruction(ReminderKind::eyeRest, store->preferences().breaks));
    QCOMPARE(labelText(&view, "footer"), QStringLiteral("Busy? Click your buddy to snooze for 5 minutes."));
    for (const char* name : {"startButton", "laterButton", "skipButton", "sticker", "prompt", "closeButton"})
        QVERIFY2(child(&view, name)->isVisible(), name);
    for (const char* name : {"countdown", "reassurance", "runningRow"})
        QVERIFY2(!child(&view, name)->isVisible(), name);

    auto* sticker = child<PictureButton>(&view, "sticker");
    QCOMPARE(sticker->size(), QSize(210, 240));
    QCOMPARE(sticker->accessibleName(), QStringLiteral("Snooze break reminder for 5 minutes"));
    QCOMPARE(sticker->toolTip(), QStringLiteral("Click your buddy to snooze for 5 minutes"));
    QVERIFY(qobject_cast<WellnessBuddy*>(sticker->picture()));
    // No control may take the keyboard from the application the user is typing in.
    for (QWidget* widget : view.findChildren<QWidget*>())
        QVERIFY2(widget->focusPolicy() == Qt::NoFocus || !qobject_cast<QAbstractButton*>(widget),
                 qPrintable(widget->objectName()));
}

void BreakReminderTest::previewSaysSoInBothStates() {
    TestStore store;
    BreakReminderView view(store.get());
    store->showReminder(true, ReminderKind::movement);
    QCOMPARE(labelText(&view, "header"), QStringLiteral("BREAK PREVIEW · NO HISTORY"));
    QCOMPARE(labelText(&view, "title"), QStringLiteral("Time to move"));
    QCOMPARE(labelText(&view, "footer"), QStringLiteral("Click your buddy to close the preview."));
    auto* sticker = child<PictureButton>(&view, "sticker");
    QCOMPARE(sticker->accessibleName(), QStringLiteral("Close break preview"));
    QCOMPARE(sticker->toolTip(), QStringLiteral("Click to close preview"));
    click(child(&view, "startButton"));
    QVERIFY(store->breakEndsAt());
    QCOMPARE(labelText(&view, "header"), QStringLiteral("BREAK PREVIEW · NO HISTORY"));
}

void BreakReminderTest::startingTurnsTheCardIntoACountdown() {
    TestStore store;
    BreakReminderView view(store.get());
    view.show();
    store->showReminder(false, ReminderKind::eyeRest);
    click(child(&view, "startButton"));

    QCOMPARE(countdown(view), QStringLiteral("00:20"));
    QCOMPARE(labelText(&view, "instruction"), instruction(ReminderKind::eyeRest));
    QCOMPARE(labelText(&view, "reassurance"),
             QStringLiteral("No need to watch the countdown. Look away; I'll finish quietly."));
    for (const char* name : {"countdown", "reassurance", "stopButton", "extendSecondsButton", "closeButton"})
        QVERIFY2(child(&view, name)->isVisible(), name);
    for (const char* name : {"prompt", "startRow", "footer", "sticker", "extendMinuteButton"})
        QVERIFY2(!child(&view, name)->isVisible(), name);

    store->tick(store->now().addSecs(5));
    QCOMPARE(countdown(view), QStringLiteral("00:15"));
}

void BreakReminderTest::extendingAddsTheKindsStep_data() {
    QTest::addColumn<ReminderKind>("kind");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("hiddenButton");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("line");
    QTest::newRow("eye rest") << ReminderKind::eyeRest << "extendSecondsButton" << "extendMinuteButton" << "00:20"
                              << "00:40" << "No need to watch the countdown. Look away; I'll finish quietly.";
    QTest::newRow("movement") << ReminderKind::movement << "extendMinuteButton" << "extendSecondsButton"
                              << "15:00" << "16:00" << "Enjoy your time away. I'll finish quietly.";
}

void BreakReminderTest::extendingAddsTheKindsStep() {
    QFETCH(ReminderKind, kind);
    QFETCH(QString, button);
    QFETCH(QString, hiddenButton);
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(QString, line);

    TestStore store;
    store->update([](Preferences& preferences) { preferences.breaks.movementDurationMinutes = 15; });
    BreakReminderView view(store.get());
    view.show();
    store->showReminder(false, kind);
    store->startBreak();
    QCOMPARE(countdown(view), before);
    QCOMPARE(labelText(&view, "reassurance"), line);
    QVERIFY(!child(&view, hiddenButton)->isVisible());
    click(child(&view, button));
    QCOMPARE(countdown(view), after);
    QVERIFY(child(&view, button)->isEnabled());
}

void BreakReminderTest::countdownRoundsUpAndNeverGoesBelowZero() {
    TestStore store;
    BreakReminderView view(store.get());
    store->showReminder(false, ReminderKind::eyeRest);
    store->startBreak();
    store->tick(store->breakEndsAt()->addMSecs(-200));
    QCOMPARE(countdown(view), QStringLiteral("00:01"));

    QCOMPARE(CountdownLabel::format(-3), QStringLiteral("00:00"));
    QCOMPARE(CountdownLabel::format(0), QStringLiteral("00:00"));
    QCOMPARE(CountdownLabel::format(125), QStringLiteral("02:05"));
    QCOMPARE(CountdownLabel::format(100 * 60), QStringLiteral("100:00"));
}

void BreakReminderTest::invitationControlsCallTheirAction_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("deadlineSeconds");
    QTest::newRow("xmark skips") << "closeButton" << 20 * 60;
    QTest::newRow("Later snoozes") << "laterButton" << 300;
    QTest::newRow("Skip skips") << "skipButton" << 20 * 60;
    QTest::newRow("the sticker snoozes") << "sticker" << 300;
}

void BreakReminderTest::invitationControlsCallTheirAction() {
    QFETCH(QString, control);
    QFETCH(int, deadlineSeconds);

    TestStore store;
    BreakReminderView view(store.get());
    view.show();
    store->showReminder(false, ReminderKind::eyeRest);
    click(child(&view, control));
    QVERIFY(!store->reminderVisible());
    QCOMPARE(store->state().nextEyeDue, std::optional(store->now().addSecs(deadlineSeconds)));
    QCOMPARE(store->state().breakHistory.size(), 0);
}

void BreakReminderTest::stopEarlyRecordsNothing() {
    TestStore store;
    BreakReminderView view(store.get());
    view.show();
    store->showReminder(false, ReminderKind::movement);
    click(child(&view, "startButton"));
    store->tick(store->now().addSecs(30));
    click(child(&view, "stopButton"));
    QVERIFY(!store->reminderVisible());
    QVERIFY(!store->breakEndsAt());
    QCOMPARE(store->state().breakHistory.size(), 0);
    QCOMPARE(store->state().nextMovementDue, std::optional(store->now().addSecs(60 * 60)));
}

void BreakReminderTest::previewControlsSaveNothing() {
    for (const char* control : {"closeButton", "laterButton", "skipButton", "sticker"}) {
        TestStore store;
        BreakReminderView view(store.get());
        view.show();
        const auto deadline = store->state().nextEyeDue;
        store->showReminder(true, ReminderKind::eyeRest);
        click(child(&view, control));
        QVERIFY2(!store->reminderVisible(), control);
        QCOMPARE(store->state().nextEyeDue, deadline);
    }
}

void BreakReminderTest::stickerStaysWithOneReminderAndVariesBetweenThem() {
    TestStore store;
    BreakReminderView view(store.get());
    auto* sticker = child<PictureButton>(&view, "sticker");
    QSet<int> frames;
    for (int reminder = 0; reminder < 40; ++reminder) {
        store->showReminder(false, ReminderKind::movement);
        const int frame = BreakReminderView::stickerFrame(*store.get());
        const auto firstByte = static_cast<quint8>(store->reminderID().toRfc4122().at(0));
        QCOMPARE(frame, BreakGuidance::stickerFrame(ReminderKind::movement, firstByte));
        QVERIFY(frame >= 2 && frame <= 5);
        const QImage shown = sticker->grab().toImage();
        for (int second = 0; second < 3; ++second)
            store->tick(store->now().addSecs(1));
        QCOMPARE(BreakReminderView::stickerFrame(*store.get()), frame);
        QCOMPARE(sticker->grab().toImage(), shown);
        frames.insert(frame);
        store->dismiss();
        store->tick(store->now().addSecs(61));
    }
    QVERIFY(frames.size() > 1);
}

QTEST_MAIN(BreakReminderTest)
#include "test_break_reminder.moc"
