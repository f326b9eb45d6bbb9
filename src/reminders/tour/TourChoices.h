#pragma once

#include "model/CharacterPack.h"
#include "model/Preferences.h"

#include <QList>
#include <QString>
#include <optional>

// What the user picks during the first-run tour. The choices stay here, and nowhere else,
// until the tour is completed; skipping drops them.
struct TourChoices {
    QString companionID;
    int interval = 45;
    bool quiet = true;
    int focusMinutes = 50;
    bool eyeRest = false;
    bool movement = false;
    QString recipient;
    bool useCharacterNicknames = false;

    // The choices as the stored preferences stand now. With pet names on, the name field
    // starts empty, so the stored name only comes back when the user types it again.
    static TourChoices seededFrom(const Preferences& preferences);

    // A change of the name field: at most 80 characters are kept, and the pet-name switch
    // follows whether anything but white space is left.
    void typeRecipient(const QString& text);

    // The name the tour hands over: none when pet names are on and the field holds nothing
    // but white space, so the stored name is left alone; otherwise the field as typed.
    std::optional<QString> recipientArgument() const;

    // How the companion `buddy` will address the user with these choices.
    QString address(const Preferences& stored, const CharacterPack& buddy) const;
};

// The companion the tour shows: the pack the choices name, else the store's companion.
CharacterPack tourBuddy(const QList<CharacterPack>& packs, const QString& companionID, const CharacterPack& companion);
