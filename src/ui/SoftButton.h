#pragma once

#include "ui/CapsuleButton.h"

// The quiet secondary button: a 12-pixel medium label in Palette::ink on a rounded rectangle
// (radius 11) of white at 6 %; the label dims while the button is held down.
class SoftButton : public CapsuleButton {
    Q_OBJECT
public:
    explicit SoftButton(const QString& text = {}, const QString& symbolName = {}, QWidget* parent = nullptr);

protected:
    QColor fillColor() const override;
    QColor labelColor() const override;
};
