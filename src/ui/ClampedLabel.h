#pragma once

#include <QColor>
#include <QWidget>

// Wrapped text limited to a number of lines: whatever does not fit ends in an ellipsis on the
// last line. Lines sit `extraLineSpacing` points further apart than the font's own leading.
//
// Assistive tools read the whole text, with the accessible name given to the label.
class ClampedLabel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText)
    Q_PROPERTY(QString shownText READ text)
public:
    ClampedLabel(const QFont& font, const QColor& color, int maximumLines, qreal extraLineSpacing,
                 QWidget* parent = nullptr);

    void setText(const QString& text);
    // Qt::AlignLeft (the default) or Qt::AlignHCenter: where each line sits.
    void setAlignment(Qt::Alignment alignment);
    QString text() const { return text_; }

    // The lines drawn at the label's current width, the last one elided when text was cut.
    QStringList shownLines() const { return linesFor(width()); }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QStringList linesFor(int width) const;
    qreal lineHeight() const;

    QString text_;
    QColor color_;
    Qt::Alignment alignment_ = Qt::AlignLeft;
    int maximumLines_;
    qreal extraLineSpacing_;
};
