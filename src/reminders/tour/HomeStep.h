#pragma once

#include <QWidget>

class TourMenuIcon;

// The tour's last step: a little menu bar with the Dewbell icon breathing in it, an arrow up to
// the real one, and three lines on living with Dewbell.
class HomeStep : public QWidget {
    Q_OBJECT
public:
    explicit HomeStep(QWidget* parent = nullptr);

    TourMenuIcon* menuIcon() const { return menuIcon_; }

private:
    QWidget* makeIllustration();
    QWidget* makeMenuBar(QWidget* parent);

    TourMenuIcon* menuIcon_ = nullptr;
};

// The outline of the brand mark's drop, standing where a menu bar's system logo would be.
class BrandOutline : public QWidget {
    Q_OBJECT
public:
    BrandOutline(qreal size, const QColor& color, QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qreal size_;
    QColor color_;
};
