#pragma once

#include "store/ProtectionSpan.h"

#include "model/SavedState.h"

#include <QDateTime>
#include <optional>

// The two protections the user starts by hand.
enum class ProtectionMode { focus, meeting };

// Pause, focus and meeting protection, kept in the saved state under the keys it has always
// had ("pausedUntil", "focusUntil", "focusIndefinite", "meetingUntil", "meetingIndefinite").
class ProtectionModes {
public:
    explicit ProtectionModes(SavedState& state) : state_(state) { }

    // Reminders switched off, or a pause that has not ended yet.
    bool isPaused(const QDateTime& now) const;
    void pauseForAnHour(const QDateTime& now);
    // Switches reminders on and ends a pause.
    void resume();

    ProtectionSpan span(ProtectionMode protection) const;
    bool isOn(ProtectionMode protection, const QDateTime& now) const { return span(protection).isOn(now); }
    // None: until ended; a length is clamped to 5...240 minutes.
    void start(ProtectionMode protection, const QDateTime& now, std::optional<int> minutes);
    void end(ProtectionMode protection) { setSpan(protection, {}); }

    // Forgets the pause, focus and meeting end times that have passed.
    void clearStale(const QDateTime& now);

private:
    void setSpan(ProtectionMode protection, const ProtectionSpan& span);

    SavedState& state_;
};
