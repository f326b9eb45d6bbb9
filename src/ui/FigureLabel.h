#pragma once

#include <QColor>
#include <QWidget>

// One line of text whose digits all take the width of the widest digit, as a countdown or a
// running total wants: the figure does not jitter sideways as it changes, and the layout
// around it is asked again only when its width really changes (a second of a countdown costs a
// repaint of the figure, not a new layout of the page).
class FigureLabel : public QWidget {
    Q_OBJECT
public:
    FigureLabel(const QFont& font, const QColor& color, QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const { return text_; }

    // Where the text's baseline lies, from the top.
    int baseline() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qreal advance(QChar character) const;
    qreal textWidth(const QString& text) const;

    QString text_;
    QColor color_;
};
