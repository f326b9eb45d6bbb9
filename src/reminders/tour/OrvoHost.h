#pragma once

#include <QImage>
#include <QWidget>

class OrvoWave;

// The tour's host: Orvo waving in a circle of Palette::surface, 6 points inside it. The
// animated "orvo-wave.gif" when motion is allowed, else the still "orvo-onboarding.png", else
// the 56-point brand mark: missing art never leaves the circle empty. Assistive technology
// meets the whole as one picture, "Orvo, your host".
class OrvoHost : public QWidget {
    Q_OBJECT
public:
    enum class Picture { wave, still, brandMark };

    static constexpr int padding = 6;
    static constexpr int brandMarkSize = 56;

    explicit OrvoHost(QWidget* parent = nullptr);

    Picture picture() const { return picture_; }
    OrvoWave* wave() const { return wave_; }
    // Where the picture and the circle behind it are drawn.
    QRectF pictureRect() const;
    QRectF circleRect() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    Picture picture_;
    QImage still_;
    OrvoWave* wave_ = nullptr;
};
