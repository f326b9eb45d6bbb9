#include "support/ReminderTesting.h"
#include "support/TableTesting.h"

#include "characters/BuddyView.h"
#include "characters/SpriteBuddy.h"
#include "model/CompanionMotion.h"
#include "reminders/BreakReminderView.h"
#include "reminders/PictureButton.h"
#include "reminders/ReminderView.h"
#include "reminders/SpeechBubbleCard.h"
#include "ui/ClampedLabel.h"
#include "ui/ReduceMotion.h"

#include <QtTest>

using namespace ReminderTesting;
using namespace StoreTesting;

namespace {

// A shown view over a water reminder that has reached its question.
struct Asking {
    TestStore store;
    ReminderView view{store.get()};

    explicit Asking(bool preview = false, const QString& pack = {})
    {
        if (!pack.isEmpty())
            store.useCompanion(pack);
        view.show();
        store->showReminder(preview, ReminderKind::water);
        store.tickUntil(CompanionPhase::asking);
    }
    QString text(const QString& name) const { return labelText(&view, name); }
};

}  // namespace

class WaterReminderTest : public QObject {
    Q_OBJECT

private slots:
    void init() { ReduceMotion::setOverride(false); }
    void cleanup() { ReduceMotion::setOverride(std::nullopt); }

    void headerAndButtonsFollowTheMoment()
    {
        Asking live;
        QCOMPARE(live.text("header"), QStringLiteral("A MOMENT FOR YOU"));
        live.store->answerYes();
        QCOMPARE(live.text("header"), QStringLiteral("NICELY DONE."));
        for (QAbstractButton* button : live.view.bubble()->findChildren<QAbstractButton*>())
            QVERIFY2(button->isVisible() == (button->objectName() == "closeButton"), qPrintable(button->objectName()));

        Asking preview(true);
        QCOMPARE(preview.text("detail"), QStringLiteral("Preview only · no drink will be logged"));
        QCOMPARE(preview.text("footer"), QStringLiteral("Click your buddy to close the preview."));
        preview.store->answerYes();
        QCOMPARE(preview.text("header"), QStringLiteral("A LITTLE PREVIEW"));
    }

    void cardMirroringAndTimelineFollowTheWalk()
    {
        TestStore store;
        store.useCompanion("viru");
        ReminderView view(store.get());
        view.show();
        store->showReminder(false, ReminderKind::movement);
        QVERIFY(view.breakCard()->isVisible() && !view.bubble()->isVisible() && !view.companion()->isVisible());
        QVERIFY(!view.isTimelineRunning());
        store->dismiss();
        store->showReminder(false, ReminderKind::water);
        QVERIFY(!view.breakCard()->isVisible() && view.companion()->isVisible());
        for (CompanionPhase phase : {CompanionPhase::entering, CompanionPhase::asking, CompanionPhase::celebrating,
                                     CompanionPhase::leaving, CompanionPhase::hidden}) {
            if (phase == CompanionPhase::celebrating)
                store->answerYes();
            QVERIFY(store.tickUntil(phase));
            QCOMPARE(view.isTimelineRunning(), phase != CompanionPhase::asking && phase != CompanionPhase::hidden);
            QCOMPARE(view.bubble()->isVisible(),
                     phase == CompanionPhase::asking || phase == CompanionPhase::celebrating);
            QCOMPARE(view.companion()->isMirrored(), phase == CompanionPhase::leaving);
        }
    }

    void loveNoteAndSignatureFollowThePreferences()
    {
        Asking asking;
        TestStore& store = asking.store;
        const QString longNote =
            QStringLiteral("You matter more than any deadline. ").repeated(12) + QStringLiteral("THE END");
        store->update([&](Preferences& preferences) { preferences.loveNote = longNote; });
        auto* note = child<ClampedLabel>(&asking.view, "loveNote");
        const QStringList lines = note->shownLines();
        QCOMPARE(lines.size(), 3);
        QVERIFY2(lines.last().endsWith(QChar(0x2026)), qPrintable(lines.last()));
        QVERIFY(!lines.join(' ').contains("THE END"));
        store->update([](Preferences& preferences) { preferences.loveNote.clear(); });
        QVERIFY(!note->isVisible());
        store->update([](Preferences& preferences) { preferences.sender.clear(); });
        QCOMPARE(asking.text("signature"), QStringLiteral("— "));
        QVERIFY(child(&asking.view, "signature")->isVisible());
    }

    // The name the user gave, 80 characters without a space: the prompt breaks inside it and
    // shows every character, and the bubble stays on the panel.
    void longNameIsShownWhole()
    {
        const QString name = QStringLiteral("Maximiliana").repeated(8).left(80);
        TestStore store;
        store->update([&](Preferences& preferences) {
            preferences.useCharacterNicknames = false;
            preferences.recipient = name;
        });
        ReminderView view(store.get());
        view.show();
        store->showReminder(false, ReminderKind::water);
        store.tickUntil(CompanionPhase::asking);
        QVERIFY(labelText(&view, "headline").contains(name));
        QApplication::processEvents();
        QCOMPARE(cutOff(child(&view, "headline"), &view), QString());
        QCOMPARE(cutOff(child(&view, "answerRow"), &view), QString());
    }

    void controlsCallTheirAction_data()
    {
        addColumns<QString, bool, CompanionPhase, int, bool>("control", "preview", "phase", "drinks", "paused");
        QTest::addColumn<int>("snoozeSeconds");  // 0: the deadline stays; -1: not checked
        QTest::newRow("close snoozes") << "closeButton" << false << CompanionPhase::hidden << 0 << false << 600;
        QTest::newRow("I drank logs") << "drankButton" << false << CompanionPhase::celebrating << 1 << false << -1;
        QTest::newRow("Not yet declines") << "notYetButton" << false << CompanionPhase::declined << 0 << false << 600;
        QTest::newRow("Pause pauses") << "pauseButton" << false << CompanionPhase::hidden << 0 << true << 0;
        QTest::newRow("companion snoozes") << "companion" << false << CompanionPhase::hidden << 0 << false << 600;
        QTest::newRow("preview close") << "closeButton" << true << CompanionPhase::hidden << 0 << false << 0;
        QTest::newRow("preview I drank") << "drankButton" << true << CompanionPhase::celebrating << 0 << false << 0;
        QTest::newRow("preview Not yet") << "notYetButton" << true << CompanionPhase::declined << 0 << false << 0;
        QTest::newRow("preview Pause closes") << "pauseButton" << true << CompanionPhase::hidden << 0 << false << 0;
        QTest::newRow("preview companion") << "companion" << true << CompanionPhase::hidden << 0 << false << 0;
    }

    void controlsCallTheirAction()
    {
        QFETCH(QString, control);
        QFETCH(bool, preview);
        QFETCH(CompanionPhase, phase);
        QFETCH(int, drinks);
        QFETCH(bool, paused);
        QFETCH(int, snoozeSeconds);

        Asking asking(preview);
        TestStore& store = asking.store;
        const QDateTime deadlineBefore = store->state().nextDue;
        click(child(&asking.view, control));
        QCOMPARE(store->state().drinks.size(), drinks);
        QCOMPARE(store->phase(), phase);
        QCOMPARE(store->isPaused(), paused);
        if (snoozeSeconds >= 0)
            QCOMPARE(store->state().nextDue, snoozeSeconds ? store->now().addSecs(snoozeSeconds) : deadlineBefore);
    }

    void pictureFollowsThePack_data()
    {
        addColumns<QString, CompanionPicture::Kind, QString>("pack", "kind", "widgetClass");
        QTest::newRow("drop") << "bloop" << CompanionPicture::Kind::buddy << "BuddyView";
        QTest::newRow("code bear") << "viru" << CompanionPicture::Kind::codeBear << "BearBuddy";
        QTest::newRow("sprite bear") << "zuv" << CompanionPicture::Kind::spriteBear << "SpriteBuddy";
        QTest::newRow("human sprite") << "vossik-fan" << CompanionPicture::Kind::humanSprite << "SpriteBuddy";
        QTest::newRow("movie") << "nimbi" << CompanionPicture::Kind::movie << "MovieBuddy";
    }

    void pictureFollowsThePack()
    {
        QFETCH(QString, pack);
        QFETCH(CompanionPicture::Kind, kind);
        QFETCH(QString, widgetClass);

        TestStore store;
        store.useCompanion(pack);
        ReminderView view(store.get(), 0.0);
        view.show();
        store->showReminder(false, ReminderKind::water);
        store.tickUntil(CompanionPhase::asking);
        QCOMPARE(view.picture().kind, kind);
        QCOMPARE(QString(view.companion()->picture()->metaObject()->className()), widgetClass);
    }

    void missingMovieFallsBackToThePlainPicture()
    {
        TestStore store;
        store.useCompanion("nimbi");
        CharacterPack pack = store->presentedCompanion();
        pack.id = "nimbi-copy";
        pack.entry = QStringLiteral("missing.mov");
        store->setPacks(QList<CharacterPack>(store->packs()) << pack);
        store.useCompanion("nimbi-copy");

        ReminderView view(store.get(), 0.0);
        view.show();
        store->showReminder(false, ReminderKind::water);
        QCOMPARE(view.picture().kind, CompanionPicture::Kind::buddy);
        QVERIFY(qobject_cast<BuddyView*>(view.companion()->picture()));
    }

    void fixedElapsedPinsTheWalk()
    {
        TestStore store;
        store.useCompanion("zuv");
        store->showReminder(false, ReminderKind::water);
        const int restingX = 20 + (370 - 250) / 2;
        for (double seconds : {0.0, 0.5, 1.5}) {
            ReminderView view(store.get(), seconds);
            view.show();
            auto* sprite = qobject_cast<SpriteBuddy*>(view.companion()->picture());
            QVERIFY(sprite);
            store->tick(store->now().addMSecs(300));  // the clock moving on changes nothing
            const double offset = CompanionMotion::horizontalOffset(CompanionPhase::entering, seconds, std::nullopt);
            QCOMPARE(view.companion()->x(), restingX + qRound(offset));
            QCOMPARE(sprite->moment().elapsed, std::optional<double>(seconds));
            QVERIFY(!view.isTimelineRunning());
        }
    }
};

QTEST_MAIN(WaterReminderTest)
#include "test_water_reminder.moc"
