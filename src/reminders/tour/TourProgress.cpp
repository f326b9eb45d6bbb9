#include "reminders/tour/TourProgress.h"

#include "ui/Palette.h"
#include "ui/Typography.h"

#include <QPainter>

namespace {
constexpr QSizeF capsule{30, 3};
constexpr int spacing = 8;
constexpr int captionLeading = 5;
}  // namespace

TourProgress::TourProgress(QWidget* parent) : QWidget(parent)
{
    setFont(uiFont(9, QFont::Medium, FontDesign::standard, 1));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setStep(0);
}

void TourProgress::setStep(int step)
{
    step_ = step;
    setAccessibleName(QStringLiteral("Step %1 of %2").arg(step + 1).arg(stepCount));
    updateGeometry();
    update();
}

QString TourProgress::caption() const
{
    return QStringLiteral("%1 OF %2").arg(step_ + 1).arg(stepCount);
}

QSize TourProgress::sizeHint() const
{
    const QFontMetrics metrics(font());
    const int capsules = int(stepCount * capsule.width() + stepCount * spacing);
    return {capsules + captionLeading + metrics.horizontalAdvance(caption()) + 2, metrics.height()};
}

void TourProgress::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    qreal x = 0;
    const qreal top = (height() - capsule.height()) / 2;
    for (int index = 0; index < stepCount; ++index) {
        painter.setBrush(index <= step_ ? Palette::accent() : Palette::line());
        const qreal radius = capsule.height() / 2;
        painter.drawRoundedRect(QRectF(QPointF(x, top), capsule), radius, radius);
        x += capsule.width() + spacing;
    }
    painter.setPen(Palette::muted());
    painter.setFont(font());
    painter.drawText(QRectF(x + captionLeading, 0, width() - x - captionLeading, height()),
                     Qt::AlignVCenter | Qt::AlignLeft, caption());
}
