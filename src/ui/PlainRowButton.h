#pragma once

#include <QAbstractButton>
#include <QColor>

// A button without a background: an optional leading symbol, the text and an optional
// trailing symbol, all in one colour. Stretched, it takes the full width and pushes the
// trailing symbol to the right edge.
class PlainRowButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit PlainRowButton(const QString& text = {}, const QString& leadingSymbol = {}, QWidget* parent = nullptr);

    void setLeadingSymbol(const QString& name);
    void setTrailingSymbol(const QString& name);
    QString leadingSymbol() const { return leading_; }
    QString trailingSymbol() const { return trailing_; }

    void setColor(const QColor& color);
    QColor color() const { return color_; }

    void setStretched(bool stretched);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString leading_;
    QString trailing_;
    QColor color_;
    bool stretched_ = false;
};
