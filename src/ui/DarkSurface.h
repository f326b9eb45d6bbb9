#pragma once

class QWidget;

// Gives a window, panel or page Dewbell's dark look: the palette's background painted by the
// widget itself, text in ink, fields and plain controls on the card colour, selections in the
// primary colour. Children inherit it, so a control that sets no colours still reads well.
void useDarkSurface(QWidget* surface);

// A text field that lies on the fill of the card around it: no background of its own, its text
// in ink while it can be used, dimmed like every disabled control while it cannot.
void useCardFill(QWidget* field);

// Gives every window Dewbell opens, Qt's own included (a picker's list, a file dialog, a message
// box, tooltips), the dark look, whatever colours the desktop prefers: Dewbell has no light look,
// and a light list dropping out of a dark page reads as another program's.
void useDarkApplication();
