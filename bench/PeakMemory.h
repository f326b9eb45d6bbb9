#pragma once

// Memory figures of the benchmark's own process, from /proc/self/status.
#include <fstream>
#include <string>
#include <string_view>

namespace PeakMemory {

// In KiB: "VmRSS:" what is resident now, "VmHWM:" its high-water mark (resetPeak() starts it
// again from what is resident).
inline long statusKiB(std::string_view field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with(field))
            return std::stol(line.substr(field.size()));
    }
    return -1;
}

inline void resetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

// Peak memory above what was resident before one run of `work`.
template<typename Work>
double addedPeakMiB(Work work)
{
    const long before = statusKiB("VmRSS:");
    resetPeak();
    work();
    return double(statusKiB("VmHWM:") - before) / 1024.0;
}

}  // namespace PeakMemory
