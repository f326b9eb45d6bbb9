#pragma once

#include <QImage>
#include <QVBoxLayout>
#include <QWidget>

// The reminder cards' shape: a column of rows padded by 22 points, on the panel's background
// colour in a rounded rectangle (radius 23) with a faint accent outline.
class CardFrame : public QWidget {
    Q_OBJECT
public:
    CardFrame(int rowSpacing, QWidget* parent = nullptr);

    QVBoxLayout* rows() const { return rows_; }
    // Height of the card at a width, its text wrapped to fit.
    int cardHeight(int width) const;

    static constexpr qreal cornerRadius = 23;
    static constexpr int padding = 22;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static QImage render(const QSize& size, qreal ratio);

    QVBoxLayout* rows_;
    QImage picture_;
};
