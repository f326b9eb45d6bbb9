#include "model/ReminderKind.h"

#include "model/EnumTable.h"

namespace {

struct KindInfo {
    ReminderKind value;
    const char* raw;
    const char* title;
    const char* instruction;
};

constexpr std::array<KindInfo, 3> kindTable{{
    {ReminderKind::water, "water", "Water break", "Sip a glass of water."},
    {ReminderKind::eyeRest, "eyeRest", "Rest your eyes", "Look at something far away and let your eyes soften."},
    {ReminderKind::movement, "movement", "Time to move", "Stand up, stretch, and walk a few steps."},
}};

}  // namespace

QString rawValue(ReminderKind kind)
{
    return EnumTable::rawOf(kindTable, kind);
}

std::optional<ReminderKind> reminderKindFromRaw(QAnyStringView raw)
{
    return EnumTable::fromRaw<ReminderKind>(kindTable, raw);
}

QString title(ReminderKind kind)
{
    return QString::fromUtf8(EnumTable::rowOf(kindTable, kind).title);
}

QString instruction(ReminderKind kind)
{
    return QString::fromUtf8(EnumTable::rowOf(kindTable, kind).instruction);
}
