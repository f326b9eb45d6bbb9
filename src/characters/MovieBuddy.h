#pragma once

#include <QColor>
#include <QImage>
#include <QUrl>
#include <QWidget>

class QMediaPlayer;
class QVideoWidget;

// A movie companion: plays the movie at `url` muted and looping, filling the view with its
// aspect kept. While the movie cannot play (a missing or broken file, no media backend) and
// while the desktop asks for reduced motion, it shows the still picture instead.
class MovieBuddy : public QWidget {
    Q_OBJECT
public:
    explicit MovieBuddy(const QUrl& url, QWidget* parent = nullptr);
    ~MovieBuddy() override;

    // The still picture (usually the pack's artwork) and the tint of the symbol drawn when
    // there is no still picture either.
    void setStill(const QImage& still, const QColor& tint);
    QUrl url() const { return url_; }
    bool isShowingStill() const { return showingStill_; }
    // The player, once the movie has been started; none before or after falling back.
    QMediaPlayer* player() const { return player_; }

    static void paintStill(QPainter& painter, const QRectF& rect, const QImage& still, const QColor& tint);

    QSize sizeHint() const override { return {370, 218}; }

signals:
    void fellBackToStill();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void start();
    void fallBack();

    QUrl url_;
    QImage still_;
    QColor tint_;
    QMediaPlayer* player_ = nullptr;
    QVideoWidget* video_ = nullptr;
    bool showingStill_ = false;
};
