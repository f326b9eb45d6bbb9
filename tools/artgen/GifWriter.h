#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>

// Qt reads GIF but cannot write it: a small GIF89a encoder for the mascot's wave. One global
// palette made by median cut, looping forever, with 1-bit transparency: pixels at least half
// opaque are blended onto `matte` (the colour the GIF will be shown on), the rest are clear.
namespace GifWriter {
QByteArray encode(const QList<QImage>& frames, int delayCentiseconds, const QColor& matte);
}
