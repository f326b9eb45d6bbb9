#include "characters/ArtCache.h"
#include "characters/SpriteBuddy.h"
#include "support/RenderChecks.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr QSize cell{10, 12};

QColor cellColour(int index)
{
    return QColor::fromHsv((index * 37) % 360, 200, 230);
}

// A sheet of `columns` x `rows` cells, each filled with its own colour.
QString writeSheet(const QTemporaryDir& folder, const QString& name, int columns, int rows)
{
    QImage sheet(cell.width() * columns, cell.height() * rows, QImage::Format_ARGB32);
    for (int index = 0; index < columns * rows; ++index) {
        const QRect area(QPoint((index % columns) * cell.width(), (index / columns) * cell.height()), cell);
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                sheet.setPixelColor(x, y, cellColour(index));
    }
    sheet.save(folder.filePath(name));
    return name;
}

// A human-like pack with walk and idle sheets, or with `bear` a bear24 pose sheet.
CharacterPack cellPack(const QTemporaryDir& folder, bool bear = false)
{
    CharacterPack pack;
    pack.kind = QStringLiteral("sprite");
    pack.folder = folder.path();
    if (bear) {
        pack.poseLayout = QStringLiteral("bear24");
        pack.poseSheet = SpriteSheet{writeSheet(folder, QStringLiteral("poses.png"), 6, 4), 6, 4, 24, 8};
    } else {
        pack.walkSheet = SpriteSheet{writeSheet(folder, QStringLiteral("walk.png"), 4, 2), 4, 2, 8, 10};
        pack.idleSheet = SpriteSheet{writeSheet(folder, QStringLiteral("idle.png"), 3, 2), 3, 2, 5, 4};
    }
    return pack;
}

int cellAt(const CharacterPack& pack, CompanionPhase phase, std::optional<double> elapsed,
           std::optional<CompanionPhase> response = std::nullopt)
{
    return SpriteBuddy::choose(pack, {phase, response, elapsed}, std::nullopt).cell;
}

}  // namespace

class TestSpriteSlicing : public QObject {
    Q_OBJECT

private slots:
    void init() { ArtCache::clear(); }

    void framesAreCutByTheGridOnceEach()
    {
        QTemporaryDir folder;
        const CharacterPack pack = cellPack(folder);
        const int before = ArtCache::slicesMade();
        for (int index = 0; index < 40; ++index) {
            const QImage frame = ArtCache::frame(pack, *pack.walkSheet, index);
            QCOMPARE(frame.size(), cell);
            QCOMPARE(frame.pixelColor(0, 0).rgb(), cellColour(index % 8).rgb());
            QCOMPARE(frame.pixelColor(cell.width() - 1, cell.height() - 1).rgb(), cellColour(index % 8).rgb());
        }
        QCOMPARE(ArtCache::slicesMade() - before, 8);
        // Indices wrap around the frames in use, not around the whole grid.
        QCOMPARE(ArtCache::frame(pack, *pack.idleSheet, 5).pixelColor(0, 0).rgb(), cellColour(0).rgb());
        QCOMPARE(ArtCache::frame(pack, *pack.idleSheet, -1).pixelColor(0, 0).rgb(), cellColour(4).rgb());
    }

    // Companion after companion is shown (each sheet 2048 x 2048, 16 MiB decoded, cut into one
    // frame as large): what the cache keeps stays within its budget, and the companion on show
    // is still kept whole.
    void keptArtStaysWithinItsBudget()
    {
        QTemporaryDir folder;
        QImage sheet(2048, 2048, QImage::Format_ARGB32);
        QList<CharacterPack> packs;
        for (int index = 0; index < 6; ++index) {
            sheet.fill(cellColour(index));
            const QString name = QStringLiteral("sheet-%1.png").arg(index);
            QVERIFY(sheet.save(folder.filePath(name)));
            CharacterPack pack;
            pack.kind = QStringLiteral("sprite");
            pack.folder = folder.path();
            pack.walkSheet = SpriteSheet{name, 1, 1, 1, 8};
            packs.append(pack);
        }
        for (const CharacterPack& pack : std::as_const(packs)) {
            QCOMPARE(ArtCache::frame(pack, *pack.walkSheet, 0).size(), QSize(2048, 2048));
            QVERIFY2(ArtCache::residentKilobytes() <= ArtCache::budgetKilobytes,
                     qPrintable(QString::number(ArtCache::residentKilobytes())));
        }
        QVERIFY(ArtCache::residentKilobytes() >= 2 * 16 * 1024);
        const int slices = ArtCache::slicesMade();
        QCOMPARE(ArtCache::frame(packs.last(), *packs.last().walkSheet, 0).pixelColor(9, 9).rgb(), cellColour(5).rgb());
        QCOMPARE(ArtCache::slicesMade(), slices);
    }

    void aGridLargerThanThePictureGivesNoFrame()
    {
        QTemporaryDir folder;
        CharacterPack pack = cellPack(folder);
        pack.walkSheet->columns = 100;  // 40 pixels cannot hold 100 columns
        QVERIFY(ArtCache::frame(pack, *pack.walkSheet, 0).isNull());
        QVERIFY(ArtCache::slice(QImage(), *pack.walkSheet, 0).isNull());
    }

    void humanSpritesPickTheSheetOfThePhase()
    {
        QTemporaryDir folder;
        const CharacterPack pack = cellPack(folder);
        const auto sheet = [&](CompanionPhase phase, std::optional<double> elapsed) {
            return SpriteBuddy::choose(pack, {phase, std::nullopt, elapsed}, std::nullopt).sheet;
        };
        QCOMPARE(sheet(CompanionPhase::entering, 0.35), pack.walkSheet);
        QCOMPARE(cellAt(pack, CompanionPhase::entering, 0.35), 3);  // 10 frames a second
        QCOMPARE(sheet(CompanionPhase::asking, 0.8), pack.idleSheet);
        QCOMPARE(cellAt(pack, CompanionPhase::asking, 0.8), 3);  // 4 frames a second
        // No celebrate or sad sheet: the idle sheet stands in; a still walk is the standing pose.
        QCOMPARE(sheet(CompanionPhase::celebrating, 0.0), pack.idleSheet);
        QCOMPARE(sheet(CompanionPhase::declined, 0.0), pack.idleSheet);
        QCOMPARE(sheet(CompanionPhase::entering, std::nullopt), pack.idleSheet);
        QCOMPARE(cellAt(pack, CompanionPhase::entering, std::nullopt), 0);
        // A pack with celebrate and sad sheets of its own shows each in its phase.
        CharacterPack full = pack;
        full.celebrateSheet = SpriteSheet{writeSheet(folder, QStringLiteral("celebrate.png"), 2, 1), 2, 1, 2, 6};
        full.sadSheet = SpriteSheet{writeSheet(folder, QStringLiteral("sad.png"), 2, 1), 2, 1, 2, 3};
        QCOMPARE(SpriteBuddy::choose(full, {CompanionPhase::celebrating, std::nullopt, 0.0}, std::nullopt).sheet,
                 full.celebrateSheet);
        QCOMPARE(SpriteBuddy::choose(full, {CompanionPhase::declined, std::nullopt, 0.0}, std::nullopt).sheet,
                 full.sadSheet);
        // A fixed frame wins over the time.
        QCOMPARE(SpriteBuddy::choose(pack, {CompanionPhase::entering, std::nullopt, 0.35}, 9).cell, 1);
        // The sad walk drags its feet.
        QCOMPARE(cellAt(pack, CompanionPhase::leaving, 0.65, CompanionPhase::celebrating), 6);
        QVERIFY(cellAt(pack, CompanionPhase::leaving, 0.65, CompanionPhase::declined) < 6);
    }

    void bear24PosesFollowTheDocumentedRanges()
    {
        QTemporaryDir folder;
        const CharacterPack pack = cellPack(folder, true);
        // Walk 0-7 at 10 frames a second, ask 8-11 at 8, celebrate 12-17, sigh 18-23.
        const QList<std::tuple<CompanionPhase, double, int>> expected{
            {CompanionPhase::entering, 0.75, 7}, {CompanionPhase::entering, 0.8, 0},
            {CompanionPhase::asking, 0.0, 8},    {CompanionPhase::asking, 0.4, 11},
            {CompanionPhase::asking, 0.5, 8},    {CompanionPhase::celebrating, 0.7, 17},
            {CompanionPhase::declined, 0.0, 18}, {CompanionPhase::declined, 0.625, 23},
            {CompanionPhase::declined, 0.75, 18}};
        for (const auto& [phase, elapsed, index] : expected)
            QCOMPARE(cellAt(pack, phase, elapsed), index);

        // What is drawn is that cell, fitted to the frame.
        const QImage drawn = SpriteBuddy::render({60, 72}, pack, {CompanionPhase::celebrating, std::nullopt, 0.25});
        QCOMPARE(drawn.pixelColor(30, 40).rgb(), cellColour(14).rgb());
    }

    void theBundledSpriteBearHasAllItsPoses()
    {
        const CharacterPack zuv = RenderChecks::bundledPack(QStringLiteral("zuv"));
        QVERIFY(zuv.isBear());
        QCOMPARE(zuv.poseSheet->frameCount, 24);
        for (int index = 0; index < 24; ++index)
            QVERIFY(RenderChecks::isDrawn(ArtCache::frame(zuv, *zuv.poseSheet, index)));
    }
};

QTEST_MAIN(TestSpriteSlicing)
#include "test_sprite_slicing.moc"
