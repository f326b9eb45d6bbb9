#include "reminders/tour/OrvoHost.h"

#include "characters/BrandAssets.h"
#include "characters/BrandMarkArt.h"
#include "reminders/tour/OrvoWave.h"
#include "reminders/tour/TourAccessibility.h"
#include "ui/Palette.h"
#include "ui/ReduceMotion.h"

#include <QPainter>

namespace {
const QString waveName = QStringLiteral("orvo-wave.gif");
const QString stillName = QStringLiteral("orvo-onboarding.png");
}  // namespace

OrvoHost::OrvoHost(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    TourAccessibility::present(this, TourAccessibility::Presence::oneElement);
    setAccessibleName(QStringLiteral("Orvo, your host"));
    const auto wavePath = ReduceMotion::isOn() ? std::nullopt : BrandAssets::path(waveName);
    if (wavePath) {
        picture_ = Picture::wave;
        wave_ = new OrvoWave(*wavePath, this);
    } else if (const auto still = BrandAssets::image(stillName)) {
        picture_ = Picture::still;
        still_ = *still;
    } else {
        picture_ = Picture::brandMark;
    }
}

QSize OrvoHost::sizeHint() const
{
    const QSize picture = picture_ == Picture::brandMark ? QSize(brandMarkSize, brandMarkSize) : OrvoWave::naturalSize;
    return picture + QSize(2 * padding, 2 * padding);
}

// The brand mark keeps its size; the art fills whatever frame the tour gives the host.
QRectF OrvoHost::circleRect() const
{
    const qreal side = picture_ == Picture::brandMark ? brandMarkSize + 2 * padding : std::min(width(), height());
    return {(width() - side) / 2, (height() - side) / 2, side, side};
}

QRectF OrvoHost::pictureRect() const
{
    return circleRect().adjusted(padding, padding, -padding, -padding);
}

void OrvoHost::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (wave_)
        wave_->setGeometry(pictureRect().toAlignedRect());
}

void OrvoHost::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Palette::surface());
    painter.drawEllipse(circleRect());
    const QRectF frame = pictureRect();
    if (picture_ == Picture::brandMark) {
        BrandMarkArt::paint(painter, frame, false, Palette::ink());
    } else if (picture_ == Picture::still) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        const QSizeF fitted = QSizeF(still_.size()).scaled(frame.size(), Qt::KeepAspectRatio);
        painter.drawImage(QRectF(frame.center() - QPointF(fitted.width() / 2, fitted.height() / 2), fitted), still_);
    }
}
