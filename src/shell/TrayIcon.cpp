#include "shell/TrayIcon.h"

#include "characters/BrandAssets.h"
#include "platform/TrayPanelColour.h"
#include "platform/X11Connection.h"
#include "ui/Palette.h"
#include "ui/ReduceMotion.h"

#include <QEasingCurve>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace {

constexpr int iconPixels = 2 * BrandAssets::menuIconSize;
constexpr qreal cornerRadius = 6.0 * 2;
constexpr qreal steadyOpacity = 0.2;
constexpr qreal pulseLow = 0.1;
constexpr qreal pulseHigh = 0.5;
// Halfway in lightness between the darkest and the lightest panels.
constexpr QRgb neutralViolet = 0x8462EC;
constexpr int markSizes[] = {16, 22, 24, 32, BrandAssets::menuIconSize, iconPixels};

std::optional<QColor> x11PanelForeground()
{
    X11Connection x11;
    return trayPanelForeground(x11);
}

// The glyph's coverage painted in one colour.
QPixmap tinted(QPixmap glyph, const QColor& colour)
{
    QPainter tint(&glyph);
    tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
    tint.fillRect(glyph.rect(), colour);
    return glyph;
}

QColor accentAt(qreal opacity)
{
    QColor colour = Palette::accent();
    colour.setAlphaF(opacity);
    return colour;
}

const QString toolTip = QStringLiteral("Dewbell — your little care companion");

}  // namespace

TrayIcon::TrayIcon(HostProbe hostAvailable, QObject* parent, ColourProbe panelForeground)
    : QObject(parent),
      hostAvailable_(hostAvailable ? std::move(hostAvailable) : HostProbe(&QSystemTrayIcon::isSystemTrayAvailable)),
      panelForeground_(panelForeground ? std::move(panelForeground) : ColourProbe(&x11PanelForeground)),
      icon_(new QSystemTrayIcon(this)),
      normal_(mark(markColour(std::nullopt)))
{
    icon_->setIcon(normal_);
    setProblem(std::nullopt);
    connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger)
            emit clicked();
    });

    recheck_.setInterval(recheckMilliseconds);
    connect(&recheck_, &QTimer::timeout, this, &TrayIcon::recheckHost);

    pulse_.setSingleShot(true);
    pulse_.setTimerType(Qt::PreciseTimer);
    connect(&pulse_, &QTimer::timeout, this,
            [this] { showPulseFrame(int(pulseClock_.elapsed() % (2 * pulseMilliseconds))); });
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
        followPanel();
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
    followPanel();
    icon_->show();
    shown_ = true;
}

void TrayIcon::followPanel()
{
    normal_ = mark(markColour(panelForeground_()));
    pulseFrames_.clear();
    if (!highlighted_)
        icon_->setIcon(normal_);
}

QRect TrayIcon::geometry() const
{
    return shown_ ? icon_->geometry() : QRect();
}

void TrayIcon::setProblem(const std::optional<QString>& problem)
{
    icon_->setToolTip(problem ? toolTip + QLatin1Char('\n') + *problem : toolTip);
}

void TrayIcon::setHighlighted(bool on)
{
    highlighted_ = on;
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
    pulseClock_.start();
    showPulseFrame(0);
}

qreal TrayIcon::pulseOpacityAt(int milliseconds)
{
    const int intoCycle = milliseconds % (2 * pulseMilliseconds);
    const int intoHalf = intoCycle < pulseMilliseconds ? intoCycle : 2 * pulseMilliseconds - intoCycle;
    const qreal eased = QEasingCurve(QEasingCurve::InOutSine).valueForProgress(qreal(intoHalf) / pulseMilliseconds);
    return pulseLow + (pulseHigh - pulseLow) * eased;
}

int TrayIcon::pulseFrameAt(int milliseconds)
{
    const qreal fraction = (pulseOpacityAt(milliseconds) - pulseLow) / (pulseHigh - pulseLow);
    return std::clamp(qRound(fraction * (pulseSteps - 1)), 0, pulseSteps - 1);
}

int TrayIcon::untilNextPulseFrame(int milliseconds)
{
    constexpr int cycle = 2 * pulseMilliseconds;
    static const QList<int> changes = [] {
        QList<int> found;
        for (int into = 1; into <= cycle; ++into) {
            if (pulseFrameAt(into) != pulseFrameAt(into - 1))
                found.append(into);
        }
        return found;
    }();
    const int intoCycle = milliseconds % cycle;
    for (const int change : changes) {
        if (change > intoCycle)
            return change - intoCycle;
    }
    return changes.first() + cycle - intoCycle;
}

void TrayIcon::showPulseFrame(int milliseconds)
{
    const int frame = pulseFrameAt(milliseconds);
    if (frame != shownFrame_) {
        shownFrame_ = frame;
        icon_->setIcon(pulseFrames_.at(frame));
    }
    pulse_.start(untilNextPulseFrame(milliseconds));
}

QColor TrayIcon::markColour(const std::optional<QColor>& panelForeground)
{
    return panelForeground && panelForeground->isValid() ? *panelForeground : QColor(neutralViolet);
}

QIcon TrayIcon::mark(const QColor& colour)
{
    const QIcon glyph = BrandAssets::menuIcon();
    QIcon drawn;
    for (const int pixels : markSizes)
        drawn.addPixmap(tinted(glyph.pixmap(pixels, pixels), colour));
    return drawn;
}

QIcon TrayIcon::highlightedIcon(const QIcon& base, qreal backgroundOpacity)
{
    const QPixmap glyph = tinted(base.pixmap(iconPixels, iconPixels), Palette::accent());
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
