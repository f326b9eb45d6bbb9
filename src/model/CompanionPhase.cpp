#include "model/CompanionPhase.h"

#include "model/EnumTable.h"

#include <array>

namespace {

constexpr std::array<EnumTable::Word<CompanionPhase>, 6> phaseNames{{
    {CompanionPhase::hidden, "hidden"},
    {CompanionPhase::entering, "entering"},
    {CompanionPhase::asking, "asking"},
    {CompanionPhase::celebrating, "celebrating"},
    {CompanionPhase::declined, "declined"},
    {CompanionPhase::leaving, "leaving"},
}};

}  // namespace

QString rawValue(CompanionPhase phase)
{
    return EnumTable::rawOf(phaseNames, phase);
}
