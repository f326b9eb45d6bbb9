#include "characters/MovieBuddy.h"

#include "characters/MissingArt.h"
#include "characters/SpriteBuddy.h"
#include "ui/Palette.h"
#include "ui/ReduceMotion.h"
#include "ui/Repaint.h"

#include <QFileInfo>
#include <QMediaPlayer>
#include <QPainter>
#include <QVideoSink>

namespace {

// Draws a picture as large as fits in `rect`, centred, aspect kept.
void paintCentred(QPainter& painter, const QRectF& rect, const QImage& picture)
{
    if (picture.isNull() || rect.isEmpty())
        return;
    const QSizeF fitted = QSizeF(picture.size()).scaled(rect.size(), Qt::KeepAspectRatio);
    const QRectF target(rect.center() - QPointF(fitted.width(), fitted.height()) / 2, fitted);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, fitted.toSize() != picture.size());
    painter.drawImage(target, picture);
}

}  // namespace

MovieBuddy::MovieBuddy(const QUrl& url, QWidget* parent) : OnScreenWidget(parent), url_(url), tint_(Palette::accent())
{
    setAttribute(Qt::WA_TranslucentBackground);
    const QFileInfo file(url.toLocalFile());
    showingStill_ = !url.isLocalFile() || !file.isFile() || !file.isReadable();
}

MovieBuddy::~MovieBuddy()
{
    if (player_)
        player_->stop();
}

void MovieBuddy::setStill(const QImage& still, const QColor& tint)
{
    still_ = still;
    tint_ = tint;
    update();
}

void MovieBuddy::setMirrored(bool mirrored)
{
    setAndRepaint(this, mirrored_, mirrored);
}

void MovieBuddy::start()
{
    if (player_ || showingStill_)
        return;
    // Reduced motion shows the still picture when there is one, else the movie's first frame.
    const bool still = ReduceMotion::isOn();
    if (still && !still_.isNull()) {
        showingStill_ = true;
        update();
        return;
    }
    // The player opens the file itself, so it is looked at again first: a FIFO put in its place
    // since would hold the player up for ever.
    if (!QFileInfo(url_.toLocalFile()).isFile()) {
        fallBack();
        return;
    }
    // No audio output is attached, so the movie is silent.
    player_ = new QMediaPlayer(this);
    sink_ = new QVideoSink(this);
    player_->setVideoSink(sink_);
    player_->setLoops(QMediaPlayer::Infinite);
    connect(sink_, &QVideoSink::videoFrameChanged, this, &MovieBuddy::showFrame);
    connect(player_, &QMediaPlayer::errorOccurred, this, &MovieBuddy::fallBack);
    connect(player_, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
        if (status == QMediaPlayer::InvalidMedia)
            fallBack();
    });
    player_->setSource(url_);
    if (still)
        player_->pause();
    else
        player_->play();
}

void MovieBuddy::fallBack()
{
    if (showingStill_)
        return;
    showingStill_ = true;
    releasePlayer();
    update();
}

void MovieBuddy::releasePlayer()
{
    if (player_) {
        player_->stop();
        player_->deleteLater();
        player_ = nullptr;
    }
    if (sink_) {
        sink_->disconnect(this);
        sink_->deleteLater();
        sink_ = nullptr;
    }
    frame_ = QVideoFrame();
    frameImage_ = QImage();
}

void MovieBuddy::showFrame(const QVideoFrame& frame)
{
    // The sink announces an empty frame when playback stops; keep the last picture then.
    if (!frame.isValid())
        return;
    frame_ = frame;
    frameImageIsStale_ = true;
    update();
}

const QImage& MovieBuddy::frameImage()
{
    if (frameImageIsStale_) {
        frameImage_ = frame_.toImage();
        frameImageIsStale_ = false;
    }
    return frameImage_;
}

void MovieBuddy::paintStill(QPainter& painter, const QRectF& rect, const QImage& still, const QColor& tint)
{
    if (still.isNull())
        MissingArt::paint(painter, rect, tint, QStringLiteral("face.smiling"));
    else
        SpriteBuddy::paintFitted(painter, rect, still);
}

void MovieBuddy::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (mirrored_) {
        painter.translate(width(), 0);
        painter.scale(-1, 1);
    }
    if (!showingStill_ && frame_.isValid())
        paintCentred(painter, rect(), frameImage());
    else
        paintStill(painter, rect(), still_, tint_);
}

void MovieBuddy::onScreenChanged(bool onScreen)
{
    if (onScreen) {
        start();
        return;
    }
    // A paused player keeps its decoders and frames, megabytes the hidden companion does not
    // need: it starts again from the beginning when shown.
    releasePlayer();
}
