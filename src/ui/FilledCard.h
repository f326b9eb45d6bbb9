#pragma once

#include <QColor>
#include <QWidget>

// A rounded rectangle filled with one colour, behind whatever layout it is given: the cards
// of the popover and the main window.
class FilledCard : public QWidget {
    Q_OBJECT
public:
    FilledCard(const QColor& fill, qreal cornerRadius, QWidget* parent = nullptr);

    QColor fill() const { return fill_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor fill_;
    qreal cornerRadius_;
};
