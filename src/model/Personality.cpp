#include "model/Personality.h"

#include "model/EnumTable.h"

namespace {

struct PersonalityInfo {
    Personality value;
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

}  // namespace

QString rawValue(Personality personality)
{
    return EnumTable::rawOf(personalityTable, personality);
}

std::optional<Personality> personalityFromRaw(QAnyStringView raw)
{
    return EnumTable::fromRaw<Personality>(personalityTable, raw);
}

QString title(Personality personality)
{
    return QString::fromUtf8(EnumTable::rowOf(personalityTable, personality).title);
}

QString detail(Personality personality)
{
    return QString::fromUtf8(EnumTable::rowOf(personalityTable, personality).detail);
}

double retrySeconds(Personality personality)
{
    return EnumTable::rowOf(personalityTable, personality).retrySeconds;
}
