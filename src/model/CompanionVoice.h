#pragma once

#include "model/CharacterPack.h"
#include "model/Preferences.h"
#include "model/ReminderKind.h"

#include <QString>
#include <optional>

// How a companion talks. Six characters have voices of their own, each tied to one pack
// identifier; every other pack speaks with the warm custom voice.
class CompanionVoice {
public:
    enum class Character { pemmy, quelly, viru, vuzo, zoze, zuv, custom };

    explicit CompanionVoice(const CharacterPack& pack);

    Character character() const { return character_; }
    // The pet name this voice gives the user; none for the custom voice.
    std::optional<QString> petName() const;

    QString address(const Preferences& preferences) const;
    // stage 0, 1 or 2 (values outside are clamped into that range).
    QString waterPrompt(const Preferences& preferences, int stage) const;
    QString waterResponse(const Preferences& preferences, bool accepted, bool preview) const;
    QString breakPrompt(const Preferences& preferences, ReminderKind kind) const;

    // The pack identifier each named voice belongs to.
    static QString packID(Character character);

private:
    Character character_;
};
