#pragma once

#include <functional>
#include <optional>

// The process-wide answer every animated view asks: does the desktop want reduced motion?
// The shell hands in where the answer comes from (the desktop's setting); until it does,
// motion is on. The source is asked once and its answer kept.
class ReduceMotion {
public:
    using Source = std::function<bool()>;

    static bool isOn();

    // Tests pin the answer; none returns to the source.
    static void setOverride(std::optional<bool> reduce);
    // Replaces where the answer comes from; the kept answer is dropped.
    static void setSource(Source source);
};
