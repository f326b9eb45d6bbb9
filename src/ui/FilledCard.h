#pragma once

#include <QColor>
#include <QPainter>
#include <QWidget>

// A rounded rectangle filled with one colour, behind whatever layout it is given: the cards
// of the popover and the main window. An outline, when set, is stroked 1 pixel wide over it.
// Paints a rounded card into `rect`: `fill` inside and `outline` stroked 1 pixel wide just
// inside the edge; an invalid colour paints nothing. The painter is left with no brush.
void paintCard(QPainter& painter, const QRectF& rect, const QColor& fill, const QColor& outline, qreal cornerRadius);

class FilledCard : public QWidget {
    Q_OBJECT
public:
    FilledCard(const QColor& fill, qreal cornerRadius, QWidget* parent = nullptr);

    QColor fill() const { return fill_; }

    // An invalid colour draws no outline.
    void setOutline(const QColor& outline);
    QColor outline() const { return outline_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor fill_;
    QColor outline_;
    qreal cornerRadius_;
};
