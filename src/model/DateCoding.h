#pragma once

#include <QDateTime>
#include <QJsonValue>
#include <QUuid>
#include <optional>

// The saved state's wire format: dates are seconds since 2001-01-01 00:00:00 UTC as a
// double, identifiers are upper-case UUID strings without braces.
namespace DateCoding {

// Dates outside this window are treated as corrupt input rather than real moments.
inline constexpr int earliestYear = 1970;
inline constexpr int latestYear = 2200;

double toReferenceSeconds(const QDateTime& date);
// An invalid QDateTime when the number is not finite or lies outside the sane window.
QDateTime fromReferenceSeconds(double seconds);

QJsonValue encodeDate(const QDateTime& date);
std::optional<QDateTime> decodeDate(const QJsonValue& value);

QString encodeUuid(const QUuid& id);
std::optional<QUuid> decodeUuid(const QJsonValue& value);

// The far-future date used to park a schedule ("never, until changed"): 2200-01-01 UTC, the
// start of the last year the window accepts, so a parked schedule survives a save and a load.
QDateTime distantFuture();

}  // namespace DateCoding
