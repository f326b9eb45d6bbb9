#include "ArtCache.h"
#include "RenderChecks.h"
#include "SpriteBuddy.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr QSize cell{10, 12};

QColor cellColour(int index) { return QColor::fromHsv((index * 37) % 360, 200, 230); }

// A sheet of `columns` x `rows` cells, each filled with its own colour.
QString writeSheet(const QTemporaryDir& folder, const QString& name, int columns, int rows) {
    QImage sheet(cell.width() * columns, cell.height() * rows, QImage::Format_ARGB32);
    for (int index = 0; index < columns * rows; ++index) {
        const QRect area(QPoint((index % columns) * cell.width(), (index / columns) * cell.height()), cell);
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                sheet.setPixelColor(x, y, cellColour(index));
    }
    const QString path = folder.filePath(name);
    sheet.save(path);
    return name;
}

CharacterPack humanPack(const QTemporaryDir& folder) {
    CharacterPack pack;
    pack.id = QStringLiteral("cells");
    pack.name = QStringLiteral("Cells");
    pack.kind = QStringLiteral("sprite");
    pack.folder = folder.path();
    pack.walkSheet = SpriteSheet{writeSheet(folder, QStringLiteral("walk.png"), 4, 2), 4, 2, 8, 10};
    pack.idleSheet = SpriteSheet{writeSheet(folder, QStringLiteral("idle.png"), 3, 2), 3, 2, 5, 4};
    return pack;
}

CharacterPack bearPack(const QTemporaryDir& folder) {
    CharacterPack pack;
    pack.id = QStringLiteral("cellbear");
    pack.name = QStringLiteral("Cell bear");
    pack.kind = QStringLiteral("sprite");
    pack.poseLayout = QStringLiteral("bear24");
    pack.folder = folder.path();
    pack.poseSheet = SpriteSheet{writeSheet(folder, QStringLiteral("poses.png"), 6, 4), 6, 4, 24, 8};
    return pack;
}

} // namespace

class TestSpriteSlicing : public QObject {
    Q_OBJECT

private slots:
    void init() { ArtCache::clear(); }

    void framesAreCutByTheGridLeftToRightTopToBottom() {
        QTemporaryDir folder;
        const CharacterPack pack = humanPack(folder);
        for (int index = 0; index < 8; ++index) {
            const QImage frame = ArtCache::frame(pack, *pack.walkSheet, index);
            QCOMPARE(frame.size(), cell);
            QCOMPARE(frame.pixelColor(0, 0).rgb(), cellColour(index).rgb());
            QCOMPARE(frame.pixelColor(cell.width() - 1, cell.height() - 1).rgb(), cellColour(index).rgb());
        }
        // Indices wrap around the frames in use, not around the whole grid.
        QCOMPARE(ArtCache::frame(pack, *pack.idleSheet, 5).pixelColor(0, 0).rgb(), cellColour(0).rgb());
        QCOMPARE(ArtCache::frame(pack, *pack.idleSheet, -1).pixelColor(0, 0).rgb(), cellColour(4).rgb());
    }

    void eachFrameIsSlicedOnce() {
        QTemporaryDir folder;
        const CharacterPack pack = humanPack(folder);
        const int before = ArtCache::slicesMade();
        for (int round = 0; round < 5; ++round)
            for (int index = 0; index < 8; ++index)
                ArtCache::frame(pack, *pack.walkSheet, index + round * 8);
        QCOMPARE(ArtCache::slicesMade() - before, 8);
    }

    void aGridLargerThanThePictureGivesNoFrame() {
        QTemporaryDir folder;
        CharacterPack pack = humanPack(folder);
        pack.walkSheet->columns = 100;  // 40 pixels cannot hold 100 columns
        QVERIFY(ArtCache::frame(pack, *pack.walkSheet, 0).isNull());
        QVERIFY(ArtCache::slice(QImage(), *pack.walkSheet, 0).isNull());
    }

    void humanSpritesPickTheSheetOfThePhase() {
        QTemporaryDir folder;
        const CharacterPack pack = humanPack(folder);
        const auto choice = [&](CompanionPhase phase, std::optional<double> elapsed,
                                std::optional<CompanionPhase> response = std::nullopt) {
            return SpriteBuddy::choose(pack, {phase, response, elapsed}, std::nullopt);
        };
        QCOMPARE(choice(CompanionPhase::entering, 0.35).sheet, pack.walkSheet);
        QCOMPARE(choice(CompanionPhase::entering, 0.35).cell, 3);  // 10 frames a second
        QCOMPARE(choice(CompanionPhase::asking, 0.8).sheet, pack.idleSheet);
        QCOMPARE(choice(CompanionPhase::asking, 0.8).cell, 3);  // 4 frames a second
        // No celebrate or sad sheet: the idle sheet stands in.
        QCOMPARE(choice(CompanionPhase::celebrating, 0.0).sheet, pack.idleSheet);
        QCOMPARE(choice(CompanionPhase::declined, 0.0).sheet, pack.idleSheet);
        // A still walk is the standing pose.
        QCOMPARE(choice(CompanionPhase::entering, std::nullopt).sheet, pack.idleSheet);
        QCOMPARE(choice(CompanionPhase::entering, std::nullopt).cell, 0);
        // A fixed frame wins over the time.
        QCOMPARE(SpriteBuddy::choose(pack, {CompanionPhase::entering, std::nullopt, 0.35}, 6).cell, 6);
        QCOMPARE(SpriteBuddy::choose(pack, {CompanionPhase::entering, std::nullopt, 0.35}, 9).cell, 1);
    }

    void theSadWalkDragsItsFeet() {
        QTemporaryDir folder;
        const CharacterPack pack = humanPack(folder);
        const auto cell = [&](std::optional<CompanionPhase> response) {
            return SpriteBuddy::choose(pack, {CompanionPhase::leaving, response, 0.65}, std::nullopt).cell;
        };
        QCOMPARE(cell(CompanionPhase::celebrating), 6);
        QVERIFY(cell(CompanionPhase::declined) < 6);
    }

    void bear24PosesFollowTheDocumentedRanges() {
        QTemporaryDir folder;
        const CharacterPack pack = bearPack(folder);
        const auto cellAt = [&](CompanionPhase phase, double elapsed) {
            return SpriteBuddy::choose(pack, {phase, std::nullopt, elapsed}, std::nullopt).cell;
        };
        QCOMPARE(cellAt(CompanionPhase::entering, 0.0), 0);
        QCOMPARE(cellAt(CompanionPhase::entering, 0.75), 7);  // the walk runs at 10 frames a second
        QCOMPARE(cellAt(CompanionPhase::entering, 0.8), 0);
        QCOMPARE(cellAt(CompanionPhase::asking, 0.0), 8);
        QCOMPARE(cellAt(CompanionPhase::asking, 0.4), 11);    // 8 frames a second
        QCOMPARE(cellAt(CompanionPhase::asking, 0.5), 8);
        QCOMPARE(cellAt(CompanionPhase::celebrating, 0.0), 12);
        QCOMPARE(cellAt(CompanionPhase::celebrating, 0.7), 17);
        QCOMPARE(cellAt(CompanionPhase::declined, 0.0), 18);
        QCOMPARE(cellAt(CompanionPhase::declined, 0.75), 18 + 0);
        QCOMPARE(cellAt(CompanionPhase::declined, 0.625), 23);

        // What is drawn is that cell, fitted to the frame.
        const QImage drawn = SpriteBuddy::render({60, 72}, pack, {CompanionPhase::celebrating, std::nullopt, 0.25});
        QCOMPARE(drawn.pixelColor(30, 40).rgb(), cellColour(14).rgb());
    }

    void theBundledSpriteBearHasAllItsPoses() {
        const CharacterPack zuv = RenderChecks::bundledPack(QStringLiteral("zuv"));
        QVERIFY(zuv.isBear());
        QCOMPARE(zuv.poseSheet->frameCount, 24);
        for (int index = 0; index < 24; ++index)
            QVERIFY(RenderChecks::isDrawn(ArtCache::frame(zuv, *zuv.poseSheet, index)));
    }
};

QTEST_MAIN(TestSpriteSlicing)
#include "test_sprite_slicing.moc"
