#include "characters/BearBuddy.h"

#include "characters/PoseCache.h"

#include <QPainter>

BearBuddy::BearBuddy(const QString& kind, CompanionPhase phase, const QDateTime& phaseStarted,
                     std::optional<CompanionPhase> response, bool animate, std::optional<double> fixedTime,
                     QWidget* parent)
    : PhasedCompanion(phase, phaseStarted, response, animate, fixedTime, parent), kind_(kind)
{ }

BearLook BearBuddy::look(const QString& kind)
{
    return kind == QStringLiteral("vuzo") ? BearLook::vuzo() : BearLook::viru();
}

void BearBuddy::paint(QPainter& painter, const QRectF& rect, const QString& kind, const CompanionMoment& moment)
{
    const BearLook bear = look(kind);
    const BuddyPose pose = CompanionChoreography::framePose(moment);
    PoseCache::paint(painter, rect, kind, pose,
                     [&](QPainter& art, const QRectF& place) { BearArt::paint(art, place, bear, pose); });
}

QImage BearBuddy::render(const QSize& size, const QString& kind, const CompanionMoment& moment)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paint(painter, QRectF(QPointF(0, 0), QSizeF(size)), kind, moment);
    return image;
}

void BearBuddy::paintPicture(QPainter& painter, const QRectF& rect) const
{
    paint(painter, rect, kind_, moment());
}
