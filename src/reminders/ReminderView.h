#pragma once

#include "characters/SpriteBuddy.h"
#include "reminders/CardShadow.h"
#include "reminders/CompanionPicture.h"
#include "ui/OnScreenWidget.h"

#include <QDateTime>
#include <QTimer>
#include <QUuid>
#include <optional>

class BreakReminderView;
class DewbellStore;
class PictureButton;
class SpeechBubbleCard;

// The reminder on the 410 x 760 reminder canvas. For water: the speech bubble, and below it the
// companion, which walks in from the right, waits, reacts and walks off; clicking the
// companion snoozes. For eye rest and movement: the break card, at the bottom of the canvas.
// It follows the store only while it is on screen.
//
// The companion is redrawn about 60 times a second while it moves: while a water reminder is
// visible and not waiting for an answer, unless the desktop asks for reduced motion or the view
// is off screen. With `fixedElapsed` the companion is drawn that many seconds into its phase,
// whatever the time, and never animates.
class ReminderView : public OnScreenWidget {
    Q_OBJECT
public:
    explicit ReminderView(DewbellStore* store, std::optional<double> fixedElapsed = std::nullopt,
                          QWidget* parent = nullptr);

    SpeechBubbleCard* bubble() const { return bubble_; }
    PictureButton* companion() const { return companion_; }
    BreakReminderView* breakCard() const { return breakCard_; }
    CompanionPicture picture() const { return picture_; }

    bool isTimelineRunning() const { return timeline_.isActive(); }
    // Seconds into the phase the companion is drawn at.
    double elapsed() const;
    // Points the companion stands to the right of its place.
    double walkOffset() const;

    QSize sizeHint() const override;

protected:
    void onScreenChanged(bool onScreen) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void refresh();
    void refreshWater();
    void refreshBreak();
    void choosePicture();
    QWidget* makePicture() const;
    void drawCompanion();
    // True when a code-drawn companion at this moment shows another frame than the one drawn.
    bool isNewFrame(const CompanionMoment& moment);
    void refreshTimeline();
    void placeBubble(bool visible);

    DewbellStore* store_;
    std::optional<double> fixedElapsed_;
    SpeechBubbleCard* bubble_;
    PictureButton* companion_;
    BreakReminderView* breakCard_;
    CompanionPicture picture_;
    // What the picture widget was made for: a new pack, or for a movie a new reminder, makes a new one.
    QString picturePackID_;
    QUuid pictureReminderID_;
    // The sprite cell last drawn: a walk tick that shows the same cell only moves the picture.
    std::optional<SpriteBuddy::Choice> drawnSpriteCell_;
    // The frame of a code-drawn companion last drawn, likewise.
    std::optional<CompanionMoment> drawnFrame_;
    CardShadow bubbleShadow_;
    QTimer timeline_;
    // The date of the timeline's last frame.
    QDateTime timelineDate_;
};
