#include "ui/PlainButton.h"

#include "ui/Symbols.h"

#include <QPainter>

PlainButton::PlainButton(const QString& text, const QFont& font, const QColor& color, QWidget* parent)
    : QPushButton(text, parent), color_(color)
{
    setFont(font);
    setFlat(true);
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

PlainButton* PlainButton::symbol(const QString& symbolName, qreal symbolSize, const QColor& color, QWidget* parent)
{
    auto* button = new PlainButton(QString(), QFont(), color, parent);
    button->symbol_ = symbolName;
    button->symbolSize_ = symbolSize;
    return button;
}

QSize PlainButton::sizeHint() const
{
    if (!symbol_.isEmpty()) {
        // A little room around the symbol makes it easier to hit.
        const int side = qCeil(symbolSize_) + 8;
        return {side, side};
    }
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(text()) + 2, metrics.height()};
}

void PlainButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (isDown())
        painter.setOpacity(0.55);
    if (!symbol_.isEmpty()) {
        const QRectF square(QPointF((width() - symbolSize_) / 2, (height() - symbolSize_) / 2),
                            QSizeF(symbolSize_, symbolSize_));
        Symbols::paint(painter, square, symbol_, color_);
        return;
    }
    painter.setPen(color_);
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignCenter, text());
}
