#include "ui/PrimaryButton.h"

#include "ui/Palette.h"

PrimaryButton::PrimaryButton(const QString& text, const QString& symbolName, QWidget* parent)
    : CapsuleButton(text, symbolName, parent)
{ }

QColor PrimaryButton::fillColor() const
{
    if (isDown())
        return Palette::primary().darker(118);
    if (underMouse())
        return Palette::primary().lighter(112);
    return Palette::primary();
}

QColor PrimaryButton::labelColor() const
{
    return Qt::white;
}
