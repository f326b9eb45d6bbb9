#pragma once

#include <QIcon>
#include <QList>
#include <QObject>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QVariantAnimation>
#include <functional>

class QMenu;

// Dewbell's icon in the tray: the brand menu icon with its tooltip. A left click asks for the
// popover. Without a tray host it waits, looking again every few seconds, and appears once a
// host is there. During the tour it can pulse in the accent colour (steady when the desktop
// asks for reduced motion).
class TrayIcon : public QObject {
    Q_OBJECT
public:
    using HostProbe = std::function<bool()>;

    static constexpr int recheckMilliseconds = 3000;
    static constexpr int pulseMilliseconds = 800;
    static constexpr int pulseSteps = 8;

    // `hostAvailable` says whether a tray host is running (QSystemTrayIcon's answer by default).
    explicit TrayIcon(HostProbe hostAvailable = {}, QObject* parent = nullptr);
    ~TrayIcon() override;

    void setContextMenu(QMenu* menu);

    // Shows the icon now when a host is there, else as soon as one appears.
    void show();
    bool isShown() const { return shown_; }
    bool hostAvailable() const;
    // Looks for a host again now (the timer does this every few seconds while there is none).
    void recheckHost();
    // Where the host draws the icon (global coordinates); empty when it does not say.
    QRect geometry() const;

    void setHighlighted(bool on);
    bool isPulsing() const { return pulse_.state() == QAbstractAnimation::Running; }

    // The menu icon tinted with the accent colour on an accent background of `opacity`.
    static QIcon highlightedIcon(const QIcon& base, qreal backgroundOpacity);

signals:
    void clicked();

private:
    void showPulseFrame(const QVariant& value);

    HostProbe hostAvailable_;
    QSystemTrayIcon* icon_;
    QIcon normal_;
    QList<QIcon> pulseFrames_;
    QTimer recheck_;
    QVariantAnimation pulse_;
    bool shown_ = false;
    int shownFrame_ = -1;
};
