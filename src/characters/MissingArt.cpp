#include "characters/MissingArt.h"

#include "ui/Symbols.h"

namespace MissingArt {

void paint(QPainter& painter, const QRectF& rect, const QColor& tint, const QString& symbolName)
{
    const qreal side = std::min(rect.width(), rect.height()) * 0.62;
    const QRectF disc(rect.center() - QPointF(side / 2, side / 2), QSizeF(side, side));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QColor fill = tint;
    fill.setAlphaF(0.16f);
    QColor ring = tint;
    ring.setAlphaF(0.45f);
    painter.setBrush(fill);
    painter.setPen(QPen(ring, std::max(1.0, side * 0.02)));
    painter.drawEllipse(disc);
    Symbols::paint(painter, disc.adjusted(side * 0.24, side * 0.24, -side * 0.24, -side * 0.24), symbolName, tint);
    painter.restore();
}

}  // namespace MissingArt
