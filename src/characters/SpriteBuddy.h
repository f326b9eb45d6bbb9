#pragma once

#include "characters/PhasedCompanion.h"
#include "model/CharacterPack.h"

#include <QImage>

// A companion drawn from its pack's sprite sheets.
//
// A human-like sprite pack has one sheet per sequence: walkSheet (entering and leaving),
// idleSheet (asking), celebrateSheet and sadSheet (declined, and the walk off after it). A
// missing sheet falls back to the idle sheet, then to the walk sheet.
//
// A pack with poseLayout "bear24" keeps 24 poses in its poseSheet, in this order:
//   0-7   walk cycle          8-11  idle (breathing, a blink)
//   12-17 celebrate (a hop)   18-23 sad (a sigh)
//
// The frame follows the time into the phase (`elapsed`, else the clock since `phaseStarted`)
// at the sheet's frames per second, except that a bear's walk cycle always runs at the
// companions' common 10 frames a second; the walk off after a "Not yet" drags at 0.6 of that
// speed. `fixedFrame`, when given, picks the frame within the phase's sequence instead. With
// animation off or reduced motion the still frame is the first frame of the standing (idle),
// celebrating or sad sequence. The sprite never mirrors itself: the host does that.
class SpriteBuddy : public PhasedCompanion {
    Q_OBJECT
public:
    struct PoseRange {
        int first;
        int count;
    };
    static constexpr PoseRange bearWalk{0, 8};
    static constexpr PoseRange bearIdle{8, 4};
    static constexpr PoseRange bearCelebrate{12, 6};
    static constexpr PoseRange bearSad{18, 6};

    // Which cell of which sheet a moment shows; no sheet when the pack has none to offer.
    struct Choice {
        std::optional<SpriteSheet> sheet;
        int cell = 0;
        bool operator==(const Choice&) const = default;
    };

    SpriteBuddy(const CharacterPack& pack, CompanionPhase phase, const QDateTime& phaseStarted,
                std::optional<CompanionPhase> response = std::nullopt, bool animated = true,
                std::optional<int> fixedFrame = std::nullopt, std::optional<double> elapsed = std::nullopt,
                QWidget* parent = nullptr);

    void setPack(const CharacterPack& pack);

    Choice choice() const { return choose(pack_, moment(), fixedFrame_); }

    static Choice choose(const CharacterPack& pack, const CompanionMoment& moment, std::optional<int> fixedFrame);
    // Draws the chosen frame fitted into `rect`, standing on its bottom edge; a missing or
    // undecodable sheet shows the pack's artwork, else a tinted symbol.
    static void paint(QPainter& painter, const QRectF& rect, const CharacterPack& pack, const CompanionMoment& moment,
                      std::optional<int> fixedFrame = std::nullopt);
    static QImage render(const QSize& size, const CharacterPack& pack, const CompanionMoment& moment,
                         std::optional<int> fixedFrame = std::nullopt);
    // Draws a picture fitted into `rect`, centred across and standing on the bottom edge.
    static void paintFitted(QPainter& painter, const QRectF& rect, const QImage& picture);

    void paintPicture(QPainter& painter, const QRectF& rect) const override;

    QSize sizeHint() const override;

protected:
    bool followsClock() const override { return PhasedCompanion::followsClock() && !fixedFrame_; }

private:
    CharacterPack pack_;
    std::optional<int> fixedFrame_;
};
