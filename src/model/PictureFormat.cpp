#include "model/PictureFormat.h"

#include <QBuffer>
#include <QImageReader>

namespace PictureFormat {

namespace {

// The longest signature below: "RIFF", four bytes of length, "WEBP".
constexpr int signatureLength = 12;

}  // namespace

QByteArray named(const QByteArray& firstBytes)
{
    if (firstBytes.startsWith("\x89PNG\r\n\x1a\n"))
        return QByteArrayLiteral("png");
    if (firstBytes.startsWith("\xff\xd8\xff"))
        return QByteArrayLiteral("jpeg");
    if (firstBytes.startsWith("GIF87a") || firstBytes.startsWith("GIF89a"))
        return QByteArrayLiteral("gif");
    if (firstBytes.startsWith("RIFF") && firstBytes.mid(8, 4) == "WEBP")
        return QByteArrayLiteral("webp");
    if (firstBytes.startsWith("BM"))
        return QByteArrayLiteral("bmp");
    return {};
}

void pin(QImageReader& reader)
{
    QIODevice* device = reader.device();
    if (!device || (!device->isOpen() && !device->open(QIODevice::ReadOnly)))
        return;
    const QByteArray format = named(device->peek(signatureLength));
    if (format.isEmpty())
        return;
    reader.setFormat(format);
    reader.setAutoDetectImageFormat(false);
}

QImage decode(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAllocationLimit(allocationLimitMiB);
    pin(reader);
    return reader.read();
}

}  // namespace PictureFormat
