#pragma once

class QWidget;

// Lets assistive tools read a widget that paints its own text (a countdown, a clamped note):
// they hear a static text named by the widget's accessible name whose value is the text the
// widget shows, read from its "shownText" property. Call once from such a widget's constructor.
void describePaintedText(QWidget* widget);
