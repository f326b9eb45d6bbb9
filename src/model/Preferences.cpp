#include "model/Preferences.h"

#include "model/JsonReading.h"

#include <QJsonArray>
#include <QTextBoundaryFinder>
#include <algorithm>

using namespace JsonReading;

namespace {

// The first `count` code points of `text`; a surrogate pair is never split.
QString firstCodePoints(const QString& text, qsizetype count)
{
    qsizetype end = 0;
    for (qsizetype taken = 0; taken < count && end < text.size(); ++taken)
        end += text.at(end).isHighSurrogate() && end + 1 < text.size() && text.at(end + 1).isLowSurrogate() ? 2 : 1;
    return text.left(end);
}

}  // namespace

QString firstCharacters(const QString& text, int count)
{
    if (count <= 0)
        return {};
    // A character may take several UTF-16 units, so only longer strings need counting.
    if (text.size() <= count)
        return text;
    const QString bounded = firstCodePoints(text, qsizetype(count) * maxCodePointsPerCharacter);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, bounded);
    qsizetype end = 0;
    for (int taken = 0; taken < count; ++taken) {
        const qsizetype next = finder.toNextBoundary();
        if (next < 0)
            return bounded;
        end = next;
    }
    return bounded.left(end);
}

namespace {

QStringList normalizedApps(const QStringList& apps)
{
    QStringList cleaned;
    // A damaged file may hold millions of entries; only a few more than are kept need looking at.
    for (const QString& app : apps.first(std::min<qsizetype>(apps.size(), 16 * PreferenceLimits::maxProtectedApps))) {
        const QString trimmed = app.trimmed();
        if (!trimmed.isEmpty() && trimmed.size() <= PreferenceLimits::maxProtectedAppLength)
            cleaned.append(trimmed);
    }
    cleaned.sort();
    cleaned.removeDuplicates();
    if (cleaned.size() > PreferenceLimits::maxProtectedApps)
        cleaned.resize(PreferenceLimits::maxProtectedApps);
    return cleaned;
}

}  // namespace

Preferences Preferences::normalized() const
{
    using namespace PreferenceLimits;
    Preferences result = *this;
    result.intervalMinutes = std::clamp(intervalMinutes, minIntervalMinutes, maxIntervalMinutes);
    result.quietStart = std::clamp(quietStart, 0, 23);
    result.quietEnd = std::clamp(quietEnd, 0, 23);
    result.dailyGoal = std::clamp(dailyGoal, minDailyGoal, maxDailyGoal);
    result.glassML = std::clamp(glassML, minGlassML, maxGlassML);
    result.focusMinutes = std::clamp(focusMinutes, minFocusMinutes, maxFocusMinutes);
    // The recipient keeps its spaces here: the voice trims it when it speaks.
    result.recipient = firstCharacters(recipient, maxRecipientLength);
    result.sender = firstCharacters(sender, maxSenderLength);
    result.loveNote = firstCharacters(loveNote, maxLoveNoteLength);
    if (result.companionID.isEmpty() || result.companionID.size() > maxCompanionIDLength)
        result.companionID = QStringLiteral("bloop");

    BreakPreferences& b = result.breaks;
    b.eyeIntervalMinutes = std::clamp(b.eyeIntervalMinutes, minEyeIntervalMinutes, maxEyeIntervalMinutes);
    b.eyeDurationSeconds = std::clamp(b.eyeDurationSeconds, minEyeDurationSeconds, maxEyeDurationSeconds);
    b.movementIntervalMinutes =
        std::clamp(b.movementIntervalMinutes, minMovementIntervalMinutes, maxMovementIntervalMinutes);
    b.movementDurationMinutes =
        std::clamp(b.movementDurationMinutes, minMovementDurationMinutes, maxMovementDurationMinutes);

    SafeguardPreferences& s = result.safeguards;
    s.idleMinutes = std::clamp(s.idleMinutes, minIdleMinutes, maxIdleMinutes);
    s.protectedApps = normalizedApps(s.protectedApps);
    return result;
}

QJsonObject encode(const BreakPreferences& breaks)
{
    return {
        {QStringLiteral("eyeEnabled"), breaks.eyeEnabled},
        {QStringLiteral("eyeIntervalMinutes"), breaks.eyeIntervalMinutes},
        {QStringLiteral("eyeDurationSeconds"), breaks.eyeDurationSeconds},
        {QStringLiteral("movementEnabled"), breaks.movementEnabled},
        {QStringLiteral("movementIntervalMinutes"), breaks.movementIntervalMinutes},
        {QStringLiteral("movementDurationMinutes"), breaks.movementDurationMinutes},
    };
}

QJsonObject encode(const SafeguardPreferences& safeguards)
{
    return {
        {QStringLiteral("flowDelay"), safeguards.flowDelay},
        {QStringLiteral("pauseWhenIdle"), safeguards.pauseWhenIdle},
        {QStringLiteral("idleMinutes"), safeguards.idleMinutes},
        {QStringLiteral("microphoneGuard"), safeguards.microphoneGuard},
        {QStringLiteral("mirrorGuard"), safeguards.mirrorGuard},
        {QStringLiteral("protectedApps"), QJsonArray::fromStringList(safeguards.protectedApps)},
        {QStringLiteral("followSystemFocus"), safeguards.followSystemFocus},
    };
}

QJsonObject encode(const Preferences& preferences)
{
    return {
        {QStringLiteral("enabled"), preferences.enabled},
        {QStringLiteral("intervalMinutes"), preferences.intervalMinutes},
        {QStringLiteral("personality"), rawValue(preferences.personality)},
        {QStringLiteral("recipient"), preferences.recipient},
        {QStringLiteral("useCharacterNicknames"), preferences.useCharacterNicknames},
        {QStringLiteral("sender"), preferences.sender},
        {QStringLiteral("loveNote"), preferences.loveNote},
        {QStringLiteral("quietEnabled"), preferences.quietEnabled},
        {QStringLiteral("quietStart"), preferences.quietStart},
        {QStringLiteral("quietEnd"), preferences.quietEnd},
        {QStringLiteral("soundEnabled"), preferences.soundEnabled},
        {QStringLiteral("dailyGoal"), preferences.dailyGoal},
        {QStringLiteral("glassML"), preferences.glassML},
        {QStringLiteral("companionID"), preferences.companionID},
        {QStringLiteral("focusMinutes"), preferences.focusMinutes},
        {QStringLiteral("breaks"), encode(preferences.breaks)},
        {QStringLiteral("safeguards"), encode(preferences.safeguards)},
    };
}

BreakPreferences decodeBreakPreferences(const QJsonObject& json, const BreakPreferences& base)
{
    BreakPreferences b = base;
    readBool(json, "eyeEnabled", b.eyeEnabled);
    readInt(json, "eyeIntervalMinutes", b.eyeIntervalMinutes);
    readInt(json, "eyeDurationSeconds", b.eyeDurationSeconds);
    readBool(json, "movementEnabled", b.movementEnabled);
    readInt(json, "movementIntervalMinutes", b.movementIntervalMinutes);
    readInt(json, "movementDurationMinutes", b.movementDurationMinutes);
    return b;
}

SafeguardPreferences decodeSafeguardPreferences(const QJsonObject& json, const SafeguardPreferences& base)
{
    SafeguardPreferences s = base;
    readBool(json, "flowDelay", s.flowDelay);
    readBool(json, "pauseWhenIdle", s.pauseWhenIdle);
    readInt(json, "idleMinutes", s.idleMinutes);
    readBool(json, "microphoneGuard", s.microphoneGuard);
    readBool(json, "mirrorGuard", s.mirrorGuard);
    readStringList(json, "protectedApps", s.protectedApps);
    readBool(json, "followSystemFocus", s.followSystemFocus);
    return s;
}

Preferences decodePreferences(const QJsonObject& json, const Preferences& base)
{
    Preferences p = base;
    readBool(json, "enabled", p.enabled);
    readInt(json, "intervalMinutes", p.intervalMinutes);
    if (const auto personality = personalityFromRaw(json.value(QLatin1String("personality")).toString()))
        p.personality = *personality;
    readString(json, "recipient", p.recipient);
    readBool(json, "useCharacterNicknames", p.useCharacterNicknames);
    readString(json, "sender", p.sender);
    readString(json, "loveNote", p.loveNote);
    readBool(json, "quietEnabled", p.quietEnabled);
    readInt(json, "quietStart", p.quietStart);
    readInt(json, "quietEnd", p.quietEnd);
    readBool(json, "soundEnabled", p.soundEnabled);
    readInt(json, "dailyGoal", p.dailyGoal);
    readInt(json, "glassML", p.glassML);
    readString(json, "companionID", p.companionID);
    readInt(json, "focusMinutes", p.focusMinutes);
    if (const QJsonValue breaks = json.value(QLatin1String("breaks")); breaks.isObject())
        p.breaks = decodeBreakPreferences(breaks.toObject(), base.breaks);
    if (const QJsonValue safeguards = json.value(QLatin1String("safeguards")); safeguards.isObject())
        p.safeguards = decodeSafeguardPreferences(safeguards.toObject(), base.safeguards);
    return p;
}
