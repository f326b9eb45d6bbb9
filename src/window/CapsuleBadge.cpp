#include "window/CapsuleBadge.h"

#include "ui/Symbols.h"
#include "ui/Typography.h"

#include <QPainter>
#include <QtMath>

namespace {
constexpr int horizontalPadding = 9;
constexpr int verticalPadding = 5;
constexpr int symbolGap = 4;
constexpr qreal fillOpacity = 0.1;
}  // namespace

CapsuleBadge::CapsuleBadge(QWidget* parent) : QWidget(parent)
{
    setFont(uiFont(10, QFont::Medium));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void CapsuleBadge::setBadge(const QString& text, const QString& symbolName, const QColor& color)
{
    if (text == text_ && symbolName == symbol_ && color == color_)
        return;
    text_ = text;
    symbol_ = symbolName;
    color_ = color;
    setAccessibleName(text);
    updateGeometry();
    update();
}

QSize CapsuleBadge::sizeHint() const
{
    const QFontMetricsF metrics(font());
    const qreal side = metrics.height();
    const qreal width = side + symbolGap + metrics.horizontalAdvance(text_) + 2 * horizontalPadding;
    return {qCeil(width), qCeil(side) + 2 * verticalPadding};
}

void CapsuleBadge::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor fill = color_;
    fill.setAlphaF(fillOpacity);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    const qreal radius = height() / 2.0;
    painter.drawRoundedRect(QRectF(rect()), radius, radius);

    const QFontMetricsF metrics(font());
    const qreal side = metrics.height();
    Symbols::paint(painter, QRectF(horizontalPadding, (height() - side) / 2, side, side), symbol_, color_);
    painter.setPen(color_);
    painter.setFont(font());
    const qreal textLeft = horizontalPadding + side + symbolGap;
    painter.drawText(QRectF(textLeft, 0, width() - textLeft, height()), Qt::AlignLeft | Qt::AlignVCenter, text_);
}
