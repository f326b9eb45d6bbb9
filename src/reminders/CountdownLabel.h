#pragma once

#include "ui/FigureLabel.h"

// A "mm:ss" countdown that does not jitter sideways as it counts down. Assistive tools read the
// time shown, with the accessible name given to the label.
class CountdownLabel : public FigureLabel {
    Q_OBJECT
public:
    CountdownLabel(const QFont& font, const QColor& color, QWidget* parent = nullptr);

    // Whole seconds shown as "%02d:%02d"; minutes are not capped (100 minutes show "100:00").
    void setSeconds(int seconds) { setText(format(seconds)); }

    static QString format(int seconds);
};
