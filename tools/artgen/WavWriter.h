#pragma once

#include <QByteArray>

// The "Pop" sound: a soft, short bubble pop (a falling tone with a quick decay), as a 16-bit
// mono 44.1 kHz WAV file.
namespace WavWriter {
QByteArray pop();
}
