#include "ui/PlainRowButton.h"

#include "ui/Palette.h"
#include "ui/Symbols.h"

#include <QPainter>
#include <QtMath>

namespace {
constexpr int symbolGap = 6;
constexpr int verticalPadding = 2;
}  // namespace

PlainRowButton::PlainRowButton(const QString& text, const QString& leadingSymbol, QWidget* parent)
    : QAbstractButton(parent), leading_(leadingSymbol), color_(Palette::ink())
{
    setText(text);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
}

void PlainRowButton::setLeadingSymbol(const QString& name)
{
    if (leading_ == name)
        return;
    leading_ = name;
    updateGeometry();
    update();
}

void PlainRowButton::setTrailingSymbol(const QString& name)
{
    if (trailing_ == name)
        return;
    trailing_ = name;
    updateGeometry();
    update();
}

void PlainRowButton::setColor(const QColor& color)
{
    if (color_ == color)
        return;
    color_ = color;
    update();
}

void PlainRowButton::setStretched(bool stretched)
{
    stretched_ = stretched;
    setSizePolicy(stretched ? QSizePolicy::Expanding : QSizePolicy::Maximum, QSizePolicy::Fixed);
}

QSize PlainRowButton::sizeHint() const
{
    const QFontMetricsF metrics(font());
    const int side = qCeil(metrics.height());
    int width = qCeil(metrics.horizontalAdvance(text()));
    for (const QString* symbol : {&leading_, &trailing_}) {
        if (!symbol->isEmpty())
            width += side + (text().isEmpty() ? 0 : symbolGap);
    }
    return {width, side + 2 * verticalPadding};
}

QSize PlainRowButton::minimumSizeHint() const
{
    return sizeHint();
}

void PlainRowButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        painter.setOpacity(0.4);
    else if (isDown())
        painter.setOpacity(0.6);

    const QFontMetricsF metrics(font());
    const qreal side = metrics.height();
    const qreal top = (height() - side) / 2;
    qreal left = 0;
    if (!leading_.isEmpty()) {
        Symbols::paint(painter, QRectF(left, top, side, side), leading_, color_);
        left += side + symbolGap;
    }
    const qreal trailingWidth = trailing_.isEmpty() ? 0 : side + symbolGap;
    const QRectF textRect(left, 0, std::max<qreal>(0, width() - left - trailingWidth), height());
    painter.setFont(font());
    painter.setPen(color_);
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                     metrics.elidedText(text(), Qt::ElideRight, textRect.width()));
    if (!trailing_.isEmpty())
        Symbols::paint(painter, QRectF(width() - side, top, side, side), trailing_, color_);
    // Only keyboard users need the ring; a click or a window activation does not draw it.
    if (hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange)) {
        painter.setPen(QPen(Palette::accent(), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    }
}
