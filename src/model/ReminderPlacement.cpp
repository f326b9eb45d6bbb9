#include "model/ReminderPlacement.h"

#include <algorithm>
#include <cmath>

namespace {

// A frame too small to be real still gets a visible panel rather than a zero or NaN scale.
constexpr double smallestScale = 0.25;

constexpr double defaultFootInset = 20.0;
constexpr double humanSpriteWaterInset = 44.0;
constexpr double bearWaterInset = 32.0;

}  // namespace

double ReminderPlacement::footInset(const CharacterPack& pack, ReminderKind kind)
{
    if (kind != ReminderKind::water)
        return defaultFootInset;
    if (pack.isHumanSprite())
        return humanSpriteWaterInset;
    if (pack.isBear())
        return bearWaterInset;
    return defaultFootInset;
}

ReminderPlacement::Layout ReminderPlacement::layout(const QRectF& visibleFrame, double footInset)
{
    const double inset = std::isfinite(footInset) ? std::clamp(footInset, 0.0, canvasHeight / 2) : defaultFootInset;
    const double standingHeight = canvasHeight - inset;
    double scale = std::min({1.0, visibleFrame.width() / canvasWidth, visibleFrame.height() / standingHeight});
    if (!(scale >= smallestScale))
        scale = smallestScale;

    const double width = canvasWidth * scale;
    const double height = canvasHeight * scale;
    const double right = visibleFrame.x() + visibleFrame.width();
    const double bottom = visibleFrame.y() + visibleFrame.height();
    return {QRectF(right - width, bottom - standingHeight * scale, width, height), scale};
}
