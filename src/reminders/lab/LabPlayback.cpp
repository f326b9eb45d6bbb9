#include "reminders/lab/LabPlayback.h"

QString LabPlaybacks::rawValue(LabPlayback playback)
{
    switch (playback) {
    case LabPlayback::interactive:
        return QStringLiteral("interactive");
    case LabPlayback::yes:
        return QStringLiteral("yes");
    case LabPlayback::notYet:
        return QStringLiteral("notYet");
    case LabPlayback::both:
        return QStringLiteral("both");
    }
    return {};
}

std::optional<LabPlayback> LabPlaybacks::fromRawValue(const QString& text)
{
    for (const LabPlayback playback : all) {
        if (rawValue(playback) == text)
            return playback;
    }
    return std::nullopt;
}
