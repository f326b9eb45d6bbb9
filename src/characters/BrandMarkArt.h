#pragma once

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>

// Dewbell's logo: a dew drop holding a little bell, with a glint. Drawn by code so it is sharp
// at every size; the app icon and the tray template are rendered from the same shapes.
namespace BrandMarkArt {

// The drop, the bell and the glint in a 100 x 100 box.
QPainterPath drop();
QPainterPath bell();
QPainterPath glint();

// The colour logo (lilac to violet drop, white bell), or with `monochrome` the drop in `tint`
// with the bell and glint cut out. Fitted into `rect`, centred.
void paint(QPainter& painter, const QRectF& rect, bool monochrome, const QColor& tint);

}  // namespace BrandMarkArt
