#pragma once

#include "ui/CapsuleButton.h"

// The main action of a surface: a white 12-pixel medium label on Palette::primary.
class PrimaryButton : public CapsuleButton {
    Q_OBJECT
public:
    explicit PrimaryButton(const QString& text = {}, const QString& symbolName = {}, QWidget* parent = nullptr);

protected:
    QColor fillColor() const override;
    QColor labelColor() const override;
};
