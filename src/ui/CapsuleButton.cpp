#include "ui/CapsuleButton.h"

#include "ui/FocusRing.h"
#include "ui/Symbols.h"
#include "ui/Typography.h"

#include <QPainter>
#include <QPainterPath>

namespace {
constexpr int horizontalPadding = 14;
constexpr int verticalPadding = 7;
constexpr int symbolGap = 7;
}  // namespace

CapsuleButton::CapsuleButton(const QString& text, const QString& symbolName, QWidget* parent)
    : QPushButton(text, parent), symbol_(symbolName)
{
    setFont(uiFont(12, QFont::Medium));
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_Hover);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void CapsuleButton::setSymbol(const QString& symbolName)
{
    symbol_ = symbolName;
    updateGeometry();
    update();
}

void CapsuleButton::setSymbolTrailing(bool trailing)
{
    symbolTrailing_ = trailing;
    update();
}

QSize CapsuleButton::sizeHint() const
{
    const QFontMetrics metrics(font());
    int width = metrics.horizontalAdvance(text()) + 2 * horizontalPadding;
    if (!symbol_.isEmpty())
        width += metrics.height() + (text().isEmpty() ? 0 : symbolGap);
    return {width, metrics.height() + 2 * verticalPadding};
}

QSize CapsuleButton::minimumSizeHint() const
{
    return sizeHint();
}

void CapsuleButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        painter.setOpacity(0.4);

    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius, cornerRadius);
    painter.fillPath(shape, fillColor());
    if (showsFocusRing(*this)) {
        painter.setPen(QPen(labelColor(), 1.2));
        painter.drawPath(shape);
    }

    const QFontMetricsF metrics(font());
    const qreal symbolSide = symbol_.isEmpty() ? 0 : metrics.height();
    const qreal textWidth = metrics.horizontalAdvance(text());
    const qreal gap = symbol_.isEmpty() || text().isEmpty() ? 0 : symbolGap;
    const qreal contentWidth = symbolSide + gap + textWidth;
    const qreal left = std::max<qreal>(horizontalPadding, (width() - contentWidth) / 2);
    const qreal symbolLeft = symbolTrailing_ ? left + textWidth + gap : left;
    const qreal textLeft = symbolTrailing_ ? left : left + symbolSide + gap;
    if (!symbol_.isEmpty())
        Symbols::paint(painter, QRectF(symbolLeft, (height() - symbolSide) / 2, symbolSide, symbolSide), symbol_,
                       labelColor());
    const qreal textRoom = symbolTrailing_ ? width() - textLeft - symbolSide - gap : width() - textLeft;
    const QRectF textRect(textLeft, 0, std::max<qreal>(0, std::min(textWidth, textRoom)), height());

    painter.setPen(labelColor());
    painter.setFont(font());
    painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft,
                     metrics.elidedText(text(), Qt::ElideRight, textRect.width()));
}
