#include "reminders/CountdownLabel.h"

CountdownLabel::CountdownLabel(const QFont& font, const QColor& color, QWidget* parent)
    : FigureLabel(font, color, parent)
{
    setText(format(0));
}

QString CountdownLabel::format(int seconds)
{
    const int whole = qMax(0, seconds);
    return QString::asprintf("%02d:%02d", whole / 60, whole % 60);
}
