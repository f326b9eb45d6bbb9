#include "support/ReminderTesting.h"
#include "support/TableTesting.h"

#include "reminders/BreakReminderView.h"
#include "reminders/CountdownLabel.h"
#include "reminders/PictureButton.h"
#include "reminders/ReminderView.h"

#include <QtTest>

using namespace ReminderTesting;
using namespace StoreTesting;

class BreakReminderTest : public QObject {
    Q_OBJECT

private slots:
    void startingTurnsTheCardIntoACountdown_data()
    {
        addColumns<ReminderKind, QString, QString, QString, QString, QString, QString>(
            "kind", "button", "hiddenButton", "before", "after", "line", "invitation");
        QTest::newRow("eye rest") << ReminderKind::eyeRest << "extendSecondsButton"
                                  << "extendMinuteButton"
                                  << "00:20"
                                  << "00:40"
                                  << "No need to watch the countdown. Look away; I'll finish quietly."
                                  << "Look at something far away and let your eyes soften for 20 seconds.";
        QTest::newRow("movement") << ReminderKind::movement << "extendMinuteButton"
                                  << "extendSecondsButton"
                                  << "15:00"
                                  << "16:00"
                                  << "Enjoy your time away. I'll finish quietly."
                                  << "Stand up, stretch, and walk a few steps for 15 minutes.";
    }

    void startingTurnsTheCardIntoACountdown()
    {
        QFETCH(ReminderKind, kind);
        QFETCH(QString, button);
        QFETCH(QString, hiddenButton);
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(QString, line);
        QFETCH(QString, invitation);

        TestStore store;
        store->update([](Preferences& preferences) { preferences.breaks.movementDurationMinutes = 15; });
        BreakReminderView view(store.get());
        view.show();
        store->showReminder(false, kind);
        expectShown(view, {"startButton", "laterButton", "skipButton", "sticker", "prompt", "closeButton"}, true);
        expectShown(view, {"countdown", "reassurance", "runningRow"}, false);
        QCOMPARE(labelText(&view, "instruction"), invitation);
        click(child(&view, "startButton"));
        QCOMPARE(countdown(view), before);
        QCOMPARE(labelText(&view, "reassurance"), line);
        expectShown(view, {"countdown", "reassurance", "stopButton", "closeButton", button}, true);
        expectShown(view, {"prompt", "startRow", "footer", "sticker", hiddenButton}, false);
        click(child(&view, button));
        QCOMPARE(countdown(view), after);
        // Stopping early ends the break without recording it.
        click(child(&view, "stopButton"));
        QVERIFY(!store->reminderVisible());
        QCOMPARE(store->state().breakHistory.size(), 0);
    }

    // The name the user gave, 80 characters without a space: the prompt breaks inside it and
    // shows every character on the card.
    void longNameIsShownWhole()
    {
        const QString name = QStringLiteral("Maximiliana").repeated(8).left(80);
        TestStore store;
        store->update([&](Preferences& preferences) {
            preferences.useCharacterNicknames = false;
            preferences.recipient = name;
        });
        BreakReminderView view(store.get());
        view.show();
        for (ReminderKind kind : {ReminderKind::eyeRest, ReminderKind::movement}) {
            store->showReminder(false, kind);
            QApplication::processEvents();
            QWidget* prompt = child(&view, "prompt");
            QVERIFY(labelText(&view, "prompt").contains(name));
            QCOMPARE(cutOff(prompt, &view), QString());
            QCOMPARE(cutOff(child(&view, "startRow"), &view), QString());
            store->dismiss();
        }
    }

    void previewCountdownRoundsUpToZero()
    {
        TestStore store;
        BreakReminderView view(store.get());
        view.show();
        store->showReminder(true, ReminderKind::eyeRest);
        QCOMPARE(labelText(&view, "header"), QStringLiteral("BREAK PREVIEW · NO HISTORY"));
        store->startBreak();
        QCOMPARE(labelText(&view, "header"), QStringLiteral("BREAK PREVIEW · NO HISTORY"));
        store->tick(store->breakEndsAt()->addMSecs(-200));
        QCOMPARE(countdown(view), QStringLiteral("00:01"));
        QCOMPARE(CountdownLabel::format(-3), QStringLiteral("00:00"));
    }

    void invitationControlsCallTheirAction_data()
    {
        addColumns<QString, bool>("control", "preview");
        QTest::addColumn<int>("snoozeSeconds");  // 0: the deadline stays
        QTest::newRow("xmark skips") << "closeButton" << false << 20 * 60;
        QTest::newRow("Later snoozes") << "laterButton" << false << 300;
        QTest::newRow("Skip skips") << "skipButton" << false << 20 * 60;
        QTest::newRow("the sticker snoozes") << "sticker" << false << 300;
        for (const char* control : {"closeButton", "laterButton", "skipButton", "sticker"})
            QTest::addRow("preview %s", control) << control << true << 0;
    }

    void invitationControlsCallTheirAction()
    {
        QFETCH(QString, control);
        QFETCH(bool, preview);
        QFETCH(int, snoozeSeconds);

        TestStore store;
        BreakReminderView view(store.get());
        view.show();
        const auto deadline = store->state().nextEyeDue;
        store->showReminder(preview, ReminderKind::eyeRest);
        click(child(&view, control));
        QVERIFY(!store->reminderVisible());
        QCOMPARE(store->state().nextEyeDue,
                 snoozeSeconds ? std::optional(store->now().addSecs(snoozeSeconds)) : deadline);
        QCOMPARE(store->state().breakHistory.size(), 0);
    }

    void stickerStaysWithOneReminder()
    {
        TestStore store;
        BreakReminderView view(store.get());
        view.show();
        auto* sticker = child<PictureButton>(&view, "sticker");
        store->showReminder(false, ReminderKind::movement);
        const QImage shown = sticker->grab().toImage();
        for (int second = 0; second < 3; ++second)
            store->tick(store->now().addSecs(1));
        QCOMPARE(sticker->grab().toImage(), shown);
    }

    // The panel's canvas does not follow the store while it is hidden; whatever happened meanwhile
    // is there the moment it shows, also for a break that began while a water reminder was last drawn.
    void aHiddenCanvasCatchesUpWhenItShows()
    {
        TestStore store;
        ReminderView canvas(store.get());
        canvas.show();
        store->showReminder(false, ReminderKind::water);
        QVERIFY(canvas.companion()->isVisible());
        QVERIFY(!canvas.breakCard()->isVisible());
        canvas.hide();

        store->dismiss();
        store->tick(store->now().addSecs(120));
        store->showReminder(false, ReminderKind::movement);
        store->startBreak();
        store->tick(store->now().addSecs(60));
        canvas.show();
        BreakReminderView* card = canvas.breakCard();
        QVERIFY(card->isVisible());
        QVERIFY(!canvas.companion()->isVisible());
        QCOMPARE(labelText(card, "title"), title(ReminderKind::movement));
        QCOMPARE(countdown(*card), QStringLiteral("04:00"));
        // Laid out for the countdown it shows, at the bottom of the canvas.
        QCOMPARE(card->geometry().bottom(), canvas.rect().bottom());
        QCOMPARE(card->height(), card->heightForWidth(canvas.width()));

        canvas.hide();
        store->tick(store->now().addSecs(30));
        canvas.show();
        QCOMPARE(countdown(*card), QStringLiteral("03:30"));
    }

private:
    static QString countdown(const QWidget& view) { return child<CountdownLabel>(&view, "countdown")->text(); }
    static void expectShown(const QWidget& view, const QStringList& names, bool shown)
    {
        for (const QString& name : names)
            QVERIFY2(child(&view, name)->isVisible() == shown, qPrintable(name));
    }
};

QTEST_MAIN(BreakReminderTest)
#include "test_break_reminder.moc"
