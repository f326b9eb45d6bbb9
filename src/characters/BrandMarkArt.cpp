#include "characters/BrandMarkArt.h"

#include "characters/ArtKit.h"

namespace {

const QColor lilac(0xC9, 0xB8, 0xFF);
const QColor violet(0x71, 0x4C, 0xE8);
const QColor deepViolet(0x52, 0x33, 0xC4);

}  // namespace

namespace BrandMarkArt {

QPainterPath drop()
{
    return ArtKit::dropPath(QPointF(50, 4), QPointF(58, 22), 40, QRectF(15, 27, 70, 70));
}

QPainterPath bell()
{
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    path.moveTo(50, 45);
    path.cubicTo(60, 45, 63, 53, 63, 62);
    path.cubicTo(63, 68, 66, 71, 69, 74);
    path.quadTo(70, 77, 66, 77);
    path.lineTo(34, 77);
    path.quadTo(30, 77, 31, 74);
    path.cubicTo(34, 71, 37, 68, 37, 62);
    path.cubicTo(37, 53, 40, 45, 50, 45);
    path.closeSubpath();
    path.addEllipse(QPointF(50, 82), 4.2, 4.2);
    path.addEllipse(QPointF(50, 42.5), 3, 3);
    return path.simplified();
}

QPainterPath glint()
{
    return ArtKit::starPath(QPointF(33, 44), 7);
}

void paint(QPainter& painter, const QRectF& rect, bool monochrome, const QColor& tint)
{
    const double scale = std::min(rect.width(), rect.height()) / 100.0;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(rect.center() - QPointF(50 * scale, 50 * scale));
    painter.scale(scale, scale);
    painter.setPen(Qt::NoPen);
    if (monochrome) {
        painter.setBrush(tint);
        painter.drawPath(drop().subtracted(bell()).subtracted(glint()));
        painter.restore();
        return;
    }
    QLinearGradient body(30, 8, 70, 96);
    body.setColorAt(0, lilac);
    body.setColorAt(0.55, violet);
    body.setColorAt(1, deepViolet);
    painter.setBrush(body);
    painter.drawPath(drop());

    const QRadialGradient sheen =
        ArtKit::radialGradient(QPointF(38, 40), 40, QColor(255, 255, 255, 90), QColor(255, 255, 255, 0));
    painter.setBrush(sheen);
    painter.drawPath(drop());

    QLinearGradient metal(50, 44, 50, 86);
    metal.setColorAt(0, QColor(0xFF, 0xFB, 0xF0));
    metal.setColorAt(1, QColor(0xF3, 0xE4, 0xC8));
    painter.setBrush(metal);
    painter.drawPath(bell());
    painter.setBrush(QColor(255, 255, 255, 235));
    painter.drawPath(glint());
    painter.restore();
}

}  // namespace BrandMarkArt
