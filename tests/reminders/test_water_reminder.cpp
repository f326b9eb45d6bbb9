#include "ReminderTesting.h"

#include "BearBuddy.h"
#include "BreakReminderView.h"
#include "BuddyView.h"
#include "ClampedLabel.h"
#include "MovieBuddy.h"
#include "PictureButton.h"
#include "ReduceMotion.h"
#include "ReminderView.h"
#include "SpeechBubbleCard.h"
#include "SpriteBuddy.h"
#include "model/CompanionMotion.h"
#include "model/CompanionVoice.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QtTest>

using namespace ReminderTesting;

class WaterReminderTest : public QObject {
    Q_OBJECT

private slots:
    void init() { ReduceMotion::setOverride(false); }
    void cleanup() { ReduceMotion::setOverride(std::nullopt); }

    void headerNamesTheMoment();
    void bubbleIsHiddenAndUnclickableWhileWalking();
    void respondingShowsTheLineOnly();
    void headlineFollowsTheEscalation();
    void loveNoteIsCutToThreeLinesAndDropsOutWhenEmpty();
    void signatureStaysForAnEmptySender();
    void liveControlsCallTheirAction_data();
    void liveControlsCallTheirAction();
    void previewControlsRecordNothing_data();
    void previewControlsRecordNothing();
    void pictureFollowsThePack_data();
    void pictureFollowsThePack();
    void moviePackPlaysTheMomentsMovie();
    void missingMovieFallsBackToThePlainPicture();
    void companionFacesAwayOnlyWhileLeaving();
    void fixedElapsedPinsTheWalk();
    void reduceMotionKeepsTheCompanionInPlace();
    void timelineRunsOnlyWhileTheCompanionMoves();
    void breakReminderReplacesTheWaterCard();
};

void WaterReminderTest::headerNamesTheMoment() {
    TestStore store;
    ReminderView view(store.get());
    store->showReminder(false, ReminderKind::water);
    QVERIFY(store.tickUntil(CompanionPhase::asking));
    QCOMPARE(labelText(&view, "header"), QStringLiteral("A MOMENT FOR YOU"));
    store->answerYes();
    QCOMPARE(labelText(&view, "header"), QStringLiteral("NICELY DONE."));

    TestStore previewStore;
    ReminderView preview(previewStore.get());
    previewStore->showReminder(true, ReminderKind::water);
    QCOMPARE(labelText(&preview, "header"), QStringLiteral("A LITTLE PREVIEW"));
    previewStore.tickUntil(CompanionPhase::asking);
    previewStore->answerYes();
    QCOMPARE(previewStore->phase(), CompanionPhase::celebrating);
    QCOMPARE(labelText(&preview, "header"), QStringLiteral("A LITTLE PREVIEW"));
}

void WaterReminderTest::bubbleIsHiddenAndUnclickableWhileWalking() {
    TestStore store;
    ReminderView view(store.get());
    view.show();
    SpeechBubbleCard* bubble = view.bubble();

    store->showReminder(false, ReminderKind::water);
    QCOMPARE(store->phase(), CompanionPhase::entering);
    QVERIFY(!bubble->isVisible());
    // A click where the card will appear reaches no button of it.
    QTest::mouseClick(&view, Qt::LeftButton, {}, bubble->geometry().center());
    QCOMPARE(store->phase(), CompanionPhase::entering);
    QCOMPARE(store->state().drinks.size(), 0);

    QVERIFY(store.tickUntil(CompanionPhase::asking));
    QVERIFY(bubble->isVisible());
    store->answerYes();
    QVERIFY(bubble->isVisible());
    QVERIFY(store.tickUntil(CompanionPhase::leaving));
    QVERIFY(!bubble->isVisible());
    QVERIFY(store.tickUntil(CompanionPhase::hidden));
    QVERIFY(!bubble->isVisible());
}

void WaterReminderTest::respondingShowsTheLineOnly() {
    TestStore store;
    ReminderView view(store.get());
    view.show();
    store->showReminder(false, ReminderKind::water);
    store.tickUntil(CompanionPhase::asking);
    for (const char* row : {"answerRow", "detailRow", "footer"})
        QVERIFY2(child(&view, row)->isVisible(), row);

    store->decline();
    QCOMPARE(store->phase(), CompanionPhase::declined);
    for (const char* row : {"answerRow", "detailRow", "footer"})
        QVERIFY2(!child(&view, row)->isVisible(), row);
    for (const char* row : {"header", "headline", "loveNote", "signature"})
        QVERIFY2(child(&view, row)->isVisible(), row);
    const QString expected =
        CompanionVoice(store->presentedCompanion()).waterResponse(store->preferences(), false, false);
    QCOMPARE(labelText(&view, "headline"), expected);
    // The only button left on the card is the close button.
    QList<QAbstractButton*> shown;
    for (QAbstractButton* button : view.bubble()->findChildren<QAbstractButton*>())
        if (button->isVisible())
            shown.append(button);
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first()->objectName(), QStringLiteral("closeButton"));
}

void WaterReminderTest::headlineFollowsTheEscalation() {
    TestStore store;
    ReminderView view(store.get());
    store->showReminder(false, ReminderKind::water);
    store.tickUntil(CompanionPhase::asking);
    const CompanionVoice voice(store->presentedCompanion());
    QCOMPARE(labelText(&view, "headline"), voice.waterPrompt(store->preferences(), 0));
    for (int second = 0; second < 3600 && store->stage() == 0; ++second)
        store->tick(store->now().addSecs(1));
    QCOMPARE(store->stage(), 1);
    QCOMPARE(labelText(&view, "headline"), voice.waterPrompt(store->preferences(), 1));
}

void WaterReminderTest::loveNoteIsCutToThreeLinesAndDropsOutWhenEmpty() {
    TestStore store;
    const QString longNote = QStringLiteral("You matter more than any deadline. ").repeated(12) + QStringLiteral("THE END");
    store->update([&](Preferences& preferences) { preferences.loveNote = longNote; });
    ReminderView view(store.get());
    view.show();
    store->showReminder(false, ReminderKind::water);
    store.tickUntil(CompanionPhase::asking);

    auto* note = child<ClampedLabel>(&view, "loveNote");
    QVERIFY(note->isVisible());
    QCOMPARE(note->text(), longNote);
    const QStringList lines = note->shownLines();
    QCOMPARE(lines.size(), 3);
    QVERIFY2(lines.last().endsWith(QChar(0x2026)), qPrintable(lines.last()));
    QVERIFY(!lines.join(' ').contains("THE END"));
    QCOMPARE(note->height(), note->heightForWidth(note->width()));

    store->update([](Preferences& preferences) { preferences.loveNote = QStringLiteral("Sip."); });
    QCOMPARE(note->shownLines(), QStringList{QStringLiteral("Sip.")});

    const int cardHeight = view.bubble()->height();
    store->update([](Preferences& preferences) { preferences.loveNote.clear(); });
    QVERIFY(!note->isVisible());
    QVERIFY(view.bubble()->height() < cardHeight);
}

void WaterReminderTest::signatureStaysForAnEmptySender() {
    TestStore store;
    ReminderView view(store.get());
    view.show();
    store->showReminder(false, ReminderKind::water);
    store.tickUntil(CompanionPhase::asking);
    store->update([](Preferences& preferences) { preferences.sender = QStringLiteral("Mo"); });
    QCOMPARE(labelText(&view, "signature"), QStringLiteral("— Mo"));
    store->update([](Preferences& preferences) { preferences.sender.clear(); });
    QCOMPARE(labelText(&view, "signature"), QStringLiteral("— "));
    QVERIFY(child(&view, "signature")->isVisible());
}

void WaterReminderTest::liveControlsCallTheirAction_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("drinks");
    QTest::addColumn<CompanionPhase>("phase");
    QTest::addColumn<bool>("deadlineIn10Minutes");
    QTest::addColumn<bool>("paused");
    QTest::newRow("close snoozes") << "closeButton" << 0 << CompanionPhase::hidden << true << false;
    QTest::newRow("I drank logs a drink") << "drankButton" << 1 << CompanionPhase::celebrating << false << false;
    QTest::newRow("Not yet declines") << "notYetButton" << 0 << CompanionPhase::declined << true << false;
    QTest::newRow("Pause 1 hour pauses") << "pauseButton" << 0 << CompanionPhase::hidden << false << true;
    QTest::newRow("the companion snoozes") << "companion" << 0 << CompanionPhase::hidden << true << false;
}

void WaterReminderTest::liveControlsCallTheirAction() {
    QFETCH(QString, control);
    QFETCH(int, drinks);
    QFETCH(CompanionPhase, phase);
    QFETCH(bool, deadlineIn10Minutes);
    QFETCH(bool, paused);

    TestStore store;
    ReminderView view(store.get());
    view.show();
    store->showReminder(false, ReminderKind::water);
    store.tickUntil(CompanionPhase::asking);
    const QDateTime deadlineBefore = store->state().nextDue;

    click(child(&view, control));
    QCOMPARE(store->state().drinks.size(), drinks);
    QCOMPARE(store->phase(), phase);
    QCOMPARE(store->isPaused(), paused);
    if (deadlineIn10Minutes)
        QCOMPARE(store->state().nextDue, store->now().addSecs(600));
    else if (drinks == 0)
        QCOMPARE(store->state().nextDue, deadlineBefore);
}

void WaterReminderTest::previewControlsRecordNothing_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<CompanionPhase>("phase");
    QTest::newRow("close") << "closeButton" << CompanionPhase::hidden;
    QTest::newRow("I drank") << "drankButton" << CompanionPhase::celebrating;
    QTest::newRow("Not yet") << "notYetButton" << CompanionPhase::declined;
    QTest::newRow("Pause 1 hour closes") << "pauseButton" << CompanionPhase::hidden;
    QTest::newRow("the companion") << "companion" << CompanionPhase::hidden;
}

void WaterReminderTest::previewControlsRecordNothing() {
    QFETCH(QString, control);
    QFETCH(CompanionPhase, phase);

    TestStore store;
    ReminderView view(store.get());
    view.show();
    store->showReminder(true, ReminderKind::water);
    store.tickUntil(CompanionPhase::asking);
    const QDateTime deadlineBefore = store->state().nextDue;
    QCOMPARE(labelText(&view, "detail"), QStringLiteral("Preview only · no drink will be logged"));
    QCOMPARE(labelText(&view, "footer"), QStringLiteral("Click your buddy to close the preview."));

    click(child(&view, control));
    QCOMPARE(store->phase(), phase);
    QCOMPARE(store->state().drinks.size(), 0);
    QCOMPARE(store->state().nextDue, deadlineBefore);
    QVERIFY(!store->isPaused());
}

void WaterReminderTest::pictureFollowsThePack_data() {
    QTest::addColumn<QString>("pack");
    QTest::addColumn<CompanionPicture::Kind>("kind");
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<int>("lift");
    QTest::addColumn<QString>("widgetClass");
    QTest::newRow("drop") << "bloop" << CompanionPicture::Kind::buddy << QSize(210, 218) << 213 << "BuddyView";
    QTest::newRow("code bear") << "viru" << CompanionPicture::Kind::codeBear << QSize(250, 290) << 285 << "BearBuddy";
    QTest::newRow("sprite bear") << "zuv" << CompanionPicture::Kind::spriteBear << QSize(250, 290) << 285
                                 << "SpriteBuddy";
    QTest::newRow("human sprite") << "vossik-fan" << CompanionPicture::Kind::humanSprite << QSize(280, 325) << 320
                                  << "SpriteBuddy";
    QTest::newRow("movie") << "nimbi" << CompanionPicture::Kind::movie << QSize(370, 218) << 213 << "MovieBuddy";
}

void WaterReminderTest::pictureFollowsThePack() {
    QFETCH(QString, pack);
    QFETCH(CompanionPicture::Kind, kind);
    QFETCH(QSize, frame);
    QFETCH(int, lift);
    QFETCH(QString, widgetClass);

    TestStore store;
    store.useCompanion(pack);
    QCOMPARE(store->presentedCompanion().id, pack);
    ReminderView view(store.get(), 0.0);
    store->showReminder(false, ReminderKind::water);
    store.tickUntil(CompanionPhase::asking);

    QCOMPARE(view.picture().kind, kind);
    QCOMPARE(view.companion()->size(), frame);
    QCOMPARE(QString(view.companion()->picture()->metaObject()->className()), widgetClass);
    // The companion stands on the canvas's bottom padding, centred; the card clears it.
    QCOMPARE(view.companion()->geometry().bottom() + 1, 760 - 20);
    QCOMPARE(view.companion()->x() + view.companion()->width() / 2, 205);
    QCOMPARE(view.bubble()->geometry().bottom() + 1, 760 - 20 - lift);
}

void WaterReminderTest::moviePackPlaysTheMomentsMovie() {
    TestStore store;
    store.useCompanion("nimbi");
    const CharacterPack pack = store->presentedCompanion();
    ReminderView view(store.get(), 0.0);
    store->showReminder(false, ReminderKind::water);
    QCOMPARE(view.picture().movieFile, *pack.asset(pack.entry));
    QPointer<QWidget> firstMovie = view.companion()->picture();
    store.tickUntil(CompanionPhase::asking);
    QCOMPARE(view.companion()->picture(), firstMovie.data());
    store->answerYes();
    QCOMPARE(view.picture().movieFile, *pack.asset(pack.success));
    QVERIFY(firstMovie.isNull());
    // The movie shows itself, so it turns to walk off on its own.
    auto* success = qobject_cast<MovieBuddy*>(view.companion()->picture());
    QVERIFY(success && !success->isMirrored());
    store.tickUntil(CompanionPhase::leaving);
    QVERIFY(success->isMirrored());
    store.tickUntil(CompanionPhase::hidden);
    // Hidden: nothing to play, the plain picture stands in.
    QCOMPARE(view.picture().kind, CompanionPicture::Kind::buddy);

    store->tick(store->now().addSecs(120));
    store->showReminder(false, ReminderKind::water);
    store.tickUntil(CompanionPhase::asking);
    store->decline();
    QCOMPARE(view.picture().movieFile, *pack.asset(pack.disappointed));

    // A new reminder starts the same movie afresh.
    store.tickUntil(CompanionPhase::hidden);
    store->showReminder(false, ReminderKind::water);
    QPointer<QWidget> entry = view.companion()->picture();
    store->dismiss();
    store->showReminder(false, ReminderKind::water);
    QVERIFY(entry.isNull());
    QVERIFY(qobject_cast<MovieBuddy*>(view.companion()->picture()));
}

void WaterReminderTest::missingMovieFallsBackToThePlainPicture() {
    TestStore store;
    const QString copy = store.folder.filePath("nimbi-copy");
    QDir().mkpath(copy);
    const QString source = qEnvironmentVariable("DEWBELL_BUNDLE_DIR") + "/Characters/nimbi";
    for (const QString& name : QDir(source).entryList(QDir::Files))
        QVERIFY(QFile::copy(source + "/" + name, copy + "/" + name));
    CharacterPack pack = store->presentedCompanion();
    for (const CharacterPack& loaded : store->packs())
        if (loaded.id == "nimbi")
            pack = loaded;
    QCOMPARE(pack.kind, QStringLiteral("movie"));
    pack.id = "nimbi-copy";
    pack.folder = copy;
    QVERIFY(QFile::remove(copy + "/" + *pack.entry));
    QList<CharacterPack> packs = store->packs();
    packs.append(pack);
    store->setPacks(packs);
    store.useCompanion("nimbi-copy");

    ReminderView view(store.get(), 0.0);
    store->showReminder(false, ReminderKind::water);
    QCOMPARE(view.picture().kind, CompanionPicture::Kind::buddy);
    QCOMPARE(view.companion()->size(), QSize(210, 218));
    QVERIFY(qobject_cast<BuddyView*>(view.companion()->picture()));
    QCOMPARE(view.bubble()->geometry().bottom() + 1, 760 - 20 - 213);
    // Its success movie is there, so "I drank" plays it.
    store.tickUntil(CompanionPhase::asking);
    store->answerYes();
    QCOMPARE(view.picture().kind, CompanionPicture::Kind::movie);
}

void WaterReminderTest::companionFacesAwayOnlyWhileLeaving() {
    TestStore store;
    store.useCompanion("viru");
    ReminderView view(store.get());
    store->showReminder(false, ReminderKind::water);
    const QList<CompanionPhase> expectedOrder = {CompanionPhase::entering, CompanionPhase::asking,
                                                 CompanionPhase::celebrating, CompanionPhase::leaving};
    for (CompanionPhase phase : expectedOrder) {
        if (phase == CompanionPhase::celebrating)
            store->answerYes();
        QVERIFY(store.tickUntil(phase));
        QCOMPARE(view.companion()->isMirrored(), phase == CompanionPhase::leaving);
    }
    store.tickUntil(CompanionPhase::hidden);
    QVERIFY(!view.companion()->isMirrored());
}

void WaterReminderTest::fixedElapsedPinsTheWalk() {
    TestStore store;
    store.useCompanion("zuv");
    store->showReminder(false, ReminderKind::water);
    const int restingX = 20 + (370 - 250) / 2;
    for (double seconds : {0.0, 0.5, 1.5}) {
        ReminderView view(store.get(), seconds);
        const double offset = CompanionMotion::horizontalOffset(CompanionPhase::entering, seconds, std::nullopt);
        QCOMPARE(view.walkOffset(), offset);
        QCOMPARE(view.companion()->x(), restingX + qRound(offset));
        auto* sprite = qobject_cast<SpriteBuddy*>(view.companion()->picture());
        QVERIFY(sprite);
        QCOMPARE(sprite->moment().elapsed, std::optional<double>(seconds));
        // The clock moving on changes nothing.
        store->tick(store->now().addMSecs(300));
        QCOMPARE(view.companion()->x(), restingX + qRound(offset));
        QCOMPARE(sprite->moment().elapsed, std::optional<double>(seconds));
        QVERIFY(!view.isTimelineRunning());
    }
    ReminderView start(store.get(), 0.0);
    QCOMPARE(start.walkOffset(), 320.0);
}

void WaterReminderTest::reduceMotionKeepsTheCompanionInPlace() {
    ReduceMotion::setOverride(true);
    TestStore store;
    store.useCompanion("viru");
    ReminderView view(store.get(), 0.0);
    const int restingX = 20 + (370 - 250) / 2;
    store->showReminder(false, ReminderKind::water);
    QCOMPARE(view.walkOffset(), 0.0);
    QCOMPARE(view.companion()->x(), restingX);
    store.tickUntil(CompanionPhase::asking);
    store->answerYes();
    store.tickUntil(CompanionPhase::leaving);
    QCOMPARE(view.companion()->x(), restingX);
}

void WaterReminderTest::timelineRunsOnlyWhileTheCompanionMoves() {
    TestStore store;
    store.useCompanion("vossik-fan");
    ReminderView view(store.get());
    view.show();
    QVERIFY(!view.isTimelineRunning());
    store->showReminder(false, ReminderKind::water);
    QVERIFY(view.isTimelineRunning());
    store.tickUntil(CompanionPhase::asking);
    QVERIFY(!view.isTimelineRunning());
    // While it waits, the companion holds its pose whatever the store publishes.
    auto* sprite = qobject_cast<SpriteBuddy*>(view.companion()->picture());
    QVERIFY(sprite);
    const auto heldAt = sprite->moment().elapsed;
    QTest::qWait(20);
    store->tick(store->now().addSecs(1));
    QCOMPARE(sprite->moment().elapsed, heldAt);
    store->answerYes();
    QVERIFY(view.isTimelineRunning());
    view.hide();
    QVERIFY(!view.isTimelineRunning());
    view.show();
    QVERIFY(view.isTimelineRunning());
    ReduceMotion::setOverride(true);
    store->tick(store->now().addMSecs(100));
    QVERIFY(!view.isTimelineRunning());
    ReduceMotion::setOverride(false);
    store.tickUntil(CompanionPhase::leaving);
    QVERIFY(view.isTimelineRunning());
    store.tickUntil(CompanionPhase::hidden);
    QVERIFY(!view.isTimelineRunning());
}

void WaterReminderTest::breakReminderReplacesTheWaterCard() {
    TestStore store;
    ReminderView view(store.get());
    view.show();
    store->showReminder(false, ReminderKind::movement);
    QVERIFY(view.breakCard()->isVisible());
    QVERIFY(!view.bubble()->isVisible());
    QVERIFY(!view.companion()->isVisible());
    QVERIFY(!view.isTimelineRunning());
    QCOMPARE(view.breakCard()->geometry().bottom() + 1, 760);
    QCOMPARE(view.breakCard()->width(), 410);
    store->dismiss();
    store->showReminder(false, ReminderKind::water);
    QVERIFY(!view.breakCard()->isVisible());
    QVERIFY(view.companion()->isVisible());
}

QTEST_MAIN(WaterReminderTest)
#include "test_water_reminder.moc"
