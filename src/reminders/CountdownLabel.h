#pragma once

#include <QColor>
#include <QWidget>

// A "mm:ss" countdown whose digits all take the same width, so the time does not jitter
// sideways as it counts down. Assistive tools read the time shown, with the accessible name
// given to the label.
class CountdownLabel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString shownText READ text)
public:
    CountdownLabel(const QFont& font, const QColor& color, QWidget* parent = nullptr);

    // Whole seconds shown as "%02d:%02d"; minutes are not capped (100 minutes show "100:00").
    void setSeconds(int seconds);
    QString text() const { return text_; }

    static QString format(int seconds);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qreal advance(QChar character) const;

    QString text_;
    QColor color_;
};
