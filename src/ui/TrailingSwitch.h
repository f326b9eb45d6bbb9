#pragma once

#include <QAbstractButton>

// An on/off switch with its label on the left, taking the free width, and the switch itself
// on the right (16 points apart), tinted Palette::primary when on. Checkable, reachable with
// Tab and toggled with the space bar; assistive technology reads the label as its name. The
// pointer toggles it on the switch or on the words of its label, never on the blank between.
class TrailingSwitch : public QAbstractButton {
    Q_OBJECT
public:
    explicit TrailingSwitch(const QString& label = {}, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

    static constexpr int spacing = 16;
    static constexpr QSize trackSize{34, 20};

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool hitButton(const QPoint& position) const override;

private:
    QRect labelRect(int width) const;
    // Where the label is drawn, and whether `position` falls on one of its lines of words.
    QRect labelArea() const;
    bool onWords(const QPoint& position) const;
    QRectF trackRect() const;
};
