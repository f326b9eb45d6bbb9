#include "ui/TrailingSwitch.h"

#include "ui/FocusRing.h"
#include "ui/Palette.h"

#include <QPainter>

TrailingSwitch::TrailingSwitch(const QString& label, QWidget* parent) : QAbstractButton(parent)
{
    setText(label);
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

QRect TrailingSwitch::labelRect(int width) const
{
    const int textWidth = std::max(0, width - trackSize.width() - spacing);
    const QRect bounds = fontMetrics().boundingRect(QRect(0, 0, textWidth, 10000), Qt::TextWordWrap, text());
    return {0, 0, textWidth, bounds.height()};
}

QSize TrailingSwitch::sizeHint() const
{
    const int textWidth = fontMetrics().horizontalAdvance(text());
    const int width = textWidth + (text().isEmpty() ? 0 : spacing) + trackSize.width();
    return {width, heightForWidth(width)};
}

QSize TrailingSwitch::minimumSizeHint() const
{
    return {trackSize.width(), trackSize.height() + 4};
}

int TrailingSwitch::heightForWidth(int width) const
{
    return std::max(trackSize.height() + 4, labelRect(width).height());
}

bool TrailingSwitch::hitButton(const QPoint& position) const
{
    return rect().contains(position);
}

void TrailingSwitch::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        painter.setOpacity(0.45);

    const QRect textArea = labelRect(width());
    painter.setPen(Palette::ink());
    painter.drawText(QRect(0, (height() - textArea.height()) / 2, textArea.width(), textArea.height()),
                     Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignVCenter, text());

    const QRectF track(width() - trackSize.width(), (height() - trackSize.height()) / 2.0, trackSize.width(),
                       trackSize.height());
    const qreal radius = track.height() / 2;
    QColor trackColor = isChecked() ? Palette::primary() : QColor(255, 255, 255, 40);
    if (isDown())
        trackColor = trackColor.lighter(115);
    painter.setPen(Qt::NoPen);
    painter.setBrush(trackColor);
    painter.drawRoundedRect(track, radius, radius);
    if (showsFocusRing(*this)) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Palette::accent(), 1.5));
        painter.drawRoundedRect(track.adjusted(-2, -2, 2, 2), radius + 2, radius + 2);
    }

    const qreal knobInset = 2.5;
    const qreal knobSide = track.height() - 2 * knobInset;
    const qreal knobLeft = isChecked() ? track.right() - knobInset - knobSide : track.left() + knobInset;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 50));
    painter.drawEllipse(QRectF(knobLeft, track.top() + knobInset + 0.8, knobSide, knobSide));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(knobLeft, track.top() + knobInset, knobSide, knobSide));
}
