#pragma once

#include <QByteArray>
#include <QImage>

class QImageReader;

// Decoding with the format a picture's first bytes name. A reader left to find the format itself
// loads every image plugin Qt has (ten on a desktop, with their libraries) to ask each one; told
// the format, it loads only the one it needs, and none for PNG.
namespace PictureFormat {

// Decoded pixels a picture may need; a small file can still unpack to an enormous picture.
inline constexpr int allocationLimitMiB = 256;

// "png", "jpeg", "gif", "webp" or "bmp" from a picture's first bytes; empty for anything else.
QByteArray named(const QByteArray& firstBytes);

// Tells `reader` the format its device's first bytes name, so that it asks no other plugin. A
// picture of another kind is left for the reader to recognise as before.
void pin(QImageReader& reader);

// The picture in `bytes`, or a null image.
QImage decode(const QByteArray& bytes);

}  // namespace PictureFormat
