#pragma once

#include <QString>
#include <optional>

// What the computer and its user are doing at one moment. Optional readings are absent when
// they were not asked for or could not be taken.
struct ContextSnapshot {
    bool isLocked = false;
    bool isSleeping = false;
    std::optional<double> recentInputSeconds;  // since the last key press or click
    std::optional<double> inputIdleSeconds;    // since any input, pointer movement included
    std::optional<bool> microphoneActive;
    bool screenMirrored = false;
    std::optional<QString> frontmostBundleID;
    std::optional<bool> systemFocused;

    bool operator==(const ContextSnapshot&) const = default;
};
