#include "window/SidebarButton.h"

#include "ui/FocusRing.h"
#include "ui/Palette.h"
#include "ui/Repaint.h"
#include "ui/Symbols.h"
#include "ui/Typography.h"

#include <QPainter>
#include <QtMath>

namespace {
constexpr int padding = 13;
constexpr int symbolFrame = 19;
constexpr int spacing = 11;
constexpr qreal cornerRadius = 10;
constexpr qreal selectedFillOpacity = 0.08;
constexpr qreal smallestTextScale = 0.85;
}  // namespace

SidebarButton::SidebarButton(const QString& title, const QString& symbolName, QWidget* parent)
    : QAbstractButton(parent), symbol_(symbolName)
{
    setText(title);
    setFont(uiFont(12.5, QFont::Medium));
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAccessibleName(title);
}

void SidebarButton::setSelected(bool selected)
{
    setAndRepaint(this, selected_, selected);
}

QColor SidebarButton::foreground() const
{
    return selected_ ? Palette::accent() : Palette::muted();
}

QSize SidebarButton::sizeHint() const
{
    const QFontMetrics metrics(font());
    return {2 * padding + symbolFrame + spacing + metrics.horizontalAdvance(text()),
            2 * padding + std::max(metrics.height(), symbolFrame - 4)};
}

void SidebarButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (selected_) {
        QColor fill = Palette::accent();
        fill.setAlphaF(selectedFillOpacity);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
    }
    if (isDown())
        painter.setOpacity(0.7);

    const QColor color = foreground();
    const QFontMetricsF metrics(font());
    const qreal symbolSide = std::min<qreal>(symbolFrame - 4, metrics.height() * 1.2);
    Symbols::paint(
        painter, QRectF(padding + (symbolFrame - symbolSide) / 2, (height() - symbolSide) / 2, symbolSide, symbolSide),
        symbol_, color);

    // The title keeps to one line, shrinking to 85 % before it is cut short.
    const QRectF textRect(padding + symbolFrame + spacing, 0, width() - 2 * padding - symbolFrame - spacing, height());
    QFont font = this->font();
    const qreal natural = metrics.horizontalAdvance(text());
    if (natural > textRect.width() && natural > 0)
        font.setPixelSize(qFloor(font.pixelSize() * std::max(smallestTextScale, textRect.width() / natural)));
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                     QFontMetricsF(font).elidedText(text(), Qt::ElideRight, textRect.width()));

    if (showsFocusRing(*this)) {
        painter.setPen(QPen(Palette::accent(), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius, cornerRadius);
    }
}
