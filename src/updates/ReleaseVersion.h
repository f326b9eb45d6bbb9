#pragma once

#include <QString>
#include <QVersionNumber>
#include <optional>

// A release's version: whole numbers separated by dots ("1.2.10"), trailing zeros ignored,
// so "1.2" and "1.2.0" are the same release. Anything else ("1.2-beta", " 1.2", "") is none:
// an item the feed cannot order is never offered.
std::optional<QVersionNumber> releaseVersion(const QString& text);

// Whether `candidate` is a later release than `installed`; false when either is none.
bool isNewerRelease(const QString& candidate, const QString& installed);
