#include "ui/SymbolLabel.h"

#include "ui/Symbols.h"

#include <QPainter>
#include <QtMath>

SymbolLabel::SymbolLabel(const QString& name, qreal size, const QColor& color, QWidget* parent)
    : QWidget(parent), name_(name), size_(size), color_(color)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void SymbolLabel::setSymbol(const QString& name, const QColor& color)
{
    if (name_ == name && color_ == color)
        return;
    name_ = name;
    color_ = color;
    update();
}

QSize SymbolLabel::sizeHint() const
{
    const int side = qCeil(size_);
    return {side, side};
}

void SymbolLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF square((width() - size_) / 2, (height() - size_) / 2, size_, size_);
    Symbols::paint(painter, square, name_, color_);
}
