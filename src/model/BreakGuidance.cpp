#include "model/BreakGuidance.h"

#include "model/Counted.h"

#include <algorithm>
#include <array>

QString BreakGuidance::instruction(ReminderKind kind, const BreakPreferences& breaks)
{
    switch (kind) {
    case ReminderKind::eyeRest:
        return QStringLiteral("Look at something far away and let your eyes soften for %1.")
            .arg(countedSeconds(breaks.eyeDurationSeconds));
    case ReminderKind::movement:
        return QStringLiteral("Stand up, stretch, and walk a few steps for %1.")
            .arg(countedMinutes(breaks.movementDurationMinutes));
    case ReminderKind::water:
        break;
    }
    return QStringLiteral("Sip a glass of water, slowly.");
}

int BreakGuidance::stickerFrame(ReminderKind kind, int variant)
{
    static constexpr std::array eyeFrames{0, 1};
    static constexpr std::array otherFrames{2, 3, 4, 5};
    const auto index = static_cast<std::size_t>(std::max(variant, 0));
    if (kind == ReminderKind::eyeRest)
        return eyeFrames[index % eyeFrames.size()];
    return otherFrames[index % otherFrames.size()];
}
