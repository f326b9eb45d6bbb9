#include "store/ProtectionSpan.h"

#include "model/Preferences.h"

#include <algorithm>

ProtectionSpan ProtectionSpan::starting(const QDateTime& now, std::optional<int> minutes)
{
    if (!minutes)
        return {std::nullopt, true};
    const int length = std::clamp(*minutes, PreferenceLimits::minFocusMinutes, PreferenceLimits::maxFocusMinutes);
    return {now.addSecs(qint64(length) * 60), false};
}

void ProtectionSpan::clearIfOver(const QDateTime& now)
{
    if (until && *until <= now)
        until.reset();
}
