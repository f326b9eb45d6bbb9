#pragma once

#include <QAbstractButton>
#include <QColor>

// A button whose face is a layout of ordinary widgets (a picture, a few labels), optionally on
// a filled, outlined rounded card. A click anywhere on it presses it; it takes keyboard focus,
// the space bar presses it, and a ring shows while it is focused from the keyboard.
class CardButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit CardButton(QWidget* parent = nullptr);

    // A card behind the face; without one the button has no background.
    void setCard(const QColor& fill, qreal cornerRadius);
    void setOutline(const QColor& outline);
    QColor outline() const { return outline_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void childEvent(QChildEvent* event) override;

private:
    QColor fill_;
    QColor outline_;
    qreal cornerRadius_ = 10;
};
