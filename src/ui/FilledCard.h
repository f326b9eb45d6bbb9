#pragma once

#include <QColor>
#include <QWidget>

// A rounded rectangle filled with one colour, behind whatever layout it is given: the cards
// of the popover and the main window. An outline, when set, is stroked 1 pixel wide over it.
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
