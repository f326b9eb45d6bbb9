#include "model/SavedState.h"

#include "model/DateCoding.h"
#include "model/ImportError.h"
#include "model/JsonReading.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QLocale>

#include <cmath>

using namespace DateCoding;
using namespace JsonReading;

namespace {

const QString idKey = QStringLiteral("id");
const QString dateKey = QStringLiteral("date");

std::optional<int> nonNegativeInt(const QJsonValue& value)
{
    const auto number = saturatedInt(value);
    if (!number || *number < 0)
        return std::nullopt;
    return number;
}

// Breaks are eye rest or movement; a "water" break can only come from a damaged file.
std::optional<ReminderKind> breakKind(const QJsonValue& value)
{
    const auto kind = reminderKindFromRaw(value.toString());
    if (kind == ReminderKind::water)
        return std::nullopt;
    return kind;
}

void insertOptionalDate(QJsonObject& json, const QString& key, const std::optional<QDateTime>& date)
{
    if (date && date->isValid())
        json.insert(key, encodeDate(*date));
}

void readOptionalDate(const QJsonObject& json, const char* key, std::optional<QDateTime>& target)
{
    target = decodeDate(json.value(QLatin1String(key)));
}

template<typename Record>
QJsonArray encodeList(const QList<Record>& records)
{
    QJsonArray array;
    for (const Record& record : records)
        array.append(encode(record));
    return array;
}

// Decodes every good record of an array and counts the bad ones.
template<typename Record, typename Decoder>
void readRecords(const QJsonObject& json, const char* key, QList<Record>& target, int& dropped, Decoder decode)
{
    const QJsonValue value = json.value(QLatin1String(key));
    if (!value.isArray())
        return;
    const QJsonArray array = value.toArray();
    QList<Record> records;
    records.reserve(array.size());
    for (const QJsonValue& entry : array) {
        if (auto record = decode(entry))
            records.append(std::move(*record));
        else
            ++dropped;
    }
    target = std::move(records);
}

QJsonObject encodeWithoutHistory(const SavedState& state)
{
    QJsonObject json{
        {QStringLiteral("schemaVersion"), state.schemaVersion},
        {QStringLiteral("preferences"), encode(state.preferences)},
        {QStringLiteral("nextDue"), encodeDate(state.nextDue)},
        {QStringLiteral("focusIndefinite"), state.focusIndefinite},
        {QStringLiteral("meetingIndefinite"), state.meetingIndefinite},
        {QStringLiteral("tourVersion"), state.tourVersion},
    };
    insertOptionalDate(json, QStringLiteral("pausedUntil"), state.pausedUntil);
    insertOptionalDate(json, QStringLiteral("nextEyeDue"), state.nextEyeDue);
    insertOptionalDate(json, QStringLiteral("nextMovementDue"), state.nextMovementDue);
    insertOptionalDate(json, QStringLiteral("focusUntil"), state.focusUntil);
    insertOptionalDate(json, QStringLiteral("meetingUntil"), state.meetingUntil);
    if (state.activeBreakKind)
        json.insert(QStringLiteral("activeBreakKind"), rawValue(*state.activeBreakKind));
    return json;
}

// The history records have a fixed shape and nothing in them needs escaping, so they are
// written straight into the file's bytes: building a QJsonObject per record made every save
// of a long-time user's file a visible pause.
void appendDate(QByteArray& out, const QDateTime& date)
{
    const double seconds = toReferenceSeconds(date);
    if (std::isfinite(seconds))
        out += QByteArray::number(seconds, 'g', QLocale::FloatingPointShortest);
    else
        out += "null";
}

void appendUuid(QByteArray& out, const QUuid& id)
{
    out += '"';
    out += id.toByteArray(QUuid::WithoutBraces).toUpper();
    out += '"';
}

void appendRecord(QByteArray& out, const Drink& drink)
{
    out += "{\"date\":";
    appendDate(out, drink.date);
    out += ",\"id\":";
    appendUuid(out, drink.id);
    out += ",\"ml\":";
    out += QByteArray::number(drink.ml);
    out += '}';
}

void appendRecord(QByteArray& out, const BreakRecord& record)
{
    out += "{\"date\":";
    appendDate(out, record.date);
    out += ",\"id\":";
    appendUuid(out, record.id);
    out += ",\"kind\":\"";
    out += rawValue(record.kind).toLatin1();
    out += "\",\"seconds\":";
    out += QByteArray::number(record.seconds);
    out += '}';
}

template<typename Record>
void appendRecords(QByteArray& out, const char* key, const QList<Record>& records)
{
    out += ",\"";
    out += key;
    out += "\":[";
    for (qsizetype i = 0; i < records.size(); ++i) {
        if (i > 0)
            out += ',';
        appendRecord(out, records[i]);
    }
    out += ']';
}

}  // namespace

QJsonObject encode(const Drink& drink)
{
    return {
        {idKey, encodeUuid(drink.id)},
        {dateKey, encodeDate(drink.date)},
        {QStringLiteral("ml"), drink.ml},
    };
}

QJsonObject encode(const BreakRecord& record)
{
    return {
        {idKey, encodeUuid(record.id)},
        {QStringLiteral("kind"), rawValue(record.kind)},
        {dateKey, encodeDate(record.date)},
        {QStringLiteral("seconds"), record.seconds},
    };
}

std::optional<Drink> decodeDrink(const QJsonValue& json)
{
    const QJsonObject object = json.toObject();
    const auto id = decodeUuid(object.value(idKey));
    const auto date = decodeDate(object.value(dateKey));
    const auto ml = nonNegativeInt(object.value(QLatin1String("ml")));
    if (!json.isObject() || !id || !date || !ml)
        return std::nullopt;
    return Drink{*id, *date, *ml};
}

std::optional<BreakRecord> decodeBreakRecord(const QJsonValue& json)
{
    const QJsonObject object = json.toObject();
    const auto id = decodeUuid(object.value(idKey));
    const auto kind = breakKind(object.value(QLatin1String("kind")));
    const auto date = decodeDate(object.value(dateKey));
    const auto seconds = nonNegativeInt(object.value(QLatin1String("seconds")));
    if (!json.isObject() || !id || !kind || !date || !seconds)
        return std::nullopt;
    return BreakRecord{*id, *kind, *date, *seconds};
}

QJsonObject encode(const SavedState& state)
{
    QJsonObject json = encodeWithoutHistory(state);
    json.insert(QStringLiteral("drinks"), encodeList(state.drinks));
    json.insert(QStringLiteral("breakHistory"), encodeList(state.breakHistory));
    return json;
}

DecodedState decodeSavedState(const QJsonObject& json)
{
    DecodedState decoded;
    SavedState& state = decoded.state;

    int version = 1;
    readInt(json, "schemaVersion", version);
    decoded.migratedFromVersion1 = version < SavedState::currentSchemaVersion;
    // Whatever version was read, the state is now held (and will be written) in the current one.
    state.schemaVersion = SavedState::currentSchemaVersion;

    if (const QJsonValue preferences = json.value(QLatin1String("preferences")); preferences.isObject())
        state.preferences = decodePreferences(preferences.toObject());
    readRecords(json, "drinks", state.drinks, decoded.droppedRecords, decodeDrink);
    readRecords(json, "breakHistory", state.breakHistory, decoded.droppedRecords, decodeBreakRecord);
    if (const auto nextDue = decodeDate(json.value(QLatin1String("nextDue"))))
        state.nextDue = *nextDue;
    readOptionalDate(json, "pausedUntil", state.pausedUntil);
    readOptionalDate(json, "nextEyeDue", state.nextEyeDue);
    readOptionalDate(json, "nextMovementDue", state.nextMovementDue);
    readOptionalDate(json, "focusUntil", state.focusUntil);
    readBool(json, "focusIndefinite", state.focusIndefinite);
    readOptionalDate(json, "meetingUntil", state.meetingUntil);
    readBool(json, "meetingIndefinite", state.meetingIndefinite);
    state.activeBreakKind = breakKind(json.value(QLatin1String("activeBreakKind")));
    readInt(json, "tourVersion", state.tourVersion);
    return decoded;
}

QByteArray encodeStateFile(const SavedState& state)
{
    QByteArray out = QJsonDocument(encodeWithoutHistory(state)).toJson(QJsonDocument::Compact);
    out.chop(1);  // the closing brace; the object is never empty, so a comma may follow
    out.reserve(out.size() + 96 * (state.drinks.size() + state.breakHistory.size()) + 64);
    appendRecords(out, "drinks", state.drinks);
    appendRecords(out, "breakHistory", state.breakHistory);
    out += '}';
    return out;
}

DecodedState decodeStateFile(const QByteArray& bytes)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        throw ImportError(QStringLiteral("Your saved data isn't readable: %1.").arg(error.errorString()));
    if (!document.isObject())
        throw ImportError(QStringLiteral("Your saved data isn't readable: it doesn't hold a settings object."));
    return decodeSavedState(document.object());
}
