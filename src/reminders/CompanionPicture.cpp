#include "reminders/CompanionPicture.h"

namespace {

std::optional<QString> movieFor(const CharacterPack& pack, std::optional<CompanionPhase> response)
{
    if (response == CompanionPhase::celebrating)
        return pack.asset(pack.success);
    if (response == CompanionPhase::declined)
        return pack.asset(pack.disappointed);
    return pack.asset(pack.entry);
}

}  // namespace

CompanionPicture CompanionPicture::choose(const CharacterPack& pack, bool reminderVisible,
                                          std::optional<CompanionPhase> response)
{
    if (pack.isBear())
        return {pack.kind == QStringLiteral("sprite") ? Kind::spriteBear : Kind::codeBear, {250, 290}, {}};
    if (pack.isHumanSprite())
        return {Kind::humanSprite, {280, 325}, {}};
    if (reminderVisible) {
        if (const auto movie = movieFor(pack, response))
            return {Kind::movie, {370, 218}, *movie};
    }
    return {Kind::buddy, {210, 218}, {}};
}

int CompanionPicture::bubbleLift(const CharacterPack& pack)
{
    if (pack.isHumanSprite())
        return 320;
    if (pack.isBear())
        return 285;
    return 213;
}
