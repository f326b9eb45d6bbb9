#include "model/ReminderKind.h"

namespace {

struct KindInfo {
    ReminderKind kind;
    const char* raw;
    const char* title;
    const char* instruction;
};

constexpr std::array<KindInfo, 3> kindTable{{
    {ReminderKind::water, "water", "Water break", "Sip a glass of water."},
    {ReminderKind::eyeRest, "eyeRest", "Rest your eyes", "Look at something far away and let your eyes soften."},
    {ReminderKind::movement, "movement", "Time to move", "Stand up, stretch, and walk a few steps."},
}};

const KindInfo& infoFor(ReminderKind kind)
{
    for (const auto& info : kindTable) {
        if (info.kind == kind)
            return info;
    }
    return kindTable[0];
}

}  // namespace

QString rawValue(ReminderKind kind)
{
    return QString::fromLatin1(infoFor(kind).raw);
}

std::optional<ReminderKind> reminderKindFromRaw(const QString& raw)
{
    for (const auto& info : kindTable) {
        if (raw == QLatin1String(info.raw))
            return info.kind;
    }
    return std::nullopt;
}

QString title(ReminderKind kind)
{
    return QString::fromUtf8(infoFor(kind).title);
}

QString instruction(ReminderKind kind)
{
    return QString::fromUtf8(infoFor(kind).instruction);
}
