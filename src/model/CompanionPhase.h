#pragma once

#include <QString>
#include <optional>

enum class CompanionPhase { hidden, entering, asking, celebrating, declined, leaving };

QString rawValue(CompanionPhase phase);
