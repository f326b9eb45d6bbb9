#include "window/CardButton.h"

#include "ui/FilledCard.h"
#include "ui/Palette.h"
#include "ui/Repaint.h"

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
    setAndRepaint(this, outline_, outline);
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
    paintCard(painter, rect(), isDown() && fill_.isValid() ? fill_.lighter(115) : fill_, outline_, cornerRadius_);
    if (hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange)) {
        painter.setPen(QPen(Palette::accent(), 1.5));
        const QRectF edge = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        painter.drawRoundedRect(edge.adjusted(1, 1, -1, -1), cornerRadius_ - 1, cornerRadius_ - 1);
    }
}
