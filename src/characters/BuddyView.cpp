#include "characters/BuddyView.h"

#include "characters/ArtCache.h"
#include "characters/BearBuddy.h"
#include "characters/DropArt.h"
#include "characters/MissingArt.h"
#include "characters/PoseCache.h"
#include "characters/SpriteBuddy.h"
#include "characters/SproutArt.h"
#include "ui/Palette.h"

#include <QPainter>
#include <cmath>

namespace {

// The general picture loops every 8 s, so its wave hello comes back now and then.
constexpr double loopSeconds = 8.0;

CompanionMoment momentFor(bool happy, std::optional<double> seconds)
{
    return {happy ? CompanionPhase::celebrating : CompanionPhase::asking, std::nullopt, seconds};
}

void paintStill(QPainter& painter, const QRectF& rect, const CharacterPack& pack, bool happy)
{
    QImage picture = happy ? ArtCache::packImage(pack, pack.happyArtwork) : QImage();
    if (picture.isNull())
        picture = ArtCache::packImage(pack, pack.artwork);
    if (picture.isNull()) {
        MissingArt::paint(painter, rect, Color(pack.tint), QStringLiteral("face.smiling"));
        return;
    }
    SpriteBuddy::paintFitted(painter, rect, picture);
}

}  // namespace

BuddyView::BuddyView(const CharacterPack& pack, bool happy, bool animate, QWidget* parent)
    : CompanionView(animate, parent), pack_(pack), happy_(happy)
{
    clock_.start();
}

void BuddyView::setPack(const CharacterPack& pack)
{
    pack_ = pack;
    update();
}

void BuddyView::setHappy(bool happy)
{
    happy_ = happy;
    update();
}

std::optional<double> BuddyView::seconds() const
{
    if (!isMoving() || !followsClock())
        return std::nullopt;
    return std::fmod(clock_.elapsed() / 1000.0, loopSeconds);
}

CompanionMoment BuddyView::moment() const
{
    return momentFor(happy_, seconds());
}

bool BuddyView::isCodeDrawn(const QString& kind)
{
    return kind == QStringLiteral("drop") || kind == QStringLiteral("sprout") || kind == QStringLiteral("viru")
           || kind == QStringLiteral("vuzo");
}

bool BuddyView::followsClock() const
{
    return isCodeDrawn(pack_.kind) || pack_.kind == QStringLiteral("sprite");
}

void BuddyView::paint(QPainter& painter, const QRectF& rect, const CharacterPack& pack, bool happy,
                      std::optional<double> seconds)
{
    const CompanionMoment moment = momentFor(happy, seconds);
    if (pack.kind == QStringLiteral("drop") || pack.kind == QStringLiteral("sprout")) {
        const BuddyPose pose = CompanionChoreography::framePose(moment);
        const auto drawArt = pack.kind == QStringLiteral("drop") ? DropArt::paint : SproutArt::paint;
        PoseCache::paint(painter, rect, pack.kind, pose,
                         [&](QPainter& art, const QRectF& place) { drawArt(art, place, pose); });
    } else if (pack.kind == QStringLiteral("viru") || pack.kind == QStringLiteral("vuzo"))
        BearBuddy::paint(painter, rect, pack.kind, moment);
    else if (pack.kind == QStringLiteral("sprite"))
        SpriteBuddy::paint(painter, rect, pack, moment);
    else
        paintStill(painter, rect, pack, happy);
}

QImage BuddyView::render(const QSize& size, const CharacterPack& pack, bool happy, std::optional<double> seconds)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paint(painter, QRectF(QPointF(0, 0), QSizeF(size)), pack, happy, seconds);
    return image;
}

void BuddyView::paintPicture(QPainter& painter, const QRectF& rect) const
{
    paint(painter, rect, pack_, happy_, seconds());
}
