#pragma once

#include <QString>
#include <array>
#include <optional>

// What the preview lab plays: the user's own answer, a scripted Yes, a scripted Not yet, or
// both scripts one after the other.
enum class LabPlayback { interactive, yes, notYet, both };

namespace LabPlaybacks {

inline constexpr std::array<LabPlayback, 4> all{LabPlayback::interactive, LabPlayback::yes, LabPlayback::notYet,
                                                LabPlayback::both};

// "interactive", "yes", "notYet", "both".
QString rawValue(LabPlayback playback);
// None for any other text.
std::optional<LabPlayback> fromRawValue(const QString& text);

}  // namespace LabPlaybacks
