#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

// Lenient readers for the model's decoders: a key that is missing or of the wrong type leaves
// the target untouched, so older and partial files keep their defaults.
namespace JsonReading {

// A number as an int, rounded and saturated at the int range; none for NaN or infinities.
inline std::optional<int> saturatedInt(double number)
{
    if (!std::isfinite(number))
        return std::nullopt;
    constexpr double lowest = std::numeric_limits<int>::min();
    constexpr double highest = std::numeric_limits<int>::max();
    return static_cast<int>(std::clamp(std::round(number), lowest, highest));
}

// A JSON number as an int, as above; none for any other JSON value.
inline std::optional<int> saturatedInt(const QJsonValue& value)
{
    return value.isDouble() ? saturatedInt(value.toDouble()) : std::nullopt;
}

inline void readBool(const QJsonObject& json, const char* key, bool& target)
{
    const QJsonValue value = json.value(QLatin1String(key));
    if (value.isBool())
        target = value.toBool();
}

inline void readInt(const QJsonObject& json, const char* key, int& target)
{
    if (const auto number = saturatedInt(json.value(QLatin1String(key))))
        target = *number;
}

inline void readString(const QJsonObject& json, const char* key, QString& target)
{
    const QJsonValue value = json.value(QLatin1String(key));
    if (value.isString())
        target = value.toString();
}

// Keeps the string entries of an array; entries of other types are skipped.
inline void readStringList(const QJsonObject& json, const char* key, QStringList& target)
{
    const QJsonValue value = json.value(QLatin1String(key));
    if (!value.isArray())
        return;
    QStringList strings;
    for (const QJsonValue& entry : value.toArray()) {
        if (entry.isString())
            strings.append(entry.toString());
    }
    target = strings;
}

}  // namespace JsonReading
