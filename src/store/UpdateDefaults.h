#pragma once

// What the two update toggles are when nothing else says otherwise.
namespace UpdateDefaults {
inline constexpr bool automaticallyChecks = true;
inline constexpr bool automaticallyDownloads = false;
}  // namespace UpdateDefaults
