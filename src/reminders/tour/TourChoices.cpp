#include "reminders/tour/TourChoices.h"

#include "model/CompanionVoice.h"

TourChoices TourChoices::seededFrom(const Preferences& preferences)
{
    TourChoices choices;
    choices.companionID = preferences.companionID;
    choices.interval = preferences.intervalMinutes;
    choices.quiet = preferences.quietEnabled;
    choices.focusMinutes = preferences.focusMinutes;
    choices.eyeRest = preferences.breaks.eyeEnabled;
    choices.movement = preferences.breaks.movementEnabled;
    choices.recipient = preferences.useCharacterNicknames ? QString() : preferences.recipient;
    choices.useCharacterNicknames = preferences.useCharacterNicknames;
    return choices;
}

void TourChoices::typeRecipient(const QString& text)
{
    recipient = firstCharacters(text, PreferenceLimits::maxRecipientLength);
    useCharacterNicknames = recipient.trimmed().isEmpty();
}

std::optional<QString> TourChoices::recipientArgument() const
{
    if (useCharacterNicknames && recipient.trimmed().isEmpty())
        return std::nullopt;
    return recipient;
}

QString TourChoices::address(const Preferences& stored, const CharacterPack& buddy) const
{
    Preferences chosen = stored;
    chosen.recipient = recipient;
    chosen.useCharacterNicknames = useCharacterNicknames;
    return CompanionVoice(buddy).address(chosen);
}

CharacterPack tourBuddy(const QList<CharacterPack>& packs, const QString& companionID, const CharacterPack& companion)
{
    for (const CharacterPack& pack : packs) {
        if (pack.id == companionID)
            return pack;
    }
    return companion;
}
