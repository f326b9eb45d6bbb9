#pragma once

#include <QElapsedTimer>
#include <QRect>
#include <QWidget>

// The frameless window that opens from the tray icon: under the icon (above it when the
// tray sits at the bottom of the screen), at the pointer when the tray host does not say
// where the icon is, and always inside the screen's available area. A click elsewhere
// closes it.
class Popover : public QWidget {
    Q_OBJECT
public:
    // Takes ownership of `content`.
    explicit Popover(QWidget* content, QWidget* parent = nullptr);

    QWidget* content() const { return content_; }

    // Opens next to `anchor` (global coordinates); an empty anchor means "at the pointer".
    void openAt(const QRect& anchor);

    // Where a popup of `size` goes for an icon at `anchor` on a screen.
    static QPoint placement(const QRect& anchor, const QSize& size, const QRect& screenGeometry,
                            const QRect& availableGeometry);

    // True for a moment after a click outside closed the popover: that same click on the tray
    // icon must not open it again.
    bool justClosed() const;

protected:
    void hideEvent(QHideEvent* event) override;

private:
    QWidget* content_;
    QElapsedTimer closedAt_;
};
