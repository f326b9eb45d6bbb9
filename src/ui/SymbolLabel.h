#pragma once

#include <QColor>
#include <QWidget>

// One symbol (by its name in Symbols) in one colour, in a square `size` pixels on a side.
class SymbolLabel : public QWidget {
    Q_OBJECT
public:
    SymbolLabel(const QString& name, qreal size, const QColor& color, QWidget* parent = nullptr);

    void setSymbol(const QString& name, const QColor& color);
    QString name() const { return name_; }
    QColor color() const { return color_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString name_;
    qreal size_;
    QColor color_;
};
