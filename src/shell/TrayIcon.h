#pragma once

#include <QColor>
#include <QElapsedTimer>
#include <QIcon>
#include <QList>
#include <QObject>
#include <QSystemTrayIcon>
#include <QTimer>
#include <functional>
#include <optional>

class QMenu;

// Dewbell's icon in the tray: the brand drop with its tooltip. A left click asks for the
// popover. Without a tray host it waits, looking again every few seconds, and appears once a
// host is there. During the tour it can pulse in the accent colour (steady when the desktop
// asks for reduced motion).
//
// Trays on Linux do not recolour a template picture, so the drop is drawn in the colour the
// tray asks its icons for where it says, else in a violet that reads on dark and light panels.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    using HostProbe = std::function<bool()>;
    using ColourProbe = std::function<std::optional<QColor>()>;

    static constexpr int recheckMilliseconds = 3000;
    static constexpr int pulseMilliseconds = 800;
    static constexpr int pulseSteps = 8;

    // `hostAvailable` says whether a tray host is running (QSystemTrayIcon's answer by default);
    // `panelForeground` the colour the tray asks icons to draw in (the X11 tray's by default),
    // asked each time the icon appears.
    explicit TrayIcon(HostProbe hostAvailable = {}, QObject* parent = nullptr, ColourProbe panelForeground = {});
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

    // A problem the user must know about wherever they are (a save that failed), added to the
    // tooltip under its usual line; none takes it away.
    void setProblem(const std::optional<QString>& problem);

    void setHighlighted(bool on);
    bool isPulsing() const { return pulse_.isActive(); }

    // What the tray shows now.
    QIcon icon() const { return icon_->icon(); }

    // The opacity of the pulse's background this far into the pulse: 0.1 to 0.5 in 0.8 s and
    // back in another 0.8 s, each way easing in and out.
    static qreal pulseOpacityAt(int milliseconds);
    // Which of the pulseSteps pictures shows this far into the pulse.
    static int pulseFrameAt(int milliseconds);
    // How long after `milliseconds` into the pulse its picture next changes.
    static int untilNextPulseFrame(int milliseconds);
    // The menu icon tinted with the accent colour on an accent background of `opacity`.
    static QIcon highlightedIcon(const QIcon& base, qreal backgroundOpacity);
    // The brand drop drawn in `colour`, at the sizes trays ask for.
    static QIcon mark(const QColor& colour);
    // The tray's own foreground, else a violet at least 3.5:1 against #202020 and #F0F0F0 alike.
    static QColor markColour(const std::optional<QColor>& panelForeground);

signals:
    void clicked();

private:
    void showPulseFrame(int milliseconds);
    // Draws the icon afresh for the tray that shows it.
    void followPanel();

    HostProbe hostAvailable_;
    ColourProbe panelForeground_;
    QSystemTrayIcon* icon_;
    QIcon normal_;
    QList<QIcon> pulseFrames_;
    QTimer recheck_;
    // Wakes only when the pulse's picture changes, about nine times a second.
    QTimer pulse_;
    QElapsedTimer pulseClock_;
    bool shown_ = false;
    // A new picture for the panel waits while the tour's highlight shows.
    bool highlighted_ = false;
    int shownFrame_ = -1;
};
