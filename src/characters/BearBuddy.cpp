#include "characters/BearBuddy.h"

#include "characters/PhaseClock.h"
#include "characters/PoseCache.h"

#include <QPainter>

BearBuddy::BearBuddy(const QString& kind, CompanionPhase phase, const QDateTime& phaseStarted,
                     std::optional<CompanionPhase> response, bool animate, std::optional<double> fixedTime,
                     QWidget* parent)
    : CompanionView(animate, parent),
      kind_(kind),
      phase_(phase),
      phaseStarted_(phaseStarted),
      response_(response),
      fixedTime_(fixedTime)
{ }

void BearBuddy::setKind(const QString& kind)
{
    kind_ = kind;
    update();
}

void BearBuddy::setPhase(CompanionPhase phase, const QDateTime& phaseStarted, std::optional<CompanionPhase> response)
{
    phase_ = phase;
    phaseStarted_ = phaseStarted;
    response_ = response;
    update();
}

void BearBuddy::setFixedTime(std::optional<double> seconds)
{
    fixedTime_ = seconds;
    refreshTimer();
    update();
}

CompanionMoment BearBuddy::moment() const
{
    return {phase_, response_, PhaseClock::elapsed(isMoving(), fixedTime_, phaseStarted_)};
}

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
