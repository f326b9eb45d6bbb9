#include "reminders/CountdownLabel.h"

#include "ui/PaintedTextAccessibility.h"
#include "ui/Typography.h"

#include <QPainter>

CountdownLabel::CountdownLabel(const QFont& font, const QColor& color, QWidget* parent)
    : QWidget(parent), text_(format(0)), color_(color)
{
    setFont(font);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    describePaintedText(this);
}

QString CountdownLabel::format(int seconds)
{
    const int whole = qMax(0, seconds);
    return QString::asprintf("%02d:%02d", whole / 60, whole % 60);
}

void CountdownLabel::setSeconds(int seconds)
{
    const QString text = format(seconds);
    if (text == text_)
        return;
    const bool widthChanges = text.size() != text_.size();
    text_ = text;
    if (widthChanges)
        updateGeometry();
    update();
}

qreal CountdownLabel::advance(QChar character) const
{
    return character.isDigit() ? tabularDigitWidth(font()) : QFontMetricsF(font()).horizontalAdvance(character);
}

QSize CountdownLabel::sizeHint() const
{
    qreal width = 0;
    for (const QChar character : text_)
        width += advance(character);
    return {qCeil(width), qCeil(QFontMetricsF(font()).height())};
}

void CountdownLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font());
    painter.setPen(color_);
    const qreal baseline = QFontMetricsF(font()).ascent();
    qreal x = 0;
    for (const QChar character : text_) {
        const qreal cell = advance(character);
        const qreal glyph = QFontMetricsF(font()).horizontalAdvance(character);
        painter.drawText(QPointF(x + (cell - glyph) / 2, baseline), QString(character));
        x += cell;
    }
}
