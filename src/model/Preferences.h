#pragma once

#include "model/Personality.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

struct BreakPreferences {
    bool eyeEnabled = false;
    int eyeIntervalMinutes = 20;
    int eyeDurationSeconds = 20;
    bool movementEnabled = false;
    int movementIntervalMinutes = 60;
    int movementDurationMinutes = 5;

    bool operator==(const BreakPreferences&) const = default;
};

struct SafeguardPreferences {
    bool flowDelay = false;
    bool pauseWhenIdle = false;
    int idleMinutes = 10;
    bool microphoneGuard = false;
    bool mirrorGuard = false;
    QStringList protectedApps;
    bool followSystemFocus = false;

    bool operator==(const SafeguardPreferences&) const = default;
};

struct Preferences {
    bool enabled = true;
    int intervalMinutes = 45;
    Personality personality = Personality::cheeky;
    QString recipient = QStringLiteral("cutie");
    bool useCharacterNicknames = false;
    QString sender = QStringLiteral("someone who cares");
    QString loveNote = QStringLiteral("You're doing better than you think. Sip slowly.");
    bool quietEnabled = true;
    int quietStart = 22;
    int quietEnd = 9;
    bool soundEnabled = true;
    int dailyGoal = 8;
    int glassML = 250;
    QString companionID = QStringLiteral("bloop");
    int focusMinutes = 50;
    BreakPreferences breaks;
    SafeguardPreferences safeguards;

    bool operator==(const Preferences&) const = default;

    // Every field forced into its allowed range; the one place the limits live.
    Preferences normalized() const;
};

// The limits that normalized() applies; steppers in the interface use the same ones.
namespace PreferenceLimits {
inline constexpr int minIntervalMinutes = 5, maxIntervalMinutes = 180;
inline constexpr int minDailyGoal = 1, maxDailyGoal = 20;
inline constexpr int minGlassML = 50, maxGlassML = 1000;
inline constexpr int minFocusMinutes = 5, maxFocusMinutes = 240;
inline constexpr int minEyeIntervalMinutes = 10, maxEyeIntervalMinutes = 120;
inline constexpr int minEyeDurationSeconds = 20, maxEyeDurationSeconds = 120;
inline constexpr int minMovementIntervalMinutes = 30, maxMovementIntervalMinutes = 180;
inline constexpr int minMovementDurationMinutes = 1, maxMovementDurationMinutes = 15;
inline constexpr int minIdleMinutes = 5, maxIdleMinutes = 15;
inline constexpr int maxRecipientLength = 80;
inline constexpr int maxSenderLength = 80;
inline constexpr int maxLoveNoteLength = 1000;
inline constexpr int maxProtectedApps = 64;
// A desktop-file id, like a file name, has at most 255 bytes.
inline constexpr int maxProtectedAppLength = 255;
// Pack ids are folder names of at most 64 characters.
inline constexpr int maxCompanionIDLength = 64;
}  // namespace PreferenceLimits

// A character the user sees may be made of several code points (a letter and its accents, an
// emoji sequence), but the longest in real use have about ten: eight on average is plenty. One
// letter with 100,000 accents is one "character" and would cost seconds at every launch, so
// texts are cut in code points too.
inline constexpr int maxCodePointsPerCharacter = 8;

// The first `count` characters (grapheme clusters, so an emoji is never cut in half) of `text`,
// and never more than `count` * maxCodePointsPerCharacter code points.
QString firstCharacters(const QString& text, int count);

// JSON coding. Decoders read each key only when present and of the right type, keeping the
// value of `base` (the defaults unless given) otherwise, so older and partial files load.
// Numbers are taken as they stand (saturated to int); normalized() is what brings them into range.
QJsonObject encode(const BreakPreferences& breaks);
QJsonObject encode(const SafeguardPreferences& safeguards);
QJsonObject encode(const Preferences& preferences);
BreakPreferences decodeBreakPreferences(const QJsonObject& json, const BreakPreferences& base = {});
SafeguardPreferences decodeSafeguardPreferences(const QJsonObject& json, const SafeguardPreferences& base = {});
Preferences decodePreferences(const QJsonObject& json, const Preferences& base = {});
