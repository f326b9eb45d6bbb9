#pragma once

#include "model/ContextSnapshot.h"
#include "model/Preferences.h"
#include "model/ReminderGate.h"

#include <QString>
#include <optional>

// What the main window and the popover show besides the saved state: the page on show, whether
// the first-run tour is open, the last notice, and the sentences about why reminders wait. In
// memory only. The setters that say whether anything changed let the store announce only real
// changes on every tick.
class WindowState {
public:
    QString selectedPage = QStringLiteral("Your day");
    bool tourVisible = false;
    std::optional<QString> notice;

    // The tour is offered until it was finished once, and never twice at a time.
    bool offersTour(int tourVersion) const { return tourVersion < 1 && !tourVisible; }

    const QString& systemFocusDescription() const { return systemFocusDescription_; }
    bool setSystemFocusDescription(const QString& description);

    std::optional<QString> suppressionReason() const { return suppressionReason_; }
    // The reason for the status line, unless it is a hold the user set up (off, pause, focus,
    // meeting, quiet hours): the status line words those more precisely itself.
    std::optional<QString> reasonForStatus() const;
    bool setSuppression(const std::optional<QString>& reason, GateDecision::Cause cause);

    std::optional<QString> contextAvailability() const { return contextAvailability_; }
    // Names the readings that the switched-on safeguards lacked in `context`.
    bool setContextAvailability(const SafeguardPreferences& safeguards, const ContextSnapshot& context);

private:
    QString systemFocusDescription_ = QStringLiteral("Optional · not connected");
    std::optional<QString> suppressionReason_;
    GateDecision::Cause suppressionCause_ = GateDecision::Cause::none;
    std::optional<QString> contextAvailability_;
};
