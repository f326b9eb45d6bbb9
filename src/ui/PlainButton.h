#pragma once

#include <QAbstractButton>
#include <QColor>

// A button without a background: an optional leading symbol, the text and an optional
// trailing symbol, all in one colour. It dims while held down and when disabled. Stretched, it
// takes the full width and pushes the trailing symbol to the right edge.
//
// Symbols are as tall as a line of the font unless given a size of their own. The contents
// margins (2 above and below by default) are part of the button, so wider margins make a small
// symbol easier to hit.
class PlainButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit PlainButton(const QString& text = {}, const QString& leadingSymbol = {}, QWidget* parent = nullptr);

    void setTrailingSymbol(const QString& name);

    // The symbols' edge in logical pixels; 0 follows the font.
    void setSymbolSize(qreal size);

    void setColor(const QColor& color);
    QColor color() const { return color_; }

    void setStretched(bool stretched);

    // A disabled button that states a fact ("On duty") keeps its full colour, readable as the
    // text it is; by default a disabled button is dimmed.
    void setDimmedWhenDisabled(bool dimmed);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qreal symbolSide() const;

    QString leading_;
    QString trailing_;
    qreal symbolSize_ = 0;
    QColor color_;
    bool dimmedWhenDisabled_ = true;
};
