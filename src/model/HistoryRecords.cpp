#include "model/HistoryRecords.h"

#include "model/DateCoding.h"
#include "model/JsonReading.h"

#include <charconv>
#include <cmath>
#include <cstring>

using namespace DateCoding;

std::optional<ReminderKind> breakKindFromRaw(QAnyStringView raw)
{
    const std::optional<ReminderKind> kind = reminderKindFromRaw(raw);
    return kind == ReminderKind::water ? std::nullopt : kind;
}

namespace {

const QString idKey = QStringLiteral("id");
const QString dateKey = QStringLiteral("date");

std::optional<double> numberOf(const QJsonValue& value)
{
    return value.isDouble() ? std::optional(value.toDouble()) : std::nullopt;
}

std::optional<QDateTime> dateOf(std::optional<double> seconds)
{
    if (!seconds)
        return std::nullopt;
    QDateTime date = fromReferenceSeconds(*seconds);
    return date.isValid() ? std::optional(date) : std::nullopt;
}

// A whole number within [0, limit]; beyond the limit it is clamped and counted as corrected.
std::optional<int> boundedCount(std::optional<double> number, int limit, bool& corrected)
{
    const auto whole = number ? JsonReading::saturatedInt(*number) : std::nullopt;
    if (!whole || *whole < 0)
        return std::nullopt;
    corrected = *whole > limit;
    return std::min(*whole, limit);
}

std::optional<QUuid> uuidOf(QAnyStringView text)
{
    if (text.size() != 36)
        return std::nullopt;
    const QUuid id = QUuid::fromString(text);
    return id.isNull() ? std::nullopt : std::optional(id);
}

std::optional<Drink> makeDrink(std::optional<QUuid> id, std::optional<QDateTime> date, std::optional<double> ml,
                               RecordTally& tally)
{
    bool corrected = false;
    const auto amount = boundedCount(ml, RecordLimits::maxDrinkML, corrected);
    if (!id || !date || !amount) {
        ++tally.dropped;
        return std::nullopt;
    }
    tally.corrected += corrected;
    return Drink{*id, *date, *amount};
}

std::optional<BreakRecord> makeBreak(std::optional<QUuid> id, std::optional<ReminderKind> kind,
                                     std::optional<QDateTime> date, std::optional<double> seconds, RecordTally& tally)
{
    bool corrected = false;
    const auto length = boundedCount(seconds, RecordLimits::maxBreakSeconds, corrected);
    if (!id || !kind || !date || !length) {
        ++tally.dropped;
        return std::nullopt;
    }
    tally.corrected += corrected;
    return BreakRecord{*id, *kind, *date, *length};
}

// Numbers and identifiers are formatted on the stack: with decades of history, two small
// allocations per record were most of the time a save took.
template<typename Number>
void appendNumber(QByteArray& out, Number number)
{
    char digits[32];
    const auto result = std::to_chars(std::begin(digits), std::end(digits), number);
    out.append(digits, result.ptr - digits);
}

void appendDate(QByteArray& out, const QDateTime& date)
{
    const double seconds = toReferenceSeconds(date);
    if (std::isfinite(seconds))
        appendNumber(out, seconds);
    else
        out += "null";
}

// Upper-case hexadecimal with hyphens, as DateCoding::encodeUuid writes it.
void appendUuid(QByteArray& out, const QUuid& id)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    char text[38];
    char* next = text;
    const auto put = [&next](quint64 value, int digits) {
        for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
            *next++ = hex[(value >> shift) & 0xF];
    };
    *next++ = '"';
    put(id.data1, 8);
    *next++ = '-';
    put(id.data2, 4);
    *next++ = '-';
    put(id.data3, 4);
    *next++ = '-';
    put(quint64(id.data4[0]) << 8 | id.data4[1], 4);
    *next++ = '-';
    for (int index = 2; index < 8; ++index)
        put(id.data4[index], 2);
    *next++ = '"';
    out.append(text, next - text);
}

// Walks one record in the writer's compact form. Anything unexpected ends the walk, and the
// record is then read as general JSON, so this never needs to understand more than it wrote.
class CompactCursor {
public:
    explicit CompactCursor(QByteArrayView bytes) : next_(bytes.data()), end_(bytes.data() + bytes.size()) { }

    bool literal(const char* text)
    {
        const qsizetype length = qsizetype(std::strlen(text));
        if (end_ - next_ < length || std::memcmp(next_, text, size_t(length)) != 0)
            return false;
        next_ += length;
        return true;
    }

    // A JSON number; none for any other text, and for one beyond the range of a double.
    std::optional<double> number()
    {
        const char* start = next_;
        literal("-");
        if (!literal("0") && !digits())
            return std::nullopt;
        if (literal(".") && !digits())
            return std::nullopt;
        if (literal("e") || literal("E")) {
            if (!literal("+"))
                literal("-");
            if (!digits())
                return std::nullopt;
        }
        double value = 0;
        const auto [end, error] = std::from_chars(start, next_, value);
        if (error != std::errc() || end != next_)
            return std::nullopt;
        return value;
    }

    // A string of letters, digits, "-" and "_" between quotes (UUIDs and kinds are nothing else).
    std::optional<QLatin1StringView> plainString()
    {
        if (!literal("\""))
            return std::nullopt;
        const char* start = next_;
        while (next_ < end_ && isPlain(*next_))
            ++next_;
        const QLatin1StringView text(start, next_ - start);
        return literal("\"") ? std::optional(text) : std::nullopt;
    }

    bool atEnd() const { return next_ == end_; }

private:
    static bool isPlain(char c)
    {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' || c == '_';
    }

    bool digits()
    {
        const char* start = next_;
        while (next_ < end_ && *next_ >= '0' && *next_ <= '9')
            ++next_;
        return next_ > start;
    }

    const char* next_;
    const char* end_;
};

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

std::optional<Drink> decodeDrink(const QJsonValue& json, RecordTally& tally)
{
    const QJsonObject object = json.toObject();
    const QJsonValue id = object.value(idKey);
    return makeDrink(id.isString() ? uuidOf(id.toString()) : std::nullopt, dateOf(numberOf(object.value(dateKey))),
                     numberOf(object.value(QLatin1String("ml"))), tally);
}

std::optional<BreakRecord> decodeBreakRecord(const QJsonValue& json, RecordTally& tally)
{
    const QJsonObject object = json.toObject();
    const QJsonValue id = object.value(idKey);
    return makeBreak(id.isString() ? uuidOf(id.toString()) : std::nullopt,
                     breakKindFromRaw(object.value(QLatin1String("kind")).toString()),
                     dateOf(numberOf(object.value(dateKey))), numberOf(object.value(QLatin1String("seconds"))), tally);
}

// Every record opens with its date and identifier, in the order the state file keeps them.
void appendRecordOpening(QByteArray& out, const QDateTime& date, const QUuid& id)
{
    out += "{\"date\":";
    appendDate(out, date);
    out += ",\"id\":";
    appendUuid(out, id);
}

void appendCompact(QByteArray& out, const Drink& drink)
{
    appendRecordOpening(out, drink.date, drink.id);
    out += ",\"ml\":";
    appendNumber(out, drink.ml);
    out += '}';
}

void appendCompact(QByteArray& out, const BreakRecord& record)
{
    appendRecordOpening(out, record.date, record.id);
    out += ",\"kind\":\"";
    out += rawValue(record.kind).toLatin1();
    out += "\",\"seconds\":";
    appendNumber(out, record.seconds);
    out += '}';
}

std::optional<Drink> readCompactDrink(QByteArrayView bytes, bool& shapeMatched, RecordTally& tally)
{
    CompactCursor cursor(bytes);
    std::optional<double> date;
    std::optional<QLatin1StringView> id;
    std::optional<double> ml;
    shapeMatched = cursor.literal("{\"date\":") && (date = cursor.number()) && cursor.literal(",\"id\":")
                   && (id = cursor.plainString()) && cursor.literal(",\"ml\":") && (ml = cursor.number())
                   && cursor.literal("}") && cursor.atEnd();
    if (!shapeMatched)
        return std::nullopt;
    return makeDrink(uuidOf(*id), dateOf(date), ml, tally);
}

std::optional<BreakRecord> readCompactBreak(QByteArrayView bytes, bool& shapeMatched, RecordTally& tally)
{
    CompactCursor cursor(bytes);
    std::optional<double> date;
    std::optional<QLatin1StringView> id;
    std::optional<QLatin1StringView> kind;
    std::optional<double> seconds;
    shapeMatched = cursor.literal("{\"date\":") && (date = cursor.number()) && cursor.literal(",\"id\":")
                   && (id = cursor.plainString()) && cursor.literal(",\"kind\":") && (kind = cursor.plainString())
                   && cursor.literal(",\"seconds\":") && (seconds = cursor.number()) && cursor.literal("}")
                   && cursor.atEnd();
    if (!shapeMatched)
        return std::nullopt;
    return makeBreak(uuidOf(*id), breakKindFromRaw(*kind), dateOf(date), seconds, tally);
}
