#include "GifWriter.h"

#include <QHash>
#include <algorithm>
#include <array>
#include <vector>

namespace {

struct Bucket {
    quint16 key;  // 5 bits per channel
    quint32 count;
    quint64 red, green, blue;
    int channel(int which) const { return (key >> (10 - 5 * which)) & 31; }
};

constexpr int transparentIndex = 0;
constexpr int paletteSize = 256;

quint16 bucketKey(QRgb colour)
{
    return quint16(((qRed(colour) >> 3) << 10) | ((qGreen(colour) >> 3) << 5) | (qBlue(colour) >> 3));
}

// Median cut over the 15-bit colour buckets, weighted by how often each occurs.
std::vector<QRgb> medianCut(std::vector<Bucket> buckets, int colours)
{
    std::vector<std::vector<Bucket>> boxes{std::move(buckets)};
    while (int(boxes.size()) < colours) {
        auto widest = boxes.end();
        int widestRange = 0;
        int widestChannel = 0;
        for (auto box = boxes.begin(); box != boxes.end(); ++box) {
            if (box->size() < 2)
                continue;
            for (int channel = 0; channel < 3; ++channel) {
                const auto [low, high] =
                    std::minmax_element(box->begin(), box->end(), [channel](const Bucket& a, const Bucket& b) {
                        return a.channel(channel) < b.channel(channel);
                    });
                const int range = high->channel(channel) - low->channel(channel);
                if (range > widestRange) {
                    widestRange = range;
                    widest = box;
                    widestChannel = channel;
                }
            }
        }
        if (widest == boxes.end())
            break;
        std::vector<Bucket>& box = *widest;
        std::sort(box.begin(), box.end(), [widestChannel](const Bucket& a, const Bucket& b) {
            return a.channel(widestChannel) < b.channel(widestChannel);
        });
        quint64 total = 0;
        for (const Bucket& bucket : box)
            total += bucket.count;
        quint64 running = 0;
        size_t split = 1;
        for (; split < box.size(); ++split) {
            running += box[split - 1].count;
            if (running * 2 >= total)
                break;
        }
        split = std::clamp<size_t>(split, 1, box.size() - 1);
        std::vector<Bucket> upper(box.begin() + qsizetype(split), box.end());
        box.resize(split);
        boxes.push_back(std::move(upper));
    }
    std::vector<QRgb> palette;
    for (const auto& box : boxes) {
        quint64 count = 0, red = 0, green = 0, blue = 0;
        for (const Bucket& bucket : box) {
            count += bucket.count;
            red += bucket.red;
            green += bucket.green;
            blue += bucket.blue;
        }
        if (count > 0)
            palette.push_back(qRgb(int(red / count), int(green / count), int(blue / count)));
    }
    return palette;
}

int nearest(const std::vector<QRgb>& palette, QRgb colour)
{
    int best = 1;
    int bestDistance = INT_MAX;
    for (int index = 1; index < int(palette.size()); ++index) {
        const int dr = qRed(palette[size_t(index)]) - qRed(colour);
        const int dg = qGreen(palette[size_t(index)]) - qGreen(colour);
        const int db = qBlue(palette[size_t(index)]) - qBlue(colour);
        const int distance = 2 * dr * dr + 4 * dg * dg + 3 * db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = index;
        }
    }
    return best;
}

class BitWriter {
public:
    void write(int code, int bits)
    {
        accumulator_ |= quint32(code) << count_;
        count_ += bits;
        while (count_ >= 8) {
            bytes_.append(char(accumulator_ & 0xFF));
            accumulator_ >>= 8;
            count_ -= 8;
        }
    }
    QByteArray finish()
    {
        if (count_ > 0)
            bytes_.append(char(accumulator_ & 0xFF));
        return bytes_;
    }

private:
    QByteArray bytes_;
    quint32 accumulator_ = 0;
    int count_ = 0;
};

QByteArray lzw(const std::vector<quint8>& indices)
{
    constexpr int minimumCodeSize = 8;
    constexpr int clearCode = 1 << minimumCodeSize;
    constexpr int endCode = clearCode + 1;
    BitWriter out;
    QHash<quint32, int> dictionary;
    int nextCode = endCode + 1;
    int codeSize = minimumCodeSize + 1;
    out.write(clearCode, codeSize);
    int prefix = indices.empty() ? 0 : indices.front();
    for (size_t position = 1; position < indices.size(); ++position) {
        const quint32 key = (quint32(prefix) << 8) | indices[position];
        const auto found = dictionary.constFind(key);
        if (found != dictionary.constEnd()) {
            prefix = *found;
            continue;
        }
        out.write(prefix, codeSize);
        // Like giflib: clear one code early, so no decoder sees a full 4096-entry table.
        if (nextCode < 4095) {
            dictionary.insert(key, nextCode);
            if (nextCode == (1 << codeSize) && codeSize < 12)
                ++codeSize;
            ++nextCode;
        } else {
            out.write(clearCode, codeSize);
            dictionary.clear();
            nextCode = endCode + 1;
            codeSize = minimumCodeSize + 1;
        }
        prefix = indices[position];
    }
    out.write(prefix, codeSize);
    // The decoder widens its codes once it has made the entry this last code completes.
    if (nextCode == (1 << codeSize) && codeSize < 12)
        ++codeSize;
    out.write(endCode, codeSize);
    return out.finish();
}

void appendShort(QByteArray& bytes, int value)
{
    bytes.append(char(value & 0xFF));
    bytes.append(char((value >> 8) & 0xFF));
}

}  // namespace

namespace GifWriter {

QByteArray encode(const QList<QImage>& frames, int delayCentiseconds, const QColor& matte)
{
    if (frames.isEmpty())
        return {};
    const QSize size = frames.front().size();
    // Flatten every frame onto the matte and collect the colour histogram.
    std::vector<std::vector<QRgb>> flat;
    std::array<Bucket, 32768> histogram{};
    for (const QImage& frame : frames) {
        const QImage argb = frame.convertToFormat(QImage::Format_ARGB32).scaled(size);
        std::vector<QRgb> pixels(size_t(size.width() * size.height()));
        for (int y = 0; y < size.height(); ++y) {
            const QRgb* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
            for (int x = 0; x < size.width(); ++x) {
                const QRgb source = line[x];
                const int alpha = qAlpha(source);
                QRgb& target = pixels[size_t(y * size.width() + x)];
                if (alpha < 128) {
                    target = 0;
                    continue;
                }
                const auto blend = [alpha](int front, int back) {
                    return (front * alpha + back * (255 - alpha)) / 255;
                };
                target = qRgba(blend(qRed(source), matte.red()), blend(qGreen(source), matte.green()),
                               blend(qBlue(source), matte.blue()), 255);
                Bucket& bucket = histogram[bucketKey(target)];
                bucket.key = bucketKey(target);
                ++bucket.count;
                bucket.red += quint64(qRed(target));
                bucket.green += quint64(qGreen(target));
                bucket.blue += quint64(qBlue(target));
            }
        }
        flat.push_back(std::move(pixels));
    }
    std::vector<Bucket> used;
    for (const Bucket& bucket : histogram) {
        if (bucket.count > 0)
            used.push_back(bucket);
    }
    std::vector<QRgb> palette{matte.rgb()};
    const std::vector<QRgb> cut = medianCut(used, paletteSize - 1);
    palette.insert(palette.end(), cut.begin(), cut.end());
    while (palette.size() < paletteSize)
        palette.push_back(qRgb(0, 0, 0));

    QByteArray gif("GIF89a");
    appendShort(gif, size.width());
    appendShort(gif, size.height());
    gif.append(char(0xF7));  // global colour table of 256 entries
    gif.append(char(transparentIndex));
    gif.append(char(0));
    for (const QRgb colour : palette) {
        gif.append(char(qRed(colour)));
        gif.append(char(qGreen(colour)));
        gif.append(char(qBlue(colour)));
    }
    gif.append("\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00", 19);

    QHash<quint16, int> mapped;
    for (const std::vector<QRgb>& pixels : flat) {
        gif.append("\x21\xF9\x04", 3);
        gif.append(char(0x09));  // restore to background, transparency on
        appendShort(gif, delayCentiseconds);
        gif.append(char(transparentIndex));
        gif.append(char(0));
        gif.append(char(0x2C));
        appendShort(gif, 0);
        appendShort(gif, 0);
        appendShort(gif, size.width());
        appendShort(gif, size.height());
        gif.append(char(0));
        std::vector<quint8> indices(pixels.size());
        for (size_t index = 0; index < pixels.size(); ++index) {
            if (qAlpha(pixels[index]) == 0) {
                indices[index] = transparentIndex;
                continue;
            }
            const quint16 key = bucketKey(pixels[index]);
            auto found = mapped.constFind(key);
            if (found == mapped.constEnd())
                found = mapped.insert(key, nearest(palette, pixels[index]));
            indices[index] = quint8(*found);
        }
        gif.append(char(8));
        const QByteArray data = lzw(indices);
        for (qsizetype offset = 0; offset < data.size(); offset += 255) {
            const QByteArray block = data.mid(offset, 255);
            gif.append(char(block.size()));
            gif.append(block);
        }
        gif.append(char(0));
    }
    gif.append(char(0x3B));
    return gif;
}

}  // namespace GifWriter
