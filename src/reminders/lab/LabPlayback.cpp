#include "reminders/lab/LabPlayback.h"

#include "model/EnumTable.h"

namespace {

constexpr std::array<EnumTable::Word<LabPlayback>, 4> playbackNames{{
    {LabPlayback::interactive, "interactive"},
    {LabPlayback::yes, "yes"},
    {LabPlayback::notYet, "notYet"},
    {LabPlayback::both, "both"},
}};

}  // namespace

QString LabPlaybacks::rawValue(LabPlayback playback)
{
    return EnumTable::rawOf(playbackNames, playback);
}

std::optional<LabPlayback> LabPlaybacks::fromRawValue(const QString& text)
{
    return EnumTable::fromRaw<LabPlayback>(playbackNames, text);
}
