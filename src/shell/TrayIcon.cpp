#include "shell/TrayIcon.h"

#include "characters/BrandAssets.h"
#include "ui/Palette.h"
#include "ui/ReduceMotion.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace {

constexpr int iconPixels = 2 * BrandAssets::menuIconSize;
constexpr qreal cornerRadius = 6.0 * 2;
constexpr qreal steadyOpacity = 0.2;
constexpr qreal pulseLow = 0.1;
constexpr qreal pulseHigh = 0.5;

QColor accentAt(qreal opacity)
{
    QColor colour = Palette::accent();
    colour.setAlphaF(opacity);
    return colour;
}

}  // namespace

TrayIcon::TrayIcon(HostProbe hostAvailable, QObject* parent)
    : QObject(parent),
      hostAvailable_(hostAvailable ? std::move(hostAvailable) : HostProbe(&QSystemTrayIcon::isSystemTrayAvailable)),
      icon_(new QSystemTrayIcon(this)),
      normal_(BrandAssets::menuIcon())
{
    icon_->setIcon(normal_);
    icon_->setToolTip(QStringLiteral("Dewbell — your little care companion"));
    connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger)
            emit clicked();
    });

    recheck_.setInterval(recheckMilliseconds);
    connect(&recheck_, &QTimer::timeout, this, &TrayIcon::recheckHost);

    // One pulse is 0.8 s up and 0.8 s back down, forever.
    pulse_.setDuration(2 * pulseMilliseconds);
    pulse_.setLoopCount(-1);
    pulse_.setEasingCurve(QEasingCurve::InOutSine);
    pulse_.setKeyValueAt(0, pulseLow);
    pulse_.setKeyValueAt(0.5, pulseHigh);
    pulse_.setKeyValueAt(1, pulseLow);
    connect(&pulse_, &QVariantAnimation::valueChanged, this, &TrayIcon::showPulseFrame);
}

TrayIcon::~TrayIcon() = default;

void TrayIcon::setContextMenu(QMenu* menu)
{
    icon_->setContextMenu(menu);
}

bool TrayIcon::hostAvailable() const
{
    return hostAvailable_();
}

void TrayIcon::show()
{
    if (hostAvailable()) {
        icon_->show();
        shown_ = true;
        recheck_.stop();
    } else {
        recheck_.start();
    }
}

void TrayIcon::recheckHost()
{
    if (shown_ || !hostAvailable())
        return;
    recheck_.stop();
    icon_->hide();
    icon_->show();
    shown_ = true;
}

QRect TrayIcon::geometry() const
{
    return shown_ ? icon_->geometry() : QRect();
}

void TrayIcon::setHighlighted(bool on)
{
    pulse_.stop();
    shownFrame_ = -1;
    if (!on) {
        icon_->setIcon(normal_);
        return;
    }
    if (ReduceMotion::isOn()) {
        icon_->setIcon(highlightedIcon(normal_, steadyOpacity));
        return;
    }
    // A handful of pre-drawn frames: the tray host only gets a new picture when the step changes.
    if (pulseFrames_.isEmpty()) {
        for (int step = 0; step < pulseSteps; ++step)
            pulseFrames_.append(highlightedIcon(normal_, pulseLow + (pulseHigh - pulseLow) * step / (pulseSteps - 1)));
    }
    pulse_.start();
}

void TrayIcon::showPulseFrame(const QVariant& value)
{
    const qreal fraction = (value.toReal() - pulseLow) / (pulseHigh - pulseLow);
    const int frame = std::clamp(qRound(fraction * (pulseSteps - 1)), 0, pulseSteps - 1);
    if (frame == shownFrame_)
        return;
    shownFrame_ = frame;
    icon_->setIcon(pulseFrames_.at(frame));
}

QIcon TrayIcon::highlightedIcon(const QIcon& base, qreal backgroundOpacity)
{
    QPixmap glyph = base.pixmap(iconPixels, iconPixels);
    {
        QPainter tint(&glyph);
        tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
        tint.fillRect(glyph.rect(), Palette::accent());
    }
    QPixmap picture(iconPixels, iconPixels);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath background;
    background.addRoundedRect(QRectF(picture.rect()), cornerRadius, cornerRadius);
    painter.fillPath(background, accentAt(backgroundOpacity));
    painter.drawPixmap(0, 0, glyph);
    painter.end();
    return QIcon(picture);
}
