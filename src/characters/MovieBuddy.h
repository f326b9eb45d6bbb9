#pragma once

#include "ui/OnScreenWidget.h"

#include <QColor>
#include <QImage>
#include <QUrl>
#include <QVideoFrame>

class QMediaPlayer;
class QVideoSink;

// A movie companion: plays the movie at `url` muted and looping, filling the view with its
// aspect kept. While the movie cannot play (a missing or broken file, no media backend) and
// while the desktop asks for reduced motion, it shows the still picture instead; until the
// first frame arrives it shows the still picture too, so it is never blank.
//
// The frames are painted by the view itself rather than by a native video window, so the movie
// can be drawn anywhere a widget can: scaled on the reminder canvas, or into an image.
class MovieBuddy : public OnScreenWidget {
    Q_OBJECT
public:
    explicit MovieBuddy(const QUrl& url, QWidget* parent = nullptr);
    ~MovieBuddy() override;

    // The still picture (usually the pack's artwork) and the tint of the symbol drawn when
    // there is no still picture either.
    void setStill(const QImage& still, const QColor& tint);
    QUrl url() const { return url_; }
    bool isShowingStill() const { return showingStill_; }
    // The player while the movie is shown; none before, while hidden or after falling back.
    QMediaPlayer* player() const { return player_; }
    // Where the player delivers its frames; none whenever player() is none.
    QVideoSink* videoSink() const { return sink_; }
    // True once a frame of the movie has arrived (and the view paints frames, not the still).
    bool hasFrame() const { return frame_.isValid(); }
    // Drawn mirrored left to right (a companion walking away). The movie shows itself, so its
    // host cannot mirror it.
    void setMirrored(bool mirrored);
    bool isMirrored() const { return mirrored_; }

    static void paintStill(QPainter& painter, const QRectF& rect, const QImage& still, const QColor& tint);

    QSize sizeHint() const override { return {370, 218}; }

protected:
    void onScreenChanged(bool onScreen) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void start();
    void fallBack();
    void releasePlayer();
    void showFrame(const QVideoFrame& frame);
    const QImage& frameImage();

    QUrl url_;
    QImage still_;
    QColor tint_;
    QMediaPlayer* player_ = nullptr;
    QVideoSink* sink_ = nullptr;
    bool showingStill_ = false;
    bool mirrored_ = false;
    // The latest frame, turned into an image only when it is painted: frames that arrive while
    // nothing is drawn cost no conversion.
    QVideoFrame frame_;
    QImage frameImage_;
    bool frameImageIsStale_ = false;
};
