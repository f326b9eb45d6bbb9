#pragma once

#include "characters/CompanionPose.h"
#include "characters/CompanionView.h"

#include <QDateTime>
#include <optional>

// A companion picture that shows one moment of a visit: the phase, when it began and the answer
// the user gave. Without a fixed time it follows the clock from `phaseStarted`; with one it
// shows that many seconds into the phase and never animates.
class PhasedCompanion : public CompanionView {
    Q_OBJECT
public:
    void setPhase(CompanionPhase phase, const QDateTime& phaseStarted,
                  std::optional<CompanionPhase> response = std::nullopt);
    // Seconds into the phase to draw whatever the time says; none follows the clock.
    void setElapsed(std::optional<double> seconds);

    // What the companion draws right now.
    CompanionMoment moment() const;

protected:
    PhasedCompanion(CompanionPhase phase, const QDateTime& phaseStarted, std::optional<CompanionPhase> response,
                    bool animate, std::optional<double> elapsed, QWidget* parent);

    bool followsClock() const override { return !elapsed_; }

private:
    CompanionPhase phase_;
    QDateTime phaseStarted_;
    std::optional<CompanionPhase> response_;
    std::optional<double> elapsed_;
};
