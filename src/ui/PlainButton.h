#pragma once

#include <QColor>
#include <QPushButton>

// A button with no background: just its label, or just a symbol, in one colour. It dims while
// held down and never takes keyboard focus, so a click on the reminder panel leaves the
// keyboard with the application the user is typing in.
class PlainButton : public QPushButton {
    Q_OBJECT
public:
    // A text button.
    PlainButton(const QString& text, const QFont& font, const QColor& color, QWidget* parent = nullptr);
    // A symbol button: the symbol drawn `symbolSize` points high.
    static PlainButton* symbol(const QString& symbolName, qreal symbolSize, const QColor& color,
                               QWidget* parent = nullptr);

    QString symbolName() const { return symbol_; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor color_;
    QString symbol_;
    qreal symbolSize_ = 0;
};
