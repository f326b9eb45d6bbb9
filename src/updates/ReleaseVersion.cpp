#include "updates/ReleaseVersion.h"

#include <QRegularExpression>

std::optional<QVersionNumber> releaseVersion(const QString& text)
{
    static const QRegularExpression dottedNumbers(QStringLiteral("^[0-9]{1,9}(\\.[0-9]{1,9}){0,7}$"));
    if (!dottedNumbers.match(text).hasMatch())
        return std::nullopt;
    return QVersionNumber::fromString(text).normalized();
}

bool isNewerRelease(const QString& candidate, const QString& installed)
{
    const auto newer = releaseVersion(candidate);
    const auto older = releaseVersion(installed);
    return newer && older && QVersionNumber::compare(*newer, *older) > 0;
}
