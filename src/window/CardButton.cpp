#include "window/CardButton.h"

#include "ui/Palette.h"

#include <QChildEvent>
#include <QLayout>
#include <QPainter>

CardButton::CardButton(QWidget* parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

void CardButton::setCard(const QColor& fill, qreal cornerRadius)
{
    fill_ = fill;
    cornerRadius_ = cornerRadius;
    update();
}

void CardButton::setOutline(const QColor& outline)
{
    if (outline_ == outline)
        return;
    outline_ = outline;
    update();
}

QSize CardButton::sizeHint() const
{
    return layout() ? layout()->sizeHint() : QSize(40, 20);
}

QSize CardButton::minimumSizeHint() const
{
    return layout() ? layout()->minimumSize() : QSize(0, 0);
}

// The face's widgets only show; every press belongs to the button.
void CardButton::childEvent(QChildEvent* event)
{
    QAbstractButton::childEvent(event);
    if (event->added() && event->child()->isWidgetType())
        static_cast<QWidget*>(event->child())->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void CardButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF edge = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (fill_.isValid()) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(isDown() ? fill_.lighter(115) : fill_);
        painter.drawRoundedRect(QRectF(rect()), cornerRadius_, cornerRadius_);
    }
    painter.setBrush(Qt::NoBrush);
    if (outline_.isValid()) {
        painter.setPen(QPen(outline_, 1));
        painter.drawRoundedRect(edge, cornerRadius_, cornerRadius_);
    }
    if (hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange)) {
        painter.setPen(QPen(Palette::accent(), 1.5));
        painter.drawRoundedRect(edge.adjusted(1, 1, -1, -1), cornerRadius_ - 1, cornerRadius_ - 1);
    }
}
