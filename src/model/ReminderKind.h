#pragma once

#include <QAnyStringView>
#include <QString>
#include <array>
#include <optional>

enum class ReminderKind { water, eyeRest, movement };

inline constexpr std::array<ReminderKind, 3> allReminderKinds{ReminderKind::water, ReminderKind::eyeRest,
                                                              ReminderKind::movement};

QString rawValue(ReminderKind kind);
std::optional<ReminderKind> reminderKindFromRaw(QAnyStringView raw);

// "Water break", "Rest your eyes", "Time to move".
QString title(ReminderKind kind);
// The one-line instruction shown while a break of this kind runs.
QString instruction(ReminderKind kind);
