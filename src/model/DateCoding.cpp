#include "model/DateCoding.h"

#include <cmath>

namespace DateCoding {

namespace {

constexpr qint64 referenceEpochMSecs = 978307200000LL;  // 2001-01-01 00:00:00 UTC

QDateTime utcStartOfYear(int year)
{
    return QDateTime(QDate(year, 1, 1), QTime(0, 0), Qt::UTC);
}

// The sane window in reference seconds: [1970-01-01, 2201-01-01).
double earliestSeconds()
{
    return (utcStartOfYear(earliestYear).toMSecsSinceEpoch() - referenceEpochMSecs) / 1000.0;
}

double endSeconds()
{
    return (utcStartOfYear(latestYear + 1).toMSecsSinceEpoch() - referenceEpochMSecs) / 1000.0;
}

}  // namespace

double toReferenceSeconds(const QDateTime& date)
{
    if (!date.isValid())
        return std::nan("");
    return (date.toMSecsSinceEpoch() - referenceEpochMSecs) / 1000.0;
}

QDateTime fromReferenceSeconds(double seconds)
{
    static const double earliest = earliestSeconds();
    static const double end = endSeconds();
    if (!std::isfinite(seconds) || seconds < earliest || seconds >= end)
        return {};
    const auto msecs = static_cast<qint64>(std::llround(seconds * 1000.0));
    return QDateTime::fromMSecsSinceEpoch(referenceEpochMSecs + msecs, Qt::UTC);
}

QJsonValue encodeDate(const QDateTime& date)
{
    if (!date.isValid())
        return QJsonValue(QJsonValue::Null);
    return toReferenceSeconds(date);
}

std::optional<QDateTime> decodeDate(const QJsonValue& value)
{
    if (!value.isDouble())
        return std::nullopt;
    QDateTime date = fromReferenceSeconds(value.toDouble());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

QString encodeUuid(const QUuid& id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

std::optional<QUuid> decodeUuid(const QJsonValue& value)
{
    if (!value.isString())
        return std::nullopt;
    const QString text = value.toString();
    if (text.size() != 36)
        return std::nullopt;
    const QUuid id = QUuid::fromString(text);
    if (id.isNull())
        return std::nullopt;
    return id;
}

QDateTime distantFuture()
{
    // Kept inside the window decodeDate accepts, so a parked schedule survives a save and load.
    return utcStartOfYear(latestYear);
}

}  // namespace DateCoding
