#include "characters/ArtCache.h"
#include "characters/BearBuddy.h"
#include "characters/BuddyView.h"
#include "characters/MissingArt.h"
#include "characters/MovieBuddy.h"
#include "characters/PoseCache.h"
#include "characters/SpriteBuddy.h"
#include "characters/WellnessBuddy.h"
#include "model/BreakGuidance.h"
#include "model/CompanionMotion.h"
#include "support/RenderChecks.h"
#include "ui/Palette.h"
#include "ui/ReduceMotion.h"

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
QList<CharacterPack> walkingPacks()
{
    return {builtIn(QStringLiteral("bloop")),          builtIn(QStringLiteral("sprout")),
            builtIn(QStringLiteral("viru")),           builtIn(QStringLiteral("vuzo")),
            bundledPack(QStringLiteral("vossik-fan")), bundledPack(QStringLiteral("zuv"))};
}

// The picture the reminder surface would show for this pack at this moment.
QImage companion(const CharacterPack& pack, const CompanionMoment& moment, QSize size = {250, 290})
{
    if (pack.kind == QStringLiteral("viru") || pack.kind == QStringLiteral("vuzo"))
        return BearBuddy::render(size, pack.kind, moment);
    if (pack.kind == QStringLiteral("sprite"))
        return SpriteBuddy::render(size, pack, moment);
    return BuddyView::render(size, pack, moment.phase == CompanionPhase::celebrating, moment.elapsed);
}

template<typename Paint>
QImage painted(QSize size, Paint paint)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paint(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

QImage missingArt(QSize size, const QString& tint)
{
    return painted(
        size, [&](QPainter& p, QRectF r) { MissingArt::paint(p, r, Color(tint), QStringLiteral("face.smiling")); });
}

CharacterPack packInFolder(const QString& folder)
{
    CharacterPack pack;
    pack.kind = QStringLiteral("sprite");
    pack.tint = QStringLiteral("8BD17C");
    pack.folder = folder;
    pack.idleSheet = SpriteSheet{QStringLiteral("idle.png"), 4, 1, 4, 4};
    pack.walkSheet = SpriteSheet{QStringLiteral("walk.png"), 8, 1, 8, 10};
    pack.wellnessSheet = SpriteSheet{QStringLiteral("wellness.png"), 3, 2, 6, 1};
    return pack;
}

}  // namespace

class TestCompanionViews : public QObject {
    Q_OBJECT

private slots:
    void init() { ReduceMotion::setOverride(false); }
    void cleanup() { ReduceMotion::setOverride(std::nullopt); }

    void everyCompanionDrawsEveryPhaseTheSameForTheSameTime()
    {
        for (const CharacterPack& pack : walkingPacks()) {
            for (const CompanionPhase phase : allPhases) {
                for (const std::optional<double> elapsed : {std::optional<double>(1.37), std::optional<double>()}) {
                    const CompanionMoment moment{phase, CompanionPhase::declined, elapsed};
                    const QImage picture = companion(pack, moment);
                    QVERIFY2(isDrawn(picture), qPrintable(pack.id + QLatin1Char(' ') + rawValue(phase)));
                    QCOMPARE(companion(pack, moment), picture);
                }
            }
            QVERIFY(companion(pack, {CompanionPhase::entering, std::nullopt, 0.0})
                    != companion(pack, {CompanionPhase::entering, std::nullopt, 0.2}));
        }
        // The general picture, movie packs' still included, shows the art, not the missing-art symbol.
        QList<CharacterPack> packs = walkingPacks();
        packs.append(bundledPack(QStringLiteral("nimbi")));
        for (const CharacterPack& pack : packs) {
            const QImage still = BuddyView::render({210, 218}, pack, false, std::nullopt);
            QVERIFY2(isDrawn(still) && isDrawn(BuddyView::render({210, 218}, pack, true, 1.3)), qPrintable(pack.id));
            QVERIFY(still != missingArt({210, 218}, pack.tint));
        }
    }

    void companionsDoNotMirrorThemselvesWhileLeaving()
    {
        // The host mirrors while leaving; drawn by itself, leaving after a "yes" is the entering walk.
        for (const CharacterPack& pack : walkingPacks()) {
            for (const double elapsed : {0.0, 0.25, 0.5}) {
                QCOMPARE(companion(pack, {CompanionPhase::leaving, CompanionPhase::celebrating, elapsed}),
                         companion(pack, {CompanionPhase::entering, std::nullopt, elapsed}));
            }
        }
    }

    void aWalkIsDrawnOnceAndCopiedAfter()
    {
        PoseCache::clear();
        const QSize size{250, 290};
        const CompanionMoment step{CompanionPhase::entering, std::nullopt, 0.05};
        const QImage first = BearBuddy::render(size, QStringLiteral("viru"), step);
        // Later in the same frame, and the same frame two cycles on, show the picture drawn.
        QCOMPARE(BearBuddy::render(size, QStringLiteral("viru"), {CompanionPhase::entering, std::nullopt, 0.09}),
                 first);
        QCOMPARE(BearBuddy::render(size, QStringLiteral("viru"), {CompanionPhase::entering, std::nullopt, 1.65}),
                 first);
        QCOMPARE(PoseCache::picturesDrawn(), 1);
        QCOMPARE(first, painted(size, [&](QPainter& p, QRectF r) {
                     BearArt::paint(p, r, BearLook::viru(), CompanionChoreography::framePose(step));
                 }));

        // 120 ticks at 60 fps: each walk frame drawn once at most; the drop's bob 15 a second at most.
        PoseCache::clear();
        for (int tick = 0; tick < 120; ++tick)
            BearBuddy::render(size, QStringLiteral("vuzo"), {CompanionPhase::entering, std::nullopt, tick / 60.0});
        QVERIFY(PoseCache::picturesDrawn() <= CompanionMotion::walkCycleFrames);
        PoseCache::clear();
        for (int tick = 0; tick < 120; ++tick)
            BuddyView::render({210, 218}, builtIn(QStringLiteral("bloop")), false, tick / 60.0);
        QVERIFY(PoseCache::picturesDrawn() <= 2 * int(CompanionChoreography::framesPerSecond));
    }

    void theWalkOffAfterNotYetIsSlowerAndSad()
    {
        QVERIFY(CompanionChoreography::pose({CompanionPhase::leaving, CompanionPhase::declined, 0.1}).droop > 0);
        QCOMPARE(CompanionChoreography::pose({CompanionPhase::leaving, CompanionPhase::celebrating, 0.1}).droop, 0.0);
        QVERIFY(CompanionChoreography::walkCycleSeconds(CompanionPhase::leaving, CompanionPhase::declined)
                > CompanionChoreography::walkCycleSeconds(CompanionPhase::entering, std::nullopt));
    }

    void reducedMotionOrAnimationOffHoldsAStillPicture()
    {
        ReduceMotion::setOverride(true);
        const QDateTime now = QDateTime::currentDateTimeUtc();
        BearBuddy early(QStringLiteral("viru"), CompanionPhase::entering, now.addMSecs(-300));
        BearBuddy late(QStringLiteral("viru"), CompanionPhase::entering, now.addMSecs(-1250), std::nullopt, true, 0.9);
        early.resize(250, 290);
        late.resize(250, 290);
        QCOMPARE(early.grab().toImage(), late.grab().toImage());

        const CharacterPack zoze = bundledPack(QStringLiteral("vossik-fan"));
        SpriteBuddy first(zoze, CompanionPhase::celebrating, now.addMSecs(-100), std::nullopt, true, std::nullopt, 0.1);
        SpriteBuddy second(zoze, CompanionPhase::celebrating, now.addMSecs(-500), std::nullopt, true, std::nullopt,
                           0.45);
        first.resize(280, 325);
        second.resize(280, 325);
        QCOMPARE(first.grab().toImage(), second.grab().toImage());
        ReduceMotion::setOverride(false);
        // Ten frames a second: a tenth of a second in shows the second frame, 0.45 s the fifth.
        QCOMPARE(first.choice().cell, 1);
        QCOMPARE(second.choice().cell, 4);

        BearBuddy unanimated(QStringLiteral("vuzo"), CompanionPhase::celebrating, now.addSecs(-1), std::nullopt, false);
        QVERIFY(!unanimated.moment().elapsed);
    }

    void viewsTickOnlyWhileVisibleAndMoving()
    {
        BearBuddy bear(QStringLiteral("viru"), CompanionPhase::asking, QDateTime::currentDateTimeUtc());
        QVERIFY(!bear.isTicking());
        bear.show();
        QVERIFY(bear.isTicking());
        bear.setElapsed(1.0);  // the host drives it now
        QVERIFY(!bear.isTicking());
        bear.setElapsed(std::nullopt);
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

    void theBearsFollowTheirKind()
    {
        const CompanionMoment moment{CompanionPhase::asking, std::nullopt, 2.0};
        QVERIFY(BearBuddy::render({250, 290}, QStringLiteral("viru"), moment)
                != BearBuddy::render({250, 290}, QStringLiteral("vuzo"), moment));
    }

    void aMissingOrBrokenSheetShowsTheSymbol()
    {
        QTemporaryDir folder;
        const CharacterPack missing = packInFolder(folder.path());
        const CompanionMoment moment{CompanionPhase::asking, std::nullopt, 0.5};
        QCOMPARE(SpriteBuddy::render({280, 325}, missing, moment), missingArt({280, 325}, missing.tint));

        QFile broken(folder.filePath(QStringLiteral("idle.png")));
        QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("\x89PNG\r\n\x1a\n this is not a picture") > 0);
        broken.close();
        QCOMPARE(SpriteBuddy::render({280, 325}, missing, moment), missingArt({280, 325}, missing.tint));
        QCOMPARE(BuddyView::render({210, 218}, missing, false, std::nullopt), missingArt({210, 218}, missing.tint));
    }

    void stickersShowTheWellnessFrameOrTheBadge()
    {
        const CharacterPack zoze = bundledPack(QStringLiteral("vossik-fan"));
        WellnessBuddy sticker(zoze, BreakGuidance::stickerFrame(ReminderKind::eyeRest, 3), ReminderKind::eyeRest);
        QVERIFY(!sticker.showsBadge());
        QImage frames[6];
        for (int frame = 0; frame < 6; ++frame)
            QVERIFY(isDrawn(frames[frame] = WellnessBuddy::render({210, 240}, zoze, frame, ReminderKind::movement)));
        QVERIFY(frames[0] != frames[2] && frames[2] != frames[3]);

        // Built-in packs have no wellness sheet: the badge of the kind, in the pack's tint.
        const CharacterPack pemmy = builtIn(QStringLiteral("bloop"));
        sticker.setSticker(pemmy, 2, ReminderKind::movement);
        QVERIFY(sticker.showsBadge());
        const QImage badge = painted({210, 240}, [&](QPainter& p, QRectF r) {
            WellnessBuddy::paintBadge(p, r, ReminderKind::movement, Color(pemmy.tint));
        });
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

    void aMovieThatCannotOrMustNotPlayShowsTheStill_data()
    {
        QTest::addColumn<bool>("reduceMotion");
        QTest::newRow("unplayable file") << false;
        QTest::newRow("reduced motion") << true;
    }
    void aMovieThatCannotOrMustNotPlayShowsTheStill()
    {
        QFETCH(bool, reduceMotion);
        ReduceMotion::setOverride(reduceMotion);
        const CharacterPack nimbi = bundledPack(QStringLiteral("nimbi"));
        MovieBuddy movie(
            QUrl::fromLocalFile(reduceMotion ? *nimbi.asset(nimbi.entry) : QStringLiteral("/nonexistent/entry.webm")));
        movie.setStill(ArtCache::packImage(nimbi, nimbi.artwork), Color(nimbi.tint));
        movie.resize(370, 218);
        movie.show();
        QVERIFY(movie.isShowingStill());
        QVERIFY(!movie.player());
        QVERIFY(isDrawn(movie.grab().toImage()));
    }

    void aBundledMovieLoadsMutedAndLooping()
    {
        const CharacterPack nimbi = bundledPack(QStringLiteral("nimbi"));
        MovieBuddy movie(QUrl::fromLocalFile(*nimbi.asset(nimbi.success)));
        movie.resize(370, 218);
        movie.show();
        QVERIFY(movie.player());
        QCOMPARE(movie.player()->loops(), int(QMediaPlayer::Infinite));
        QVERIFY(!movie.player()->audioOutput());
        QVERIFY(movie.videoSink() && movie.player()->videoSink() == movie.videoSink());
        QTRY_VERIFY_WITH_TIMEOUT(movie.isShowingStill() || movie.player()->mediaStatus() >= QMediaPlayer::LoadedMedia,
                                 10000);
        QVERIFY(!movie.isShowingStill());

        // Hidden, it keeps no player; shown again, it plays again.
        movie.hide();
        QVERIFY(!movie.player());
        QVERIFY(!movie.hasFrame());
        movie.show();
        QVERIFY(movie.player());
    }
};

QTEST_MAIN(TestCompanionViews)
#include "test_companion_views.moc"
