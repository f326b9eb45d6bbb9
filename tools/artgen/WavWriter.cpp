#include "WavWriter.h"

#include <QtEndian>
#include <cmath>
#include <numbers>

namespace {

constexpr int sampleRate = 44100;

void appendLittle32(QByteArray& bytes, quint32 value)
{
    char raw[4];
    qToLittleEndian(value, raw);
    bytes.append(raw, 4);
}

void appendLittle16(QByteArray& bytes, quint16 value)
{
    char raw[2];
    qToLittleEndian(value, raw);
    bytes.append(raw, 2);
}

}  // namespace

namespace WavWriter {

QByteArray pop()
{
    const double seconds = 0.16;
    const int count = int(seconds * sampleRate);
    QByteArray samples;
    double phase = 0;
    for (int index = 0; index < count; ++index) {
        const double t = double(index) / sampleRate;
        // The pitch drops quickly from 1100 Hz to about 380 Hz, like a bubble closing.
        const double frequency = 380 + 720 * std::exp(-t * 38);
        phase += 2 * std::numbers::pi * frequency / sampleRate;
        const double attack = std::min(1.0, t / 0.003);
        const double envelope = attack * std::exp(-t * 30);
        const double tone = std::sin(phase) + 0.18 * std::sin(2 * phase);
        const double value = 0.55 * envelope * tone;
        appendLittle16(samples, quint16(qint16(std::lround(std::clamp(value, -1.0, 1.0) * 32767))));
    }
    QByteArray wav("RIFF");
    appendLittle32(wav, quint32(36 + samples.size()));
    wav.append("WAVEfmt ");
    appendLittle32(wav, 16);
    appendLittle16(wav, 1);  // PCM
    appendLittle16(wav, 1);  // mono
    appendLittle32(wav, sampleRate);
    appendLittle32(wav, sampleRate * 2);
    appendLittle16(wav, 2);
    appendLittle16(wav, 16);
    wav.append("data");
    appendLittle32(wav, quint32(samples.size()));
    wav.append(samples);
    return wav;
}

}  // namespace WavWriter
