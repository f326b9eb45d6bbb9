#include "ui/TrailingSwitch.h"

#include "ui/FocusRing.h"
#include "ui/Palette.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTextLayout>

namespace {

constexpr int labelFlags = Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignVCenter;
// The switch is small: the pointer may miss it by this much and still toggle it.
constexpr int trackMargin = 4;

}  // namespace

TrailingSwitch::TrailingSwitch(const QString& label, QWidget* parent) : QAbstractButton(parent)
{
    setText(label);
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
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

QRect TrailingSwitch::labelArea() const
{
    const QRect area = labelRect(width());
    return area.translated(0, (height() - area.height()) / 2);
}

bool TrailingSwitch::onWords(const QPoint& position) const
{
    const QRect area = labelArea();
    QTextLayout layout(text(), font());
    QTextOption option(Qt::AlignLeft);
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal height = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(area.width());
        line.setPosition({0, height});
        height += line.height();
    }
    layout.endLayout();
    // Each line as drawn, centred in the label's area; the blank after a short line is not in it.
    const QPointF origin(area.left(), area.top() + (area.height() - height) / 2);
    for (int index = 0; index < layout.lineCount(); ++index) {
        const QTextLine line = layout.lineAt(index);
        if (QRectF(origin + line.position(), QSizeF(line.naturalTextWidth(), line.height())).contains(position))
            return true;
    }
    return false;
}

QRectF TrailingSwitch::trackRect() const
{
    return {qreal(width() - trackSize.width()), (height() - trackSize.height()) / 2.0, qreal(trackSize.width()),
            qreal(trackSize.height())};
}

bool TrailingSwitch::hitButton(const QPoint& position) const
{
    const QRectF track = trackRect().adjusted(-trackMargin, -trackMargin, trackMargin, trackMargin);
    return track.contains(position) || onWords(position);
}

void TrailingSwitch::mouseMoveEvent(QMouseEvent* event)
{
    if (hitButton(event->position().toPoint()))
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
    QAbstractButton::mouseMoveEvent(event);
}

void TrailingSwitch::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        painter.setOpacity(0.45);

    painter.setPen(Palette::ink());
    painter.drawText(labelArea(), labelFlags, text());

    const QRectF track = trackRect();
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
