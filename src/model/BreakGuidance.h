#pragma once

#include "model/Preferences.h"
#include "model/ReminderKind.h"

struct BreakGuidance {
    // What to do during the break, naming its configured length ("… for 20 seconds.").
    static QString instruction(ReminderKind kind, const BreakPreferences& breaks);
    // Frame of the pack's wellness sheet: eye rest [0, 1][max(v,0) % 2], else [2, 3, 4, 5][max(v,0) % 4].
    static int stickerFrame(ReminderKind kind, int variant);
};
