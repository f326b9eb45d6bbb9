#include "ui/FigureLabel.h"

#include "ui/PaintedTextAccessibility.h"
#include "ui/Typography.h"

#include <QPainter>
#include <QtMath>

FigureLabel::FigureLabel(const QFont& font, const QColor& color, QWidget* parent) : QWidget(parent), color_(color)
{
    setFont(font);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    describePaintedText(this);
}

void FigureLabel::setText(const QString& text)
{
    if (text == text_)
        return;
    const bool widthChanges = qCeil(textWidth(text)) != qCeil(textWidth(text_));
    text_ = text;
    if (widthChanges)
        updateGeometry();
    update();
}

void FigureLabel::setSpokenText(const QString& spoken)
{
    spoken_ = spoken;
}

int FigureLabel::baseline() const
{
    return qCeil(QFontMetricsF(font()).ascent());
}

qreal FigureLabel::advance(QChar character) const
{
    return character.isDigit() ? tabularDigitWidth(font()) : QFontMetricsF(font()).horizontalAdvance(character);
}

qreal FigureLabel::textWidth(const QString& text) const
{
    qreal width = 0;
    for (const QChar character : text)
        width += advance(character);
    return width;
}

QSize FigureLabel::sizeHint() const
{
    return {qCeil(textWidth(text_)), qCeil(QFontMetricsF(font()).height())};
}

void FigureLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font());
    painter.setPen(color_);
    const QFontMetricsF metrics(font());
    qreal x = 0;
    for (const QChar character : text_) {
        const qreal cell = advance(character);
        painter.drawText(QPointF(x + (cell - metrics.horizontalAdvance(character)) / 2, metrics.ascent()),
                         QString(character));
        x += cell;
    }
}
