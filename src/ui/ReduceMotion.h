#pragma once

#include <functional>
#include <optional>

// The process-wide answer every animated view asks: does the desktop want reduced motion?
// The shell hands in where the answer comes from (the desktop's setting); until it does,
// motion is on. The answer is kept until refresh(): the windows ask again each time they open,
// so a setting changed while Dewbell runs is followed without watching the desktop.
class ReduceMotion {
public:
    using Source = std::function<bool()>;

    static bool isOn();

    // Tests pin the answer; none returns to the source.
    static void setOverride(std::optional<bool> reduce);
    // Replaces where the answer comes from; the kept answer is dropped.
    static void setSource(Source source);
    // Drops the kept answer: the next question asks the source again.
    static void refresh();
};
