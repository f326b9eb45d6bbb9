#include "model/Personality.h"

namespace {

struct PersonalityInfo {
    Personality personality;
    const char* raw;
    const char* title;
    const char* detail;
    double retrySeconds;
};

constexpr std::array<PersonalityInfo, 3> personalityTable{{
    {Personality::sweet, "sweet", "Sweetheart", "A pause, just for you.", 600},
    {Personality::cheeky, "cheeky", "A little sass", "Care, with an eye roll.", 300},
    {Personality::menace, "menace", "Tiny menace", "One agenda. Water.", 120},
}};

const PersonalityInfo& infoFor(Personality personality)
{
    for (const auto& info : personalityTable) {
        if (info.personality == personality)
            return info;
    }
    return personalityTable[1];
}

}  // namespace

QString rawValue(Personality personality)
{
    return QString::fromLatin1(infoFor(personality).raw);
}

std::optional<Personality> personalityFromRaw(const QString& raw)
{
    for (const auto& info : personalityTable) {
        if (raw == QLatin1String(info.raw))
            return info.personality;
    }
    return std::nullopt;
}

QString title(Personality personality)
{
    return QString::fromUtf8(infoFor(personality).title);
}

QString detail(Personality personality)
{
    return QString::fromUtf8(infoFor(personality).detail);
}

double retrySeconds(Personality personality)
{
    return infoFor(personality).retrySeconds;
}
