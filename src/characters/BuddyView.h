#pragma once

#include "characters/CompanionPose.h"
#include "characters/CompanionView.h"
#include "model/CharacterPack.h"

#include <QElapsedTimer>
#include <QImage>

// The general picture of a companion, for cards, the dashboard and the tour: the code-drawn
// drop, sprout and bears, a sprite companion's idle (or celebrating) frames, or a movie or
// image companion's still artwork. `happy` shows the celebrating pose; `animate` lets it
// breathe, blink and wave (never while the desktop asks for reduced motion).
class BuddyView : public CompanionView {
    Q_OBJECT
public:
    explicit BuddyView(const CharacterPack& pack, bool happy = false, bool animate = true, QWidget* parent = nullptr);

    void setPack(const CharacterPack& pack);
    const CharacterPack& pack() const { return pack_; }
    void setHappy(bool happy);

    // Seconds into the picture's loop that it shows now; none while it stands still.
    std::optional<double> seconds() const;
    // What the picture shows now: asking, or celebrating when happy, at seconds().
    CompanionMoment moment() const;

    // `seconds` none draws the still picture.
    static void paint(QPainter& painter, const QRectF& rect, const CharacterPack& pack, bool happy,
                      std::optional<double> seconds);
    static QImage render(const QSize& size, const CharacterPack& pack, bool happy, std::optional<double> seconds);
    // True for the kinds drawn by code: "drop", "sprout", "viru", "vuzo".
    static bool isCodeDrawn(const QString& kind);

    void paintPicture(QPainter& painter, const QRectF& rect) const override;

    QSize sizeHint() const override { return {210, 218}; }

protected:
    bool followsClock() const override;

private:
    CharacterPack pack_;
    bool happy_;
    QElapsedTimer clock_;
};
