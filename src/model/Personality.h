#pragma once

#include <QAnyStringView>
#include <QString>
#include <array>
#include <optional>

enum class Personality { sweet, cheeky, menace };

inline constexpr std::array<Personality, 3> allPersonalities{Personality::sweet, Personality::cheeky,
                                                             Personality::menace};

QString rawValue(Personality personality);
std::optional<Personality> personalityFromRaw(QAnyStringView raw);

// "Sweetheart", "A little sass", "Tiny menace".
QString title(Personality personality);
// "A pause, just for you.", "Care, with an eye roll.", "One agenda. Water."
QString detail(Personality personality);
// How long an unanswered water reminder waits before asking again: 600, 300, 120 s.
double retrySeconds(Personality personality);
