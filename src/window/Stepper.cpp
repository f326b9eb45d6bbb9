#include "window/Stepper.h"

#include "ui/FocusedWheel.h"
#include "ui/Palette.h"
#include "ui/Typography.h"

#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr int spacing = 10;
constexpr int repeatDelay = 400;
constexpr int repeatInterval = 70;
}  // namespace

Stepper::Stepper(LabelText labelText, int minimum, int maximum, int step, QWidget* parent)
    : QAbstractSlider(parent), labelText_(std::move(labelText))
{
    setRange(minimum, maximum);
    setSingleStep(step);
    setPageStep(step * 5);
    setOrientation(Qt::Horizontal);
    setFont(uiFont(12));
    takeWheelOnlyWithFocus(this);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleName(text());
}

void Stepper::showValue(int value)
{
    showing_ = true;
    setValue(value);
    showing_ = false;
}

QString Stepper::text() const
{
    return labelText_(value());
}

QSize Stepper::labelSize() const
{
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(text()), metrics.height()};
}

QSize Stepper::sizeHint() const
{
    const QSize label = labelSize();
    return {label.width() + spacing + controlSize.width(), std::max(label.height(), controlSize.height()) + 4};
}

QRectF Stepper::controlRect() const
{
    return {qreal(width() - controlSize.width()) - 1, (height() - controlSize.height()) / 2.0,
            qreal(controlSize.width()), qreal(controlSize.height())};
}

void Stepper::sliderChange(SliderChange change)
{
    QAbstractSlider::sliderChange(change);
    setAccessibleName(text());
    updateGeometry();
    update();
    if (change == SliderValueChange && !showing_)
        emit edited(value());
}

void Stepper::mousePressEvent(QMouseEvent* event)
{
    const QRectF control = controlRect();
    if (event->button() != Qt::LeftButton || !control.contains(event->position())) {
        event->ignore();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const bool up = event->position().x() >= control.center().x();
    const SliderAction action = up ? SliderSingleStepAdd : SliderSingleStepSub;
    triggerAction(action);
    setRepeatAction(action, repeatDelay, repeatInterval);
}

void Stepper::mouseReleaseEvent(QMouseEvent*)
{
    setRepeatAction(SliderNoAction);
}

void Stepper::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        painter.setOpacity(0.45);

    painter.setPen(palette().color(QPalette::WindowText));
    painter.setFont(font());
    painter.drawText(QRect(0, 0, width() - controlSize.width() - spacing, height()), Qt::AlignLeft | Qt::AlignVCenter,
                     text());

    const QRectF control = controlRect();
    const qreal radius = 7;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 20));
    painter.drawRoundedRect(control, radius, radius);
    painter.fillRect(QRectF(control.center().x() - 0.5, control.top() + 5, 1, control.height() - 10), Palette::line());
    if (hasFocus()) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Palette::accent(), 1.5));
        painter.drawRoundedRect(control.adjusted(-1.5, -1.5, 1.5, 1.5), radius + 1.5, radius + 1.5);
    }

    // "−" and "+", each dimmed once its end of the range is reached.
    const qreal arm = 4.5;
    const auto sign = [&](QPointF centre, bool plus, bool available) {
        QColor ink = Palette::ink();
        if (!available)
            ink.setAlphaF(0.3);
        painter.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(centre - QPointF(arm, 0), centre + QPointF(arm, 0));
        if (plus)
            painter.drawLine(centre - QPointF(0, arm), centre + QPointF(0, arm));
    };
    const qreal quarter = control.width() / 4;
    sign({control.left() + quarter, control.center().y()}, false, value() > minimum());
    sign({control.right() - quarter, control.center().y()}, true, value() < maximum());
}
