#pragma once

#include "model/Preferences.h"
#include "model/ReminderKind.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QJsonObject>
#include <QUuid>
#include <optional>

struct Drink {
    QUuid id;
    QDateTime date;
    int ml = 0;

    bool operator==(const Drink&) const = default;
};

struct BreakRecord {
    QUuid id;
    ReminderKind kind = ReminderKind::eyeRest;
    QDateTime date;
    int seconds = 0;

    bool operator==(const BreakRecord&) const = default;
};

// What Dewbell itself records: a glass of at most 1000 ml, and a break that the user's "more
// time" could stretch, but never past a day. A file that says more was damaged or made by hand.
namespace RecordLimits {
inline constexpr int maxDrinkML = PreferenceLimits::maxGlassML;
inline constexpr int maxBreakSeconds = 24 * 3600;
}  // namespace RecordLimits

// How reading the history went: records that could not be used, and records whose values were
// brought within the limits above.
struct RecordTally {
    int dropped = 0;
    int corrected = 0;
};

// Breaks are eye rest or movement; a "water" break can only come from a damaged file.
std::optional<ReminderKind> breakKindFromRaw(QAnyStringView raw);

// A record needs all of its keys; one that lacks a key or has a bad value is none (and counted
// as dropped). Values beyond the limits are clamped (and counted as corrected).
QJsonObject encode(const Drink& drink);
QJsonObject encode(const BreakRecord& record);
std::optional<Drink> decodeDrink(const QJsonValue& json, RecordTally& tally);
std::optional<BreakRecord> decodeBreakRecord(const QJsonValue& json, RecordTally& tally);

// The compact form the state file's writer uses, one record with no white space:
//   {"date":<number>,"id":"<UUID>","ml":<number>}
//   {"date":<number>,"id":"<UUID>","kind":"<kind>","seconds":<number>}
// Long histories are written and read in this form without building a JSON object per record.
void appendCompact(QByteArray& out, const Drink& drink);
void appendCompact(QByteArray& out, const BreakRecord& record);

// Reads one record in exactly that form. `shapeMatched` false means the bytes are in some other
// form (other key order, white space, escapes, unusual numbers): the caller then reads them as
// general JSON. With `shapeMatched` true the result is what decodeDrink or decodeBreakRecord
// gives for the same JSON.
std::optional<Drink> readCompactDrink(QByteArrayView bytes, bool& shapeMatched, RecordTally& tally);
std::optional<BreakRecord> readCompactBreak(QByteArrayView bytes, bool& shapeMatched, RecordTally& tally);
