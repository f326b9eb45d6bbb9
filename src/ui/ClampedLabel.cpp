#include "ui/ClampedLabel.h"

#include "ui/PaintedTextAccessibility.h"

#include <QPainter>
#include <QTextLayout>

ClampedLabel::ClampedLabel(const QFont& font, const QColor& color, int maximumLines, qreal extraLineSpacing,
                           QWidget* parent)
    : QWidget(parent), color_(color), maximumLines_(maximumLines), extraLineSpacing_(extraLineSpacing)
{
    setFont(font);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    describePaintedText(this);
}

void ClampedLabel::setText(const QString& text)
{
    if (text == text_)
        return;
    text_ = text;
    updateGeometry();
    update();
}

void ClampedLabel::setAlignment(Qt::Alignment alignment)
{
    alignment_ = alignment;
    update();
}

qreal ClampedLabel::lineHeight() const
{
    return QFontMetricsF(font()).height() + extraLineSpacing_;
}

QStringList ClampedLabel::linesFor(int width) const
{
    QStringList lines;
    if (text_.isEmpty() || width <= 0)
        return lines;
    // Explicit line breaks count as lines too; QTextLayout wants them as line separators.
    QString laidOut = text_;
    laidOut.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QTextLayout layout(laidOut, font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (lines.size() == maximumLines_ - 1) {
            // The last line allowed takes the rest of the text and cuts it with an ellipsis.
            QString rest = laidOut.mid(line.textStart());
            rest.replace(QChar::LineSeparator, QLatin1Char(' '));
            lines.append(QFontMetricsF(font()).elidedText(rest.trimmed(), Qt::ElideRight, width));
            break;
        }
        lines.append(laidOut.mid(line.textStart(), line.textLength()).remove(QChar::LineSeparator).trimmed());
    }
    layout.endLayout();
    return lines;
}

int ClampedLabel::heightForWidth(int width) const
{
    const qsizetype count = linesFor(width).size();
    if (count == 0)
        return 0;
    return qCeil(count * lineHeight() - extraLineSpacing_);
}

QSize ClampedLabel::sizeHint() const
{
    const int width = qMax(this->width(), 100);
    return {width, heightForWidth(width)};
}

QSize ClampedLabel::minimumSizeHint() const
{
    return {0, 0};
}

void ClampedLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(color_);
    const QFontMetricsF metrics(font());
    qreal baseline = metrics.ascent();
    for (const QString& line : linesFor(width())) {
        const qreal left = alignment_ & Qt::AlignHCenter ? (width() - metrics.horizontalAdvance(line)) / 2 : 0;
        painter.drawText(QPointF(left, baseline), line);
        baseline += lineHeight();
    }
}
