#include "MovieBuddy.h"

#include "MissingArt.h"
#include "Palette.h"
#include "ReduceMotion.h"
#include "SpriteBuddy.h"

#include <QFileInfo>
#include <QMediaPlayer>
#include <QPainter>
#include <QVideoWidget>

MovieBuddy::MovieBuddy(const QUrl& url, QWidget* parent) : QWidget(parent), url_(url), tint_(Palette::accent()) {
    setAttribute(Qt::WA_TranslucentBackground);
    const QFileInfo file(url.toLocalFile());
    showingStill_ = !url.isLocalFile() || !file.isFile() || !file.isReadable();
}

MovieBuddy::~MovieBuddy() {
    if (player_)
        player_->stop();
}

void MovieBuddy::setStill(const QImage& still, const QColor& tint) {
    still_ = still;
    tint_ = tint;
    update();
}

void MovieBuddy::start() {
    if (player_ || showingStill_)
        return;
    // Reduced motion shows the still picture when there is one, else the movie's first frame.
    const bool still = ReduceMotion::isOn();
    if (still && !still_.isNull()) {
        showingStill_ = true;
        update();
        return;
    }
    video_ = new QVideoWidget(this);
    video_->setAspectRatioMode(Qt::KeepAspectRatio);
    video_->setAttribute(Qt::WA_TransparentForMouseEvents);
    video_->setGeometry(rect());
    video_->show();
    // No audio output is attached, so the movie is silent.
    player_ = new QMediaPlayer(this);
    player_->setVideoOutput(video_);
    player_->setLoops(QMediaPlayer::Infinite);
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

void MovieBuddy::fallBack() {
    if (showingStill_)
        return;
    showingStill_ = true;
    if (player_) {
        player_->stop();
        player_->deleteLater();
        player_ = nullptr;
    }
    if (video_) {
        video_->hide();
        video_->deleteLater();
        video_ = nullptr;
    }
    update();
    emit fellBackToStill();
}

void MovieBuddy::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (player_ && !ReduceMotion::isOn())
        player_->play();
    else
        start();
}

void MovieBuddy::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (player_)
        player_->pause();
}

void MovieBuddy::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (video_)
        video_->setGeometry(rect());
}

void MovieBuddy::paintStill(QPainter& painter, const QRectF& rect, const QImage& still, const QColor& tint) {
    if (still.isNull())
        MissingArt::paint(painter, rect, tint, QStringLiteral("face.smiling"));
    else
        SpriteBuddy::paintFitted(painter, rect, still);
}

void MovieBuddy::paintEvent(QPaintEvent*) {
    if (!showingStill_)
        return;
    QPainter painter(this);
    paintStill(painter, rect(), still_, tint_);
}
