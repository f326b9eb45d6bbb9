#include "characters/SpriteBuddy.h"

#include "characters/ArtCache.h"
#include "characters/MissingArt.h"
#include "model/CompanionMotion.h"
#include "model/EnumTable.h"
#include "ui/Palette.h"

#include <QPainter>
#include <array>
#include <cmath>

namespace {

enum class Sequence { walk, idle, celebrate, sad };

Sequence sequenceFor(const CompanionMoment& moment)
{
    const bool afterDecline = moment.response == CompanionPhase::declined;
    switch (moment.phase) {
    case CompanionPhase::celebrating:
        return Sequence::celebrate;
    case CompanionPhase::declined:
        return Sequence::sad;
    case CompanionPhase::entering:
        return moment.elapsed ? Sequence::walk : Sequence::idle;
    case CompanionPhase::leaving:
        if (moment.elapsed)
            return Sequence::walk;
        return afterDecline ? Sequence::sad : Sequence::idle;
    case CompanionPhase::hidden:
    case CompanionPhase::asking:
        break;
    }
    return Sequence::idle;
}

// A bear's pose sheet walks at the companions' common pace; a human sheet at its own speed.
constexpr double bearWalkFramesPerSecond = 10.0;

double framesPerSecond(const SpriteSheet& sheet, const CompanionMoment& moment, Sequence sequence, bool bear)
{
    const double own = sheet.framesPerSecond > 0 ? sheet.framesPerSecond : 8.0;
    if (sequence != Sequence::walk)
        return own;
    const double fps = bear ? bearWalkFramesPerSecond : own;
    return fps * CompanionChoreography::walkCycleSeconds(CompanionPhase::entering, std::nullopt)
           / CompanionChoreography::walkCycleSeconds(moment.phase, moment.response);
}

int frameInSequence(const SpriteSheet& sheet, const CompanionMoment& moment, Sequence sequence,
                    std::optional<int> fixedFrame, bool bear)
{
    if (fixedFrame)
        return *fixedFrame;
    if (!moment.elapsed)
        return 0;
    const double fps = framesPerSecond(sheet, moment, sequence, bear);
    if (sequence == Sequence::walk)
        return CompanionMotion::walkFrame(*moment.elapsed, fps);
    return int(std::floor(*moment.elapsed * fps));
}

int wrap(int value, int count)
{
    return ((value % count) + count) % count;
}

// What each sequence shows: its poses on a bear's sheet, and a human pack's own sheet for it.
struct SequenceArt {
    Sequence value;
    SpriteBuddy::PoseRange bearRange;
    std::optional<SpriteSheet> CharacterPack::*humanSheet;
};

constexpr std::array<SequenceArt, 4> sequenceArt{{
    {Sequence::walk, SpriteBuddy::bearWalk, &CharacterPack::walkSheet},
    {Sequence::idle, SpriteBuddy::bearIdle, &CharacterPack::idleSheet},
    {Sequence::celebrate, SpriteBuddy::bearCelebrate, &CharacterPack::celebrateSheet},
    {Sequence::sad, SpriteBuddy::bearSad, &CharacterPack::sadSheet},
}};

SpriteBuddy::PoseRange bearRange(Sequence sequence)
{
    return EnumTable::rowOf(sequenceArt, sequence).bearRange;
}

// A sequence the pack draws no sheet for shows its idle sheet, else its walk.
std::optional<SpriteSheet> humanSheet(const CharacterPack& pack, Sequence sequence)
{
    if (const auto& own = pack.*EnumTable::rowOf(sequenceArt, sequence).humanSheet)
        return own;
    return pack.idleSheet ? pack.idleSheet : pack.walkSheet;
}

}  // namespace

SpriteBuddy::SpriteBuddy(const CharacterPack& pack, CompanionPhase phase, const QDateTime& phaseStarted,
                         std::optional<CompanionPhase> response, bool animated, std::optional<int> fixedFrame,
                         std::optional<double> elapsed, QWidget* parent)
    : PhasedCompanion(phase, phaseStarted, response, animated, elapsed, parent), pack_(pack), fixedFrame_(fixedFrame)
{ }

void SpriteBuddy::setPack(const CharacterPack& pack)
{
    pack_ = pack;
    update();
}

SpriteBuddy::Choice SpriteBuddy::choose(const CharacterPack& pack, const CompanionMoment& moment,
                                        std::optional<int> fixedFrame)
{
    const Sequence sequence = sequenceFor(moment);
    if (pack.poseLayout == QStringLiteral("bear24")) {
        if (!pack.poseSheet)
            return {};
        const PoseRange range = bearRange(sequence);
        const int frame = frameInSequence(*pack.poseSheet, moment, sequence, fixedFrame, true);
        return {pack.poseSheet, range.first + wrap(frame, range.count)};
    }
    const auto sheet = humanSheet(pack, sequence);
    if (!sheet)
        return {};
    const int count = std::clamp(sheet->frameCount, 1, std::max(1, sheet->columns * sheet->rows));
    return {sheet, wrap(frameInSequence(*sheet, moment, sequence, fixedFrame, false), count)};
}

void SpriteBuddy::paintFitted(QPainter& painter, const QRectF& rect, const QImage& picture)
{
    const qreal ratio = painter.device()->devicePixelRatioF();
    const QSize bounds = rect.size().toSize() * ratio;
    const QImage fitted = ArtCache::fitted(picture, bounds);
    const QSizeF shown = QSizeF(fitted.size()) / ratio;
    // On whole device pixels, so an unscaled painter copies the picture instead of resampling it.
    const auto whole = [ratio](qreal value) { return std::round(value * ratio) / ratio; };
    const QRectF target(whole(rect.center().x() - shown.width() / 2), whole(rect.bottom() - shown.height()),
                        shown.width(), shown.height());
    painter.save();
    // Smoothing is only worth its cost where the picture is resampled.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, painter.deviceTransform().type() > QTransform::TxTranslate);
    painter.drawImage(target, fitted);
    painter.restore();
}

void SpriteBuddy::paint(QPainter& painter, const QRectF& rect, const CharacterPack& pack, const CompanionMoment& moment,
                        std::optional<int> fixedFrame)
{
    const Choice chosen = choose(pack, moment, fixedFrame);
    QImage picture = chosen.sheet ? ArtCache::frame(pack, *chosen.sheet, chosen.cell) : QImage();
    if (picture.isNull() && moment.phase == CompanionPhase::celebrating)
        picture = ArtCache::packImage(pack, pack.happyArtwork);
    if (picture.isNull())
        picture = ArtCache::packImage(pack, pack.artwork);
    if (picture.isNull()) {
        MissingArt::paint(painter, rect, Color(pack.tint), QStringLiteral("face.smiling"));
        return;
    }
    paintFitted(painter, rect, picture);
}

QImage SpriteBuddy::render(const QSize& size, const CharacterPack& pack, const CompanionMoment& moment,
                           std::optional<int> fixedFrame)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paint(painter, QRectF(QPointF(0, 0), QSizeF(size)), pack, moment, fixedFrame);
    return image;
}

QSize SpriteBuddy::sizeHint() const
{
    return pack_.poseLayout == QStringLiteral("bear24") ? QSize(250, 290) : QSize(280, 325);
}

void SpriteBuddy::paintPicture(QPainter& painter, const QRectF& rect) const
{
    paint(painter, rect, pack_, moment(), fixedFrame_);
}
