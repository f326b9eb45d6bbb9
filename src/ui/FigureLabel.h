#pragma once

#include <QColor>
#include <QWidget>

// One line of text whose digits all take the width of the widest digit, as a countdown or a
// running total wants: the figure does not jitter sideways as it changes, and the layout
// around it is asked again only when its width really changes (a second of a countdown costs a
// repaint of the figure, not a new layout of the page).
//
// Assistive tools hear a static text named by the widget's accessible name whose value is the
// figure, or the spoken form given for it ("0.75 L" where "0.75" is shown).
class FigureLabel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText)
    Q_PROPERTY(QString shownText READ spokenText)
public:
    FigureLabel(const QFont& font, const QColor& color, QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const { return text_; }

    // What assistive tools read instead of the text shown; empty reads the text itself.
    void setSpokenText(const QString& spoken);
    QString spokenText() const { return spoken_.isEmpty() ? text_ : spoken_; }

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
    QString spoken_;
    QColor color_;
};
