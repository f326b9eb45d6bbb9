#include "ui/SoftButton.h"

#include "ui/Palette.h"

SoftButton::SoftButton(const QString& text, const QString& symbolName, QWidget* parent)
    : CapsuleButton(text, symbolName, parent)
{ }

QColor SoftButton::fillColor() const
{
    return QColor(255, 255, 255, qRound(255 * (underMouse() ? 0.09 : 0.06)));
}

QColor SoftButton::labelColor() const
{
    QColor label = Palette::ink();
    if (isDown())
        label.setAlphaF(0.5);
    return label;
}
