#include "ArtCache.h"
#include "BearBuddy.h"
#include "BuddyView.h"
#include "MissingArt.h"
#include "MovieBuddy.h"
#include "Palette.h"
#include "PoseCache.h"
#include "ReduceMotion.h"
#include "RenderChecks.h"
#include "SpriteBuddy.h"
#include "WellnessBuddy.h"
#include "model/BreakGuidance.h"
#include "model/CompanionMotion.h"

#include <QFile>
#include <QMediaPlayer>
#include <QTemporaryDir>
#include <QtTest>

using RenderChecks::builtIn;
using RenderChecks::bundledPack;
using RenderChecks::isDrawn;

namespace {

const QList<CompanionPhase> allPhases{CompanionPhase::hidden,      CompanionPhase::entering, CompanionPhase::asking,
                                      CompanionPhase::celebrating, CompanionPhase::declined, CompanionPhase::leaving};

// Every drawing path: the code-drawn four, a human-like sprite, a sprite bear.
QList<CharacterPack> walkingPacks() {
    return {builtIn(QStringLiteral("bloop")), builtIn(QStringLiteral("sprout")), builtIn(QStringLiteral("viru")),
            builtIn(QStringLiteral("vuzo")), bundledPack(QStringLiteral("vossik-fan")), bundledPack(QStringLiteral("zuv"))};
}

// The picture the reminder surface would show for this pack at this moment.
QImage companion(const CharacterPack& pack, const CompanionMoment& moment, QSize size = {250, 290}) {
    if (pack.kind == QStringLiteral("viru") || pack.kind == QStringLiteral("vuzo"))
        return BearBuddy::render(size, pack.kind, moment);
    if (pack.kind == QStringLiteral("sprite"))
        return SpriteBuddy::render(size, pack, moment);
    return BuddyView::render(size, pack, moment.phase == CompanionPhase::celebrating, moment.elapsed);
}

QImage missingArt(QSize size, const QString& tint) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    MissingArt::paint(painter, QRectF(QPointF(0, 0), QSizeF(size)), Color(tint), QStringLiteral("face.smiling"));
    return image;
}

CharacterPack packInFolder(const QString& folder) {
    CharacterPack pack;
    pack.id = QStringLiteral("broken");
    pack.name = QStringLiteral("Broken");
    pack.kind = QStringLiteral("sprite");
    pack.tint = QStringLiteral("8BD17C");
    pack.folder = folder;
    pack.idleSheet = SpriteSheet{QStringLiteral("idle.png"), 4, 1, 4, 4};
    pack.walkSheet = SpriteSheet{QStringLiteral("walk.png"), 8, 1, 8, 10};
    pack.wellnessSheet = SpriteSheet{QStringLiteral("wellness.png"), 3, 2, 6, 1};
    return pack;
}

} // namespace

class TestCompanionViews : public QObject {
    Q_OBJECT

private slots:
    void init() { ReduceMotion::setOverride(false); }
    void cleanup() { ReduceMotion::setOverride(std::nullopt); }

    void everyCompanionDrawsEveryPhase() {
        for (const CharacterPack& pack : walkingPacks()) {
            for (const CompanionPhase phase : allPhases) {
                for (const std::optional<double> elapsed : {std::optional<double>(0.7), std::optional<double>()}) {
                    const QImage picture = companion(pack, {phase, std::nullopt, elapsed});
                    QVERIFY2(isDrawn(picture), qPrintable(pack.id + QLatin1Char(' ') + rawValue(phase)));
                }
            }
        }
    }

    void theGeneralPictureDrawsEveryPack() {
        QList<CharacterPack> packs = walkingPacks();
        packs.append(bundledPack(QStringLiteral("nimbi")));
        for (const CharacterPack& pack : packs) {
            QVERIFY2(isDrawn(BuddyView::render({210, 218}, pack, false, std::nullopt)), qPrintable(pack.id));
            QVERIFY2(isDrawn(BuddyView::render({210, 218}, pack, true, 1.3)), qPrintable(pack.id));
            // A pack drawn from art shows that art, not the missing-art symbol.
            QVERIFY(BuddyView::render({210, 218}, pack, false, std::nullopt) != missingArt({210, 218}, pack.tint));
        }
    }

    void theSamePhaseAndTimeGiveTheSamePicture() {
        for (const CharacterPack& pack : walkingPacks()) {
            for (const CompanionPhase phase : allPhases) {
                const CompanionMoment moment{phase, CompanionPhase::declined, 1.37};
                QCOMPARE(companion(pack, moment), companion(pack, moment));
            }
            // And the walk really moves with time.
            QVERIFY(companion(pack, {CompanionPhase::entering, std::nullopt, 0.0}) !=
                    companion(pack, {CompanionPhase::entering, std::nullopt, 0.2}));
        }
    }

    void companionsDoNotMirrorThemselvesWhileLeaving() {
        // The host mirrors the picture while the companion leaves; drawn by itself, leaving
        // after a "yes" is the same walk as entering.
        for (const CharacterPack& pack : walkingPacks()) {
            for (const double elapsed : {0.0, 0.25, 0.5}) {
                QCOMPARE(companion(pack, {CompanionPhase::leaving, CompanionPhase::celebrating, elapsed}),
                         companion(pack, {CompanionPhase::entering, std::nullopt, elapsed}));
            }
        }
    }

    void aWalkIsDrawnOnceAndCopiedAfter() {
        PoseCache::clear();
        const QSize size{250, 290};
        const CompanionMoment step{CompanionPhase::entering, std::nullopt, 0.05};
        const QImage first = BearBuddy::render(size, QStringLiteral("viru"), step);
        QCOMPARE(PoseCache::picturesDrawn(), 1);
        // Later in the same frame, and the same frame two cycles on, show the picture drawn.
        QCOMPARE(BearBuddy::render(size, QStringLiteral("viru"), {CompanionPhase::entering, std::nullopt, 0.09}), first);
        QCOMPARE(BearBuddy::render(size, QStringLiteral("viru"), {CompanionPhase::entering, std::nullopt, 1.65}), first);
        QCOMPARE(PoseCache::picturesDrawn(), 1);
        // It is the art itself, not an approximation of it.
        QImage direct(size, QImage::Format_ARGB32_Premultiplied);
        direct.fill(Qt::transparent);
        QPainter painter(&direct);
        BearArt::paint(painter, QRectF(QPointF(0, 0), QSizeF(size)), BearLook::viru(),
                       CompanionChoreography::framePose(step));
        painter.end();
        QCOMPARE(first, direct);

        // A whole walk-in at 60 frames a second (two and a half cycles) draws each of the
        // cycle's eight frames once at most (rising and falling halves of a step may match);
        // the drop's idle bob, 15 pictures a second at most.
        PoseCache::clear();
        for (int tick = 0; tick < 120; ++tick)
            BearBuddy::render(size, QStringLiteral("vuzo"), {CompanionPhase::entering, std::nullopt, tick / 60.0});
        QVERIFY(PoseCache::picturesDrawn() <= CompanionMotion::walkCycleFrames);
        PoseCache::clear();
        for (int tick = 0; tick < 120; ++tick)
            BuddyView::render({210, 218}, builtIn(QStringLiteral("bloop")), false, tick / 60.0);
        QVERIFY(PoseCache::picturesDrawn() <= 2 * int(CompanionChoreography::framesPerSecond));
    }

    // Drawing a picture costs far more than copying one: a whole reaction repeats its pictures
    // (the celebration's hop every 1.2 s; the sigh's sway once the head has dropped and the tear
    // shows, after its first second).
    void aReactionRepeatsItsPictures() {
        const auto distinctPictures = [](CompanionPhase phase) {
            QSet<BuddyPose> poses;
            const double seconds = *CompanionMotion::duration(phase, phase);
            for (int tick = 0; tick < seconds * 60; ++tick)
                poses.insert(CompanionChoreography::framePose({phase, phase, tick / 60.0}));
            return poses.size();
        };
        QVERIFY(distinctPictures(CompanionPhase::celebrating) <= 18);
        QVERIFY(distinctPictures(CompanionPhase::declined) <= 16 + 18);
    }

    void framesFollowTheWalkCycleAndAModestRate() {
        using CompanionChoreography::frameOf;
        // The brisk walk's 0.8 s cycle has eight frames of 0.1 s; the sad one's 1.3 s too.
        QCOMPARE(*frameOf({CompanionPhase::entering, std::nullopt, 0.2999}).elapsed, 0.2);
        QCOMPARE(*frameOf({CompanionPhase::entering, std::nullopt, 0.3}).elapsed, 0.3);
        QCOMPARE(*frameOf({CompanionPhase::leaving, CompanionPhase::declined, 0.2}).elapsed, 0.1625);
        // Other phases change their picture 15 times a second.
        QCOMPARE(*frameOf({CompanionPhase::celebrating, std::nullopt, 1.0 / 15 - 0.001}).elapsed, 0.0);
        QVERIFY(qFuzzyCompare(*frameOf({CompanionPhase::celebrating, std::nullopt, 0.1}).elapsed, 1.0 / 15));
        // A still pose stays still.
        QVERIFY(!frameOf({CompanionPhase::asking, std::nullopt, std::nullopt}).elapsed);
    }

    void theWalkOffAfterNotYetIsSlowerAndSad() {
        const CompanionMoment sad{CompanionPhase::leaving, CompanionPhase::declined, 0.1};
        const CompanionMoment glad{CompanionPhase::leaving, CompanionPhase::celebrating, 0.1};
        QVERIFY(CompanionChoreography::pose(sad).droop > 0);
        QCOMPARE(CompanionChoreography::pose(glad).droop, 0.0);
        QVERIFY(CompanionChoreography::walkCycleSeconds(CompanionPhase::leaving, CompanionPhase::declined) >
                CompanionChoreography::walkCycleSeconds(CompanionPhase::entering, std::nullopt));
    }

    void reducedMotionHoldsAStillPicture() {
        ReduceMotion::setOverride(true);
        const QDateTime now = QDateTime::currentDateTimeUtc();
        BearBuddy early(QStringLiteral("viru"), CompanionPhase::entering, now.addMSecs(-300));
        BearBuddy late(QStringLiteral("viru"), CompanionPhase::entering, now.addMSecs(-1250), std::nullopt, true, 0.9);
        early.resize(250, 290);
        late.resize(250, 290);
        QCOMPARE(early.grab().toImage(), late.grab().toImage());
        QVERIFY(!early.moment().elapsed);

        const CharacterPack zoze = bundledPack(QStringLiteral("vossik-fan"));
        SpriteBuddy first(zoze, CompanionPhase::celebrating, now.addMSecs(-100), std::nullopt, true, std::nullopt, 0.1);
        SpriteBuddy second(zoze, CompanionPhase::celebrating, now.addMSecs(-500), std::nullopt, true, std::nullopt, 0.45);
        first.resize(280, 325);
        second.resize(280, 325);
        QCOMPARE(first.grab().toImage(), second.grab().toImage());

        ReduceMotion::setOverride(false);
        QVERIFY(first.grab().toImage() != second.grab().toImage());
    }

    void animationOffIsAStillPictureToo() {
        const QDateTime now = QDateTime::currentDateTimeUtc();
        BuddyView card(builtIn(QStringLiteral("sprout")), false, false);
        card.resize(210, 218);
        const QImage before = card.grab().toImage();
        QCOMPARE(BuddyView::render({210, 218}, card.pack(), false, std::nullopt), before);
        BearBuddy bear(QStringLiteral("vuzo"), CompanionPhase::celebrating, now.addSecs(-1), std::nullopt, false);
        QVERIFY(!bear.moment().elapsed);
    }

    void viewsTickOnlyWhileVisibleAndMoving() {
        BearBuddy bear(QStringLiteral("viru"), CompanionPhase::asking, QDateTime::currentDateTimeUtc());
        QVERIFY(!bear.isTicking());
        bear.show();
        QVERIFY(bear.isTicking());
        bear.setFixedTime(1.0);  // the host drives it now
        QVERIFY(!bear.isTicking());
        bear.setFixedTime(std::nullopt);
        QVERIFY(bear.isTicking());
        bear.setAnimate(false);
        QVERIFY(!bear.isTicking());
        bear.setAnimate(true);
        bear.hide();
        QVERIFY(!bear.isTicking());
        ReduceMotion::setOverride(true);
        bear.show();
        QVERIFY(!bear.isTicking());

        BuddyView movieCard(bundledPack(QStringLiteral("nimbi")));
        ReduceMotion::setOverride(false);
        movieCard.show();
        QVERIFY(!movieCard.isTicking());  // a still artwork never needs frames
    }

    void theBearsFollowTheirKind() {
        const CompanionMoment moment{CompanionPhase::asking, std::nullopt, 2.0};
        QVERIFY(BearBuddy::render({250, 290}, QStringLiteral("viru"), moment) !=
                BearBuddy::render({250, 290}, QStringLiteral("vuzo"), moment));
        QCOMPARE(BearBuddy::look(QStringLiteral("vuzo")).fur, BearLook::vuzo().fur);
    }

    void aMissingOrBrokenSheetShowsTheSymbol() {
        QTemporaryDir folder;
        const CharacterPack missing = packInFolder(folder.path());
        const CompanionMoment moment{CompanionPhase::asking, std::nullopt, 0.5};
        QCOMPARE(SpriteBuddy::render({280, 325}, missing, moment), missingArt({280, 325}, missing.tint));

        QFile broken(folder.filePath(QStringLiteral("idle.png")));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("\x89PNG\r\n\x1a\n this is not a picture");
        broken.close();
        QCOMPARE(SpriteBuddy::render({280, 325}, missing, moment), missingArt({280, 325}, missing.tint));
        QCOMPARE(BuddyView::render({210, 218}, missing, false, std::nullopt), missingArt({210, 218}, missing.tint));
    }

    void stickersShowTheWellnessFrameOrTheBadge() {
        const CharacterPack zoze = bundledPack(QStringLiteral("vossik-fan"));
        WellnessBuddy sticker(zoze, BreakGuidance::stickerFrame(ReminderKind::eyeRest, 3), ReminderKind::eyeRest);
        QVERIFY(!sticker.showsBadge());
        QImage frames[6];
        for (int frame = 0; frame < 6; ++frame) {
            frames[frame] = WellnessBuddy::render({210, 240}, zoze, frame, ReminderKind::movement);
            QVERIFY(isDrawn(frames[frame]));
        }
        QVERIFY(frames[0] != frames[2]);
        QVERIFY(frames[2] != frames[3]);

        // Built-in packs have no wellness sheet: the badge of the kind, in the pack's tint.
        const CharacterPack pemmy = builtIn(QStringLiteral("bloop"));
        sticker.setSticker(pemmy, 2, ReminderKind::movement);
        QVERIFY(sticker.showsBadge());
        QImage badge(210, 240, QImage::Format_ARGB32_Premultiplied);
        badge.fill(Qt::transparent);
        QPainter painter(&badge);
        WellnessBuddy::paintBadge(painter, QRectF(0, 0, 210, 240), ReminderKind::movement, Color(pemmy.tint));
        painter.end();
        QCOMPARE(WellnessBuddy::render({210, 240}, pemmy, 2, ReminderKind::movement), badge);
        QVERIFY(isDrawn(badge));
        QVERIFY(WellnessBuddy::render({210, 240}, pemmy, 0, ReminderKind::eyeRest) != badge);

        // A broken wellness sheet falls back to the badge as well.
        QTemporaryDir folder;
        const CharacterPack broken = packInFolder(folder.path());
        CharacterPack noSheet;
        noSheet.tint = broken.tint;
        QCOMPARE(WellnessBuddy::render({210, 240}, broken, 1, ReminderKind::eyeRest),
                 WellnessBuddy::render({210, 240}, noSheet, 1, ReminderKind::eyeRest));
    }

    void aMovieThatCannotPlayShowsTheStill() {
        const CharacterPack nimbi = bundledPack(QStringLiteral("nimbi"));
        const QImage still = ArtCache::packImage(nimbi, nimbi.artwork);
        MovieBuddy movie(QUrl::fromLocalFile(QStringLiteral("/nonexistent/entry.webm")));
        movie.setStill(still, Color(nimbi.tint));
        movie.resize(370, 218);
        QVERIFY(movie.isShowingStill());
        movie.show();
        QVERIFY(movie.isShowingStill());
        QVERIFY(!movie.player());
        QVERIFY(isDrawn(movie.grab().toImage()));
    }

    void aBundledMovieLoadsMutedAndLooping() {
        const CharacterPack nimbi = bundledPack(QStringLiteral("nimbi"));
        MovieBuddy movie(QUrl::fromLocalFile(*nimbi.asset(nimbi.success)));
        movie.resize(370, 218);
        movie.show();
        QVERIFY(movie.player());
        QCOMPARE(movie.player()->loops(), int(QMediaPlayer::Infinite));
        QVERIFY(!movie.player()->audioOutput());
        QVERIFY(movie.videoSink());
        QCOMPARE(movie.player()->videoSink(), movie.videoSink());
        QTRY_VERIFY_WITH_TIMEOUT(movie.isShowingStill() || movie.player()->mediaStatus() >= QMediaPlayer::LoadedMedia, 10000);
        QVERIFY(!movie.isShowingStill());

        // Hidden, it keeps no player; shown again, it plays again.
        movie.hide();
        QVERIFY(!movie.player());
        QVERIFY(!movie.hasFrame());
        movie.show();
        QVERIFY(movie.player());
    }

    void reducedMotionShowsTheMovieStill() {
        ReduceMotion::setOverride(true);
        const CharacterPack nimbi = bundledPack(QStringLiteral("nimbi"));
        MovieBuddy movie(QUrl::fromLocalFile(*nimbi.asset(nimbi.entry)));
        QVERIFY(!movie.isShowingStill());
        movie.setStill(ArtCache::packImage(nimbi, nimbi.artwork), Color(nimbi.tint));
        movie.show();
        QVERIFY(movie.isShowingStill());
        QVERIFY(!movie.player());
    }
};

QTEST_MAIN(TestCompanionViews)
#include "test_companion_views.moc"
