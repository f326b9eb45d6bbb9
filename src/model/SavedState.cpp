#include "model/SavedState.h"

#include "model/DateCoding.h"
#include "model/ImportError.h"
#include "model/JsonReading.h"
#include "model/StateFileScan.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <algorithm>
#include <array>

using namespace DateCoding;
using namespace JsonReading;

namespace {

// Every key a state of any version was written with.
constexpr std::array<const char*, 14> stateKeys{
    "schemaVersion",     "preferences",     "drinks",          "nextDue",         "pausedUntil",
    "nextEyeDue",        "nextMovementDue", "focusUntil",      "focusIndefinite", "meetingUntil",
    "meetingIndefinite", "breakHistory",    "activeBreakKind", "tourVersion",
};

void insertOptionalDate(QJsonObject& json, const QString& key, const std::optional<QDateTime>& date)
{
    if (date && date->isValid())
        json.insert(key, encodeDate(*date));
}

void readOptionalDate(const QJsonObject& json, const char* key, std::optional<QDateTime>& target)
{
    target = decodeDate(json.value(QLatin1String(key)));
}

std::optional<ReminderKind> breakKind(const QJsonValue& value)
{
    return value.isString() ? breakKindFromRaw(value.toString()) : std::nullopt;
}

template<typename Record>
QJsonArray encodeList(const QList<Record>& records)
{
    QJsonArray array;
    for (const Record& record : records)
        array.append(encode(record));
    return array;
}

// Decodes every good record of an array and counts the bad and the corrected ones.
template<typename Record, typename Decoder>
void readRecords(const QJsonObject& json, const char* key, QList<Record>& target, RecordTally& tally, Decoder decode)
{
    const QJsonValue value = json.value(QLatin1String(key));
    if (!value.isArray())
        return;
    const QJsonArray array = value.toArray();
    QList<Record> records;
    records.reserve(array.size());
    for (const QJsonValue& entry : array) {
        if (auto record = decode(entry, tally))
            records.append(std::move(*record));
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
template<typename Record>
void appendRecords(QByteArray& out, const char* key, const QList<Record>& records)
{
    out += ",\"";
    out += key;
    out += "\":[";
    for (qsizetype i = 0; i < records.size(); ++i) {
        if (i > 0)
            out += ',';
        appendCompact(out, records[i]);
    }
    out += ']';
}

QJsonObject parseObject(const QByteArray& bytes)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        throw ImportError(QStringLiteral("Your saved data isn't readable: %1.").arg(error.errorString()));
    if (!document.isObject())
        throw ImportError(QStringLiteral("Your saved data isn't readable: it doesn't hold a settings object."));
    return document.object();
}

// One element of a history array through the JSON parser, as deep as it lies in the file: the
// parser refuses more than 1,024 arrays and objects open at once, and in the file every element
// sits inside two of them, the top-level object and its history array. None when the parser
// refuses it.
std::optional<QJsonValue> parseElement(QByteArrayView element)
{
    QJsonParseError error;
    const QByteArray wrapped = "[[" + element.toByteArray() + "]]";
    const QJsonArray outer = QJsonDocument::fromJson(wrapped, &error).array();
    if (error.error != QJsonParseError::NoError || outer.size() != 1 || outer.first().toArray().size() != 1)
        return std::nullopt;
    return outer.first().toArray().first();
}

// One history array, element by element: the writer's compact form directly, anything else
// through the JSON parser. False when an element is not JSON at all.
template<typename Record, typename CompactReader, typename Decoder>
bool readElements(QByteArrayView array, QList<Record>& target, RecordTally& tally, CompactReader readCompact,
                  Decoder decode)
{
    return StateFileScan::forEachElement(array, [&](QByteArrayView element) {
        bool compact = false;
        std::optional<Record> record = readCompact(element, compact, tally);
        if (!compact) {
            const std::optional<QJsonValue> value = parseElement(element);
            if (!value)
                return false;
            record = decode(*value, tally);
        }
        if (record)
            target.append(std::move(*record));
        return true;
    });
}

// The long way through files in the writer's own form; none when any part needs the parser's
// judgement of the whole file.
std::optional<DecodedState> decodeByParts(const QByteArray& bytes)
{
    const auto parts = StateFileScan::split(bytes);
    if (!parts)
        return std::nullopt;
    QJsonParseError error;
    const QJsonDocument rest = QJsonDocument::fromJson(parts->rest, &error);
    if (error.error != QJsonParseError::NoError || !rest.isObject())
        return std::nullopt;
    DecodedState decoded = decodeSavedState(rest.object());
    RecordTally tally{decoded.droppedRecords, decoded.correctedRecords};
    SavedState& state = decoded.state;
    if (parts->drinks && !readElements(*parts->drinks, state.drinks, tally, readCompactDrink, decodeDrink))
        return std::nullopt;
    if (parts->breakHistory
        && !readElements(*parts->breakHistory, state.breakHistory, tally, readCompactBreak, decodeBreakRecord))
        return std::nullopt;
    decoded.droppedRecords = tally.dropped;
    decoded.correctedRecords = tally.corrected;
    return decoded;
}

}  // namespace

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
    decoded.foreign = !json.isEmpty() && std::none_of(stateKeys.cbegin(), stateKeys.cend(), [&](const char* key) {
        return json.contains(QLatin1String(key));
    });

    int version = 1;
    readInt(json, "schemaVersion", version);
    decoded.migratedFromVersion1 = version < SavedState::currentSchemaVersion;
    // Whatever version was read, the state is now held (and will be written) in the current one.
    state.schemaVersion = SavedState::currentSchemaVersion;

    if (const QJsonValue preferences = json.value(QLatin1String("preferences")); preferences.isObject())
        state.preferences = decodePreferences(preferences.toObject());
    RecordTally tally;
    readRecords(json, "drinks", state.drinks, tally, decodeDrink);
    readRecords(json, "breakHistory", state.breakHistory, tally, decodeBreakRecord);
    decoded.droppedRecords = tally.dropped;
    decoded.correctedRecords = tally.corrected;
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
    if (auto decoded = decodeByParts(bytes))
        return std::move(*decoded);
    return decodeSavedState(parseObject(bytes));
}

DecodedState decodeLargeStateFile(const QByteArray& bytes)
{
    if (auto decoded = decodeByParts(bytes))
        return std::move(*decoded);
    throw ImportError(
        QStringLiteral("Your saved data isn't readable: a file this large is read only record by record, and this "
                       "one can't be."));
}
