#include "model/CompanionVoice.h"

#include <algorithm>
#include <array>

namespace {

using Character = CompanionVoice::Character;

// Lines per personality, in the order sweet, cheeky, menace. "%1" stands for the address.
using ByPersonality = std::array<const char*, 3>;

struct VoiceLines {
    Character character;
    const char* packID;
    const char* petName;                 // null: the voice has none
    std::array<ByPersonality, 3> water;  // by stage, then personality
    ByPersonality drank;
    ByPersonality notYet;
    const char* previewDrank;
    const char* previewNotYet;
    ByPersonality eyeRest;
    ByPersonality movement;
};

const std::array<VoiceLines, 7> voices{{
    {Character::pemmy,
     "bloop",
     "cutie",
     {{{"Hi %1! A little sip would make my day.", "Psst, %1. Water. You know the drill.",
        "Water. Now, %1. I'm a drop, I'm allowed to insist."},
       {"Still here, %1. Just one small sip, for me?", "I'm literally made of water, %1, and I'm still waiting on you.",
        "I will splash your keyboard, %1. Metaphorically. Probably. Drink."},
       {"Pretty please, %1? One glass and I'll bounce away happy.",
        "Okay %1, I'm starting to evaporate from all this waiting. Drink!",
        "Glass. Mouth. Now, %1. I have nowhere else to be."}}},
     {"Yay! You're glowing, %1. Thank you.", "Look at you, hydrated. I'm only a little proud.",
      "Good. The water agenda advances, %1."},
     {"That's okay, %1. I'll be back soon with another sip.", "Fine. I'll drip back in ten minutes. Eye roll included.",
      "Not yet? Noted. I'll be back, %1. Drip by drip."},
     "Just a preview, %1, so no drink logged. I'm bouncing anyway!",
     "Only a preview, so nothing changes. I'll still pout a tiny bit.",
     {"Let those pretty eyes rest a moment, %1.", "Your screen won't miss you, %1. Look away.",
      "Eyes off the screen, %1. I'm watching. You're not."},
     {"Come stretch with me, %1? Just a little wiggle.", "Chair's getting clingy, %1. Time to move.",
      "Up. Now. Legs exist for a reason, %1."}},

    {Character::quelly,
     "sprout",
     "sweety",
     {{{"Hello, %1. Shall we both have a little water?", "Hey %1, even I get watered more often than you.",
        "Water, %1. I'm small, but I'm patient and I'm growing."},
       {"My leaves are drooping a touch, %1. A sip for each of us?",
        "I'm a plant, %1, and I'm the one reminding you. Think about that.",
        "I have roots, %1. I'm not going anywhere until you drink."},
       {"Please, %1. Roots and hearts both need water. I'll wait.",
        "Still nothing, %1? I'm wilting on your behalf over here.",
        "Drink, %1. Every sprout in this garden is watching you."}}},
     {"Thank you, %1. I feel you growing a little.", "There it is. Was that so hard, %1?",
      "Good. The garden approves, %1."},
     {"No rush, %1. I'll sprout back a bit later.", "Fine, I'll just photosynthesise until you're ready.",
      "I'll be back, %1. Plants are very patient."},
     "Just a preview, %1, so no drink logged. My leaves are dancing anyway.",
     "Only a preview, so nothing is recorded. I'll try again, %1.",
     {"Rest your eyes with me, %1. Find something green far away.",
      "Even the sun takes breaks, %1. Look away for a bit.", "Eyes to the horizon, %1. The screen can wait. I insist."},
     {"Let's stretch toward the light, %1.", "I can't walk, %1, but you can. Show off a little.",
      "Up, %1. Roots are for me, not for you."}},

    {Character::viru,
     "viru",
     "vuzo",
     {{{"Hey %1, bear hug and a glass of water?", "Water o'clock, %1. Don't make me tell Vuzo.",
        "Big bear says: water, %1. Now."},
       {"I'm still here, %1. A bear can wait for a sip.", "Vuzo bet me you'd ignore this, %1. Prove Vuzo wrong.",
        "I'm blocking the door until you drink, %1. I'm very large."},
       {"Please, %1. Even Vuzo drank already, and Vuzo never listens.",
        "Come on, %1. I'm a bear. I can sit here all winter.",
        "Drink, %1, or I start honey negotiations. You won't win."}}},
     {"That's my %1. Warm bear hug incoming.", "Nice. Now I get to tell Vuzo I was right.",
      "Good. The bear is satisfied, %1. For now."},
     {"Okay, %1. I'll lumber back in a bit.", "Fine. Vuzo owes me a snack, by the way.",
      "I'll be back, %1. Bears remember everything."},
     "Just a preview, %1, so no drink logged. Still, hug!",
     "Only a preview, nothing changes. Don't tell Vuzo.",
     {"Rest those eyes, %1. Look out the window with me.", "Stop staring at the screen, %1. That's Vuzo's job.",
      "Eyes off the screen, %1. Bear's orders."},
     {"Stretch with me, %1? Big bear stretches are the best.", "Up, %1. Even Vuzo gets up for snacks.",
      "Up you get, %1. I'll carry the chair away if I must."}},

    {Character::vuzo,
     "vuzo",
     "viru",
     {{{"Hi %1! Let's have some water together, just us.", "Water time, %1. Viru forgot, so I'm in charge.",
        "Water, %1. Small bear, big plans."},
       {"Still thirsty, %1? I saved you a spot by the glass.",
        "Viru thinks you're busy. I think you're dodging water, %1.", "I'm tiny but I'm relentless, %1. Drink."},
       {"Please, %1? Viru says I worry too much, but I do worry.",
        "Seriously, %1? Even Viru drinks faster than this, and Viru hibernates.",
        "Drink, %1. I've got Viru on standby, and Viru is heavy."}}},
     {"Yay, %1! That's the spirit. Paw five!", "Look at that, you beat Viru to it.",
      "Excellent, %1. Phase one of the water plan: complete."},
     {"Okay, %1. I'll come back soon, I promise.", "Fine. I'll go bother Viru for a while.",
      "Retreating, %1. Regrouping. Returning."},
     "Just a preview, %1, so no drink logged. Paw five anyway!",
     "Only a preview, nothing is recorded. Viru won't know.",
     {"Let your eyes float somewhere far away, %1.", "Look away, %1. The screen won't run off. Unlike Viru.",
      "Eyes off the screen, %1. Small bear is counting."},
     {"A little walk, %1? I'll waddle along.", "Up, %1. Viru's been sitting all day. Don't be Viru.",
      "Move, %1. I'll nibble your chair leg otherwise."}},

    {Character::zoze,
     "vossik-fan",
     "master",
     {{{"Oh, %1, a humble glass of water awaits your grace.", "Behold, %1: water. Revolutionary, I know.",
        "Water, %1. I've rehearsed this entrance all day."},
       {"I fan you, %1, I fan you gently, but a sip would cool you better.",
        "I've been waving this fan for ages, %1. Your move.", "I will fan until you drink, %1. I never tire. Never."},
       {"Please, %1! My arms ache from fanning. Drink, and let me rest.",
        "The drama, %1! The suspense! Will you ever drink? Please do.",
        "Drink, %1! I shall not leave this stage until you do."}}},
     {"Magnificent, %1! A standing ovation, just for you.", "Bravo. Truly. Encore tomorrow, %1?",
      "At last! The curtain falls on a hydrated %1."},
     {"As you wish, %1. I'll await my cue.", "Fine. I'll exit stage left, dramatically.",
      "This is merely the interval, %1. Act two approaches."},
     "Only a rehearsal, %1: a preview, no drink logged. Bravo anyway!",
     "A rehearsal, only a preview, nothing recorded. I'll polish my exit.",
     {"Rest your eyes, %1. Let me fan the screen away.", "Your eyes deserve an intermission, %1.",
      "Eyes off the screen, %1. That is a stage direction."},
     {"Dance with me, %1? Just a little twirl.", "Your chair has had enough of you, %1. Stand.",
      "On your feet, %1! The performance demands it."}},

    {Character::zuv,
     "zuv",
     "master",
     {{{"Hmph. Water, %1. Because I care. A little.", "Water. Don't make it weird, %1.",
        "Water, %1. I'm grumpy and I'm not leaving."},
       {"Still no sip, %1? I'm not worried. Okay, a little.", "I'm not nagging, %1. I'm just standing here. Pointedly.",
        "I've got all day, %1. All grumpy day."},
       {"Please drink, %1. Don't tell anyone I said please.", "Ugh, %1. Drink, so I can go back to grumbling.",
        "Drink, %1. Or I sit on your keyboard. I'm heavy."}}},
     {"Good. That's… good, %1. I'm happy. Quietly.", "Fine. Well done. Don't let it go to your head.",
      "Finally. Grumbling paused, %1."},
     {"Hmph. Okay, %1. I'll be back.", "Typical. I'll come grumble again soon.", "I'll be back, %1. Grumpier."},
     "Just a preview, %1. No drink logged. Still… nice.",
     "Only a preview. Nothing happens. I'm still judging a little.",
     {"Rest your eyes, %1. I'll keep watch.", "Your eyes look tired, %1. Mine always do. Look away.",
      "Screen off, eyes away, %1. No arguing."},
     {"Come on, %1, a short walk. I'll come too. Grumbling.", "Stand up, %1. I'm not carrying you.",
      "Up, %1. Now. The chair needs a break from you."}},

    {Character::custom,
     "",
     nullptr,
     {{{"Hi %1, how about a glass of water?", "Water time, %1. You knew this was coming.",
        "Water, %1. That's the whole agenda."},
       {"Just a gentle nudge, %1: a little water would be lovely.",
        "Still waiting, %1. The glass isn't going to drink itself.", "Still water, %1. Still the agenda."},
       {"Please take a moment for some water, %1. You deserve it.", "Okay %1, I'll keep asking until you sip. Deal?",
        "Drink, %1. I'll be right here until you do."}}},
     {"Lovely, %1. Thank you for looking after yourself.", "See? Easy. Nicely done, %1.",
      "Good. Agenda complete, %1. For now."},
     {"That's okay, %1. I'll check in again soon.", "Alright, I'll be back. With more water talk.",
      "Not yet is not never, %1. See you soon."},
     "This is only a preview, %1, so no drink logged.",
     "Only a preview, so nothing changes. See you soon.",
     {"Give your eyes a gentle rest, %1.", "Your screen will still be here, %1. Look away.",
      "Eyes off the screen, %1. No exceptions."},
     {"A little stretch would feel nice, %1.", "Up you get, %1. Your chair needs a break too.",
      "Stand up, %1. Now is a great time."}},
}};

const VoiceLines& linesFor(Character character)
{
    for (const VoiceLines& lines : voices) {
        if (lines.character == character)
            return lines;
    }
    return voices.back();
}

std::size_t toneIndex(Personality personality)
{
    switch (personality) {
    case Personality::sweet:
        return 0;
    case Personality::cheeky:
        return 1;
    case Personality::menace:
        return 2;
    }
    return 1;
}

QString spoken(const char* line, const QString& address)
{
    return QString::fromUtf8(line).replace(QLatin1String("%1"), address);
}

}  // namespace

CompanionVoice::CompanionVoice(const CharacterPack& pack) : character_(Character::custom)
{
    for (const VoiceLines& lines : voices) {
        if (lines.character != Character::custom && pack.id == QLatin1String(lines.packID))
            character_ = lines.character;
    }
}

std::optional<QString> CompanionVoice::petName() const
{
    const char* name = linesFor(character_).petName;
    if (!name)
        return std::nullopt;
    return QString::fromUtf8(name);
}

QString CompanionVoice::address(const Preferences& preferences) const
{
    const auto pet = petName();
    if (preferences.useCharacterNicknames && pet)
        return *pet;
    const QString recipient = preferences.recipient.trimmed();
    if (!recipient.isEmpty())
        return recipient;
    return pet.value_or(QStringLiteral("friend"));
}

QString CompanionVoice::waterPrompt(const Preferences& preferences, int stage) const
{
    const auto row = static_cast<std::size_t>(std::clamp(stage, 0, 2));
    return spoken(linesFor(character_).water[row][toneIndex(preferences.personality)], address(preferences));
}

QString CompanionVoice::waterResponse(const Preferences& preferences, bool accepted, bool preview) const
{
    const VoiceLines& lines = linesFor(character_);
    const char* line = nullptr;
    if (preview)
        line = accepted ? lines.previewDrank : lines.previewNotYet;
    else
        line = (accepted ? lines.drank : lines.notYet)[toneIndex(preferences.personality)];
    return spoken(line, address(preferences));
}

QString CompanionVoice::breakPrompt(const Preferences& preferences, ReminderKind kind) const
{
    const VoiceLines& lines = linesFor(character_);
    const std::size_t tone = toneIndex(preferences.personality);
    switch (kind) {
    case ReminderKind::eyeRest:
        return spoken(lines.eyeRest[tone], address(preferences));
    case ReminderKind::movement:
        return spoken(lines.movement[tone], address(preferences));
    case ReminderKind::water:
        break;
    }
    return waterPrompt(preferences, 0);
}

QString CompanionVoice::packID(Character character)
{
    return QString::fromLatin1(linesFor(character).packID);
}
