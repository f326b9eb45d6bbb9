#include "ui/PlainButton.h"

#include "ui/FocusRing.h"
#include "ui/Palette.h"
#include "ui/Repaint.h"
#include "ui/Symbols.h"

#include <QPainter>
#include <QtMath>

namespace {
constexpr int symbolGap = 6;
constexpr int verticalPadding = 2;
}  // namespace

PlainButton::PlainButton(const QString& text, const QString& leadingSymbol, QWidget* parent)
    : QAbstractButton(parent), leading_(leadingSymbol), color_(Palette::ink())
{
    setText(text);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    setContentsMargins(0, verticalPadding, 0, verticalPadding);
}

void PlainButton::setTrailingSymbol(const QString& name)
{
    if (trailing_ == name)
        return;
    trailing_ = name;
    updateGeometry();
    update();
}

void PlainButton::setSymbolSize(qreal size)
{
    symbolSize_ = size;
    updateGeometry();
    update();
}

void PlainButton::setColor(const QColor& color)
{
    setAndRepaint(this, color_, color);
}

void PlainButton::setStretched(bool stretched)
{
    setSizePolicy(stretched ? QSizePolicy::Expanding : QSizePolicy::Maximum, QSizePolicy::Fixed);
}

void PlainButton::setDimmedWhenDisabled(bool dimmed)
{
    setAndRepaint(this, dimmedWhenDisabled_, dimmed);
}

qreal PlainButton::symbolSide() const
{
    return symbolSize_ > 0 ? symbolSize_ : QFontMetricsF(font()).height();
}

QSize PlainButton::sizeHint() const
{
    const QFontMetricsF metrics(font());
    const int side = qCeil(symbolSide());
    int width = qCeil(metrics.horizontalAdvance(text()));
    int height = text().isEmpty() ? 0 : qCeil(metrics.height());
    for (const QString* symbol : {&leading_, &trailing_}) {
        if (symbol->isEmpty())
            continue;
        width += side + (text().isEmpty() ? 0 : symbolGap);
        height = std::max(height, side);
    }
    const QMargins margins = contentsMargins();
    return {width + margins.left() + margins.right(), height + margins.top() + margins.bottom()};
}

QSize PlainButton::minimumSizeHint() const
{
    return sizeHint();
}

void PlainButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled() && dimmedWhenDisabled_)
        painter.setOpacity(0.4);
    else if (isDown())
        painter.setOpacity(0.6);

    const QRectF content = contentsRect();
    const qreal side = symbolSide();
    const qreal top = content.center().y() - side / 2;
    qreal left = content.left();
    if (!leading_.isEmpty()) {
        Symbols::paint(painter, QRectF(left, top, side, side), leading_, color_);
        left += side + symbolGap;
    }
    const qreal trailingWidth = trailing_.isEmpty() ? 0 : side + symbolGap;
    const QRectF textRect(left, content.top(), std::max<qreal>(0, content.right() - left - trailingWidth),
                          content.height());
    if (!text().isEmpty()) {
        painter.setFont(font());
        painter.setPen(color_);
        painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                         QFontMetricsF(font()).elidedText(text(), Qt::ElideRight, textRect.width()));
    }
    if (!trailing_.isEmpty())
        Symbols::paint(painter, QRectF(content.right() - side, top, side, side), trailing_, color_);
    if (showsFocusRing(*this)) {
        painter.setPen(QPen(Palette::accent(), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    }
}
