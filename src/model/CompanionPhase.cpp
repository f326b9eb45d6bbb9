#include "model/CompanionPhase.h"

#include <array>
#include <utility>

namespace {

constexpr std::array phaseNames{
    std::pair{CompanionPhase::hidden, "hidden"},     std::pair{CompanionPhase::entering, "entering"},
    std::pair{CompanionPhase::asking, "asking"},     std::pair{CompanionPhase::celebrating, "celebrating"},
    std::pair{CompanionPhase::declined, "declined"}, std::pair{CompanionPhase::leaving, "leaving"},
};

}  // namespace

QString rawValue(CompanionPhase phase)
{
    for (const auto& [candidate, name] : phaseNames) {
        if (candidate == phase)
            return QString::fromLatin1(name);
    }
    return {};
}
