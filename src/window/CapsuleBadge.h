#pragma once

#include <QColor>
#include <QWidget>

// A small status badge: a symbol and a text in one colour, 9 points in from the sides and 5
// from the top and bottom of a capsule filled with the same colour at 10 %.
class CapsuleBadge : public QWidget {
    Q_OBJECT
public:
    explicit CapsuleBadge(QWidget* parent = nullptr);

    void setBadge(const QString& text, const QString& symbolName, const QColor& color);
    QString text() const { return text_; }
    QString symbol() const { return symbol_; }
    QColor color() const { return color_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
    QString symbol_;
    QColor color_;
};
