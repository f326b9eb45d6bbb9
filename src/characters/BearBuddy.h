#pragma once

#include "characters/BearArt.h"
#include "characters/PhasedCompanion.h"

#include <QImage>

// One of the two code-drawn bears, Viru ("viru") or Vuzo ("vuzo"), in a phase of its visit.
// With a fixed time the picture shows that many seconds into the phase and nothing else
// matters; without one the bear animates itself from `phaseStarted`. With animation off or
// reduced motion it shows the phase's still pose. It never mirrors itself: the host does
// that while the bear leaves.
class BearBuddy : public PhasedCompanion {
    Q_OBJECT
public:
    BearBuddy(const QString& kind, CompanionPhase phase, const QDateTime& phaseStarted,
              std::optional<CompanionPhase> response = std::nullopt, bool animate = true,
              std::optional<double> fixedTime = std::nullopt, QWidget* parent = nullptr);

    // "vuzo" gives Vuzo; every other kind Viru.
    static BearLook look(const QString& kind);
    static void paint(QPainter& painter, const QRectF& rect, const QString& kind, const CompanionMoment& moment);
    static QImage render(const QSize& size, const QString& kind, const CompanionMoment& moment);

    void paintPicture(QPainter& painter, const QRectF& rect) const override;

    QSize sizeHint() const override { return {250, 290}; }

private:
    QString kind_;
};
